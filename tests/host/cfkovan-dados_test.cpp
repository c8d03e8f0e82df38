// The data-exchange tool run as a person or a script runs it, on a generated demo server root.
#include "ProcessoTeste.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class FerramentaDados : public ::testing::Test {
protected:
    void SetUp() override
    {
        Pasta = PastaDosProgramas();
        ASSERT_EQ(ExecutaComando(R.Pasta, Pasta + "/kovan-demo " + (R.Pasta / "demo").string()).Status, 0);
    }

    TExecucao Dados(const std::string& Argumentos, const std::string& Entrada = "")
    {
        return ExecutaComando(R.Pasta, Programa(R.Pasta / "demo" / "bin") + Argumentos, Entrada);
    }
    std::string Programa(const fs::path& PastaConfig) const
    {
        return Pasta + "/cfkovan-dados --config-dir " + PastaConfig.string() + " ";
    }

    TRaizTeste R;
    std::string Pasta;
};

} // namespace

// Usage errors, no CfKovan.ini, and a root it names that does not exist (a typo: nothing is created
// there) end with status 2 and why, before any command runs.
TEST_F(FerramentaDados, AjudaEUsoErrado)
{
    TExecucao E = Dados("--help");
    EXPECT_EQ(E.Status, 0);
    EXPECT_PRED2(Contem, E.Saida, "Usage: cfkovan-dados");
    const fs::path Engano = R.Pasta / "Kovna";
    TRaizTeste::Grava(R.Pasta / "engano" / "CfKovan.ini", "[config]\r\nraiz=" + Engano.string() + "\r\n");
    const std::string Demo = Programa(R.Pasta / "demo" / "bin");
    struct { std::string Comando, Erro; } Casos[] = {
        {Demo, "no command given"},
        {Demo + "frobnicate", "unknown command frobnicate"},
        {Demo + "import", "import needs a FILE"},
        {Demo + "erase", "erase needs a COMPANY or --all"},
        {Demo + "export 123", "a company code has 8 letters or digits"},
        {Demo + "--yes --no import x", "--yes and --no exclude each other"},
        {Demo + "--bogus export", "unknown option --bogus"},
        {Demo + "--module /nonexistent/lib.so export", "cannot load the module"},
        {Programa(R.Pasta) + "export", "CfKovan.ini names the server root; use --config-dir"},
        {Programa(R.Pasta / "engano") + "import -", "the server root " + Engano.string() + " named in "},
    };
    for (const auto& Caso : Casos) {
        E = ExecutaComando(R.Pasta, Caso.Comando, "00000123;1\n");
        EXPECT_EQ(E.Status, 2) << Caso.Comando;
        EXPECT_PRED2(Contem, E.Erros, Caso.Erro);
    }
    EXPECT_FALSE(fs::exists(Engano));
}

// Export to the output or a file; erase one company, then all.
TEST_F(FerramentaDados, ExportaEApaga)
{
    TExecucao E = Dados("export-all");
    EXPECT_EQ(E.Status, 0) << E.Erros;
    std::vector<std::string> Linhas; // in the order of the folder
    std::istringstream Saida(E.Saida);
    for (std::string Linha; std::getline(Saida, Linha);)
        Linhas.push_back(Linha);
    std::sort(Linhas.begin(), Linhas.end());
    EXPECT_EQ(Linhas, (std::vector<std::string>{"00000123;000000000012345", "00000456;000000000067890", "00000789;"}));
    E = Dados("export 00000456 -o " + (R.Pasta / "um.txt").string());
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_EQ(TRaizTeste::Le(R.Pasta / "um.txt"), "00000456;000000000067890\n");

    E = Dados("erase 00000123");
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_EQ(Dados("export").Saida, "00000456;000000000067890\n");
    E = Dados("erase --all");
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "erased the code of 3 companies");
}

TEST_F(FerramentaDados, ImportaComRespostasDeScriptEContaOQueFez)
{
    const std::string Lista = "00000456;777\r\n\r\n00000789;12345\r\n";
    TRaizTeste::Grava(R.Pasta / "lista.txt", Lista);

    // No terminal and no flag: the question is answered No and the import stops.
    TExecucao E = Dados("import " + (R.Pasta / "lista.txt").string());
    EXPECT_EQ(E.Status, 1) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "answering No");
    EXPECT_PRED2(Contem, E.Erros, "A importação não foi efetuada completamente."); // in the terminal's encoding
    EXPECT_PRED2(Contem, E.Erros, "import stopped by a No: read 2 entries, 0 skipped, 0 failed");

    // An unknown company, an empty code and a taken code are counted as skipped.
    E = Dados("--yes import -", Lista + "x;1\n00000123;\n00000999;5\n");
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "read 5 entries: 2 stored, 3 skipped, 0 failed");

    // The counts are the tool's own, past the 32767 of the module's Resultado too.
    std::string Muitas;
    for (int I = 0; I < 70000; ++I)
        Muitas += "x;" + std::to_string(I) + "\n";
    E = Dados("import -", Muitas);
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "read 70000 entries: 0 stored, 70000 skipped, 0 failed");
}

// A write the module could not make is never reported as done: the tool reads back every company it
// asked for and names each one whose file does not hold it, and the user the file system refused.
TEST_F(FerramentaDados, EscritaQueFalhaERelatadaPorEmpresa)
{
    const fs::path Empresas = R.Pasta / "demo" / "Kovan" / "config" / "empresas";
    const std::string Ini456 = (Empresas / "00000456" / "Mirabelo.ini").string();
    fs::permissions(Ini456, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directories(Empresas / "00000789" / "Mirabelo.ini");

    TExecucao E = Dados("import -", "00000123;111\n00000456;222\n00000789;333\n");
    EXPECT_EQ(E.Status, 2) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "company 00000456: " + Ini456 + " does not hold code 000000000000222 (it holds " +
                                      "000000000067890); user root may not write " + Ini456 + "\n");
    EXPECT_PRED2(Contem, E.Erros, "company 00000789: " + (Empresas / "00000789" / "Mirabelo.ini").string() +
                                      " does not hold code 000000000000333 (it holds none)\n");
    EXPECT_PRED2(Contem, E.Erros, "read 3 entries: 1 stored, 0 skipped, 2 failed");

    E = Dados("erase --all");
    EXPECT_EQ(E.Status, 2) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "company 00000456: " + Ini456 + " still holds code 000000000067890");
    EXPECT_PRED2(Contem, E.Erros, "erased the code of 2 companies; 1 failed");

    // Another user, who may read the root but not write it.
    const TUsuarioTeste Leitor;
    if (geteuid() != 0 || ExecutaComando(R.Pasta, "test -x " + Pasta + "/cfkovan-dados", "", &Leitor).Status != 0)
        return;
    fs::permissions(R.Pasta, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    E = ExecutaComando(R.Pasta, Programa(R.Pasta / "demo" / "bin") + "import -", "00000123;4\n", &Leitor);
    EXPECT_EQ(E.Status, 2) << E.Erros;
    const std::string Ini123 = (Empresas / "00000123" / "Mirabelo.ini").string();
    EXPECT_PRED2(Contem, E.Erros, "company 00000123: " + Ini123 + " does not hold code 000000000000004 (it holds " +
                                      "none); user " + getpwuid(65534)->pw_name + " may not write " + (Empresas / "00000123").string() + "\n");
}
