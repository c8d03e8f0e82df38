// The private-profile engine against the recorded cases (one per file in $KOVAN_INI_CASES, read at run
// time, so a new case joins without code changes), a batch against the same calls made one at a time,
// then what we promise beyond the reference: refusal of CR/LF, atomic replacement, logged failures,
// the lock between processes.
#include "platform/PrivateProfile.h"

#include "platform/Ascii.h"
#include "platform/Files.h"
#include "LogEventosTeste.h"
#include "RaizTeste.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <sys/wait.h>

namespace fs = std::filesystem;
using nlohmann::json;
using TTalvez = std::optional<std::string>;
using testing::PrintToString;

namespace {

/// A recorded file: null (no file) or base64.
TTalvez ArquivoGravado(const json& Campo)
{
    return Campo.is_null() ? std::nullopt
                           : TTalvez(QByteArray::fromBase64(QByteArray::fromStdString(Campo.get<std::string>())).toStdString());
}

/// A case argument: null, or escaped text (\r \n \t \0 \\ \xHH).
TTalvez Argumento(const json& Op, const char* Campo)
{
    if (!Op.contains(Campo) || !Op[Campo].is_string())
        return std::nullopt;
    const std::string E = Op[Campo].get<std::string>();
    std::string S;
    for (std::size_t I = 0; I < E.size(); ++I) {
        if (E[I] != '\\' || I + 1 >= E.size()) {
            S += E[I];
            continue;
        }
        const char C = E[++I];
        if (C == 'x' && I + 2 < E.size()) {
            S += static_cast<char>(std::stoi(E.substr(I + 1, 2), nullptr, 16));
            I += 2;
        } else
            S += C == 'r' ? '\r' : C == 'n' ? '\n' : C == 't' ? '\t' : C == '0' ? '\0' : C;
    }
    return S;
}

const char* Ptr(const TTalvez& S) { return S ? S->c_str() : nullptr; }

TTalvez LeArquivo(const fs::path& Caminho)
{
    return fs::exists(Caminho) ? TTalvez(TRaizTeste::Le(Caminho)) : std::nullopt;
}

/// Latin-1 text as a UTF-16LE file, with its byte order mark.
std::string Utf16(std::string_view Latin1)
{
    std::string S = "\xFF\xFE";
    for (char C : Latin1)
        S += {C, '\0'};
    return S;
}

bool TemQuebraDeLinha(const TTalvez& S) { return S && S->find_first_of("\r\n") != std::string::npos; }

/// Lines of a file: content and line ending (CR LF, LF or CR), as the engine splits them.
struct TLinhaTeste {
    std::string Conteudo, Quebra;
};

std::vector<TLinhaTeste> Linhas(std::string_view D)
{
    std::vector<TLinhaTeste> L;
    if (D.substr(0, 3) == "\xEF\xBB\xBF")
        D.remove_prefix(3);
    for (std::size_t I = 0; I < D.size();) {
        const std::size_t F = D.find_first_of("\r\n", I);
        if (F == std::string_view::npos) {
            L.push_back({std::string(D.substr(I)), ""});
            break;
        }
        const std::size_t Q = (D[F] == '\r' && F + 1 < D.size() && D[F + 1] == '\n') ? 2 : 1;
        L.push_back({std::string(D.substr(I, F - I)), std::string(D.substr(F, Q))});
        I = F + Q;
    }
    return L;
}

/// A line as the reference writes it back: "[name]", "key=value", or the trimmed text.
std::string Normaliza(std::string_view Conteudo)
{
    const std::string_view T = AparaBrancos(Conteudo.substr(0, Conteudo.find('\0')));
    const std::size_t Fecha = T.rfind(']'), Igual = T.find('=');
    if (!T.empty() && T[0] == '[' && Fecha != std::string::npos && Fecha > 0)
        return "[" + std::string(AparaBrancos(T.substr(1, Fecha - 1))) + "]";
    if (Igual != std::string::npos)
        return std::string(AparaBrancos(T.substr(0, Igual))) + "=" + std::string(AparaBrancos(T.substr(Igual + 1)));
    return std::string(T);
}

/// A file read through the single calls, with the reading interface of a batch.
struct TArquivoLido {
    std::string Arquivo;
    mutable std::vector<char> B = std::vector<char>(1 << 18);

    std::vector<std::string> Nomes(std::uint32_t Tamanho) const
    {
        std::vector<std::string> N;
        for (std::size_t I = 0; I < Tamanho; I += N.back().size() + 1)
            N.emplace_back(B.data() + I, std::find(B.begin() + I, B.begin() + Tamanho, '\0') - (B.begin() + I));
        return N;
    }
    std::vector<std::string> Secoes() const
    {
        return Nomes(GetPrivateProfileSectionNamesA(B.data(), B.size(), Arquivo.c_str()));
    }
    std::vector<std::string> Chaves(const std::string& S) const
    {
        return Nomes(GetPrivateProfileStringA(S.c_str(), nullptr, "", B.data(), B.size(), Arquivo.c_str()));
    }
    std::string Le(const std::string& S, const std::string& K, const char* Padrao, std::uint32_t Tamanho) const
    {
        return std::string(B.data(), GetPrivateProfileStringA(S.c_str(), K.c_str(), Padrao, B.data(), Tamanho, Arquivo.c_str()));
    }
};

/// Every section listing, key listing and value of a file or a batch, as our reads see them.
template <class TFonte>
std::string Leitura(const TFonte& F)
{
    const auto Junta = [](const std::vector<std::string>& Nomes) {
        std::string J;
        for (const std::string& N : Nomes)
            J += N + '\0';
        return J;
    };
    std::vector<std::string> S = F.Secoes();
    std::string R = "sections:" + Junta(S) + "\n";
    S.insert(S.begin(), "");
    for (const std::string& Secao : S) {
        const std::vector<std::string> Chaves = F.Chaves(Secao);
        R += "[" + Secao + "] keys:" + Junta(Chaves) + "\n";
        for (const std::string& K : Chaves)
            R += "  " + K + "=" + F.Le(Secao, K, "\x01missing", 1 << 18) + "\n";
    }
    return R;
}

// ---------------------------------------------------------------------------------------------------
// The recorded cases

struct TCaso {
    std::string Nome;
    fs::path Arquivo;
};

void PrintTo(const TCaso& Caso, std::ostream* Saida) { *Saida << Caso.Nome; }

std::vector<TCaso> CasosGravados()
{
    std::vector<TCaso> Casos;
    const char* Pasta = std::getenv("KOVAN_INI_CASES");
    std::error_code Erro;
    if (!Pasta || !fs::is_directory(Pasta, Erro))
        return Casos;
    for (const fs::directory_entry& E : fs::directory_iterator(Pasta, Erro))
        if (E.path().extension() == ".json")
            Casos.push_back({E.path().stem().string(), E.path()});
    std::sort(Casos.begin(), Casos.end(), [](const TCaso& A, const TCaso& B) { return A.Nome < B.Nome; });
    return Casos;
}

/// Replays the ops on Ini and checks each result; answers the count of ops it cannot check.
int VerificaOps(const json& Ops, const json& Resultados, const std::string& Expect, const fs::path& Ini)
{
    const std::string Arquivo = Ini.string();
    int NaoVerificadas = 0;
    for (std::size_t I = 0; I < Ops.size(); ++I) {
        const json& Op = Ops[I];
        const json& Esperado = Resultados[I];
        const std::string Nome = Op["op"].get<std::string>();
        SCOPED_TRACE("op " + std::to_string(I) + " " + Op.dump());
        const auto Secao = Argumento(Op, "section"), Chave = Argumento(Op, "key");
        const auto Valor = Argumento(Op, "value"), Padrao = Argumento(Op, "default");

        if (Nome == "GET" || Nome == "GETKEYS" || Nome == "GETSECS" || Nome == "SECNAMES") {
            const std::uint32_t Tamanho = Op["bufsize"].get<std::uint32_t>();
            constexpr char Guarda = '\xA5';
            std::vector<char> Buffer(Tamanho + 64, Guarda);
            const std::uint32_t Ret =
                Nome == "SECNAMES"
                    ? GetPrivateProfileSectionNamesA(Buffer.data(), Tamanho, Arquivo.c_str())
                    : GetPrivateProfileStringA(Nome == "GETSECS" ? nullptr : Ptr(Secao),
                                               Nome == "GETKEYS" ? nullptr : Ptr(Chave),
                                               Ptr(Padrao), Buffer.data(), Tamanho, Arquivo.c_str());
            const std::string Saida = *ArquivoGravado(Esperado["out_b64"]);
            EXPECT_EQ(Ret, Esperado["ret"].get<std::uint32_t>());
            EXPECT_EQ(std::string(Buffer.data(), Saida.size()), Saida);
            const auto Tocado = std::find_if(Buffer.begin() + static_cast<std::ptrdiff_t>(Saida.size()), Buffer.end(),
                                             [](char C) { return C != Guarda; });
            EXPECT_EQ(Tocado, Buffer.end()) << "byte written past the recorded output, at " << (Tocado - Buffer.begin());
        } else if (Nome == "GETINT") {
            EXPECT_EQ(GetPrivateProfileIntA(Ptr(Secao), Ptr(Chave), Op["default"].get<int>(), Arquivo.c_str()),
                      Esperado["ret"].get<std::uint32_t>());
        } else if (Nome == "WRITE" || Nome == "DELKEY" || Nome == "DELSEC" || Nome == "FLUSH") {
            const TTalvez Antes = LeArquivo(Ini);
            const int Ret = WritePrivateProfileStringA(Nome == "FLUSH" ? nullptr : Ptr(Secao),
                                                       Nome == "WRITE" || Nome == "DELKEY" ? Ptr(Chave) : nullptr,
                                                       Nome == "WRITE" ? Ptr(Valor) : nullptr, Arquivo.c_str());
            if (TemQuebraDeLinha(Secao) || TemQuebraDeLinha(Chave) || TemQuebraDeLinha(Valor)) {
                EXPECT_EQ(Ret, 0) << "a write with CR or LF must be refused";
                EXPECT_EQ(LeArquivo(Ini), Antes) << "a refused write must leave the file untouched";
                break;
            }
            EXPECT_EQ(Ret != 0, Esperado["ret"].get<int>() != 0);
        } else if (Nome == "DUMP") {
            const TTalvez Gravado = ArquivoGravado(Esperado["file_b64"]), Nosso = LeArquivo(Ini);
            if (Expect == "bytes") {
                EXPECT_EQ(Nosso, Gravado);
            } else if (Expect == "preserve") {
                EXPECT_EQ(Nosso.has_value(), Gravado.has_value());
            }
        } else if (Nome == "SECTION") {
            ++NaoVerificadas;
        } else if (Nome != "RESTART") {
            ADD_FAILURE() << "unknown op " << Nome;
        }
    }
    return NaoVerificadas;
}

/// Checks the file the ops left as the case's expect says.
void VerificaArquivoFinal(const fs::path& Pasta, const fs::path& Ini, const std::string& Expect, bool Recusado,
                          const TTalvez& Inicial, const TTalvez& Final)
{
    const TTalvez Nosso = LeArquivo(Ini);
    if (Recusado) {
        EXPECT_EQ(Nosso, Inicial) << "refused writes leave the file as it was";
        return;
    }
    // The line check below reads bytes; the recorded UTF-16 cases are small enough to hold us to the
    // reference's bytes instead (it keeps UTF-16 and every line of them).
    if (Expect == "bytes" || (Final && Inicial && Inicial->rfind("\xFF\xFE", 0) == 0)) {
        EXPECT_EQ(Nosso, Final);
        return;
    }
    ASSERT_EQ(Expect, "preserve");
    ASSERT_EQ(Nosso.has_value(), Final.has_value()) << PrintToString(Nosso);
    if (!Final)
        return;

    // 1. Our file reads back exactly like the recorded one.
    const fs::path Referencia = Pasta / "reference.ini";
    TRaizTeste::Grava(Referencia, *Final);
    EXPECT_EQ(Leitura(TArquivoLido{Ini.string()}), Leitura(TArquivoLido{Referencia.string()}))
        << "ours: " << PrintToString(Nosso) << "\nrecorded: " << PrintToString(Final);

    // 2. Every line of the initial file the calls do not concern is still there, in order, byte for
    //    byte. A line is concerned when the reference's rewrite no longer holds it (changed or
    //    deleted); a blank line, when the section it sits in was deleted. The reference writes what
    //    it keeps already normalized.
    const std::vector<TLinhaTeste> Antes = Linhas(Inicial ? *Inicial : std::string());
    std::vector<std::string> DaReferencia;
    for (const TLinhaTeste& L : Linhas(*Final))
        DaReferencia.push_back(L.Conteudo);
    std::vector<bool> Mantida(Antes.size(), false);
    std::size_t J = 0;
    bool SecaoMantida = true;
    for (std::size_t I = 0; I < Antes.size(); ++I) {
        const std::string N = Normaliza(Antes[I].Conteudo);
        if (N.empty()) {
            Mantida[I] = SecaoMantida;
            continue;
        }
        const auto Achado = std::find(DaReferencia.begin() + static_cast<std::ptrdiff_t>(J), DaReferencia.end(), N);
        Mantida[I] = Achado != DaReferencia.end();
        if (Mantida[I])
            J = static_cast<std::size_t>(Achado - DaReferencia.begin()) + 1;
        if (N.front() == '[' && N.back() == ']')
            SecaoMantida = Mantida[I];
    }
    const std::vector<TLinhaTeste> Depois = Linhas(*Nosso);
    std::size_t K = 0;
    for (std::size_t I = 0; I < Antes.size(); ++I) {
        if (!Mantida[I])
            continue;
        const bool Ultima = Antes[I].Quebra.empty();
        while (K < Depois.size() &&
               !(Depois[K].Conteudo == Antes[I].Conteudo && (Ultima || Depois[K].Quebra == Antes[I].Quebra)))
            ++K;
        EXPECT_LT(K, Depois.size()) << "line " << I << " \"" << PrintToString(Antes[I].Conteudo + Antes[I].Quebra)
                                    << "\" lost or changed; ours: " << PrintToString(Nosso);
        if (K < Depois.size())
            ++K;
    }
}

// ---------------------------------------------------------------------------------------------------
// A batch (TPerfilEmLote) against the same calls made one at a time: the same reads before, between and
// after the writes, and the same bytes in the file once confirmed.

/// A write: Valor null deletes the key, Chave null the section. Visao: made through the batch's
/// string_view entry (a key set), with Minusculas and junk after a NUL that must not count.
struct TEscrita {
    TTalvez Secao, Chave, Valor;
    bool Visao = false, Minusculas = false;
};

/// Makes Escritas on a copy of Inicial twice, one call each and as batches (a new one after each
/// position in Cortes, on the file the one before confirmed), and checks that both read the same after
/// every write and leave the same bytes; a batch with a refused write must leave the file as it was.
void ComparaComUmaAUma(const fs::path& Pasta, const TTalvez& Inicial, const std::vector<TEscrita>& Escritas,
                       const std::vector<std::size_t>& Cortes = {})
{
    const fs::path Uma = Pasta / "uma.ini", Arquivo = Pasta / "lote.ini";
    for (const fs::path& P : {Uma, Arquivo}) {
        fs::remove(P);
        if (Inicial)
            TRaizTeste::Grava(P, *Inicial);
    }
    std::size_t Proxima = 0;
    for (std::size_t Lote = 0; Lote <= Cortes.size(); ++Lote) {
        const std::size_t Fim = Lote < Cortes.size() ? Cortes[Lote] : Escritas.size();
        const TTalvez Antes = LeArquivo(Arquivo);
        TPerfilEmLote L(Arquivo.string());
        ASSERT_EQ(Leitura(L), Leitura(TArquivoLido{Uma.string()})) << "batch " << Lote;
        bool Recusada = false;
        for (; Proxima < Fim; ++Proxima) {
            const TEscrita& E = Escritas[Proxima];
            SCOPED_TRACE(PrintToString(E.Secao) + " " + PrintToString(E.Chave) + " = " + PrintToString(E.Valor) +
                         (E.Visao ? " (view" + std::string(E.Minusculas ? ", small letters)" : ")") : ""));
            TTalvez Secao = E.Secao, Chave = E.Chave;
            if (E.Minusculas)
                Secao = MinusculasAscii(*Secao), Chave = MinusculasAscii(*Chave);
            const int Ret = WritePrivateProfileStringA(Ptr(Secao), Ptr(Chave), Ptr(E.Valor), Uma.c_str());
            const bool Feita = E.Visao ? L.Grava(*E.Secao, *E.Chave, *E.Valor + std::string("\0junk", 5), E.Minusculas)
                                       : L.Grava(Ptr(E.Secao), Ptr(E.Chave), Ptr(E.Valor));
            EXPECT_EQ(Feita, Ret != 0);
            Recusada = Recusada || Ret == 0;
            if (Ret != 0) {
                ASSERT_EQ(Leitura(L), Leitura(TArquivoLido{Uma.string()})) << "file: " << PrintToString(LeArquivo(Uma));
            }
        }
        EXPECT_EQ(LeArquivo(Arquivo), Antes) << "nothing reaches the file before Confirma";
        EXPECT_EQ(L.Confirma(), !Recusada);
        EXPECT_EQ(LeArquivo(Arquivo), Recusada ? Antes : LeArquivo(Uma));
        EXPECT_EQ(L.Pendentes(), 0u);
    }
}

class CasosIni : public testing::TestWithParam<TCaso> {};

// Each recorded case, its calls made one at a time against the recorded results and file; then its file
// read through a batch (each section's values in one pass too), and its writes made both ways.
TEST_P(CasosIni, Reproduz)
{
    std::ifstream Entrada(GetParam().Arquivo);
    const json Caso = json::parse(Entrada);
    const json& Ops = Caso["ops"];
    ASSERT_EQ(Ops.size(), Caso["results"].size());
    const std::string Expect = Caso["expect"].get<std::string>();
    const TTalvez Inicial = ArquivoGravado(Caso["initial_file"]), Final = ArquivoGravado(Caso["final_file"]);

    // Beyond the reference, a write whose section, key or value holds CR or LF is refused and the
    // file is left untouched (also in the cases recorded as "bytes" that write such names).
    bool Recusado = Expect == "refused";
    std::vector<TEscrita> Escritas;
    for (const json& Op : Ops) {
        const std::string Nome = Op["op"].get<std::string>();
        if (Nome != "WRITE" && Nome != "DELKEY" && Nome != "DELSEC")
            continue;
        const TEscrita E{Argumento(Op, "section"), Nome == "DELSEC" ? std::nullopt : Argumento(Op, "key"),
                         Nome == "WRITE" ? Argumento(Op, "value") : std::nullopt};
        Recusado = Recusado || (Nome == "WRITE" && (TemQuebraDeLinha(E.Secao) || TemQuebraDeLinha(E.Chave) ||
                                                    TemQuebraDeLinha(E.Valor)));
        Escritas.push_back(E);
    }
    TRaizTeste Pasta;
    const fs::path Ini = Pasta.Pasta / Caso["ini_name"].get<std::string>();
    if (Inicial)
        TRaizTeste::Grava(Ini, *Inicial);
    const TArquivoLido Lido{Ini.string()};
    std::vector<std::string> Secoes = Lido.Secoes();
    Secoes.insert(Secoes.begin(), {"", "Falta"});  // and a section no file has (or no file at all)
    for (const std::string& S : Secoes) {
        std::vector<std::pair<std::string, std::string>> Esperado;
        for (const std::string& K : Lido.Chaves(S))
            Esperado.emplace_back(K, Lido.Le(S, K, "", 2048));
        EXPECT_EQ(LeValoresDaSecao(S.c_str(), 2048, Lido.Arquivo.c_str()), Esperado) << "[" << S << "]";
    }

    // Only GetPrivateProfileSectionA, which the module never calls, is left out (every other op of
    // such a case is still checked; the case then reports itself skipped).
    const int NaoVerificadas = VerificaOps(Ops, Caso["results"], Expect, Ini);
    VerificaArquivoFinal(Pasta.Pasta, Ini, Expect, Recusado, Inicial, Final);
    ComparaComUmaAUma(Pasta.Pasta, Inicial, Escritas);
    if (NaoVerificadas > 0)
        GTEST_SKIP() << "all checked but " << NaoVerificadas
                     << " GetPrivateProfileSectionA call(s), which the module never makes";
}

// With no cases found (KOVAN_INI_CASES unset or empty) the suite is left uninstantiated, which fails.
INSTANTIATE_TEST_SUITE_P(Casos, CasosIni, testing::ValuesIn(CasosGravados()), [](const auto& Info) {
    std::string N = Info.param.Nome;
    std::replace_if(N.begin(), N.end(), [](char C) { return !std::isalnum(static_cast<unsigned char>(C)); }, '_');
    return N;
});

// Random files (mixed line endings, blanks, comments, duplicates, "[]" headers, BOMs, UTF-16) and
// random writes whose names collide in every way the lookups allow.
TEST(LoteAleatorio, IgualAUmaAUma)
{
    std::mt19937 Sorte(1206);
    const auto Um = [&](const auto& Lista) { return Lista[Sorte() % std::size(Lista)]; };
    const char* Linhas[] = {"[A]", "[ a ]", "[B]", "[]", "[b]x", "k=1", " K = 2 ", "j", ";c=3", "=v", "k2=\"q\"",
                            "", "  ", "# x", "n=\xE9", "[C", "k=1\t", "[A]", "[Secao_Longa_9]", "ChaveComprida=1", "\xC3\xB1=1"};
    const char* Quebras[] = {"\r\n", "\r\n", "\n", "\n", "\r"};
    const char* SecoesEscritas[] = {"A", "a", " A ", "B", "b", "C", "", "Nova", "[x", "x]", "SECAO_longa_9"};
    const char* Chaves[] = {"k", "K", " k", "j", "nova", "[x]", "", ";c", "k2", "n", "[y", "chaveCOMPRIDA", "\xF1"};
    const char* Valores[] = {"1", "2", " 3", "4 ", "\"q\"", "", "\xE9", "v=w", "x]"};
    TRaizTeste Pasta;
    for (int Rodada = 0; Rodada < 150; ++Rodada) {
        SCOPED_TRACE("round " + std::to_string(Rodada));
        TTalvez Inicial;
        if (Sorte() % 8 != 0) {
            std::string T = Sorte() % 6 == 0 ? "\xEF\xBB\xBF" : "";
            const char* Quebra = Sorte() % 4 == 0 ? Um(Quebras) : "\r\n";
            for (unsigned N = Sorte() % 15; N > 0; --N)
                T += std::string(Um(Linhas)) + (Sorte() % 5 == 0 ? Um(Quebras) : Quebra);
            if (Sorte() % 3 == 0)
                T += Um(Linhas);
            if (Sorte() % 10 == 0)  // UTF-16LE of the same lines
                T = Utf16(T.rfind("\xEF\xBB\xBF", 0) == 0 ? T.substr(3) : T);
            Inicial = T;
        }
        std::vector<TEscrita> Escritas;
        std::vector<std::size_t> Cortes;
        for (unsigned N = 1 + Sorte() % 12; N > 0; --N) {
            const unsigned Tipo = Sorte() % 8;
            // Often the section of the write before, as a table's keys are written.
            const TTalvez Secao = !Escritas.empty() && Sorte() % 3 == 0 ? Escritas.back().Secao : Um(SecoesEscritas);
            TEscrita E{Secao, Tipo == 0 ? std::nullopt : TTalvez(Um(Chaves)), Tipo <= 1 ? std::nullopt : TTalvez(Um(Valores))};
            E.Visao = E.Valor && Sorte() % 2 == 0;
            E.Minusculas = E.Visao && Sorte() % 2 == 0;
            Escritas.push_back(E);
            if (N > 1 && Sorte() % 4 == 0)  // the next writes in a new batch, which takes this one's model over
                Cortes.push_back(Escritas.size());
        }
        ComparaComUmaAUma(Pasta.Pasta, Inicial, Escritas, Cortes);
        if (testing::Test::HasFailure())
            break;
    }
}

// ---------------------------------------------------------------------------------------------------
// Beyond the reference

class PerfilPrivado : public testing::Test {
protected:
    TRaizTeste Raiz;
    fs::path Pasta = Raiz.Raiz / "config";
    std::string Arquivo = (Pasta / "Teste.ini").string();

    int Grava(const char* Secao, const char* Chave, const char* Valor, const std::string& Ini = {})
    {
        return WritePrivateProfileStringA(Secao, Chave, Valor, Ini.empty() ? Arquivo.c_str() : Ini.c_str());
    }
    std::string Le(const char* Secao, const char* Chave)
    {
        return TArquivoLido{Arquivo}.Le(Secao, Chave, "dflt", 2048);
    }
    /// Files left beside the ini file (temporaries, locks).
    std::vector<std::string> Sobras()
    {
        std::vector<std::string> N;
        for (const fs::directory_entry& E : fs::directory_iterator(Pasta))
            if (E.path().filename() != "Teste.ini")
                N.push_back(E.path().filename().string());
        std::sort(N.begin(), N.end());
        return N;
    }
};

// A change replaces the file by rename, keeping its mode and leaving nothing beside it; no change rewrites
// nothing (that erasing from a missing file creates none is in the recorded cases). A module file that is
// a symbolic link (to a link, relative or absolute) stays one: its target is what is replaced.
TEST_F(PerfilPrivado, SubstituiAtomicamenteSoQuandoMuda)
{
    const fs::path Alvo = Raiz.Pasta / "comum" / "Real.ini", Meio = Raiz.Pasta / "comum" / "meio.ini";
    TRaizTeste::Grava(Alvo, "[A]\r\nk = 1\r\n");
    ASSERT_EQ(chmod(Alvo.c_str(), 0640), 0);
    fs::create_symlink("Real.ini", Meio);
    fs::create_symlink(Meio, Arquivo);
    const ino_t Antes = TRaizTeste::Inode(Alvo);
    EXPECT_EQ(Grava("a", "K", "1"), 1);
    EXPECT_EQ(Grava("A", "missing", nullptr), 1);
    EXPECT_EQ(Grava("Missing", nullptr, nullptr), 1);
    EXPECT_EQ(TRaizTeste::Inode(Alvo), Antes);
    ASSERT_EQ(Grava("A", "k", "2"), 1);
    EXPECT_NE(TRaizTeste::Inode(Alvo), Antes) << "the file is replaced by rename, not rewritten in place";
    EXPECT_EQ(fs::status(Alvo).permissions(), fs::perms(0640));
    ASSERT_EQ(Grava("B", "j", "3"), 1);
    ASSERT_EQ(Grava("A", nullptr, nullptr), 1);
    EXPECT_EQ(LeArquivo(Alvo), "[B]\r\nj=3\r\n");
    EXPECT_TRUE(fs::is_symlink(Arquivo) && fs::is_symlink(Meio));
    EXPECT_TRUE(Sobras().empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(Alvo.parent_path()), fs::directory_iterator()), 2)
        << "no temporary left beside the target";
}

// A write or erase that cannot be done (CR or LF in a name or value, a read-only file, a missing
// folder, a folder in the file's place) answers 0, leaves what is there untouched, and is told once
// to the event log at error level with the file, the operation and the reason.
TEST_F(PerfilPrivado, FalhaNaoTocaERegistraUmaVez)
{
    const TLogEventosTeste Log(Raiz.Pasta / "eventos.jsonl");
    const std::string Pendente = (Pasta / "pendente.ini").string(), SemPasta = (Pasta / "nodir" / "x.ini").string();
    const std::string NaPasta = (Pasta / "pasta.ini").string();
    ASSERT_EQ(symlink((Pasta / "alvo-ausente" / "x.ini").c_str(), Pendente.c_str()), 0);
    fs::create_directories(NaPasta);
    const std::string Quebra = "line break";
    const struct {
        const char *Secao, *Chave, *Valor;
        std::string Ini, Operacao, Motivo;
        bool SomenteLeitura;
    } Casos[] = {
        {"A", "k", "2", Arquivo, "write of [A] k", "read-only", true},
        {"A", "k", nullptr, Arquivo, "erase of [A] k", "read-only", true},
        {"A", nullptr, nullptr, Arquivo, "erase of [A]", "read-only", true},
        {"A", "k", "a\nb", Arquivo, "write of [A] k", Quebra, false},
        {"A", "\n", nullptr, Arquivo, "erase of", Quebra, false},
        {"a\r\nb", nullptr, nullptr, Arquivo, "erase of", Quebra, false},
        {"A", "k", "1", Pendente, "write of [A] k", std::strerror(ENOENT), false},
        {"A", "k", "1", SemPasta, "write of [A] k", std::strerror(ENOENT), false},
        {"A", "k", "1", NaPasta, "write of [A] k", std::strerror(EISDIR), false},
        {"A", "k", nullptr, NaPasta, "erase of [A] k", std::strerror(EISDIR), false},
    };
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(Caso.Ini + " " + PrintToString(std::string(Caso.Secao)) + " " + Caso.Operacao);
        TRaizTeste::Grava(Arquivo, "[A]\r\nk=1\r\n");
        ASSERT_TRUE(SetFileAttributesA(Arquivo, Caso.SomenteLeitura ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL));
        const ino_t Antes = TRaizTeste::Inode(Arquivo);
        EXPECT_EQ(Grava(Caso.Secao, Caso.Chave, Caso.Valor, Caso.Ini), 0);
        EXPECT_EQ(TRaizTeste::Inode(Arquivo), Antes);
        EXPECT_EQ(LeArquivo(Arquivo), "[A]\r\nk=1\r\n");
        EXPECT_EQ(Le("A", "k"), "1");
        const std::vector<json> E = Log.Entradas();
        ASSERT_EQ(E.size(), 1u);
        EXPECT_EQ(E[0]["type"], 1) << "error level";
        EXPECT_EQ(E[0]["source"], "Kovan");
        const std::string Texto = E[0]["text"];
        for (const std::string& Parte : {fs::path(Caso.Ini).filename().string(), Caso.Operacao, Caso.Motivo})
            EXPECT_NE(Texto.find(Parte), std::string::npos) << Parte << " not in: " << Texto;
    }
    SetFileAttributesA(Arquivo, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Grava("A", "k", "3"), 1);
    EXPECT_EQ(Grava("Falta", nullptr, nullptr), 1);
    EXPECT_TRUE(Log.Entradas().empty()) << "what succeeds logs nothing";
    EXPECT_EQ(Sobras(), (std::vector<std::string>{"pasta.ini", "pendente.ini"}))
        << "no folder, file or temporary is left by a failure";
}

// Writers killed at random points leave temporary files behind; none may make a later write fail, the
// next write removes them, and every write that answered success is on the disk.
TEST_F(PerfilPrivado, EscritoresMortosNaoDeixamSobrasNemPerdemGravacoes)
{
    std::mt19937 Sorte(20261206);
    std::vector<int> Confirmadas;
    for (int Rodada = 0; Rodada < 300; ++Rodada) {
        int Tubo[2];
        ASSERT_EQ(pipe(Tubo), 0);
        const pid_t Filho = fork();
        ASSERT_GE(Filho, 0);
        if (Filho == 0) {
            close(Tubo[0]);
            for (int I = Rodada * 1000;; ++I)
                if (Grava("S", ("k" + std::to_string(I)).c_str(), std::to_string(I).c_str()) == 1)
                    (void)!write(Tubo[1], &I, sizeof I);
        }
        close(Tubo[1]);
        int I;  // the writer is under way once its first write answered; then it dies anywhere
        if (read(Tubo[0], &I, sizeof I) == static_cast<ssize_t>(sizeof I))
            Confirmadas.push_back(I);
        usleep(static_cast<useconds_t>(Sorte() % 5000));
        kill(Filho, SIGKILL);
        waitpid(Filho, nullptr, 0);
        while (read(Tubo[0], &I, sizeof I) == static_cast<ssize_t>(sizeof I))
            Confirmadas.push_back(I);
        close(Tubo[0]);
    }
    ASSERT_EQ(Grava("S", "fim", "1"), 1);
    EXPECT_TRUE(Sobras().empty()) << PrintToString(Sobras());
    std::map<std::string, std::string> Lidos;
    for (auto& [Chave, Valor] : LeValoresDaSecao("S", 64, Arquivo.c_str()))
        Lidos[Chave] = Valor;
    for (int I : Confirmadas)
        EXPECT_EQ(Lidos["k" + std::to_string(I)], std::to_string(I));
    EXPECT_GE(Confirmadas.size(), 300u);
}

// A batch takes over the model the last one left only while the file still holds what that one read
// or wrote: a change made by anyone else, or writes dropped unconfirmed, are never seen as the file;
// after many batches (the kept model made again along the way) every one still reads the file.
TEST_F(PerfilPrivado, LoteSeguinteLeOArquivoComoEsta)
{
    TRaizTeste::Grava(Arquivo, "[A]\r\nk=1\r\n");
    const auto Le_ = [&] { return TPerfilEmLote(Arquivo).Le("A", "k", "", 4096); };
    {
        TPerfilEmLote L(Arquivo);
        ASSERT_TRUE(L.Grava("A", "k", "2") && L.Confirma());
    }
    TRaizTeste::Grava(Arquivo, "[A]\r\nk=3\r\n");  // same size, another process
    EXPECT_EQ(Le_(), "3");
    {
        TPerfilEmLote L(Arquivo);
        ASSERT_TRUE(L.Grava("A", "k", "4"));
    }  // dropped
    EXPECT_EQ(Le_(), "3");
    EXPECT_EQ(LeArquivo(Arquivo), "[A]\r\nk=3\r\n");
    for (int I = 0; I < 120; ++I) {  // 1 KB a batch: well past what a kept model may add
        const std::string Valor(1000, static_cast<char>('a' + I % 26));
        {
            TPerfilEmLote L(Arquivo);
            ASSERT_TRUE(L.Grava("A", "k", Valor, I % 2 == 0) && L.Grava("B", "N" + std::to_string(I % 3), "x", true));
            ASSERT_TRUE(L.Confirma());
        }
        ASSERT_EQ(Le_(), Valor) << I;
    }
    EXPECT_EQ(LeArquivo(Arquivo), "[A]\r\nk=" + std::string(1000, 'a' + 119 % 26) + "\r\n[b]\r\nn0=x\r\nn1=x\r\nn2=x\r\n");
}

// Two processes write different keys of one file many times, interleaved: no key may be lost. Run by
// root, the child is another user, allowed to read and write the file but not to ask that its access
// time be left alone (only the owner may): it still reads and writes.
TEST_F(PerfilPrivado, DoisProcessosNaoPerdemAtualizacoes)
{
    TRaizTeste::Grava(Arquivo, "[S]\r\ninicio=1\r\n");
    for (const fs::path& P : {Raiz.Pasta, Raiz.Raiz, Pasta, fs::path(Arquivo)})
        fs::permissions(P, fs::perms::all);
    const auto Escreve = [&](const std::string& Prefixo) {
        bool Ok = true;
        for (int I = 0; I < 150; ++I)
            Ok = Grava("S", (Prefixo + std::to_string(I)).c_str(), std::to_string(I).c_str()) == 1 && Ok;
        return Ok;
    };
    const pid_t Filho = fork();
    ASSERT_GE(Filho, 0);
    if (Filho == 0)
        _exit((geteuid() != 0 || setuid(65534) == 0) && Le("S", "inicio") == "1" && Escreve("filho") ? 0 : 1);
    EXPECT_TRUE(Escreve("pai"));
    int Estado = 0;
    ASSERT_EQ(waitpid(Filho, &Estado, 0), Filho);
    EXPECT_EQ(Estado, 0);
    for (int I = 0; I < 150; ++I)
        for (const std::string Prefixo : {"pai", "filho"})
            EXPECT_EQ(Le("S", (Prefixo + std::to_string(I)).c_str()), std::to_string(I));
    EXPECT_TRUE(Sobras().empty());
}

// A temporary file a live writer holds is never taken; those of dead writers go with the next write,
// whatever pid they name (ours included), and never make it fail.
TEST_F(PerfilPrivado, TemporarioDeEscritorVivoFica)
{
    TRaizTeste::Grava(Arquivo, "[A]\r\nk=1\r\n");
    const std::string Prefixo = (Pasta / ".Teste.ini.").string();
    for (int I = 0; I < 200; ++I)
        TRaizTeste::Grava(Prefixo + std::to_string(getpid()) + "." + std::to_string(I) + ".tmp", "lixo");
    TRaizTeste::Grava(Prefixo + "1.2.tmp", "lixo");
    int Tubo[2];
    ASSERT_EQ(pipe(Tubo), 0);
    const pid_t Filho = fork();
    ASSERT_GE(Filho, 0);
    if (Filho == 0) {
        const int Fd = open((Prefixo + "999999.1.tmp").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        struct flock Trava {};
        Trava.l_type = F_WRLCK;
        const char Pronto = Fd >= 0 && fcntl(Fd, F_SETLK, &Trava) == 0 ? '1' : '0';
        (void)!write(Tubo[1], &Pronto, 1);
        pause();
        _exit(0);
    }
    char Pronto = 0;
    ASSERT_EQ(read(Tubo[0], &Pronto, 1), 1);
    ASSERT_EQ(Pronto, '1');
    for (int I = 0; I < 5; ++I)
        EXPECT_EQ(Grava("A", "k", std::to_string(I).c_str()), 1);
    EXPECT_EQ(Sobras(), std::vector<std::string>{".Teste.ini.999999.1.tmp"});
    kill(Filho, SIGKILL);
    waitpid(Filho, nullptr, 0);
    EXPECT_EQ(Grava("A", "k", "9"), 1);
    EXPECT_TRUE(Sobras().empty());
    EXPECT_EQ(Le("A", "k"), "9");
    close(Tubo[0]);
    close(Tubo[1]);
}

// A UTF-16LE file stays UTF-16LE through every kind of change: names and values are CP1252 outside,
// and a new section or key is written in the file's encoding, never appended as bytes of another.
TEST_F(PerfilPrivado, Utf16ContinuaUtf16)
{
    TRaizTeste::Grava(Arquivo, Utf16("[Geral]\r\nNome=Jo\xE3o\r\n"));
    ASSERT_EQ(Grava("Geral", "Cidade", "S\xE3o Paulo"), 1);
    ASSERT_EQ(Grava("Novo", "k", "\x80"), 1);  // the euro sign: one CP1252 byte, U+20AC in the file
    const std::string Esperado =
        Utf16("[Geral]\r\nNome=Jo\xE3o\r\nCidade=S\xE3o Paulo\r\n[Novo]\r\nk=") + "\xAC\x20" + Utf16("\r\n").substr(2);
    EXPECT_EQ(LeArquivo(Arquivo), Esperado);
    EXPECT_EQ(Le("Novo", "k"), "\x80");
    ASSERT_EQ(Grava("Geral", "Nome", nullptr), 1);
    ASSERT_EQ(Grava("Novo", nullptr, nullptr), 1);
    EXPECT_EQ(LeArquivo(Arquivo), Utf16("[Geral]\r\nCidade=S\xE3o Paulo\r\n"));

    // Text that does not decode (a lone surrogate, an odd byte) is read as well as it goes and never
    // written, so nothing is lost to a guess.
    const TLogEventosTeste Log(Raiz.Pasta / "eventos.jsonl");
    for (const std::string& Ruim :
         {Utf16("[A]\r\nk=1\r\n") + "x", Utf16("[A]\r\nk=") + std::string("\x00\xD8", 2) + Utf16("\r\n").substr(2)}) {
        TRaizTeste::Grava(Arquivo, Ruim);
        EXPECT_EQ(Grava("A", "j", "2"), 0);
        EXPECT_EQ(LeArquivo(Arquivo), Ruim);
        EXPECT_EQ(Log.Entradas().size(), 1u);
    }
}

// Lines a change does not concern stay byte for byte; a changed key is written normalized, and new lines
// take the file's line ending. The module path reaches the file whatever the case of its components; a
// new file in an existing folder reached through another case is created there, as spelled.
TEST_F(PerfilPrivado, MantemLinhasNaoTocadasPorCaminhoSemCaixa)
{
    const fs::path Real = Pasta / "empresas" / "00000123" / "Mirabelo.ini";
    TRaizTeste::Grava(Real, "; cabecalho\n\n[Geral]   ; nota\n  Key = old  \n\n# outra\n[B]\r\nj = 2\r\n");
    Arquivo = Raiz.RaizTexto() + "\\Config\\EMPRESAS\\00000123\\mirabelo.INI";
    EXPECT_EQ(Le("geral", "key"), "old");
    ASSERT_EQ(Grava("geral", "KEY", "new"), 1);
    ASSERT_EQ(Grava("GERAL", "Nova", "1"), 1);
    ASSERT_EQ(Grava("C", "x", "9"), 1);
    EXPECT_EQ(LeArquivo(Real), "; cabecalho\n\n[Geral]   ; nota\nKey=new\n\n# outra\nNova=1\n[B]\r\nj = 2\r\n[C]\nx=9\n");
    EXPECT_EQ(Grava("A", "k", "1", Raiz.RaizTexto() + "\\CONFIG\\Novo.ini"), 1);
    EXPECT_TRUE(fs::exists(Pasta / "Novo.ini"));
}

} // namespace
