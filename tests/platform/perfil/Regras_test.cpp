// The private-profile functions against the recorded cases (each also made through a batch), then what
// we promise beyond the reference: failures logged and nothing touched, lines kept, encodings kept, and
// nothing lost when the system answers a read short.
#include "CasosIni.h"
#include "LogEventosTeste.h"

#include "platform/Files.h"

#include <fcntl.h>
#include <sys/wait.h>

using namespace casos_ini;

namespace {

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
    std::set<std::string> Sobras() const { return SobrasAoLado(Pasta); }
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

// A network or FUSE file system may answer a read short anywhere. This program again, with a preloaded
// library that makes read() answer at most 7 bytes a call: every recorded case still gives its bytes
// (each write among them read, changed and replaced), and a write to a large file loses no line.
TEST(LeituraCurta, CasosGravadosEEscritaGrande)
{
    const pid_t Filho = fork();
    ASSERT_GE(Filho, 0);
    const std::string Saida = (fs::temp_directory_path() / ("leitura-curta-" + std::to_string(getpid()) + ".txt")).string();
    if (Filho == 0) {
        // Its report goes to a file: what it skips is no skip of this test.
        const int Fd = open(Saida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(Fd, 1);
        dup2(Fd, 2);
        setenv("LD_PRELOAD", KOVAN_LEITURA_CURTA, 1);
        setenv("KOVAN_LEITURA_MAXIMA", "7", 1);
        setenv("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0", 1);
        execl("/proc/self/exe", "Regras_test", "--gtest_filter=Casos/*:LeituraCurta.Limite:PerfilPrivado.EscritaEmArquivoGrande",
              "--gtest_brief=1", static_cast<char*>(nullptr));
        _exit(127);
    }
    int Estado = 0;
    ASSERT_EQ(waitpid(Filho, &Estado, 0), Filho);
    EXPECT_TRUE(WIFEXITED(Estado) && WEXITSTATUS(Estado) == 0) << "status " << Estado << "\n" << TRaizTeste::Le(Saida);
    fs::remove(Saida);
}

// Run by the test above: the preloaded library is in force.
TEST(LeituraCurta, Limite)
{
    if (!std::getenv("KOVAN_LEITURA_MAXIMA"))
        GTEST_SKIP() << "run with the preloaded library only";
    TRaizTeste Pasta;
    TRaizTeste::Grava(Pasta.Pasta / "x", std::string(100, 'x'));
    const int Fd = open((Pasta.Pasta / "x").c_str(), O_RDONLY);
    std::string B(100, '\0');
    EXPECT_EQ(read(Fd, B.data(), B.size()), 7);
    close(Fd);
}

// A file of some 5 KB, 200 lines; one key changed: every other line is still there.
TEST_F(PerfilPrivado, EscritaEmArquivoGrande)
{
    std::string Texto;
    for (int I = 0; I < 50; ++I)
        Texto += "[S" + std::to_string(I) + "]\r\nNome=CARTAO " + std::to_string(I) + "\r\nBins=4000" + std::to_string(I) +
                 ";\r\nSenha=1\r\n";
    TRaizTeste::Grava(Arquivo, Texto);
    ASSERT_EQ(Grava("S25", "Senha", "0"), 1);
    const std::size_t Em = Texto.find("Senha=1", Texto.find("[S25]"));
    EXPECT_EQ(LeArquivo(Arquivo), Texto.replace(Em, 7, "Senha=0"));
}

} // namespace
