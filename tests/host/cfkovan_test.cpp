// The configurator run as a program: it loads the module, lists the descriptor's screens and opens a
// screen by its class name (offscreen), with the level the user running it may have.
#include "ProcessoTeste.h"

#include <gtest/gtest.h>
#include <pwd.h>

namespace fs = std::filesystem;

namespace {

const std::string Telas = "Estabelecimento\tTFormEstabelecimento_167171\n"
                          "Tabela Bins\tTFormTabelaBins_167171\n"
                          "Transações Habilitadas\tTFormTransHab_167171\n";

} // namespace

TEST(Configurador, ListaAbreERecusa)
{
    TRaizTeste R;
    const std::string Programa = PastaDosProgramas() + "/cfkovan";
    const auto Foto = R.Pasta / "tela.png";
    const std::string Config = " --config-dir " + (R.Pasta / "bin").string();
    TRaizTeste::Grava(R.Pasta / "bin" / "CfKovan.ini", "[config]\r\nraiz=" + R.RaizTexto() + "\r\n");
    TExecucao E = ExecutaComando(R.Pasta, Programa + Config + " --list");
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_EQ(E.Saida.substr(E.Saida.find('\n') + 1), Telas);

    E = ExecutaComando(R.Pasta, "QT_QPA_PLATFORM=offscreen " + Programa + Config +
                                    " --level 2 --open TFormTransHab_167171 --screenshot " + Foto.string());
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_EQ(TRaizTeste::Le(Foto).substr(1, 3), "PNG");

    // A root that does not exist is a typo in CfKovan.ini, never a place for a new tree.
    TRaizTeste::Grava(R.Pasta / "engano" / "CfKovan.ini", "[config]\r\nraiz=" + (R.Pasta / "Kovna").string() + "\r\n");
    const std::string Engano = "--config-dir " + (R.Pasta / "engano").string();
    struct { std::string Argumentos; std::string Erro; } Casos[] = {
        {Config + " --open TFormQueNaoExiste", "no screen class TFormQueNaoExiste"},
        {"--level 4", "--level takes 0 (full rights) or 2 (view only)"},
        {Config + " --module /nonexistent.so --list", "cannot load the module"},
        {Engano + " --open TFormTransHab_167171", "the server root " + (R.Pasta / "Kovna").string() + " named in"},
        {Engano + " --list", "the server root " + (R.Pasta / "Kovna").string() + " named in"},
    };
    for (const auto& Caso : Casos) {
        E = ExecutaComando(R.Pasta, "QT_QPA_PLATFORM=offscreen " + Programa + " " + Caso.Argumentos);
        EXPECT_EQ(E.Status, 2) << Caso.Argumentos;
        EXPECT_PRED2(Contem, E.Erros, Caso.Erro);
    }
    EXPECT_FALSE(std::filesystem::exists(R.Pasta / "Kovna"));
}

// The level comes from the user running the configurator: what the file system lets that user do
// with the module's files, the groups of [acesso], and a --level that may lower it but never raise it.
TEST(Configurador, NivelVemDoUsuario)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root, to run the configurator as another user";
    TRaizTeste R;
    R.MultiEmpresa();
    for (const char* Empresa : {"00000123", "00000456"}) {
        R.CriaEmpresa(Empresa);
        TRaizTeste::Grava(R.IniEmpresa(Empresa), "[geral]\r\ncodigoestabelecimento=000000000012345\r\n");
    }
    TRaizTeste::Grava(R.Raiz / "config" / "Mirabelo.ini", "[TabBins]\r\nTotDeb=0\r\n");
    fs::permissions(R.Pasta, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    fs::create_directories(R.Pasta / "fotos");
    fs::permissions(R.Pasta / "fotos", fs::perms::all);
    const std::string Grupo = getgrgid(65534) ? getgrgid(65534)->gr_name : "nogroup";
    const std::string Leitor = getpwuid(65534) ? getpwuid(65534)->pw_name : "uid 65534";
    const std::string Pasta = (R.Raiz / "config").string();
    const std::string Programa = "QT_QPA_PLATFORM=offscreen " + PastaDosProgramas() + "/cfkovan --config-dir " +
                                 (R.Pasta / "bin").string() + " ";
    const TUsuarioTeste Raiz{0, 0, {}}, DoGrupo{0, 0, {65534}}, OutroUsuario;
    if (ExecutaComando(R.Pasta, "test -x " + PastaDosProgramas() + "/cfkovan", "", &OutroUsuario).Status != 0)
        GTEST_SKIP() << "user 65534 may not run the built programs (a build folder under a private one)";
    const std::string SoLe = "user " + Leitor + ": level 2 (view only) from file access (may not write " + Pasta + ")";
    struct {
        const char* Nome;
        const TUsuarioTeste& Quem;
        std::string Consulta, Argumentos, Linha, Aviso;
    } Casos[] = {
        {"root", Raiz, "", "", "user root: level 0 (full rights) from file access", ""},
        {"root-level-0", Raiz, "", "--level 0", "user root: level 0 (full rights) from file access", ""},
        {"root-level-2", Raiz, "", "--level 2", "user root: level 2 (view only) from --level", ""},
        {"leitor", OutroUsuario, "", "", SoLe, ""},
        {"leitor-level-0", OutroUsuario, Grupo, "--level 0", SoLe,
         "cfkovan: --level 0 ignored: user " + Leitor + " may only view, from file access (may not write " + Pasta + ")\n"},
        {"grupo", DoGrupo, "semtal, " + Grupo, "", "user root: level 2 (view only) from group " + Grupo + " in [acesso]",
         "cfkovan: [acesso] consulta names semtal, which is no group of this system\n"},
        {"outro-grupo", Raiz, Grupo, "", "user root: level 0 (full rights) from file access", ""},
    };
    const auto Antes = TRaizTeste::Retrato(R.Raiz);
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(Caso.Nome);
        TRaizTeste::Grava(R.Pasta / "bin" / "CfKovan.ini",
                          "[config]\r\nraiz=" + R.RaizTexto() + "\r\n[acesso]\r\nconsulta=" + Caso.Consulta + "\r\n");
        TExecucao E = ExecutaComando(R.Pasta, Programa + Caso.Argumentos + " --list", "", &Caso.Quem);
        EXPECT_EQ(E.Status, 0) << E.Erros;
        EXPECT_EQ(E.Saida, Caso.Linha + "\n" + Telas);
        EXPECT_EQ(E.Erros, Caso.Aviso);
    }

    // Each screen opens for the reader, and the files stay as they were.
    for (const char* Classe : {"TFormEstabelecimento_167171", "TFormTabelaBins_167171", "TFormTransHab_167171"}) {
        const fs::path Foto = R.Pasta / "fotos" / (std::string(Classe) + ".png");
        const TExecucao E = ExecutaComando(R.Pasta, Programa + "--open " + Classe + " --screenshot " + Foto.string(),
                                           "", &OutroUsuario);
        EXPECT_EQ(E.Status, 0) << Classe << ": " << E.Erros;
        EXPECT_EQ(TRaizTeste::Le(Foto).substr(1, 3), "PNG") << Classe;
    }
    EXPECT_EQ(TRaizTeste::Retrato(R.Raiz), Antes);

    // A user who may not read the module's files is told so, and nothing opens.
    fs::permissions(R.Raiz / "config", fs::perms::others_all, fs::perm_options::remove);
    const TExecucao E = ExecutaComando(R.Pasta, Programa + "--list", "", &OutroUsuario);
    EXPECT_EQ(E.Status, 2);
    EXPECT_EQ(E.Saida, "");
    EXPECT_EQ(E.Erros, "cfkovan: user " + Leitor + " may not read " + Pasta + ": Permission denied\n");
}
