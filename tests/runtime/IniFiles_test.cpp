#include "runtime/IniFiles.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class TIniFileTeste : public testing::Test {
protected:
    void SetUp() override
    {
        std::string Modelo = (fs::temp_directory_path() / "kovan-inifile-XXXXXX").string();
        ASSERT_NE(mkdtemp(Modelo.data()), nullptr);
        Pasta = Modelo;
        Arquivo = (Pasta / "Mirabelo.ini").string();
    }
    void TearDown() override
    {
        std::error_code Erro;
        fs::remove_all(Pasta, Erro);
    }
    void Grava(const std::string& Texto)
    {
        std::ofstream F(Arquivo, std::ios::binary | std::ios::trunc);
        F << Texto;
    }
    std::string Conteudo()
    {
        std::ifstream F(Arquivo, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(F), {});
    }

    fs::path Pasta;
    std::string Arquivo;
};

TEST_F(TIniFileTeste, LeTextoComPadrao)
{
    Grava("[Geral]\r\nCodigoEstabelecimento=123\r\nVazio=\r\n");
    const TIniFile Ini(Arquivo);
    EXPECT_EQ(Ini.FileName(), Arquivo);
    EXPECT_EQ(Ini.ReadString("geral", "codigoestabelecimento", "x"), "123");
    EXPECT_EQ(Ini.ReadString("Geral", "Vazio", "x"), "");
    EXPECT_EQ(Ini.ReadString("Geral", "Falta", "x"), "x");
    EXPECT_EQ(Ini.ReadString("Outra", "Falta", ""), "");
    EXPECT_EQ(TIniFile((Pasta / "nao.ini").string()).ReadString("Geral", "K", "padrao"), "padrao");
}

TEST_F(TIniFileTeste, LeTextoAte2047Bytes)
{
    Grava("[A]\r\nK=" + std::string(3000, 'v') + "\r\n");
    EXPECT_EQ(TIniFile(Arquivo).ReadString("A", "K", ""), std::string(2047, 'v'));
}

TEST_F(TIniFileTeste, LeInteiroEBooleano)
{
    Grava("[A]\r\nI=42\r\nN=-7\r\nH=0x1F\r\nD=$10\r\nT=abc\r\nM=12abc\r\nG=99999999999\r\nE=\r\nB0=0\r\nB2=2\r\n");
    const TIniFile Ini(Arquivo);
    EXPECT_EQ(Ini.ReadInteger("A", "I", 5), 42);
    EXPECT_EQ(Ini.ReadInteger("A", "N", 5), -7);
    EXPECT_EQ(Ini.ReadInteger("A", "H", 5), 31);
    EXPECT_EQ(Ini.ReadInteger("A", "D", 5), 16);
    EXPECT_EQ(Ini.ReadInteger("A", "T", 5), 5);
    EXPECT_EQ(Ini.ReadInteger("A", "M", 5), 5);
    EXPECT_EQ(Ini.ReadInteger("A", "G", 5), 5);
    EXPECT_EQ(Ini.ReadInteger("A", "E", 5), 5);
    EXPECT_EQ(Ini.ReadInteger("A", "Falta", 5), 5);
    EXPECT_FALSE(Ini.ReadBool("A", "B0", true));
    EXPECT_TRUE(Ini.ReadBool("A", "B2", false));
    EXPECT_TRUE(Ini.ReadBool("A", "N", false));
    EXPECT_TRUE(Ini.ReadBool("A", "T", true));
    EXPECT_FALSE(Ini.ReadBool("A", "T", false));
    EXPECT_TRUE(Ini.ReadBool("A", "Falta", true));
}

TEST_F(TIniFileTeste, GravaECriaArquivo)
{
    TIniFile Ini(Arquivo);
    Ini.WriteString("Geral", "Nome", "Jo\xe3o");
    Ini.WriteInteger("Geral", "Numero", -12);
    Ini.WriteBool("Geral", "Ativo", true);
    Ini.WriteBool("Geral", "Inativo", false);
    EXPECT_EQ(Conteudo(), "[Geral]\r\nNome=Jo\xe3o\r\nNumero=-12\r\nAtivo=1\r\nInativo=0\r\n");
    EXPECT_EQ(Ini.ReadInteger("Geral", "Numero", 0), -12);
}

TEST_F(TIniFileTeste, ListaSecoesChavesEValores)
{
    Grava("[A]\r\nk1=1\r\n;c=0\r\nk2 = dois \r\n[Vazia]\r\n[B]\r\nx=\"q\"\r\n");
    const TIniFile Ini(Arquivo);
    std::vector<std::string> L{"lixo"};
    Ini.ReadSections(L);
    EXPECT_EQ(L, (std::vector<std::string>{"A", "Vazia", "B"}));
    Ini.ReadSection("a", L);
    EXPECT_EQ(L, (std::vector<std::string>{"k1", "k2"}));
    Ini.ReadSectionValues("A", L);
    EXPECT_EQ(L, (std::vector<std::string>{"k1=1", "k2=dois"}));
    Ini.ReadSectionValues("B", L);
    EXPECT_EQ(L, (std::vector<std::string>{"x=q"}));
    Grava("[D]\r\nk=1\r\nK=2\r\nv=  '  a b '  \r\nlonga=" + std::string(3000, 'x') + "\r\n");
    Ini.ReadSectionValues("d", L);
    EXPECT_EQ(L, (std::vector<std::string>{"k=1", "K=1", "v=  a b ", "longa=" + std::string(2047, 'x')}));
    Grava("[A]\r\nk1=1\r\n;c=0\r\nk2 = dois \r\n[Vazia]\r\n[B]\r\nx=\"q\"\r\n");
    Ini.ReadSection("Falta", L);
    EXPECT_TRUE(L.empty());
    EXPECT_TRUE(Ini.SectionExists("b"));
    EXPECT_FALSE(Ini.SectionExists("Vazia"));
    EXPECT_FALSE(Ini.SectionExists("Falta"));
    EXPECT_TRUE(Ini.ValueExists("A", "K2"));
    EXPECT_FALSE(Ini.ValueExists("A", "c"));
    EXPECT_FALSE(Ini.ValueExists("Falta", "k1"));
}

TEST_F(TIniFileTeste, ListasGrandes)
{
    TIniFile Ini(Arquivo);
    std::string Texto = "[A]\r\n";
    for (int I = 0; I < 3000; ++I)
        Texto += "chave_numero_" + std::to_string(I) + "=" + std::to_string(I) + "\r\n";
    Grava(Texto);
    std::vector<std::string> L;
    Ini.ReadSection("A", L);
    ASSERT_EQ(L.size(), 3000u);
    EXPECT_EQ(L.back(), "chave_numero_2999");
}

TEST_F(TIniFileTeste, ApagaSecaoEChave)
{
    Grava("[A]\r\nk=1\r\nj=2\r\n[B]\r\nx=1\r\n");
    TIniFile Ini(Arquivo);
    Ini.DeleteKey("A", "K");
    Ini.DeleteKey("A", "falta");
    Ini.EraseSection("b");
    Ini.EraseSection("Falta");
    EXPECT_EQ(Conteudo(), "[A]\r\nj=2\r\n");
    TIniFile Ausente((Pasta / "nao.ini").string());
    Ausente.EraseSection("A");
    Ausente.DeleteKey("A", "k");
    EXPECT_FALSE(fs::exists(Pasta / "nao.ini"));
}

TEST_F(TIniFileTeste, FalhaDeGravacaoLancaComONomeDoArquivo)
{
    Grava("[A]\r\nk=1\r\n");
    ASSERT_TRUE(SetFileAttributesA(Arquivo, FILE_ATTRIBUTE_READONLY));
    TIniFile Ini(Arquivo);
    for (auto Acao : std::vector<std::function<void()>>{
             [&] { Ini.WriteString("A", "k", "2"); }, [&] { Ini.WriteInteger("A", "k", 2); },
             [&] { Ini.WriteBool("A", "k", false); }, [&] { Ini.EraseSection("A"); }, [&] { Ini.DeleteKey("A", "k"); }}) {
        try {
            Acao();
            ADD_FAILURE() << "no exception";
        } catch (const EIniFileException& E) {
            EXPECT_NE(std::string(E.what()).find(Arquivo), std::string::npos) << E.what();
        }
    }
    EXPECT_EQ(Conteudo(), "[A]\r\nk=1\r\n");

    TIniFile SemPasta((Pasta / "nodir" / "x.ini").string());
    EXPECT_THROW(SemPasta.WriteString("A", "k", "1"), EIniFileException);
    TIniFile Bom(Arquivo + ".novo");
    EXPECT_THROW(Bom.WriteString("A", "k", "linha\r\nInjetada=1"), EIniFileException);
}

} // namespace
