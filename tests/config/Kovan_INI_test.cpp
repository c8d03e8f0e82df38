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

/// Saves a debit BIN table of Linhas rows as the BIN screen does (stale rows' sections go first).
void GravaTabela(TKovanIni& Ini, int Linhas, int Antigas, const std::string& Versao)
{
    for (int K = Linhas + 1; K <= Antigas; ++K)
        Ini.RemoveSec("Debito_" + std::to_string(K));
    Ini.GravaVar("TabBins", "TotDeb", std::to_string(Linhas));
    for (int K = 1; K <= Linhas; ++K) {
        const std::string Secao = "Debito_" + std::to_string(K);
        Ini.GravaVar(Secao, "Nome", "CARTAO " + Versao + std::to_string(K));
        Ini.GravaVar(Secao, "Bins", std::to_string(600000 + K) + ";" + std::to_string(700000 + K) + "-" + Versao + ";");
        Ini.GravaVar(Secao, "Senha", K % 2 ? "1" : "0");
    }
}

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

// A batch: reads inside it see its writes; the file changes once, at ConfirmaLote, to exactly the bytes
// the same calls make one at a time, keeping another writer's change made in between (the batch's
// writes are made again on the file as it is then); a batch not confirmed leaves the file as it was.
TEST_F(TKovanIniTeste, LoteGravaUmaVezOQueUmaAUmaGrava)
{
    const fs::path Lote = R.IniEmpresa("00000123"), UmaAUma = R.IniEmpresa("00000456");
    for (const std::string Empresa : {"00000123", "00000456"}) {
        TKovanIni Ini(R.RaizTexto(), "Mirabelo", Empresa);
        Ini.GravaVar("Geral", "CodigoEstabelecimento", "000000000012345");
        GravaTabela(Ini, 30, 0, "a");
    }
    const std::string Antes = TRaizTeste::Le(Lote);
    {
        TKovanIni Ini(R.RaizTexto(), "Mirabelo", "00000456");
        GravaTabela(Ini, 20, 30, "b");
        Ini.GravaVar("Geral", "CodigoEstabelecimento", "2");
    }
    {
        TKovanIni Ini(R.RaizTexto(), "Mirabelo", "00000123");
        ASSERT_TRUE(Ini.IniciaLote());
        GravaTabela(Ini, 20, 30, "b");
        EXPECT_EQ(TRaizTeste::Le(Lote), Antes);
        EXPECT_EQ(Ini.LeVar("debito_20", "nome", ""), "CARTAO b20");
        EXPECT_FALSE(Ini.ExisteSetor("Debito_21"));
        std::vector<std::string> Lista;
        EXPECT_EQ(Ini.LeSecs(Lista), 22);
        std::string Outro = Antes;  // another writer's change, made on the file meanwhile
        TRaizTeste::Grava(Lote, Outro.replace(Outro.find("000000000012345"), 15, "2"));
        EXPECT_TRUE(Ini.ConfirmaLote());
        EXPECT_TRUE(Ini.ConfirmaLote()) << "no batch: nothing to do";
    }
    EXPECT_EQ(TRaizTeste::Le(Lote), TRaizTeste::Le(UmaAUma));
    {
        TKovanIni Ini(R.RaizTexto(), "Mirabelo", "00000123");
        Ini.IniciaLote();
        GravaTabela(Ini, 5, 20, "c");
    }  // destroyed without ConfirmaLote
    EXPECT_EQ(TRaizTeste::Le(Lote), TRaizTeste::Le(UmaAUma));
}
