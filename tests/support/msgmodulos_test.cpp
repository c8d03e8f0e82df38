#include "support/msgmodulos.h"

#include "support/RaizTraducao.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

// What a host reads: entry n at (n - 1) * 512, CP1252 texts with a trailing blank kept, keys unique (the
// overrides find entries by key). The C form copies a NUL-terminated text cut to the buffer.
TEST(TabelaMsgModulos, FormaParaHostsEChavesUnicas)
{
    const auto Curta = [](const TShortString& S) { return std::string(S.Texto, S.Tamanho); };
    EXPECT_EQ(Curta(Tabela_Msg_Modulos[7].Chave) + "=" + Curta(Tabela_Msg_Modulos[7].Texto), "MsgAtencao=ATEN\xC7\xC3O");
    EXPECT_EQ(LeMensagens(MsgNomeEsp), "Nome ");
    std::set<std::string> Chaves;
    for (const TMsgModulo& E : Tabela_Msg_Modulos)
        EXPECT_TRUE(Chaves.insert(Curta(E.Chave)).second) << Curta(E.Chave);

    char Texto[8];
    EXPECT_EQ(LeMensagens(250, Texto, sizeof Texto), 5);
    EXPECT_STREQ(Texto, "Todas");
    EXPECT_EQ(LeMensagens(8, Texto, 5), 7);
    EXPECT_STREQ(Texto, "ATEN");
    EXPECT_EQ(LeMensagens(30, nullptr, 0), 39);
    EXPECT_EQ(LeMensagens(0, Texto, sizeof Texto), -1);
    EXPECT_STREQ(Texto, "");
    EXPECT_EQ(LeMensagens(745, Texto, sizeof Texto), -1);
    EXPECT_EQ(LeMensagens(745) + LeMensagens(0), "");
}

// Overrides are never undone by the module itself; the test puts the table back as it found it.
TEST(TabelaMsgModulos, SobreposicaoAplicadaEMantida)
{
    const std::vector<TMsgModulo> Copia(std::begin(Tabela_Msg_Modulos), std::end(Tabela_Msg_Modulos));
    TRaizTraducao Raiz;
    const auto Dicionario = Raiz.Config() / "dic.ini";
    Raiz.NomeiaDicionario(Dicionario.string());
    TRaizTeste::Grava(Dicionario, "[TabTraducao]\r\nMsgEmpTODAS=Todos\r\nMsgErro=\r\nMsgSenha=" + std::string(300, 'x') +
                                      "\r\nmsgsim=S\xED\r\n");
    CarregaMsg();
    // An empty override keeps the text; a long one is cut; keys match without regard to case.
    EXPECT_EQ((std::vector{LeMensagens(250), LeMensagens(9), LeMensagens(206), LeMensagens(219)}),
              (std::vector<std::string>{"Todos", "ERRO", std::string(255, 'x'), "S\xED"}));

    // Removed from the dictionary: the override stays for the module's lifetime.
    TRaizTeste::Grava(Dicionario, "[TabTraducao]\r\n");
    CarregaMsg();
    EXPECT_EQ(LeMensagens(250), "Todos");

    // The dictionary is found afresh on every call, here relative to the config folder.
    TRaizTeste::Grava(Raiz.Config() / "outro.ini", "[TabTraducao]\r\nMsgEmpTODAS=Tutte\r\n");
    Raiz.NomeiaDicionario("outro.ini");
    CarregaMsg();
    EXPECT_EQ(LeMensagens(250), "Tutte");
    std::copy(Copia.begin(), Copia.end(), Tabela_Msg_Modulos);
}

} // namespace
