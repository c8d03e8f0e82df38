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

// Writes lower-case the section and key, cut a value to 255 and create the folders and the file; reads
// and erases find names without regard to case, keep the other sections and create nothing.
TEST_F(TKovanIniTeste, GravaLeERemove)
{
    fs::remove_all(R.Raiz);
    {
        TKovanIni Ini(R.RaizTexto(), "Mirabelo", "00000123");
        EXPECT_TRUE(Ini.GravaVar("Geral", "CodigoEstabelecimento", "000000000012345"));
        Ini.GravaVar("S", "Numero", "-42");
        Ini.GravaVar("Geral", "A", std::string(300, 'y'));
        EXPECT_EQ(Ini.LeVar("GERAL", "codigoestabelecimento", "x"), "000000000012345");
        EXPECT_TRUE(Ini.ExisteSetor("S"));
        EXPECT_TRUE(Ini.RemoveSec("S"));
        EXPECT_FALSE(Ini.ExisteSetor("s"));
    }
    EXPECT_EQ(TRaizTeste::Le(R.IniEmpresa("00000123")),
              "[geral]\r\ncodigoestabelecimento=000000000012345\r\na=" + std::string(255, 'y') + "\r\n");
    TKovanIni Outra(R.RaizTexto(), "Mirabelo", "00000999");
    EXPECT_EQ(Outra.LeVar("Geral", "CodigoEstabelecimento", "padrao"), "padrao");
    EXPECT_TRUE(Outra.RemoveSec("Geral"));
    EXPECT_FALSE(fs::exists(R.Raiz / "config" / "empresas" / "00000999")) << "reading and erasing create nothing";
    EXPECT_FALSE(Outra.ExisteSetor("Geral"));
    EXPECT_TRUE(fs::is_directory(R.Raiz / "config" / "empresas" / "00000999")) << "ExisteSetor creates it";

    // An empty file goes as soon as an object is made on it.
    TRaizTeste::Grava(R.IniEmpresa("00000999"), "");
    TKovanIni(R.RaizTexto(), "Mirabelo", "00000999");
    EXPECT_FALSE(fs::exists(R.IniEmpresa("00000999")));
}

// The file a company code names: the folder of its first 8 characters, the general file for "" or
// "*...", none for a code that is not 8 ASCII letters or digits (nothing is read or made, no batch
// starts). A write with no section goes to the company's own section; the general file has none.
TEST_F(TKovanIniTeste, ArquivoDoCodigoDaEmpresa)
{
    const struct { const char *Empresa, *Arquivo, *SecaoVazia; } Casos[] = {
        {"987654321", "config/empresas/98765432/Mirabelo.ini", "[98765432]"},
        {"", "config/Mirabelo.ini", nullptr},
        {"*qualquer", "config/Mirabelo.ini", nullptr},
        {"../../..", nullptr, nullptr},
        {"..\\..\\x1", nullptr, nullptr},
        {"0000 001", nullptr, nullptr},
        {"\xe7" "0000000", nullptr, nullptr},
    };
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(Caso.Empresa);
        {
            TKovanIni Ini(R.RaizTexto(), "Mirabelo", Caso.Empresa);
            EXPECT_EQ(Ini.GravaVar("", "Chave", "v"), Caso.SecaoVazia != nullptr);
            EXPECT_EQ(Ini.GravaVar("TabBins", "TotDeb", "2"), Caso.Arquivo != nullptr);
            EXPECT_EQ(Ini.LeVar("tabbins", "totdeb", "padrao"), Caso.Arquivo ? "2" : "");
        }
        std::vector<std::string> Arquivos;
        for (auto& E : fs::recursive_directory_iterator(R.Pasta))
            if (E.is_regular_file())
                Arquivos.push_back(fs::relative(E.path(), R.Raiz).string());
        EXPECT_EQ(Arquivos, Caso.Arquivo ? std::vector<std::string>{Caso.Arquivo} : std::vector<std::string>{});
        EXPECT_EQ(fs::exists(R.Raiz / "config" / "empresas"), Caso.SecaoVazia != nullptr);
        EXPECT_EQ(TKovanIni(R.RaizTexto(), "Mirabelo", Caso.Empresa).IniciaLote(), Caso.Arquivo != nullptr);
        if (Caso.SecaoVazia) {
            EXPECT_NE(TRaizTeste::Le(R.Raiz / Caso.Arquivo).find(Caso.SecaoVazia), std::string::npos);
        }
        fs::remove_all(R.Raiz / "config");
    }
}

// A file that cannot change: its removal and a batch's confirmation answer false, each logged once at
// error level, naming the file, the operation and the system's reason.
TEST_F(TKovanIniTeste, FalhasRegistradasUmaVez)
{
    const fs::path Arquivo = R.IniEmpresa("00000123");
    TRaizTeste::Grava(Arquivo, "[geral]\r\na=1\r\n");
    if (!TravaArquivoTeste(Arquivo, true))
        GTEST_SKIP() << "this system cannot make a file unchangeable";
    const TLogEventosTeste Log(R.Pasta / "eventos.jsonl");
    const std::pair<const char*, bool (*)(TKovanIni&)> Casos[] = {
        {"removal of the file", [](TKovanIni& I) { return I.Remove(); }},
        {"3 changes in one replace (erase of [geral] a, ...)", [](TKovanIni& I) {
             I.IniciaLote();
             I.RemoveVar("geral", "a");
             I.GravaVar("Geral", "B", "2");
             I.RemoveSec("geral");
             return I.ConfirmaLote();
         }},
    };
    for (const auto& [Operacao, Faz] : Casos) {
        SCOPED_TRACE(Operacao);
        TKovanIni Ini(R.RaizTexto(), "Mirabelo", "00000123");
        EXPECT_FALSE(Faz(Ini));
        const auto E = Log.Entradas();
        ASSERT_EQ(E.size(), 1u);
        EXPECT_EQ(E[0]["type"], 1);
        const std::string Texto = E[0]["text"];
        EXPECT_NE(Texto.find(Operacao), std::string::npos) << Texto;
        EXPECT_NE(Texto.find(Arquivo.string()), std::string::npos) << Texto;
        EXPECT_NE(Texto.find(std::strerror(geteuid() == 0 ? EPERM : EACCES)), std::string::npos) << Texto;
    }
    EXPECT_EQ(TRaizTeste::Le(Arquivo), "[geral]\r\na=1\r\n");
    TravaArquivoTeste(Arquivo, false);
}
