// The batch: nothing reaches the file before Confirma, then everything at once or nothing; a change
// another writer made meanwhile is kept.
#include "CasosIni.h"
#include "LogEventosTeste.h"

#include "platform/Files.h"

using namespace casos_ini;

namespace {

class Lote : public testing::Test {
protected:
    TRaizTeste Raiz;
    std::string Arquivo = (Raiz.Raiz / "config" / "Teste.ini").string();
};

// Confirma answers whether the file holds the writes; a refused write or a read-only file leaves the
// file as it was, logged once; with nothing to change the file is not replaced. Either way the batch
// then reads the file as it is, with nothing pending.
TEST_F(Lote, ConfirmaTudoOuNada)
{
    const TLogEventosTeste Log(Raiz.Pasta / "eventos.jsonl");
    const std::string Antigo = "[A]\r\nk=1\r\n";
    const struct {
        const char* Nome;
        std::vector<TEscrita> Escritas;
        bool SomenteLeitura, Confirma;
        std::string Final;
        std::size_t Entradas;
    } Casos[] = {
        {"replaced", {{"A", "k", "2"}, {"B", "j", "3"}}, false, true, "[A]\r\nk=2\r\n[B]\r\nj=3\r\n", 0},
        {"nothing changes", {{"A", "k", "1"}, {"A", "x", std::nullopt}}, false, true, Antigo, 0},
        {"no write", {}, false, true, Antigo, 0},
        {"refused", {{"A", "k", "2"}, {"A", "k", "a\nb"}}, false, false, Antigo, 1},
        {"read-only file", {{"A", "k", "2"}}, true, false, Antigo, 1},
    };
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(Caso.Nome);
        TRaizTeste::Grava(Arquivo, Antigo);
        ASSERT_TRUE(SetFileAttributesA(Arquivo, Caso.SomenteLeitura ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL));
        const ino_t Inode = TRaizTeste::Inode(Arquivo);
        const std::size_t Antes = Log.Entradas().size();
        TPerfilEmLote L(Arquivo);
        for (const TEscrita& E : Caso.Escritas)
            L.Grava(Ptr(E.Secao), Ptr(E.Chave), Ptr(E.Valor));
        EXPECT_EQ(LeArquivo(Arquivo), Antigo) << "nothing before Confirma";
        EXPECT_EQ(L.Confirma(), Caso.Confirma);
        EXPECT_EQ(LeArquivo(Arquivo), Caso.Final);
        EXPECT_EQ(TRaizTeste::Inode(Arquivo) != Inode, Caso.Final != Antigo) << "replaced only when it changes";
        EXPECT_EQ(L.Pendentes(), 0u);
        EXPECT_EQ(L.Le("A", "k", "", 64), Caso.Final == Antigo ? "1" : "2");
        EXPECT_EQ(Log.Entradas().size() - Antes, Caso.Entradas);
    }
}

// Another writer changed the file after the batch read it: the batch's writes are made again on the
// file as Confirma finds it, so neither update is lost. Writes dropped unconfirmed never reach the file.
TEST_F(Lote, MudancaDeOutroEscritorFica)
{
    TRaizTeste::Grava(Arquivo, "[A]\r\nk=1\r\n");
    {
        TPerfilEmLote L(Arquivo);
        ASSERT_TRUE(L.Grava("A", "k", "2"));
        ASSERT_TRUE(L.Grava("B", "n", "1"));
        ASSERT_EQ(WritePrivateProfileStringA("A", "outro", "x", Arquivo.c_str()), 1);
        ASSERT_EQ(WritePrivateProfileStringA("A", "k", "9", Arquivo.c_str()), 1);
        EXPECT_EQ(L.Le("A", "outro", "-", 64), "-") << "the batch reads the file as it read it";
        EXPECT_TRUE(L.Confirma());
        EXPECT_EQ(L.Le("A", "outro", "-", 64), "x") << "and after Confirma, as it is";
    }
    EXPECT_EQ(LeArquivo(Arquivo), "[A]\r\nk=2\r\noutro=x\r\n[B]\r\nn=1\r\n");
    ASSERT_TRUE(TPerfilEmLote(Arquivo).Grava("A", "k", "4"));  // dropped
    EXPECT_EQ(LeArquivo(Arquivo), "[A]\r\nk=2\r\noutro=x\r\n[B]\r\nn=1\r\n");
}

} // namespace
