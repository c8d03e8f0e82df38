// The data-exchange tool run as a person or a script runs it, on a generated demo server root.
#include "ProcessoTeste.h"
#include "platform/Cp1252.h"

#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <pwd.h>
#include <set>
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
    TRaizTeste::Grava(R.Pasta / "t.txt", "00000123;1;0;1;\n");
    E = ExecutaComando(R.Pasta, Programa(R.Pasta / "demo" / "bin") + "transacoes import " + (R.Pasta / "t.txt").string(), "",
                       &Leitor);
    EXPECT_EQ(E.Status, 2) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "its enabled transactions could not be written (see the audit log for why); user " +
                                      std::string(getpwuid(65534)->pw_name) + " may not write " +
                                      (Empresas / "00000123").string() + "\n");
}

namespace {

// Every file under a root, with its bytes and inode: what a refused import or a dry run must leave.
std::map<std::string, std::pair<std::string, ino_t>> Arvore(const fs::path& Raiz)
{
    std::map<std::string, std::pair<std::string, ino_t>> Arquivos;
    for (const auto& E : fs::recursive_directory_iterator(Raiz))
        if (E.is_regular_file())
            Arquivos[fs::relative(E.path(), Raiz).string()] = {TRaizTeste::Le(E.path()), TRaizTeste::Inode(E.path())};
    return Arquivos;
}

std::vector<nlohmann::json> LinhasJson(const std::string& Texto)
{
    std::vector<nlohmann::json> Linhas;
    std::istringstream Entrada(Texto);
    for (std::string Linha; std::getline(Entrada, Linha);)
        Linhas.push_back(nlohmann::json::parse(Linha));
    return Linhas;
}

const std::string Tabelas = "Todas;debito;MIRABELO DEBITO;601234 60124500-60124599;1\n"
                            "Todas;combustivel;;;\n"
                            "00000123;debito;\"VISA; ELECTRON\";4000000 601234;1\n"
                            "00000123;debito;\" com brancos \";606070;0\n"
                            "00000456;combustivel;FROTA \"X\";639000-639099;0\n";

} // namespace

// Export, import the export: every file byte for byte as the first import left it, on this root
// (nothing to change: nothing written) and on a fresh one.
TEST_F(FerramentaDados, BinsETransacoesIdaEVolta)
{
    TRaizTeste::Grava(R.Pasta / "tabelas.txt", Tabelas);
    TExecucao E = Dados("bins import " + (R.Pasta / "tabelas.txt").string());
    ASSERT_EQ(E.Status, 0) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "read 5 lines (the tables of 3 companies): 3 written, 0 unchanged, 0 failed");
    TRaizTeste::Grava(R.Pasta / "trans.txt", "00000123;1;1;0;12\n00000789;0;0;1;\n");
    E = Dados("transacoes import " + (R.Pasta / "trans.txt").string());
    ASSERT_EQ(E.Status, 0) << E.Erros;

    E = Dados("bins export -o " + (R.Pasta / "bins.txt").string());
    ASSERT_EQ(E.Status, 0) << E.Erros;
    EXPECT_EQ(E.Erros, "exported 7 lines\n");  // no progress when standard error is not a terminal
    // On a terminal (a pseudo-terminal of script(1)) the progress shows, and is wiped at the end.
    E = ExecutaComando(R.Pasta, "script -qec '" + Programa(R.Pasta / "demo" / "bin") + "bins export -o /dev/null' /dev/null");
    EXPECT_PRED2(Contem, E.Saida, "\rbins export: 1 of 4 companies");
    EXPECT_PRED2(Contem, E.Saida, "\r\033[Kexported 7 lines");
    std::string Exportado = TRaizTeste::Le(R.Pasta / "bins.txt");
    for (const char* Linha : {"00000123;debito;\"VISA; ELECTRON\";4000000 601234;1\n",
                              "00000123;debito;com brancos;606070;0\n", "00000123;combustivel;;;\n",
                              "00000456;combustivel;\"FROTA \"\"X\"\"\";639000-639099;0\n", "Todas;combustivel;;;\n"})
        EXPECT_PRED2(Contem, Exportado, Linha);
    EXPECT_EQ(Dados("transacoes export -o " + (R.Pasta / "t.txt").string()).Status, 0);
    EXPECT_PRED2(Contem, TRaizTeste::Le(R.Pasta / "t.txt"), "00000123;1;1;0;12\n");
    EXPECT_EQ(Dados("bins export 00000456 --geral").Status, 2);  // --geral goes alone
    EXPECT_EQ(Dados("bins export 00000456").Saida, "00000456;debito;;;\n00000456;combustivel;\"FROTA \"\"X\"\"\";639000-639099;0\n");

    const fs::path Raiz = R.Pasta / "demo" / "Kovan";
    const auto Antes = Arvore(Raiz);
    E = Dados("bins import " + (R.Pasta / "bins.txt").string());
    EXPECT_PRED2(Contem, E.Erros, "0 written, 3 unchanged");
    EXPECT_EQ(Dados("transacoes import " + (R.Pasta / "t.txt").string()).Status, 0);
    EXPECT_EQ(Arvore(Raiz), Antes);

    // A fresh demo root gets the same files from the exports.
    ASSERT_EQ(ExecutaComando(R.Pasta, Pasta + "/kovan-demo " + (R.Pasta / "outra").string()).Status, 0);
    for (const char* Arquivo : {"bins.txt", "t.txt"}) {
        const std::string Comando = std::string(Arquivo) == "bins.txt" ? "bins" : "transacoes";
        E = ExecutaComando(R.Pasta, Programa(R.Pasta / "outra" / "bin") + Comando + " import " + (R.Pasta / Arquivo).string());
        EXPECT_EQ(E.Status, 0) << E.Erros;
    }
    for (const auto& [Nome, Conteudo] : Arvore(R.Pasta / "outra" / "Kovan")) {
        if (Nome.ends_with("Mirabelo.ini")) {
            EXPECT_EQ(Conteudo.first, Antes.at(Nome).first) << Nome;
        }
    }
}

// Each line that breaks a rule is named with its number and the screen's words; then nothing is
// written, and a dry run writes nothing either.
TEST_F(FerramentaDados, ImportacaoRecusadaOuSimuladaNaoGravaNada)
{
    const fs::path Raiz = R.Pasta / "demo" / "Kovan";
    const auto Antes = Arvore(Raiz);
    TRaizTeste::Grava(R.Pasta / "ruim.txt",
                      "00000123;debito;VISA;601234;1\n"
                      "00000123;debito; visa ;606070;0\n"
                      "\n"
                      "00000456;debito;A;12345;0\n"
                      "00000456;debito;B;601234-601230;0\n"
                      "00000456;debito;C;601234 601234567;0\n"
                      "00000456;combustivel;   ;639000;0\n"
                      "00000456;combustivel;D;;0\n"
                      "00000999;debito;E;601234;0\n"
                      "00000123;credito;F;601234;0\n"
                      "00000123;debito;G;601234;S\n"
                      "00000123;debito;H\n"
                      "00000123;debito;\"I;601234;0\n"
                      "Todas;debito;J;" + [] {
                          std::string Bins;
                          for (int I = 0; I < 26; ++I)
                              Bins += std::to_string(600000000 + I * 1000) + " ";
                          return Bins;
                      }() + ";0\n");
    TExecucao E = Dados("bins import " + (R.Pasta / "ruim.txt").string());
    EXPECT_EQ(E.Status, 2);
    const std::string Ruim = (R.Pasta / "ruim.txt").string();
    for (const char* Esperada : {
             ":2: Nome já existente. (visa)", ":4: Tamanho inválido do bin. No mínimo 6 e no máximo 9 dígitos (12345)",
             ":5: Tamanho inválido: Bin superior menor que Bin inferior (601234-601230)",
             ":6: Bin(s) já existente(s) (601234 601234567)", ":7: Digite um Nome para o(s) Bin(s).", ":8: Digite um Bin!",
             ":9: company 00000999 is not a company of this server", ":10: table credito is neither debito nor combustivel",
             ":11: pin S is neither 1 nor 0", ":12: expected 5 fields", ":13: a quoted field is not closed",
             ":14: A lista de Bins ficaria com mais de 255 caracteres"})
        EXPECT_PRED2(Contem, E.Erros, Ruim + Esperada);
    EXPECT_PRED2(Contem, E.Erros, "12 lines break the rules; nothing was written");

    TRaizTeste::Grava(R.Pasta / "trans.txt", "00000123;1;1;0;\n00000456;1;1;1;00\n00000789;1;0;1;123\nTodas;1;0;1;\n"
                                             "00000123;2;0;1;\n");
    E = Dados("transacoes import " + (R.Pasta / "trans.txt").string());
    EXPECT_EQ(E.Status, 2);
    for (const char* Esperada : {":1: Informe o número de parcelas.", ":2: Número de parcelas inválido. (00)",
                                 ":3: Número de parcelas inválido. (123)", ":4: company Todas is not a company",
                                 ":5: company 00000123 was already given on line 1"})
        EXPECT_PRED2(Contem, E.Erros, (R.Pasta / "trans.txt").string() + Esperada);

    TRaizTeste::Grava(R.Pasta / "trans.txt", "00000123;2;0;1;\n");
    E = Dados("transacoes import " + (R.Pasta / "trans.txt").string());
    EXPECT_PRED2(Contem, E.Erros, (R.Pasta / "trans.txt").string() + ":1: vista 2 is neither 1 nor 0");

    TRaizTeste::Grava(R.Pasta / "bom.txt", "00000123;debito;VISA;601234;1\nTodas;debito;MIRABELO VALE;606070;0\n");
    E = Dados("--dry-run bins import " + (R.Pasta / "bom.txt").string());
    EXPECT_EQ(E.Status, 0) << E.Erros;
    EXPECT_PRED2(Contem, E.Erros, "00000123: debito 1 added, 0 removed, 0 changed; combustivel unchanged\n");
    EXPECT_PRED2(Contem, E.Erros, "Todas: debito 0 added, 1 removed, 1 changed; combustivel unchanged\n");
    EXPECT_PRED2(Contem, E.Erros, "2 would change, 0 unchanged; nothing was written");
    TRaizTeste::Grava(R.Pasta / "t.txt", "00000123;1;1;0;12\n");
    E = Dados("--dry-run transacoes import " + (R.Pasta / "t.txt").string());
    EXPECT_PRED2(Contem, E.Erros, "00000123: not configured -> 1;1;0;12\n");
    EXPECT_EQ(Arvore(Raiz), Antes);
}

// The tool's audit entries carry the screen's texts for the same change, and say which front end
// made it.
TEST_F(FerramentaDados, AuditoriaDaImportacaoEADaTela)
{
    const fs::path Log = R.Pasta / "auditoria.jsonl";
    TRaizTeste::Grava(R.Pasta / "b.txt", "Todas;debito;CARTAO;601234 4000000;1\nTodas;combustivel;;;\n");
    TRaizTeste::Grava(R.Pasta / "t.txt", "00000123;1;0;1;\n");
    for (const char* Comando : {"bins import b.txt", "transacoes import t.txt"}) {
        const TExecucao E = ExecutaComando(R.Pasta, "cd " + R.Pasta.string() + " && KOVAN_EVENTLOG=" + Log.string() + " " +
                                                        Programa(R.Pasta / "demo" / "bin") + Comando);
        EXPECT_EQ(E.Status, 0) << E.Erros;
    }
    const std::vector<nlohmann::json> Entradas = LinhasJson(TRaizTeste::Le(Log));
    const std::vector<std::string> Textos = {
        "Mirabelo/Range/Geral - Debito\r\nBins : Lin1(CARTAO/4000000;601234;/Senha:1); ",
        "Mirabelo/Range/Geral - Combustível\r\nBins : ",
        "Mirabelo/Transações Habilitadas/00000123\r\nDebVista: 1; DebParcAdm: 0; DebParcEstab: 0; DebCanc: 1; DebNParc: ;"};
    ASSERT_EQ(Entradas.size(), Textos.size());
    for (std::size_t I = 0; I < Textos.size(); ++I) {
        const std::string Texto = Entradas[I]["text"];
        EXPECT_TRUE(Texto.ends_with("\n\n" + Textos[I])) << Texto;
        EXPECT_PRED2(Contem, Texto, "Fonte.......:cfkovan-dados\n");
        EXPECT_EQ(Entradas[I]["tela"], "cfkovan-dados");
        EXPECT_EQ(Entradas[I]["empresa"], I < 2 ? "Todas" : "00000123");
        EXPECT_EQ(Entradas[I]["id"], 0x80000002u);
    }
}

// The demo root is clean; a root built to hold every kind of finding gets each, on the file that holds
// it, as text and as JSON lines.
TEST_F(FerramentaDados, VerificaAchaCadaProblemaEmSeuArquivo)
{
    TExecucao E = Dados("verifica");
    EXPECT_EQ(E.Status, 0) << E.Saida << E.Erros;
    EXPECT_EQ(E.Saida, "");
    EXPECT_PRED2(Contem, E.Erros, "verifica: 0 findings in ");

    const fs::path Config = R.Pasta / "demo" / "Kovan" / "config";
    const fs::path Empresas = Config / "empresas";
    TRaizTeste::Grava(Empresas / "00000123" / "Mirabelo.ini",
                      "[geral]\r\ncodigoestabelecimento=000000000012345\r\n[trnhabilitada]\r\ndebitovista=1\r\n"
                      "parceladojurosestabelecimento=1\r\nnumeroparcelas=0\r\n");
    TRaizTeste::Grava(Empresas / "00000123" / ".Mirabelo.ini.tmp", "[geral]\r\n");
    TRaizTeste::Grava(Empresas / "00000456" / "Mirabelo.ini", "[geral]\r\ncodigoestabelecimento=000000000012345\r\nx=\x81\r\n");
    TRaizTeste::Grava(Empresas / "00000789" / "Mirabelo.ini", "[geral]\r\ncodigoestabelecimento=123\r\nnome=Jo\xC3\xA3o\r\n");
    TRaizTeste::Grava(Config / "00000999.cnf", std::string("\x10\x01", 2));
    fs::create_directories(Empresas / "0000ABCD");
    TRaizTeste::Grava(Config / "TabTraducao.ini", std::string("\xFF\xFE[\0a\0]\0", 8));
    fs::create_directories(Empresas / "0000ABCD" / "Mirabelo.ini");
    std::string Longa;
    for (int I = 0; I < 26; ++I)
        Longa += std::to_string(600000000 + I * 1000) + ";";
    TRaizTeste::Grava(Config / "Mirabelo.ini",
                      "[tabbins]\r\ntotdeb=4\r\ntotcomb=um\r\n"
                      "[debito_01]\r\nnome=A\r\nbins=601234;60123456-60123499;\r\nsenha=1\r\n"
                      "[debito_03]\r\nnome=B\r\nbins=12345;\r\nsenha=0\r\n"
                      "[debito_04]\r\nnome=C\r\nbins=" + Longa + "\r\nsenha=0\r\n"
                      "[combustivel_01]\r\nnome=D\r\nbins=639000;\r\n");
    E = Dados("verifica --json");
    EXPECT_EQ(E.Status, 2) << E.Erros;
    std::set<std::pair<std::string, std::string>> Achados;  // kind, file relative to config/
    for (const nlohmann::json& A : LinhasJson(E.Saida))
        Achados.emplace(A["finding"], fs::relative(A["file"].get<std::string>(), Config).string());
    const std::set<std::pair<std::string, std::string>> Esperados = {
        {"codigo-duplicado", "empresas/00000123/Mirabelo.ini"},
        {"codigo-duplicado", "empresas/00000456/Mirabelo.ini"},
        {"codigo-tamanho", "empresas/00000789/Mirabelo.ini"},
        {"parcelas-invalidas", "empresas/00000123/Mirabelo.ini"},
        {"temporario", "empresas/00000123/.Mirabelo.ini.tmp"},
        {"nao-cp1252", "empresas/00000456/Mirabelo.ini"},
        {"nao-cp1252", "empresas/00000789/Mirabelo.ini"},
        {"cnf-sem-pasta", "00000999.cnf"},
        {"pasta-sem-cnf", "empresas/0000ABCD"},
        {"utf16", "TabTraducao.ini"},
        {"ilegivel", "empresas/0000ABCD/Mirabelo.ini"},
        {"bins-sobrepostos", "Mirabelo.ini"},
        {"bin-invalido", "Mirabelo.ini"},
        {"lista-longa", "Mirabelo.ini"},
        {"linha-faltando", "Mirabelo.ini"},
        {"contagem-invalida", "Mirabelo.ini"},
    };
    EXPECT_EQ(Achados, Esperados);

    E = Dados("verifica");  // not a terminal: CP1252, as the files
    EXPECT_EQ(E.Status, 2);
    for (const std::string& Linha : {
             (Config / "Mirabelo.ini").string() + ": [Debito_01] Bin(s) já existente(s) (601234 60123456-60123499)",
             (Config / "Mirabelo.ini").string() + ": rows missing in the middle: [Debito_02]",
             (Config / "Mirabelo.ini").string() + ": [TabBins] TotComb=um is not a number",
             (Empresas / "00000123" / "Mirabelo.ini").string() +
                 ": establishment code 000000000012345 is also held by 00000456",
             (Empresas / "00000789" / "Mirabelo.ini").string() + ": establishment code 123 has 3 characters, not 15"})
        EXPECT_PRED2(Contem, E.Saida, Utf8ParaCp1252(Linha));
    EXPECT_PRED2(Contem, E.Erros, "verifica: 16 findings in ");

    // A count that does not match its rows, and duplicates the server allows.
    TRaizTeste::Grava(Config / "Mirabelo.ini", "[tabbins]\r\ntotdeb=2\r\n[debito_01]\r\nnome=A\r\nbins=601234;\r\n");
    TRaizTeste::Grava(Config / "KovanCfg.ini", "[config]\r\nTipoConfKovan=MULTIEMPRESA\r\nPermiteDuplEstab=SIM\r\n");
    E = Dados("verifica");
    EXPECT_PRED2(Contem, E.Saida, "[TabBins] TotDeb=2 does not match the row sections (the last is [Debito_01])");
    EXPECT_FALSE(Contem(E.Saida, "also held by"));
}
