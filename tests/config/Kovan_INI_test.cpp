#include "config/Kovan_INI.h"

#include "LogEventosTeste.h"
#include "RaizTeste.h"

#include <gtest/gtest.h>

#include <cstring>

namespace fs = std::filesystem;

class TKovanIniTeste : public ::testing::Test {
protected:
    TRaizTeste R;
};

TEST_F(TKovanIniTeste, GravaVarCriaDiretoriosEArquivoEmMinusculas)
{
    fs::remove_all(R.Raiz);
    {
        TKovanIni Ini(R.RaizTexto(), "Mirabelo", "00000123");
        EXPECT_TRUE(Ini.GravaVar("Geral", "CodigoEstabelecimento", "1234"));
    }
    ASSERT_TRUE(fs::is_regular_file(R.IniEmpresa("00000123")));
    const std::string Conteudo = TRaizTeste::Le(R.IniEmpresa("00000123"));
    EXPECT_NE(Conteudo.find("[geral]"), std::string::npos) << Conteudo;
    EXPECT_NE(Conteudo.find("codigoestabelecimento=1234"), std::string::npos) << Conteudo;
    EXPECT_EQ(Conteudo.find("Geral"), std::string::npos) << Conteudo;
}

TEST_F(TKovanIniTeste, LeVarSemDiferencaDeCaixaESemCriarNada)
{
    TRaizTeste::Grava(R.IniEmpresa("00000123"), "[Geral]\r\nCodigoEstabelecimento=000000000012345\r\n");
    TKovanIni Ini(R.RaizTexto(), "Mirabelo", "00000123");
    EXPECT_EQ(Ini.LeVar("geral", "codigoestabelecimento", "x"), "000000000012345");
    EXPECT_EQ(Ini.LeVar("GERAL", "Falta", "padrao"), "padrao");

    TKovanIni Outra(R.RaizTexto(), "Mirabelo", "00000999");
    EXPECT_EQ(Outra.LeVar("Geral", "CodigoEstabelecimento", "padrao"), "padrao");
    EXPECT_FALSE(fs::exists(R.Raiz / "config" / "empresas" / "00000999"));
}

// A longer code names the company of its first 8 characters; an empty section, the company's own.
TEST_F(TKovanIniTeste, CodigoDaEmpresaNomeiaPastaESecaoVazia)
{
    TKovanIni Ini(R.RaizTexto(), "Mirabelo", "987654321");
    EXPECT_TRUE(Ini.GravaVar("Geral", "CodigoEstabelecimento", "1"));
    EXPECT_TRUE(Ini.GravaVar("", "Chave", "v"));
    EXPECT_NE(TRaizTeste::Le(R.IniEmpresa("98765432")).find("[98765432]"), std::string::npos);
}

TEST_F(TKovanIniTeste, EmpresaVaziaOuAsteriscoUsaArquivoGeral)
{
    for (const char* Empresa : {"", "*", "*qualquer"}) {
        SCOPED_TRACE(Empresa);
        TKovanIni Ini(R.RaizTexto(), "Mirabelo", Empresa);
        EXPECT_FALSE(Ini.GravaVar("", "Chave", "v")) << "no section for the general file";
        EXPECT_FALSE(fs::exists(R.Raiz / "config" / "Mirabelo.ini"));
        EXPECT_TRUE(Ini.GravaVar("TabBins", "TotDeb", "2"));
        EXPECT_EQ(Ini.LeVar("tabbins", "totdeb", ""), "2");
        EXPECT_TRUE(fs::exists(R.Raiz / "config" / "Mirabelo.ini"));
        EXPECT_FALSE(fs::exists(R.Raiz / "config" / "empresas"));
        fs::remove(R.Raiz / "config" / "Mirabelo.ini");
    }
}

// An empty file goes when the object is created, and a file left empty when it is released.
TEST_F(TKovanIniTeste, ArquivoVazioApagadoAoAbrirEAoFechar)
{
    TRaizTeste::Grava(R.IniEmpresa("00000123"), "");
    {
        TKovanIni Ini(R.RaizTexto(), "Mirabelo", "00000123");
        EXPECT_FALSE(fs::exists(R.IniEmpresa("00000123")));
        Ini.GravaVar("geral", "a", "1");
        Ini.RemoveSec("geral");
        EXPECT_TRUE(fs::exists(R.IniEmpresa("00000123")));
    }
    EXPECT_FALSE(fs::exists(R.IniEmpresa("00000123")));
}

TEST_F(TKovanIniTeste, RemoveApagaArquivoSomenteLeitura)
{
    TRaizTeste::Grava(R.IniEmpresa("00000123"), "[geral]\r\na=1\r\n");
    fs::permissions(R.IniEmpresa("00000123"), fs::perms::owner_read | fs::perms::group_read);
    TKovanIni Ini(R.RaizTexto(), "Mirabelo", "00000123");
    EXPECT_TRUE(Ini.Remove());
    EXPECT_FALSE(fs::exists(R.IniEmpresa("00000123")));
    EXPECT_TRUE(Ini.Remove()) << "a missing file counts as removed";
}

// A file that cannot change: each failed write, erase and removal answers as before and is logged
// once at error level, naming the file, the operation and the system's reason.
TEST_F(TKovanIniTeste, FalhasRegistradasUmaVez)
{
    const fs::path Arquivo = R.IniEmpresa("00000123");
    TRaizTeste::Grava(Arquivo, "[geral]\r\na=1\r\n");
    if (!TravaArquivoTeste(Arquivo, true))
        GTEST_SKIP() << "this system cannot make a file unchangeable";
    const TLogEventosTeste Log(R.Pasta / "eventos.jsonl");
    const struct {
        const char* Operacao;
        bool (*Faz)(TKovanIni&);
        bool Resposta;
    } Casos[] = {
        {"write of [geral] a", [](TKovanIni& I) { return I.GravaVar("Geral", "A", "2"); }, true},
        {"erase of [geral]", [](TKovanIni& I) { return I.RemoveSec("geral"); }, true},
        {"erase of [geral] a", [](TKovanIni& I) { return I.RemoveVar("geral", "a"); }, true},
        {"removal of the file", [](TKovanIni& I) { return I.Remove(); }, false},
    };
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(Caso.Operacao);
        TKovanIni Ini(R.RaizTexto(), "Mirabelo", "00000123");
        EXPECT_EQ(Caso.Faz(Ini), Caso.Resposta);
        const auto E = Log.Entradas();
        ASSERT_EQ(E.size(), 1u);
        EXPECT_EQ(E[0]["type"], 1);
        const std::string Texto = E[0]["text"];
        EXPECT_NE(Texto.find(Caso.Operacao), std::string::npos) << Texto;
        EXPECT_NE(Texto.find(Arquivo.string()), std::string::npos) << Texto;
        EXPECT_NE(Texto.find(std::strerror(geteuid() == 0 ? EPERM : EACCES)), std::string::npos) << Texto;
    }
    EXPECT_EQ(TRaizTeste::Le(Arquivo), "[geral]\r\na=1\r\n");
    TravaArquivoTeste(Arquivo, false);
}

TEST_F(TKovanIniTeste, RemoveSecMantemOutrasSecoesEAceitaSecaoAusente)
{
    TRaizTeste::Grava(R.IniEmpresa("00000123"), "[geral]\r\na=1\r\n[TabBins]\r\nTotDeb=1\r\n");
    {
        TKovanIni Ini(R.RaizTexto(), "Mirabelo", "00000123");
        EXPECT_TRUE(Ini.RemoveSec("Geral"));
        EXPECT_TRUE(Ini.RemoveSec("NaoExiste"));
        EXPECT_EQ(Ini.LeVar("geral", "a", "sem"), "sem");
        EXPECT_EQ(Ini.LeVar("tabbins", "totdeb", ""), "1");
    }
    TKovanIni Ausente(R.RaizTexto(), "Mirabelo", "00000777");
    EXPECT_TRUE(Ausente.RemoveSec("Geral"));
    EXPECT_FALSE(fs::exists(R.Raiz / "config" / "empresas" / "00000777")) << "erasing creates nothing";
}

TEST_F(TKovanIniTeste, OutrasOperacoes)
{
    TKovanIni Ini(R.RaizTexto(), "Mirabelo", "00000123");
    EXPECT_FALSE(Ini.ExisteSetor("S"));
    EXPECT_TRUE(fs::is_directory(R.Raiz / "config" / "empresas" / "00000123")) << "ExisteSetor creates it";
    Ini.GravaInt("S", "Numero", -42);
    Ini.GravaBool("S", "Flag", true);
    Ini.GravaVar("Misto", "ChaveLonga", PChar{std::string(400, 'x').c_str()});
    Ini.GravaVar("Geral", "A", std::string(300, 'y'));
    EXPECT_TRUE(Ini.ExisteSetor("s"));
    EXPECT_EQ(Ini.LeVar("Geral", "A", "").size(), 255u) << "a short string's value";
    EXPECT_EQ(Ini.LeInt("s", "numero", 0), -42);
    EXPECT_EQ(Ini.LeInt("s", "flag", 0), 1);
    EXPECT_TRUE(Ini.LeBool("s", "flag", false));
    EXPECT_EQ(Ini.LeInt("s", "ausente", 7), 7);
    EXPECT_EQ(Ini.LeVar("misto", "chavelonga", "").size(), 400u);
    EXPECT_NE(TRaizTeste::Le(R.IniEmpresa("00000123")).find("[Misto]"), std::string::npos) << "PChar keeps case";

    std::vector<std::string> Lista;
    EXPECT_EQ(Ini.LeSecs(Lista), 3);
    EXPECT_EQ(Ini.LeVars("s", Lista), 2);
    EXPECT_EQ(Lista.at(0), "numero=-42");
    EXPECT_TRUE(Ini.RemoveVar("s", "numero"));
    EXPECT_EQ(Ini.LeVars("s", Lista), 1);
}

// A company code that is not 8 ASCII letters or digits never reaches a path.
TEST_F(TKovanIniTeste, CodigosHostisNaoViramCaminho)
{
    for (const char* Empresa : {"../../..", "a/b\\c...", "..\\..\\x1", "0000 001", "\xe7" "0000000"}) {
        SCOPED_TRACE(Empresa);
        TKovanIni Ini(R.RaizTexto(), "Mirabelo", Empresa);
        EXPECT_FALSE(Ini.GravaVar("Geral", "CodigoEstabelecimento", "1"));
        EXPECT_EQ(Ini.LeVar("Geral", "CodigoEstabelecimento", "padrao"), "");
    }
    std::size_t Arquivos = 0;
    for (auto& E : fs::recursive_directory_iterator(R.Pasta))
        Arquivos += E.is_regular_file();
    EXPECT_EQ(Arquivos, 0u);
    EXPECT_FALSE(fs::exists(R.Raiz / "config" / "empresas"));
}
