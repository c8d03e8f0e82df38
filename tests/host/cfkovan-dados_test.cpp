// The data-exchange tool run as a person or a script runs it, on a generated demo server root.
#include "ProcessoTeste.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class FerramentaDados : public ::testing::Test {
protected:
    void SetUp() override
    {
        Pasta = PastaDosProgramas();
        ASSERT_EQ(Executa(Pasta + "/kovan-demo " + (R.Pasta / "demo").string()).Status, 0);
    }

    TExecucao Executa(const std::string& Comando, const std::string& Entrada = "")
    {
        return ExecutaComando(R.Pasta, Comando, Entrada);
    }
    TExecucao Dados(const std::string& Argumentos, const std::string& Entrada = "")
    {
        return Executa(Pasta + "/cfkovan-dados --config-dir " + (R.Pasta / "demo" / "bin").string() + " " + Argumentos, Entrada);
    }
    std::string Guardado(const std::string& Empresa)
    {
        return TRaizTeste::Le(R.Pasta / "demo" / "Kovan" / "config" / "empresas" / Empresa / "Mirabelo.ini");
    }

    TRaizTeste R;
    std::string Pasta;
};

std::vector<std::string> Linhas(const std::string& Texto)
{
    std::vector<std::string> L;
    std::size_t Inicio = 0;
    for (std::size_t Fim; (Fim = Texto.find('\n', Inicio)) != std::string::npos; Inicio = Fim + 1)
        L.push_back(Texto.substr(Inicio, Fim - Inicio));
    std::sort(L.begin(), L.end());
    return L;
}

} // namespace

TEST_F(FerramentaDados, AjudaEUsoErrado)
{
    TExecucao E = Dados("--help");
    EXPECT_EQ(E.Status, 0);
    EXPECT_PRED2(Contem, E.Saida, "Usage: cfkovan-dados");
    struct { std::string Comando; const char* Erro; } Casos[] = {
        {"", "no command given"},
        {"frobnicate", "unknown command frobnicate"},
        {"import", "import needs a FILE"},
        {"erase", "erase needs a COMPANY or --all"},
        {"export 123", "a company code has 8 letters or digits"},
        {"--yes --no import x", "--yes and --no exclude each other"},
        {"--bogus export", "unknown option --bogus"},
        {"--module /nonexistent/lib.so export", "cannot load the module"},
    };
    for (const auto& Caso : Casos) {
        E = Dados(Caso.Comando);
        EXPECT_EQ(E.Status, 2) << Caso.Comando;
        EXPECT_PRED2(Contem, E.Erros, Caso.Erro);
    }
    E = Executa(Pasta + "/cfkovan-dados --config-dir " + R.Pasta.string() + " export");
    EXPECT_EQ(E.Status, 2);
    EXPECT_PRED2(Contem, E.Erros, "CfKovan.ini names the server root; use --config-dir");
}

// Export to the output or a file; erase one company, then all.
TEST_F(FerramentaDados, ExportaEApaga)
{
    TExecucao E = Dados("export-all");
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_EQ(Linhas(E.Saida), (std::vector<std::string>{"00000123;000000000012345", "00000456;000000000067890", "00000789;"}));
    E = Dados("export 00000456 -o " + (R.Pasta / "um.txt").string());
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_EQ(TRaizTeste::Le(R.Pasta / "um.txt"), "00000456;000000000067890\n");

    E = Dados("erase 00000123");
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_EQ(Linhas(Dados("export").Saida), (std::vector<std::string>{"00000456;000000000067890"}));
    E = Dados("erase --all");
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "erased the code of 3 companies");
    EXPECT_EQ(Dados("export").Saida, "");
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
    EXPECT_PRED2(Contem, Guardado("00000456"), "=000000000000777");

    // A company without a folder gets one; an unknown company, an empty code and a taken code are skipped.
    E = Dados("--yes import -", Lista + "x;1\n00000123;\n00000999;5\n");
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "read 5 entries: 2 stored, 3 skipped, 0 failed");
    EXPECT_TRUE(Guardado("00000789").empty()) << "the taken code was skipped";
    EXPECT_PRED2(Contem, Guardado("00000999"), "=000000000000005");

    // The counts are the tool's own, past the 32767 of the module's Resultado too.
    std::string Muitas;
    for (int I = 0; I < 70000; ++I)
        Muitas += "x;" + std::to_string(I) + "\n";
    E = Dados("import -", Muitas);
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "read 70000 entries: 0 stored, 70000 skipped, 0 failed");
}

// A write the module could not make is never reported as done: the tool reads back every company it
// asked for and names each one whose file does not hold it.
TEST_F(FerramentaDados, EscritaQueFalhaERelatadaPorEmpresa)
{
    const fs::path Empresas = R.Pasta / "demo" / "Kovan" / "config" / "empresas";
    const std::string Ini456 = (Empresas / "00000456" / "Mirabelo.ini").string();
    fs::permissions(Ini456, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directories(Empresas / "00000789" / "Mirabelo.ini");

    TExecucao E = Dados("import -", "00000123;111\n00000456;222\n00000789;333\n");
    EXPECT_EQ(E.Status, 2) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "company 00000456: " + Ini456 + " does not hold code 000000000000222 (it holds 000000000067890)");
    EXPECT_PRED2(Contem, E.Erros, "company 00000789: " + (Empresas / "00000789" / "Mirabelo.ini").string() +
                                      " does not hold code 000000000000333 (it holds none)");
    EXPECT_PRED2(Contem, E.Erros, "read 3 entries: 1 stored, 0 skipped, 2 failed");

    E = Dados("erase --all");
    EXPECT_EQ(E.Status, 2) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "company 00000456: " + Ini456 + " still holds code 000000000067890");
    EXPECT_PRED2(Contem, E.Erros, "erased the code of 2 companies; 1 failed");
}

// A root that CfKovan.ini names but that does not exist is a typo: nothing is created there.
TEST_F(FerramentaDados, RaizInexistenteEErro)
{
    const fs::path Engano = R.Pasta / "Kovna";
    TRaizTeste::Grava(R.Pasta / "demo" / "bin" / "CfKovan.ini", "[config]\r\nraiz=" + Engano.string() + "\r\n");
    const TExecucao E = Dados("import -", "00000123;1\n");  // checked before any command runs
    EXPECT_EQ(E.Status, 2);
    EXPECT_PRED2(Contem, E.Erros, "the server root " + Engano.string() + " named in ");
    EXPECT_PRED2(Contem, E.Erros, "does not exist");
    EXPECT_FALSE(fs::exists(Engano));
}
