#include "support/msgmodulos.h"

#include "support/RaizTraducao.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// What a host reads: entry n at (n - 1) * 512, key and text each a length byte and 255 bytes, texts in
// CP1252 with a trailing blank kept; every one of the 744 keys unique, as the overrides find entries by
// key. The C form copies a NUL-terminated text cut to the buffer and answers its full length.
TEST(TabelaMsgModulos, FormaParaHostsEChavesUnicas)
{
    const auto Curta = [](const TShortString& S) { return std::string(S.Texto, S.Tamanho); };
    EXPECT_EQ(Curta(Tabela_Msg_Modulos[7].Chave) + "=" + Curta(Tabela_Msg_Modulos[7].Texto), "MsgAtencao=ATEN\xC7\xC3O");
    EXPECT_EQ(LeMensagens(MsgUserNaoAutorizado), "Usu\xE1rio n\xE3o autorizado para essa op\xE7\xE3o.");
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
    EXPECT_EQ(LeMensagens(745), "");
}

// Overrides are never undone by the module itself; the test puts the table back as it found it.
TEST(TabelaMsgModulos, SobreposicaoAplicadaEMantida)
{
    std::vector<char> Copia(sizeof Tabela_Msg_Modulos);
    std::memcpy(Copia.data(), Tabela_Msg_Modulos, Copia.size());
    TRaizTraducao Raiz;
    const auto Dicionario = Raiz.Config() / "dic.ini";
    Raiz.NomeiaDicionario(Dicionario.string());
    TRaizTeste::Grava(Dicionario, "[TabTraducao]\r\nMsgEmpTODAS=Todos\r\nMsgErro=\r\nMsgSenha=" + std::string(300, 'x') +
                                      "\r\nmsgsim=S\xED\r\n");
    CarregaMsg();
    EXPECT_EQ(LeMensagens(250), "Todos");
    EXPECT_EQ(LeMensagens(9), "ERRO") << "an empty override keeps the text";
    EXPECT_EQ(LeMensagens(206), std::string(255, 'x'));
    EXPECT_EQ(LeMensagens(219), "S\xED") << "keys match without regard to case";

    // Removed from the dictionary: the override stays for the module's lifetime.
    TRaizTeste::Grava(Dicionario, "[TabTraducao]\r\n");
    CarregaMsg();
    EXPECT_EQ(LeMensagens(250), "Todos");

    // The dictionary is found afresh on every call, here relative to the config folder.
    TRaizTeste::Grava(Raiz.Config() / "outro.ini", "[TabTraducao]\r\nMsgEmpTODAS=Tutte\r\n");
    Raiz.NomeiaDicionario("outro.ini");
    CarregaMsg();
    EXPECT_EQ(LeMensagens(250), "Tutte");
    std::memcpy(Tabela_Msg_Modulos, Copia.data(), Copia.size());
}

} // namespace
