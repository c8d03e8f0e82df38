#include "runtime/IniFiles.h"

#include "platform/Files.h"
#include "RaizTeste.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class TIniFileTeste : public testing::Test {
protected:
    void Grava(const std::string& Texto) { TRaizTeste::Grava(Arquivo, Texto); }
    std::string Conteudo() const { return TRaizTeste::Le(Arquivo); }

    TRaizTeste Raiz;
    std::string Arquivo = (Raiz.Pasta / "Mirabelo.ini").string();
};

using TLista = std::vector<std::string>;

TEST_F(TIniFileTeste, LeTextoEInteiro)
{
    Grava("[Geral]\r\nCodigoEstabelecimento=123\r\nVazio=\r\nLongo=" + std::string(3000, 'v') +
          "\r\n[A]\r\nI=42\r\nN=-7\r\nH=0x1F\r\nD=$10\r\nT=abc\r\nM=12abc\r\nG=99999999999\r\nE=\r\n");
    const TIniFile Ini(Arquivo);
    EXPECT_EQ(Ini.ReadString("geral", "codigoestabelecimento", "x"), "123");
    EXPECT_EQ(Ini.ReadString("Geral", "Vazio", "x"), "");
    EXPECT_EQ(Ini.ReadString("Geral", "Falta", "x"), "x");
    EXPECT_EQ(Ini.ReadString("Geral", "Longo", ""), std::string(2047, 'v'));
    const std::pair<const char*, int> Inteiros[] = {{"I", 42}, {"N", -7}, {"H", 31}, {"D", 16}, {"T", 5},
                                                    {"M", 5},  {"G", 5},  {"E", 5},  {"Falta", 5}};
    for (const auto& [Chave, Valor] : Inteiros)
        EXPECT_EQ(Ini.ReadInteger("A", Chave, 5), Valor) << Chave;
}

// The file's syntax (names without regard to case, comments, quotes, repeated keys, the written lines)
// is the private-profile engine's; here what the object adds: listings of any length, values cut to
// 2047 characters.
TEST_F(TIniFileTeste, ListaSecoesChavesEValores)
{
    std::string Grande = "[A]\r\nk1=1\r\nk2 = dois \r\nlonga=" + std::string(3000, 'x') + "\r\n[Vazia]\r\n[G]\r\n";
    for (int I = 0; I < 3000; ++I)
        Grande += "chave_numero_" + std::to_string(I) + "=" + std::to_string(I) + "\r\n";
    Grava(Grande);
    const TIniFile Ini(Arquivo);
    TLista L{"lixo"};
    Ini.ReadSections(L);
    EXPECT_EQ(L, (TLista{"A", "Vazia", "G"}));
    Ini.ReadSectionValues("a", L);
    EXPECT_EQ(L, (TLista{"k1=1", "k2=dois", "longa=" + std::string(2047, 'x')}));
    Ini.ReadSection("G", L);
    ASSERT_EQ(L.size(), 3000u);
    EXPECT_EQ(L.back(), "chave_numero_2999");
    Ini.ReadSection("Falta", L);
    EXPECT_TRUE(L.empty());
}

TEST_F(TIniFileTeste, FalhaDeGravacaoLancaComONomeDoArquivo)
{
    Grava("[A]\r\nk=1\r\n");
    ASSERT_TRUE(SetFileAttributesA(Arquivo, FILE_ATTRIBUTE_READONLY));
    TIniFile Ini(Arquivo);
    for (auto Acao : std::vector<std::function<void()>>{
             [&] { Ini.WriteString("A", "k", "2"); }, [&] { Ini.EraseSection("A"); }, [&] { Ini.DeleteKey("A", "k"); }}) {
        try {
            Acao();
            ADD_FAILURE() << "no exception";
        } catch (const EIniFileException& E) {
            EXPECT_NE(std::string(E.what()).find(Arquivo), std::string::npos) << E.what();
        }
    }
    EXPECT_EQ(Conteudo(), "[A]\r\nk=1\r\n");
    EXPECT_THROW(TIniFile((Raiz.Pasta / "nodir" / "x.ini").string()).WriteString("A", "k", "1"), EIniFileException);
}

} // namespace
