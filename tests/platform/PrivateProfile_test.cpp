// The private-profile engine against the recorded cases (one per file in $KOVAN_INI_CASES, read at run
// time), a batch against the same calls made one at a time, then what we promise beyond the reference.
#include "platform/PrivateProfile.h"

#include "platform/Ascii.h"
#include "platform/Files.h"
#include "LogEventosTeste.h"
#include "ProcessoTeste.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <map>
#include <set>
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
        } else if (E[++I] == 'x' && I + 2 < E.size()) {
            S += static_cast<char>(std::stoi(E.substr(I + 1, 2), nullptr, 16));
            I += 2;
        } else {
            S += E[I] == 'r' ? '\r' : E[I] == 'n' ? '\n' : E[I] == 't' ? '\t' : E[I] == '0' ? '\0' : E[I];
        }
    }
    return S;
}

const char* Ptr(const TTalvez& S) { return S ? S->c_str() : nullptr; }

TTalvez LeArquivo(const fs::path& P) { return fs::exists(P) ? TTalvez(TRaizTeste::Le(P)) : std::nullopt; }

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
        const std::size_t F = std::min(D.find_first_of("\r\n", I), D.size());
        const std::size_t Q = F == D.size() ? 0 : (D[F] == '\r' && F + 1 < D.size() && D[F + 1] == '\n') ? 2 : 1;
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
            N.emplace_back(B.data() + I);
        return N;
    }
    auto Secoes() const { return Nomes(GetPrivateProfileSectionNamesA(B.data(), B.size(), Arquivo.c_str())); }
    std::vector<std::string> Chaves(const std::string& S) const
    {
        return Nomes(GetPrivateProfileStringA(S.c_str(), nullptr, "", B.data(), B.size(), Arquivo.c_str()));
    }
    std::string Le(const std::string& S, const std::string& K, const char* Padrao, std::uint32_t Tamanho) const
    {
        return std::string(B.data(), GetPrivateProfileStringA(S.c_str(), K.c_str(), Padrao, B.data(), Tamanho, Arquivo.c_str()));
    }
    auto ValoresDaSecao(const char* S, std::uint32_t T) const { return LeValoresDaSecao(S, T, Arquivo.c_str()); }
};

/// Every section listing, key listing and value of a file or a batch, as our reads see them; the values
/// of a section (or of one no file has) read in one pass must be those read one key at a time.
template <class TFonte>
std::string Leitura(const TFonte& F)
{
    std::vector<std::string> S = F.Secoes();
    std::string R = "sections:";
    for (const std::string& N : S)
        R += N + '\0';
    S.insert(S.begin(), {"", "Falta"});
    for (const std::string& Secao : S) {
        std::vector<std::pair<std::string, std::string>> Valores;
        R += "\n[" + Secao + "] keys:";
        for (const std::string& K : F.Chaves(Secao)) {
            R += K + '\0';
            Valores.emplace_back(K, F.Le(Secao, K, "", 2048));
        }
        EXPECT_EQ(F.ValoresDaSecao(Secao.c_str(), 2048), Valores) << "[" << Secao << "] in one pass";
        for (const auto& [K, V] : Valores)
            R += "\n  " + K + "=" + F.Le(Secao, K, "\x01missing", 1 << 18);
    }
    return R;
}

// The recorded cases

std::vector<std::string> CasosGravados()
{
    std::vector<std::string> Casos;
    std::error_code Erro;
    if (const char* Pasta = std::getenv("KOVAN_INI_CASES"))
        for (const fs::directory_entry& E : fs::directory_iterator(Pasta, Erro))
            if (E.path().extension() == ".json")
                Casos.push_back(E.path().string());
    std::sort(Casos.begin(), Casos.end());
    return Casos;
}

/// Replays the ops on Ini and checks each result; answers the count of ops it cannot check. Beyond the
/// reference, a write whose section, key or value holds CR or LF is refused: it ends the case, Recusado.
int VerificaOps(const json& Caso, const fs::path& Ini, bool& Recusado)
{
    const std::string Arquivo = Ini.string(), Expect = Caso["expect"];
    int NaoVerificadas = 0;
    for (std::size_t I = 0; I < Caso["ops"].size(); ++I) {
        const json &Op = Caso["ops"][I], &Esperado = Caso["results"][I];
        const std::string Nome = Op["op"];
        SCOPED_TRACE("op " + std::to_string(I) + " " + Op.dump());
        const auto Secao = Argumento(Op, "section"), Chave = Argumento(Op, "key"), Valor = Argumento(Op, "value");
        if (Nome == "GET" || Nome == "GETKEYS" || Nome == "GETSECS" || Nome == "SECNAMES") {
            const std::uint32_t Tamanho = Op["bufsize"];
            std::vector<char> Buffer(Tamanho + 64, '\xA5');
            const std::uint32_t Ret =
                Nome == "SECNAMES"
                    ? GetPrivateProfileSectionNamesA(Buffer.data(), Tamanho, Arquivo.c_str())
                    : GetPrivateProfileStringA(Nome == "GETSECS" ? nullptr : Ptr(Secao),
                                               Nome == "GETKEYS" ? nullptr : Ptr(Chave),
                                               Ptr(Argumento(Op, "default")), Buffer.data(), Tamanho, Arquivo.c_str());
            const std::string Saida = *ArquivoGravado(Esperado["out_b64"]);
            EXPECT_EQ(Ret, Esperado["ret"].get<std::uint32_t>());
            EXPECT_EQ(std::string(Buffer.begin(), Buffer.end()),
                      Saida + std::string(Buffer.size() - Saida.size(), '\xA5'))
                << "the recorded output, and no byte written past it";
        } else if (Nome == "GETINT") {
            EXPECT_EQ(GetPrivateProfileIntA(Ptr(Secao), Ptr(Chave), Op["default"].get<int>(), Arquivo.c_str()),
                      Esperado["ret"].get<std::uint32_t>());
        } else if (Nome == "WRITE" || Nome == "DELKEY" || Nome == "DELSEC" || Nome == "FLUSH") {
            const int Ret = WritePrivateProfileStringA(Nome == "FLUSH" ? nullptr : Ptr(Secao),
                                                       Nome == "WRITE" || Nome == "DELKEY" ? Ptr(Chave) : nullptr,
                                                       Nome == "WRITE" ? Ptr(Valor) : nullptr, Arquivo.c_str());
            Recusado = TemQuebraDeLinha(Secao) || TemQuebraDeLinha(Chave) || TemQuebraDeLinha(Valor);
            if (Recusado) {
                EXPECT_EQ(Ret, 0) << "a write with CR or LF must be refused";
                break;
            }
            EXPECT_EQ(Ret != 0, Esperado["ret"].get<int>() != 0);
        } else if (Nome == "DUMP" && Expect == "bytes") {
            EXPECT_EQ(LeArquivo(Ini), ArquivoGravado(Esperado["file_b64"]));
        } else if (Nome == "SECTION") {
            ++NaoVerificadas;
        } else if (Nome != "RESTART" && Nome != "DUMP") {
            ADD_FAILURE() << "unknown op " << Nome;
        }
    }
    return NaoVerificadas;
}

/// Checks the file the ops left as the case's expect says.
void VerificaArquivoFinal(const fs::path& Ini, const std::string& Expect, bool Recusado, const TTalvez& Inicial,
                          const TTalvez& Final)
{
    const TTalvez Nosso = LeArquivo(Ini);
    // The line check below reads bytes: the small UTF-16 cases are held to the reference's bytes instead.
    if (Recusado || Expect == "bytes" || (Final && Inicial && Inicial->rfind("\xFF\xFE", 0) == 0)) {
        EXPECT_EQ(Nosso, Recusado ? Inicial : Final) << (Recusado ? "refused writes leave the file as it was" : "");
        return;
    }
    ASSERT_EQ(Expect, "preserve");
    ASSERT_TRUE(Nosso && Final) << PrintToString(Nosso);

    // 1. Our file reads back exactly like the recorded one.
    const fs::path Referencia = Ini.parent_path() / "reference.ini";
    TRaizTeste::Grava(Referencia, *Final);
    EXPECT_EQ(Leitura(TArquivoLido{Ini.string()}), Leitura(TArquivoLido{Referencia.string()}))
        << "ours: " << PrintToString(Nosso) << "\nrecorded: " << PrintToString(Final);

    // 2. Every line of the initial file the calls do not concern is still there, in order, byte for byte:
    //    concerned, a line the reference's rewrite no longer holds, or a blank line of a deleted section.
    const std::vector<TLinhaTeste> Antes = Linhas(Inicial.value_or("")), Depois = Linhas(*Nosso);
    std::vector<std::string> DaReferencia;
    for (const TLinhaTeste& L : Linhas(*Final))
        DaReferencia.push_back(L.Conteudo);
    std::size_t J = 0, K = 0;
    bool SecaoMantida = true;
    for (std::size_t I = 0; I < Antes.size(); ++I) {
        const std::string N = Normaliza(Antes[I].Conteudo);
        bool Mantida = SecaoMantida;
        if (!N.empty()) {
            const auto Achado = std::find(DaReferencia.begin() + static_cast<std::ptrdiff_t>(J), DaReferencia.end(), N);
            Mantida = Achado != DaReferencia.end();
            J = Mantida ? static_cast<std::size_t>(Achado - DaReferencia.begin()) + 1 : J;
            SecaoMantida = N.front() == '[' && N.back() == ']' ? Mantida : SecaoMantida;
        }
        if (!Mantida)
            continue;
        const bool Ultima = Antes[I].Quebra.empty();
        while (K < Depois.size() &&
               !(Depois[K].Conteudo == Antes[I].Conteudo && (Ultima || Depois[K].Quebra == Antes[I].Quebra)))
            ++K;
        EXPECT_LT(K++, Depois.size()) << "line " << I << " " << PrintToString(Antes[I].Conteudo + Antes[I].Quebra)
                                      << " lost or changed; ours: " << PrintToString(Nosso);
    }
}

// A batch (TPerfilEmLote) against the same calls made one at a time

/// A write: Valor null deletes the key, Chave null the section. Visao: through the batch's string_view
/// entry (a key set), with Minusculas and junk after a NUL that must not count.
struct TEscrita {
    TTalvez Secao, Chave, Valor;
    bool Visao = false, Minusculas = false;
};

/// Makes Escritas on a copy of Inicial one call each and as batches (a new one after each position in
/// Cortes): both must read the same after every write and leave the same bytes (a refused write: none).
void ComparaComUmaAUma(const fs::path& Pasta, const TTalvez& Inicial, const std::vector<TEscrita>& Escritas,
                       const std::vector<std::size_t>& Cortes = {})
{
    const fs::path Uma = Pasta / "uma.ini", Arquivo = Pasta / "lote.ini";
    for (const fs::path& P : {Uma, Arquivo}) {
        fs::remove(P);
        if (Inicial)
            TRaizTeste::Grava(P, *Inicial);
    }
    const auto LeUma = [&] { return Leitura(TArquivoLido{Uma.string()}); };
    std::size_t Proxima = 0;
    for (std::size_t Lote = 0; Lote <= Cortes.size(); ++Lote) {
        const std::size_t Fim = Lote < Cortes.size() ? Cortes[Lote] : Escritas.size();
        const TTalvez Antes = LeArquivo(Arquivo);
        TPerfilEmLote L(Arquivo.string());
        ASSERT_EQ(Leitura(L), LeUma()) << "batch " << Lote;
        bool Recusada = false;
        for (; Proxima < Fim; ++Proxima) {
            const TEscrita& E = Escritas[Proxima];
            SCOPED_TRACE(PrintToString(E.Secao) + " " + PrintToString(E.Chave) + " = " + PrintToString(E.Valor) +
                         (E.Visao ? " (view" + std::string(E.Minusculas ? ", small letters)" : ")") : ""));
            TTalvez Secao = E.Secao, Chave = E.Chave;
            if (E.Minusculas)
                Secao = MinusculasAscii(*Secao), Chave = MinusculasAscii(*Chave);
            const int Ret = WritePrivateProfileStringA(Ptr(Secao), Ptr(Chave), Ptr(E.Valor), Uma.c_str());
            EXPECT_EQ(E.Visao ? L.Grava(*E.Secao, *E.Chave, *E.Valor + std::string("\0junk", 5), E.Minusculas)
                              : L.Grava(Ptr(E.Secao), Ptr(E.Chave), Ptr(E.Valor)),
                      Ret != 0);
            Recusada = Recusada || Ret == 0;
            ASSERT_EQ(Leitura(L), LeUma()) << "file: " << PrintToString(LeArquivo(Uma));
        }
        EXPECT_EQ(LeArquivo(Arquivo), Antes) << "nothing reaches the file before Confirma";
        EXPECT_EQ(L.Confirma(), !Recusada);
        EXPECT_EQ(LeArquivo(Arquivo), Recusada ? Antes : LeArquivo(Uma));
        EXPECT_EQ(L.Pendentes(), 0u);
    }
}

class CasosIni : public testing::TestWithParam<std::string> {};

// Each recorded case against its recorded results and file, then its writes made both ways.
TEST_P(CasosIni, Reproduz)
{
    const json Caso = json::parse(std::ifstream(GetParam()));
    ASSERT_EQ(Caso["ops"].size(), Caso["results"].size());
    const TTalvez Inicial = ArquivoGravado(Caso["initial_file"]), Final = ArquivoGravado(Caso["final_file"]);
    std::vector<TEscrita> Escritas;
    for (const json& Op : Caso["ops"])
        if (const std::string Nome = Op["op"]; Nome == "WRITE" || Nome == "DELKEY" || Nome == "DELSEC")
            Escritas.push_back({Argumento(Op, "section"), Nome == "DELSEC" ? std::nullopt : Argumento(Op, "key"),
                                Nome == "WRITE" ? Argumento(Op, "value") : std::nullopt});
    TRaizTeste Pasta;
    const fs::path Ini = Pasta.Pasta / Caso["ini_name"].get<std::string>();
    if (Inicial)
        TRaizTeste::Grava(Ini, *Inicial);
    // Only GetPrivateProfileSectionA, which the module never calls, is left unchecked.
    bool Recusado = false;
    const int NaoVerificadas = VerificaOps(Caso, Ini, Recusado);
    VerificaArquivoFinal(Ini, Caso["expect"], Recusado, Inicial, Final);
    ComparaComUmaAUma(Pasta.Pasta, Inicial, Escritas);
    if (NaoVerificadas > 0)
        GTEST_SKIP() << "all checked but " << NaoVerificadas
                     << " GetPrivateProfileSectionA call(s), which the module never makes";
}

// With no cases found (KOVAN_INI_CASES unset or empty) the suite is left uninstantiated, which fails.
INSTANTIATE_TEST_SUITE_P(Casos, CasosIni, testing::ValuesIn(CasosGravados()), [](const auto& Info) {
    std::string N = fs::path(Info.param).stem().string();
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
    std::string Le(const char* Secao, const char* Chave) { return TArquivoLido{Arquivo}.Le(Secao, Chave, "dflt", 2048); }
    /// Files left beside the ini file (temporaries, locks).
    std::set<std::string> Sobras() const
    {
        std::set<std::string> N;
        for (const fs::directory_entry& E : fs::directory_iterator(Pasta))
            N.insert(E.path().filename().string());
        N.erase("Teste.ini");
        return N;
    }
};

// A change replaces the file by rename, keeping its mode; no change rewrites nothing. A module file that
// is a symbolic link (to a link, relative or absolute) stays one: its target is what is replaced. A write
// or erase that cannot be done answers 0, leaves the file untouched and is told once to the event log at
// error level with the file, the operation and the reason. Nothing is left beside the file either way.
TEST_F(PerfilPrivado, SubstituiSoQuandoMudaEFalhaNaoToca)
{
    const TLogEventosTeste Log(Raiz.Pasta / "eventos.jsonl");
    const fs::path Alvo = Raiz.Pasta / "comum" / "Real.ini", Meio = Raiz.Pasta / "comum" / "meio.ini";
    TRaizTeste::Grava(Alvo, "[A]\r\nk = 1\r\n");
    ASSERT_EQ(chmod(Alvo.c_str(), 0640), 0);
    fs::create_symlink("Real.ini", Meio);
    fs::create_symlink(Meio, Arquivo);
    const ino_t Inicial = TRaizTeste::Inode(Alvo);
    EXPECT_EQ(Grava("a", "K", "1"), 1);
    EXPECT_EQ(Grava("A", "missing", nullptr), 1);
    EXPECT_EQ(Grava("Missing", nullptr, nullptr), 1);
    EXPECT_EQ(TRaizTeste::Inode(Alvo), Inicial);
    ASSERT_EQ(Grava("A", "k", "2"), 1);
    EXPECT_NE(TRaizTeste::Inode(Alvo), Inicial) << "the file is replaced by rename, not rewritten in place";
    EXPECT_EQ(fs::status(Alvo).permissions(), fs::perms(0640));
    ASSERT_EQ(Grava("B", "j", "3"), 1);
    ASSERT_EQ(Grava("A", nullptr, nullptr), 1);
    EXPECT_EQ(LeArquivo(Alvo), "[B]\r\nj=3\r\n");
    EXPECT_TRUE(Log.Entradas().empty()) << "what succeeds logs nothing";

    const std::string Pendente = (Pasta / "pendente.ini").string(), SemPasta = (Pasta / "nodir" / "x.ini").string();
    const std::string NaPasta = (Pasta / "pasta.ini").string(), Quebra = "line break", Utf16Ruim = "does not decode";
    ASSERT_EQ(symlink((Pasta / "alvo-ausente" / "x.ini").c_str(), Pendente.c_str()), 0);
    fs::create_directories(NaPasta);
    const struct {
        const char *Secao, *Chave, *Valor;
        std::string Ini, Operacao, Motivo;
        bool SomenteLeitura = false;
        std::string Conteudo = "[A]\r\nk=1\r\n";
    } Casos[] = {
        {"A", "k", "2", Arquivo, "write of [A] k", "read-only", true},
        {"A", nullptr, nullptr, Arquivo, "erase of [A]", "read-only", true},
        {"A", "k", "a\nb", Arquivo, "write of [A] k", Quebra},
        {"A", "\n", nullptr, Arquivo, "erase of", Quebra},
        {"a\r\nb", nullptr, nullptr, Arquivo, "erase of", Quebra},
        {"A", "k", "1", Pendente, "write of [A] k", std::strerror(ENOENT)},
        {"A", "k", "1", SemPasta, "write of [A] k", std::strerror(ENOENT)},
        {"A", "k", "1", NaPasta, "write of [A] k", std::strerror(EISDIR)},
        {"A", "k", nullptr, NaPasta, "erase of [A] k", std::strerror(EISDIR)},
        // UTF-16 text that does not decode (an odd byte, a lone surrogate) is read as well as it goes and
        // never written, so nothing is lost to a guess.
        {"A", "j", "2", Arquivo, "write of [A] j", Utf16Ruim, false, Utf16("[A]\r\nk=1\r\n") + "x"},
        {"A", "j", "2", Arquivo, "write of [A] j", Utf16Ruim, false,
         Utf16("[A]\r\nk=") + std::string("\x00\xD8", 2) + Utf16("\r\n").substr(2)},
    };
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(Caso.Ini + " " + PrintToString(std::string(Caso.Secao)) + " " + Caso.Operacao);
        TRaizTeste::Grava(Arquivo, Caso.Conteudo);
        ASSERT_TRUE(SetFileAttributesA(Arquivo, Caso.SomenteLeitura ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL));
        const ino_t Antes = TRaizTeste::Inode(Arquivo);
        const std::string Lido = Le("A", "k");
        EXPECT_EQ(Grava(Caso.Secao, Caso.Chave, Caso.Valor, Caso.Ini), 0);
        EXPECT_EQ(TRaizTeste::Inode(Arquivo), Antes);
        EXPECT_EQ(LeArquivo(Arquivo), Caso.Conteudo);
        EXPECT_EQ(Le("A", "k"), Lido);
        const std::vector<json> E = Log.Entradas();
        ASSERT_EQ(E.size(), 1u);
        EXPECT_EQ(E[0]["type"], 1) << "error level";
        EXPECT_EQ(E[0]["source"], "Kovan");
        const std::string Texto = E[0]["text"];
        for (const std::string& Parte : {fs::path(Caso.Ini).filename().string(), Caso.Operacao, Caso.Motivo})
            EXPECT_NE(Texto.find(Parte), std::string::npos) << Parte << " not in: " << Texto;
    }
    EXPECT_TRUE(fs::is_symlink(Arquivo) && fs::is_symlink(Meio));
    EXPECT_EQ(Sobras(), (std::set<std::string>{"pasta.ini", "pendente.ini"})) << "a failure leaves nothing";
    EXPECT_EQ(std::distance(fs::directory_iterator(Alvo.parent_path()), fs::directory_iterator()), 2)
        << "no temporary left beside the target";
}

// Writers killed at random points while we write other keys: no write that answered success is lost, and
// the temporaries they leave never make a later write fail. The next write removes those of dead writers,
// whatever pid they name (ours included), never the one a live writer holds. Run by root, the writers are
// another user, allowed to read and write the file but not to ask that its access time be left alone.
TEST_F(PerfilPrivado, EscritoresMortosNaoDeixamSobrasNemPerdemGravacoes)
{
    TRaizTeste::Grava(Arquivo, "[S]\r\ninicio=1\r\n");
    for (const fs::path& P : {Raiz.Pasta, Raiz.Raiz, Pasta, fs::path(Arquivo)})
        fs::permissions(P, fs::perms::all);
    std::mt19937 Sorte(20261206);
    std::vector<int> Confirmadas;
    int Tubo[2];
    for (int Rodada = 0; Rodada < 300; ++Rodada) {
        ASSERT_EQ(pipe(Tubo), 0);
        const pid_t Filho = fork();
        ASSERT_GE(Filho, 0);
        if (Filho == 0) {
            close(Tubo[0]);
            if ((geteuid() == 0 && !AssumeUsuario({})) || Le("S", "inicio") != "1")
                _exit(1);
            for (int I = Rodada * 1000;; ++I)
                if (Grava("S", ("k" + std::to_string(I)).c_str(), std::to_string(I).c_str()) == 1)
                    (void)!write(Tubo[1], &I, sizeof I);
        }
        close(Tubo[1]);
        int I;  // the writer is under way once its first write answered; then it dies anywhere
        if (read(Tubo[0], &I, sizeof I) == static_cast<ssize_t>(sizeof I))
            Confirmadas.push_back(I);
        if (Rodada % 10 == 0) {  // a write of ours while the writer is at work
            EXPECT_EQ(Grava("S", ("pai" + std::to_string(Rodada)).c_str(), "1"), 1);
        }
        usleep(static_cast<useconds_t>(Sorte() % 5000));
        kill(Filho, SIGKILL);
        waitpid(Filho, nullptr, 0);
        while (read(Tubo[0], &I, sizeof I) == static_cast<ssize_t>(sizeof I))
            Confirmadas.push_back(I);
        close(Tubo[0]);
    }
    const std::string Prefixo = (Pasta / ".Teste.ini.").string();
    for (int I = 0; I < 200; ++I)
        TRaizTeste::Grava(Prefixo + std::to_string(getpid()) + "." + std::to_string(I) + ".tmp", "lixo");
    TRaizTeste::Grava(Prefixo + "1.2.tmp", "lixo");
    ASSERT_EQ(pipe(Tubo), 0);
    const pid_t Vivo = fork();
    ASSERT_GE(Vivo, 0);
    if (Vivo == 0) {
        const int Fd = open((Prefixo + "999999.1.tmp").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        struct flock Trava {};
        Trava.l_type = F_WRLCK;
        const char Pronto = Fd >= 0 && fcntl(Fd, F_SETLK, &Trava) == 0 ? '1' : '0';
        (void)!write(Tubo[1], &Pronto, 1);
        pause();
        _exit(0);
    }
    char Pronto = 0;
    ASSERT_TRUE(read(Tubo[0], &Pronto, 1) == 1 && Pronto == '1') << "the live writer holds its temporary";
    ASSERT_EQ(Grava("S", "fim", "1"), 1);
    EXPECT_EQ(Sobras(), std::set<std::string>{".Teste.ini.999999.1.tmp"});
    kill(Vivo, SIGKILL);
    waitpid(Vivo, nullptr, 0);
    close(Tubo[0]);
    close(Tubo[1]);
    ASSERT_EQ(Grava("S", "fim", "2"), 1);
    EXPECT_TRUE(Sobras().empty()) << PrintToString(Sobras());
    const auto Valores = LeValoresDaSecao("S", 64, Arquivo.c_str());
    std::map<std::string, std::string> Lidos(Valores.begin(), Valores.end());
    for (int I : Confirmadas)
        EXPECT_EQ(Lidos["k" + std::to_string(I)], std::to_string(I));
    for (int Rodada = 0; Rodada < 300; Rodada += 10)
        EXPECT_EQ(Lidos["pai" + std::to_string(Rodada)], "1");
    EXPECT_GE(Confirmadas.size(), 300u);
}

// A batch takes over the model the last one left only while the file still holds what that one read
// or wrote: a change made by anyone else, or writes dropped unconfirmed, are never seen as the file;
// after many batches (the kept model made again along the way) every one still reads the file.
TEST_F(PerfilPrivado, LoteSeguinteLeOArquivoComoEsta)
{
    TRaizTeste::Grava(Arquivo, "[A]\r\nk=1\r\n");
    const auto Le_ = [&] { return TPerfilEmLote(Arquivo).Le("A", "k", "", 4096); };
    const auto Lote = [&](const char* Secao, const std::string& Chave, const std::string& Valor, bool Minusculas) {
        TPerfilEmLote L(Arquivo);
        return L.Grava(Secao, Chave, Valor, Minusculas) && L.Confirma();
    };
    ASSERT_TRUE(Lote("A", "k", "2", false));
    TRaizTeste::Grava(Arquivo, "[A]\r\nk=3\r\n");  // same size, another process
    EXPECT_EQ(Le_(), "3");
    ASSERT_TRUE(TPerfilEmLote(Arquivo).Grava("A", "k", "4"));  // dropped
    EXPECT_EQ(Le_(), "3");
    EXPECT_EQ(LeArquivo(Arquivo), "[A]\r\nk=3\r\n");
    for (int I = 0; I < 120; ++I) {  // 1 KB a batch: well past what a kept model may add
        const std::string Valor(1000, static_cast<char>('a' + I % 26));
        ASSERT_TRUE(Lote("A", "k", Valor, I % 2 == 0) && Lote("B", "N" + std::to_string(I % 3), "x", true));
        ASSERT_EQ(Le_(), Valor) << I;
    }
    EXPECT_EQ(LeArquivo(Arquivo), "[A]\r\nk=" + std::string(1000, 'a' + 119 % 26) + "\r\n[b]\r\nn0=x\r\nn1=x\r\nn2=x\r\n");
}

// Work given to the confirm runs once whatever becomes of the batch. When the file is replaced, it runs
// with the new text flushed in a temporary beside the file and the file still holding the old text.
TEST_F(PerfilPrivado, ConfirmaRodaOQueVemAntesDaTrocaUmaVez)
{
    const std::string Antigo = "[A]\r\nk=1\r\n";
    const struct {
        const char* Nome;
        std::string Chave, Valor;
        bool SomenteLeitura, Confirma;
        std::string Final;
    } Casos[] = {
        {"replaced", "k", "2", false, true, "[A]\r\nk=2\r\n"},
        {"nothing changes", "k", "1", false, true, Antigo},
        {"no write", "", "", false, true, Antigo},
        {"refused", "k", "a\nb", false, false, Antigo},
        {"read-only file", "k", "2", true, false, Antigo},
    };
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(Caso.Nome);
        TRaizTeste::Grava(Arquivo, Antigo);
        ASSERT_TRUE(SetFileAttributesA(Arquivo, Caso.SomenteLeitura ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL));
        TPerfilEmLote L(Arquivo);
        if (!Caso.Chave.empty())
            L.Grava("A", Caso.Chave, Caso.Valor);
        int Vezes = 0;
        std::string NoArquivo;
        std::vector<std::string> Temporarios;
        EXPECT_EQ(L.Confirma([&] {
            ++Vezes;
            NoArquivo = LeArquivo(Arquivo).value_or("");
            for (const std::string& Nome : Sobras())
                Temporarios.push_back(LeArquivo(Pasta / Nome).value_or(""));
        }), Caso.Confirma);
        EXPECT_EQ(Vezes, 1);
        EXPECT_EQ(NoArquivo, Antigo);
        EXPECT_EQ(Temporarios, Caso.Final == Antigo ? std::vector<std::string>{} : std::vector<std::string>{Caso.Final});
        EXPECT_EQ(LeArquivo(Arquivo), Caso.Final);
        EXPECT_TRUE(Sobras().empty());
    }
}

// Lines a change does not concern stay byte for byte; a changed key is written normalized, and new lines
// take the file's line ending and encoding: a UTF-16LE file stays one (names and values CP1252 outside).
// The module path reaches the file whatever the case of its components.
TEST_F(PerfilPrivado, MudancaMantemLinhasECodificacao)
{
    const fs::path Real = Pasta / "empresas" / "00000123" / "Mirabelo.ini";
    TRaizTeste::Grava(Real, "; cabecalho\n\n[Geral]   ; nota\n  Key = old  \n\n# outra\n[B]\r\nj = 2\r\n");
    Arquivo = Raiz.RaizTexto() + "\\Config\\EMPRESAS\\00000123\\mirabelo.INI";
    EXPECT_EQ(Le("geral", "key"), "old");
    ASSERT_EQ(Grava("geral", "KEY", "new"), 1);
    ASSERT_EQ(Grava("GERAL", "Nova", "1"), 1);
    ASSERT_EQ(Grava("C", "x", "9"), 1);
    EXPECT_EQ(LeArquivo(Real), "; cabecalho\n\n[Geral]   ; nota\nKey=new\n\n# outra\nNova=1\n[B]\r\nj = 2\r\n[C]\nx=9\n");

    TRaizTeste::Grava(Real, Utf16("[Geral]\r\nNome=Jo\xE3o\r\n"));
    ASSERT_EQ(Grava("Geral", "Cidade", "S\xE3o Paulo"), 1);
    ASSERT_EQ(Grava("Novo", "k", "\x80"), 1);  // the euro sign: one CP1252 byte, U+20AC in the file
    EXPECT_EQ(LeArquivo(Real), Utf16("[Geral]\r\nNome=Jo\xE3o\r\nCidade=S\xE3o Paulo\r\n[Novo]\r\nk=") + "\xAC\x20" +
                                   Utf16("\r\n").substr(2));
    EXPECT_EQ(Le("Novo", "k"), "\x80");
    ASSERT_EQ(Grava("Geral", "Nome", nullptr), 1);
    ASSERT_EQ(Grava("Novo", nullptr, nullptr), 1);
    EXPECT_EQ(LeArquivo(Real), Utf16("[Geral]\r\nCidade=S\xE3o Paulo\r\n"));
}

} // namespace
