// The private-profile engine against the recorded cases (one row per file in $KOVAN_INI_CASES, read at
// run time, so a new case joins without code changes), then what we promise beyond the reference:
// refusal of CR/LF, atomic replacement, read-only files, and the lock between processes.
#include "platform/PrivateProfile.h"

#include "platform/Files.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// ---------------------------------------------------------------------------------------------------
// Helpers

std::string DeBase64(const std::string& Texto)
{
    auto Valor = [](char C) -> int {
        if (C >= 'A' && C <= 'Z') return C - 'A';
        if (C >= 'a' && C <= 'z') return C - 'a' + 26;
        if (C >= '0' && C <= '9') return C - '0' + 52;
        if (C == '+') return 62;
        if (C == '/') return 63;
        return -1;
    };
    std::string Saida;
    unsigned Acumulado = 0;
    int Bits = 0;
    for (char C : Texto) {
        const int V = Valor(C);
        if (V < 0)
            continue;
        Acumulado = (Acumulado << 6) | static_cast<unsigned>(V);
        Bits += 6;
        if (Bits >= 8) {
            Bits -= 8;
            Saida += static_cast<char>((Acumulado >> Bits) & 0xFF);
        }
    }
    return Saida;
}

/// A case argument: null, or escaped text (\r \n \t \\ \xHH).
std::optional<std::string> Argumento(const json& Op, const char* Campo)
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
        if (C == 'r') S += '\r';
        else if (C == 'n') S += '\n';
        else if (C == 't') S += '\t';
        else if (C == '0') S += '\0';
        else if (C == 'x' && I + 2 < E.size()) {
            S += static_cast<char>(std::stoi(E.substr(I + 1, 2), nullptr, 16));
            I += 2;
        } else S += C;
    }
    return S;
}

const char* Ptr(const std::optional<std::string>& S) { return S ? S->c_str() : nullptr; }

std::optional<std::string> LeArquivo(const fs::path& Caminho)
{
    std::ifstream F(Caminho, std::ios::binary);
    if (!F)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(F), {});
}

void GravaArquivo(const fs::path& Caminho, const std::string& Dados)
{
    std::ofstream F(Caminho, std::ios::binary | std::ios::trunc);
    F << Dados;
}

std::string Visivel(const std::optional<std::string>& S)
{
    if (!S)
        return "(no file)";
    std::string V;
    for (unsigned char C : *S) {
        if (C == '\r') V += "\\r";
        else if (C == '\n') V += "\\n";
        else if (C == '\t') V += "\\t";
        else if (C == '\\') V += "\\\\";
        else if (C < 0x20 || C >= 0x7F) {
            char H[8];
            std::snprintf(H, sizeof H, "\\x%02x", C);
            V += H;
        } else V += static_cast<char>(C);
    }
    return V.size() > 400 ? V.substr(0, 400) + "...(" + std::to_string(S->size()) + " bytes)" : V;
}

/// A fresh temporary folder per test, removed afterwards.
class TPastaTemporaria {
public:
    TPastaTemporaria()
    {
        std::string Modelo = (fs::temp_directory_path() / "kovan-ini-XXXXXX").string();
        if (!mkdtemp(Modelo.data()))
            throw std::runtime_error("mkdtemp failed");
        Caminho = Modelo;
    }
    ~TPastaTemporaria()
    {
        std::error_code Erro;
        fs::remove_all(Caminho, Erro);
    }
    fs::path Caminho;
};

/// Lines of a file: content and line ending (CR LF, LF or CR), as the engine splits them.
struct TLinhaTeste {
    std::string Conteudo, Quebra;
};

std::vector<TLinhaTeste> Linhas(std::string_view D)
{
    std::vector<TLinhaTeste> L;
    if (D.substr(0, 3) == "\xEF\xBB\xBF")
        D.remove_prefix(3);
    std::size_t I = 0;
    while (I < D.size()) {
        std::size_t F = D.find_first_of("\r\n", I);
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

std::string AparaTeste(std::string_view T)
{
    while (!T.empty() && (T.front() == ' ' || T.front() == '\t'))
        T.remove_prefix(1);
    while (!T.empty() && (T.back() == ' ' || T.back() == '\t'))
        T.remove_suffix(1);
    return std::string(T);
}

/// A line as the reference writes it back: "[name]", "key=value", or the trimmed text.
std::string Normaliza(std::string_view Conteudo)
{
    Conteudo = Conteudo.substr(0, Conteudo.find('\0'));
    const std::string T = AparaTeste(Conteudo);
    if (T.empty())
        return T;
    const std::size_t Fecha = T.rfind(']');
    if (T[0] == '[' && Fecha != std::string::npos && Fecha > 0)
        return "[" + AparaTeste(std::string_view(T).substr(1, Fecha - 1)) + "]";
    const std::size_t Igual = T.find('=');
    if (Igual != std::string::npos)
        return AparaTeste(std::string_view(T).substr(0, Igual)) + "=" + AparaTeste(std::string_view(T).substr(Igual + 1));
    return T;
}

bool EhCabecalho(const std::string& Normal) { return !Normal.empty() && Normal.front() == '[' && Normal.back() == ']'; }

// ---------------------------------------------------------------------------------------------------
// Reading a file back: every section listing, key listing and value, as our reads see them.

std::string Lista(std::uint32_t Ret, const std::vector<char>& B) { return std::string(B.data(), Ret); }

std::vector<std::string> Nomes(const std::string& L)
{
    std::vector<std::string> N;
    std::size_t I = 0;
    while (I < L.size()) {
        const std::size_t F = L.find('\0', I);
        N.push_back(L.substr(I, F - I));
        I = F == std::string::npos ? L.size() : F + 1;
    }
    return N;
}

std::string Leitura(const std::string& Arquivo)
{
    std::vector<char> B(1 << 18);
    std::string R = "sections:" + Lista(GetPrivateProfileSectionNamesA(B.data(), B.size(), Arquivo.c_str()), B) + "\n";
    std::vector<std::string> Secoes = Nomes(Lista(GetPrivateProfileSectionNamesA(B.data(), B.size(), Arquivo.c_str()), B));
    Secoes.insert(Secoes.begin(), "");
    for (const std::string& S : Secoes) {
        const std::string Chaves = Lista(GetPrivateProfileStringA(S.c_str(), nullptr, "", B.data(), B.size(), Arquivo.c_str()), B);
        R += "[" + S + "] keys:" + Chaves + "\n";
        for (const std::string& K : Nomes(Chaves))
            R += "  " + K + "=" + Lista(GetPrivateProfileStringA(S.c_str(), K.c_str(), "\x01missing", B.data(), B.size(), Arquivo.c_str()), B) + "\n";
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

std::string NomeDaLinha(const testing::TestParamInfo<TCaso>& Info)
{
    std::string N = Info.param.Nome;
    for (char& C : N)
        if (!std::isalnum(static_cast<unsigned char>(C)))
            C = '_';
    return N;
}

class CasosIni : public testing::TestWithParam<TCaso> {};

TEST(CasosIniPasta, TemCasos)
{
    const char* Pasta = std::getenv("KOVAN_INI_CASES");
    ASSERT_NE(Pasta, nullptr) << "KOVAN_INI_CASES names the folder of the recorded cases";
    EXPECT_FALSE(CasosGravados().empty()) << "no *.json case in " << Pasta;
}

bool TemQuebraDeLinha(const std::optional<std::string>& S) { return S && S->find_first_of("\r\n") != std::string::npos; }

/// Replays the ops on Ini and checks each result; counts the ops it cannot check.
void VerificaOps(const json& Ops, const json& Resultados, const std::string& Expect, const fs::path& Ini,
                 int& NaoVerificadas);
/// Checks the file the ops left as the case's expect says.
void VerificaArquivoFinal(const TPastaTemporaria& Pasta, const fs::path& Ini, const std::string& Expect, bool Recusado,
                          const std::optional<std::string>& Inicial, const std::optional<std::string>& Final);

TEST_P(CasosIni, Reproduz)
{
    std::ifstream Entrada(GetParam().Arquivo);
    ASSERT_TRUE(Entrada) << GetParam().Arquivo;
    const json Caso = json::parse(Entrada);
    const json& Ops = Caso["ops"];
    const json& Resultados = Caso["results"];
    ASSERT_EQ(Ops.size(), Resultados.size());
    const std::string Expect = Caso["expect"].get<std::string>();
    const std::optional<std::string> Inicial =
        Caso["initial_file"].is_null() ? std::nullopt : std::optional(DeBase64(Caso["initial_file"].get<std::string>()));
    const std::optional<std::string> Final =
        Caso["final_file"].is_null() ? std::nullopt : std::optional(DeBase64(Caso["final_file"].get<std::string>()));

    // Only calls the module never makes are left out: UTF-16 files, and GetPrivateProfileSectionA
    // (every other op of such a case is still checked; the case then reports itself skipped).
    for (const std::optional<std::string>& F : {Inicial, Final})
        if (F && F->size() >= 2 && ((*F)[0] == '\xFF' && (*F)[1] == '\xFE'))
            GTEST_SKIP() << "UTF-16 file, which the module never uses";

    // Beyond the reference, a write whose section, key or value holds CR or LF is refused and the
    // file is left untouched (this holds also for the cases recorded as "bytes" that write such names);
    // what the reference read afterwards no longer applies.
    bool Recusado = Expect == "refused";
    for (const json& Op : Ops)
        if (Op["op"] == "WRITE" &&
            (TemQuebraDeLinha(Argumento(Op, "section")) || TemQuebraDeLinha(Argumento(Op, "key")) ||
             TemQuebraDeLinha(Argumento(Op, "value"))))
            Recusado = true;

    TPastaTemporaria Pasta;
    const fs::path Ini = Pasta.Caminho / Caso["ini_name"].get<std::string>();
    if (Inicial) {
        fs::create_directories(Ini.parent_path());
        GravaArquivo(Ini, *Inicial);
    }

    int NaoVerificadas = 0;
    VerificaOps(Ops, Resultados, Expect, Ini, NaoVerificadas);
    VerificaArquivoFinal(Pasta, Ini, Expect, Recusado, Inicial, Final);
    if (NaoVerificadas > 0)
        GTEST_SKIP() << "all checked but " << NaoVerificadas
                     << " GetPrivateProfileSectionA call(s), which the module never makes";
}

void VerificaOps(const json& Ops, const json& Resultados, const std::string& Expect, const fs::path& Ini,
                 int& NaoVerificadas)
{
    const std::string Arquivo = Ini.string();
    for (std::size_t I = 0; I < Ops.size(); ++I) {
        const json& Op = Ops[I];
        const json& Esperado = Resultados[I];
        const std::string Nome = Op["op"].get<std::string>();
        SCOPED_TRACE("op " + std::to_string(I) + " " + Op.dump());
        const auto Secao = Argumento(Op, "section");
        const auto Chave = Argumento(Op, "key");
        const auto Valor = Argumento(Op, "value");
        const auto Padrao = Argumento(Op, "default");

        if (Nome == "GET" || Nome == "GETKEYS" || Nome == "GETSECS" || Nome == "SECNAMES") {
            const std::uint32_t Tamanho = Op["bufsize"].get<std::uint32_t>();
            constexpr char Guarda = '\xA5';
            std::vector<char> Buffer(Tamanho + 64, Guarda);
            const std::uint32_t Ret =
                Nome == "SECNAMES"
                    ? GetPrivateProfileSectionNamesA(Buffer.data(), Tamanho, Arquivo.c_str())
                    : GetPrivateProfileStringA(Nome == "GETSECS" ? nullptr : Ptr(Secao),
                                               Nome == "GET" ? Ptr(Chave) : Nome == "GETSECS" ? Ptr(Chave) : nullptr,
                                               Ptr(Padrao), Buffer.data(), Tamanho, Arquivo.c_str());
            const std::string Saida = DeBase64(Esperado["out_b64"].get<std::string>());
            EXPECT_EQ(Ret, Esperado["ret"].get<std::uint32_t>());
            EXPECT_EQ(Visivel(std::string(Buffer.data(), Saida.size())), Visivel(Saida));
            const auto Tocado = std::find_if(Buffer.begin() + static_cast<std::ptrdiff_t>(Saida.size()), Buffer.end(),
                                             [](char C) { return C != Guarda; });
            EXPECT_EQ(Tocado, Buffer.end()) << "byte written past the recorded output, at " << (Tocado - Buffer.begin());
        } else if (Nome == "GETINT") {
            EXPECT_EQ(GetPrivateProfileIntA(Ptr(Secao), Ptr(Chave), Op["default"].get<int>(), Arquivo.c_str()),
                      Esperado["ret"].get<std::uint32_t>());
        } else if (Nome == "WRITE" || Nome == "DELKEY" || Nome == "DELSEC" || Nome == "FLUSH") {
            const bool Quebra = TemQuebraDeLinha(Secao) || TemQuebraDeLinha(Chave) || TemQuebraDeLinha(Valor);
            const std::optional<std::string> Antes = LeArquivo(Ini);
            const int Ret = Nome == "WRITE"    ? WritePrivateProfileStringA(Ptr(Secao), Ptr(Chave), Ptr(Valor), Arquivo.c_str())
                            : Nome == "DELKEY" ? WritePrivateProfileStringA(Ptr(Secao), Ptr(Chave), nullptr, Arquivo.c_str())
                            : Nome == "DELSEC" ? WritePrivateProfileStringA(Ptr(Secao), nullptr, nullptr, Arquivo.c_str())
                                               : WritePrivateProfileStringA(nullptr, nullptr, nullptr, Arquivo.c_str());
            if (Quebra) {
                EXPECT_EQ(Ret, 0) << "a write with CR or LF must be refused";
                EXPECT_EQ(Visivel(LeArquivo(Ini)), Visivel(Antes)) << "a refused write must leave the file untouched";
                break;
            }
            EXPECT_EQ(Ret != 0, Esperado["ret"].get<int>() != 0);
        } else if (Nome == "DUMP") {
            const std::optional<std::string> Gravado =
                Esperado["file_b64"].is_null() ? std::nullopt : std::optional(DeBase64(Esperado["file_b64"].get<std::string>()));
            const std::optional<std::string> Nosso = LeArquivo(Ini);
            if (Expect == "bytes") {
                EXPECT_EQ(Visivel(Nosso), Visivel(Gravado));
            } else if (Expect == "preserve") {
                EXPECT_EQ(Nosso.has_value(), Gravado.has_value());
            }
        } else if (Nome == "SECTION") {
            ++NaoVerificadas;
        } else if (Nome != "RESTART") {
            ADD_FAILURE() << "unknown op " << Nome;
        }
    }
}

void VerificaArquivoFinal(const TPastaTemporaria& Pasta, const fs::path& Ini, const std::string& Expect, bool Recusado,
                          const std::optional<std::string>& Inicial, const std::optional<std::string>& Final)
{
    const std::string Arquivo = Ini.string();
    const std::optional<std::string> Nosso = LeArquivo(Ini);
    if (Recusado) {
        EXPECT_EQ(Visivel(Nosso), Visivel(Inicial)) << "refused writes leave the file as it was";
        return;
    }
    if (Expect == "bytes") {
        EXPECT_EQ(Visivel(Nosso), Visivel(Final));
        return;
    }
    ASSERT_EQ(Expect, "preserve");
    ASSERT_EQ(Nosso.has_value(), Final.has_value()) << Visivel(Nosso);
    if (!Final)
        return;

    // 1. Our file reads back exactly like the recorded one.
    const fs::path Referencia = Pasta.Caminho / "reference.ini";
    GravaArquivo(Referencia, *Final);
    EXPECT_EQ(Leitura(Arquivo), Leitura(Referencia.string())) << "ours: " << Visivel(Nosso) << "\nrecorded: " << Visivel(Final);

    // 2. Every line of the initial file the calls do not concern is still there, in order, byte for
    //    byte. A line is concerned when the reference's rewrite no longer holds it (changed or
    //    deleted); a blank line, when the section it sits in was deleted.
    const std::vector<TLinhaTeste> Antes = Linhas(Inicial ? *Inicial : std::string());
    std::vector<std::string> DaReferencia;
    for (const TLinhaTeste& L : Linhas(*Final))
        DaReferencia.push_back(L.Conteudo);  // the reference writes what it keeps already normalized
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
        if (EhCabecalho(N))
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
        EXPECT_LT(K, Depois.size()) << "line " << I << " \"" << Visivel(Antes[I].Conteudo + Antes[I].Quebra)
                                    << "\" lost or changed; ours: " << Visivel(Nosso);
        if (K < Depois.size())
            ++K;
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, CasosIni, testing::ValuesIn(CasosGravados()), NomeDaLinha);

// LeValoresDaSecao gives, in one pass, what listing the keys and reading each one gives: checked on
// the initial file of every recorded case, for every section.
TEST(LeValoresDaSecao, IgualALerChavePorChave)
{
    TPastaTemporaria Pasta;
    const std::string Arquivo = (Pasta.Caminho / "t.ini").string();
    for (const TCaso& Caso : CasosGravados()) {
        std::ifstream Entrada(Caso.Arquivo);
        const json J = json::parse(Entrada);
        if (J["initial_file"].is_null())
            continue;
        GravaArquivo(Arquivo, DeBase64(J["initial_file"].get<std::string>()));
        std::vector<char> B(1 << 18);
        std::vector<std::string> Secoes = Nomes(Lista(GetPrivateProfileSectionNamesA(B.data(), B.size(), Arquivo.c_str()), B));
        Secoes.insert(Secoes.begin(), "");
        for (const std::string& S : Secoes) {
            SCOPED_TRACE(Caso.Nome + " [" + S + "]");
            std::vector<std::pair<std::string, std::string>> Esperado;
            for (const std::string& K : Nomes(Lista(GetPrivateProfileStringA(S.c_str(), nullptr, nullptr, B.data(), B.size(), Arquivo.c_str()), B)))
                Esperado.emplace_back(K, Lista(GetPrivateProfileStringA(S.c_str(), K.c_str(), "", B.data(), 2048, Arquivo.c_str()), B));
            EXPECT_EQ(LeValoresDaSecao(S.c_str(), 2048, Arquivo.c_str()), Esperado);
        }
    }
    EXPECT_TRUE(LeValoresDaSecao("A", 2048, (Pasta.Caminho / "falta.ini").c_str()).empty());
}
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CasosIni);

// ---------------------------------------------------------------------------------------------------
// Beyond the reference

class PerfilPrivado : public testing::Test {
protected:
    TPastaTemporaria Pasta;
    std::string Arquivo = (Pasta.Caminho / "Teste.ini").string();

    std::string Le(const char* Secao, const char* Chave, const char* Padrao = "dflt")
    {
        char B[2048];
        const std::uint32_t N = GetPrivateProfileStringA(Secao, Chave, Padrao, B, sizeof B, Arquivo.c_str());
        return std::string(B, N);
    }
    std::vector<std::string> Sobras()
    {
        std::vector<std::string> N;
        for (const fs::directory_entry& E : fs::directory_iterator(Pasta.Caminho))
            if (E.path().filename() != "Teste.ini")
                N.push_back(E.path().filename().string());
        return N;
    }
};

TEST_F(PerfilPrivado, RecusaQuebraDeLinhaEmSecaoChaveEValor)
{
    GravaArquivo(Arquivo, "[Geral]\r\nKey=old\r\n");
    for (const char* Ruim : {"a\rb", "a\nb", "a\r\nb", "\n", "x\r"}) {
        SCOPED_TRACE(Visivel(std::string(Ruim)));
        EXPECT_EQ(WritePrivateProfileStringA(Ruim, "Key", "v", Arquivo.c_str()), 0);
        EXPECT_EQ(WritePrivateProfileStringA("Geral", Ruim, "v", Arquivo.c_str()), 0);
        EXPECT_EQ(WritePrivateProfileStringA("Geral", "Key", Ruim, Arquivo.c_str()), 0);
        EXPECT_EQ(WritePrivateProfileStringA("Geral", Ruim, nullptr, Arquivo.c_str()), 0);
        EXPECT_EQ(WritePrivateProfileStringA(Ruim, nullptr, nullptr, Arquivo.c_str()), 0);
    }
    EXPECT_EQ(LeArquivo(Arquivo), "[Geral]\r\nKey=old\r\n");
    EXPECT_TRUE(Sobras().empty());
}

TEST_F(PerfilPrivado, RecusaNaoCriaArquivo)
{
    EXPECT_EQ(WritePrivateProfileStringA("Geral", "Key", "a\nb", Arquivo.c_str()), 0);
    EXPECT_FALSE(fs::exists(Arquivo));
}

TEST_F(PerfilPrivado, SubstituicaoAtomicaNaoDeixaTemporarios)
{
    for (int I = 0; I < 50; ++I)
        ASSERT_EQ(WritePrivateProfileStringA("S", ("K" + std::to_string(I)).c_str(), "v", Arquivo.c_str()), 1);
    ASSERT_EQ(WritePrivateProfileStringA("S", "K3", nullptr, Arquivo.c_str()), 1);
    ASSERT_EQ(WritePrivateProfileStringA("S", nullptr, nullptr, Arquivo.c_str()), 1);
    EXPECT_TRUE(Sobras().empty());
    EXPECT_EQ(LeArquivo(Arquivo), "");
}

TEST_F(PerfilPrivado, SubstituiOInodeEGuardaAsPermissoes)
{
    GravaArquivo(Arquivo, "[A]\r\nk=1\r\n");
    ASSERT_EQ(chmod(Arquivo.c_str(), 0640), 0);
    struct stat Antes {}, Depois {};
    ASSERT_EQ(stat(Arquivo.c_str(), &Antes), 0);
    ASSERT_EQ(WritePrivateProfileStringA("A", "k", "2", Arquivo.c_str()), 1);
    ASSERT_EQ(stat(Arquivo.c_str(), &Depois), 0);
    EXPECT_NE(Antes.st_ino, Depois.st_ino) << "the file is replaced by rename, not rewritten in place";
    EXPECT_EQ(Depois.st_mode & 07777, 0640u);
    EXPECT_EQ(LeArquivo(Arquivo), "[A]\r\nk=2\r\n");
}

TEST_F(PerfilPrivado, SemMudancaNaoReescreve)
{
    GravaArquivo(Arquivo, "[A]\nk = 1\n");
    struct stat Antes {}, Depois {};
    ASSERT_EQ(stat(Arquivo.c_str(), &Antes), 0);
    EXPECT_EQ(WritePrivateProfileStringA("a", "K", "1", Arquivo.c_str()), 1);
    EXPECT_EQ(WritePrivateProfileStringA("A", "missing", nullptr, Arquivo.c_str()), 1);
    EXPECT_EQ(WritePrivateProfileStringA("Missing", nullptr, nullptr, Arquivo.c_str()), 1);
    ASSERT_EQ(stat(Arquivo.c_str(), &Depois), 0);
    EXPECT_EQ(Antes.st_ino, Depois.st_ino);
}

TEST_F(PerfilPrivado, ApagarEmArquivoAusenteNaoCria)
{
    EXPECT_EQ(WritePrivateProfileStringA("A", "k", nullptr, Arquivo.c_str()), 1);
    EXPECT_EQ(WritePrivateProfileStringA("A", nullptr, nullptr, Arquivo.c_str()), 1);
    EXPECT_FALSE(fs::exists(Arquivo));
}

TEST_F(PerfilPrivado, SomenteLeituraFalhaSemTocar)
{
    GravaArquivo(Arquivo, "[A]\r\nk=1\r\n");
    ASSERT_TRUE(SetFileAttributesA(Arquivo, FILE_ATTRIBUTE_READONLY));
    struct stat Antes {}, Depois {};
    ASSERT_EQ(stat(Arquivo.c_str(), &Antes), 0);
    ASSERT_EQ(Antes.st_mode & 0222, 0u);
    EXPECT_EQ(WritePrivateProfileStringA("A", "k", "2", Arquivo.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileStringA("A", "j", "2", Arquivo.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileStringA("A", "k", nullptr, Arquivo.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileStringA("A", nullptr, nullptr, Arquivo.c_str()), 0);
    ASSERT_EQ(stat(Arquivo.c_str(), &Depois), 0);
    EXPECT_EQ(Antes.st_ino, Depois.st_ino);
    EXPECT_EQ(LeArquivo(Arquivo), "[A]\r\nk=1\r\n");
    EXPECT_EQ(Le("A", "k"), "1");
    EXPECT_TRUE(Sobras().empty());
}

TEST_F(PerfilPrivado, LinkSimbolicoPendenteFalha)
{
    ASSERT_EQ(symlink((Pasta.Caminho / "alvo-ausente" / "x.ini").c_str(), Arquivo.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileStringA("A", "k", "1", Arquivo.c_str()), 0);
    EXPECT_EQ(Le("A", "k"), "dflt");
}

TEST_F(PerfilPrivado, PastaAusenteNaoECriada)
{
    const std::string Dentro = (Pasta.Caminho / "nodir" / "sub" / "x.ini").string();
    EXPECT_EQ(WritePrivateProfileStringA("A", "k", "1", Dentro.c_str()), 0);
    EXPECT_FALSE(fs::exists(Pasta.Caminho / "nodir"));
}

TEST_F(PerfilPrivado, CaminhoDoModuloSemCaixa)
{
    fs::create_directories(Pasta.Caminho / "config" / "empresas" / "00000123");
    GravaArquivo(Pasta.Caminho / "config" / "empresas" / "00000123" / "Mirabelo.ini", "[Geral]\r\nCodigoEstabelecimento=77\r\n");
    std::string Modulo = Pasta.Caminho.string() + "\\Config\\EMPRESAS\\00000123\\mirabelo.INI";
    char B[64];
    ASSERT_EQ(GetPrivateProfileStringA("geral", "codigoestabelecimento", "", B, sizeof B, Modulo.c_str()), 2u);
    EXPECT_EQ(std::string(B), "77");
    EXPECT_EQ(WritePrivateProfileStringA("geral", "codigoestabelecimento", "88", Modulo.c_str()), 1);
    EXPECT_EQ(LeArquivo(Pasta.Caminho / "config" / "empresas" / "00000123" / "Mirabelo.ini"),
              "[Geral]\r\nCodigoEstabelecimento=88\r\n");
    // A new file in an existing folder reached through other case is created there, as spelled.
    std::string Novo = Pasta.Caminho.string() + "\\CONFIG\\Novo.ini";
    EXPECT_EQ(WritePrivateProfileStringA("A", "k", "1", Novo.c_str()), 1);
    EXPECT_TRUE(fs::exists(Pasta.Caminho / "config" / "Novo.ini"));
}

TEST_F(PerfilPrivado, MantemLinhasNaoTocadas)
{
    const std::string Inicial = "; cabecalho\n\n[Geral]   ; nota\n  Key = old  \n\n# outra\n[B]\r\nj = 2\r\n";
    GravaArquivo(Arquivo, Inicial);
    ASSERT_EQ(WritePrivateProfileStringA("geral", "KEY", "new", Arquivo.c_str()), 1);
    ASSERT_EQ(WritePrivateProfileStringA("GERAL", "Nova", "1", Arquivo.c_str()), 1);
    ASSERT_EQ(WritePrivateProfileStringA("C", "x", "9", Arquivo.c_str()), 1);
    EXPECT_EQ(LeArquivo(Arquivo), "; cabecalho\n\n[Geral]   ; nota\nKey=new\n\n# outra\nNova=1\n[B]\r\nj = 2\r\n[C]\nx=9\n");
}

// Two processes write different keys of one file many times, interleaved: no key may be lost.
TEST_F(PerfilPrivado, DoisProcessosNaoPerdemAtualizacoes)
{
    constexpr int Vezes = 150;
    auto Escreve = [&](const char* Prefixo) {
        bool Ok = true;
        for (int I = 0; I < Vezes; ++I)
            Ok = WritePrivateProfileStringA("S", (Prefixo + std::to_string(I)).c_str(), std::to_string(I).c_str(),
                                            Arquivo.c_str()) == 1 && Ok;
        return Ok;
    };
    const pid_t Filho = fork();
    ASSERT_GE(Filho, 0);
    if (Filho == 0)
        _exit(Escreve("filho") ? 0 : 1);
    const bool Ok = Escreve("pai");
    int Estado = 0;
    ASSERT_EQ(waitpid(Filho, &Estado, 0), Filho);
    ASSERT_TRUE(WIFEXITED(Estado));
    EXPECT_EQ(WEXITSTATUS(Estado), 0);
    EXPECT_TRUE(Ok);
    for (int I = 0; I < Vezes; ++I) {
        EXPECT_EQ(Le("S", ("pai" + std::to_string(I)).c_str()), std::to_string(I));
        EXPECT_EQ(Le("S", ("filho" + std::to_string(I)).c_str()), std::to_string(I));
    }
    EXPECT_TRUE(Sobras().empty());
}

} // namespace
