#include "support/msgmodulos.h"

#include "support/RaizTraducao.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct TMsgEsperada {
    int Numero;
    const char* Chave;
    const char* Texto; // CP1252 bytes
};

const TMsgEsperada MsgEsperadas[] = {
    {8, "MsgAtencao", "ATEN\xC7\xC3O"},
    {30, "MsgUserNaoAutorizado", "Usu\xE1rio n\xE3o autorizado para essa op\xE7\xE3o."},
    {246, "MsgNomeEsp", "Nome "},
    {250, "MsgEmpTODAS", "Todas"},
    {743, "MsgCodGrupoNaoCadastrado", "C\xF3""digo de grupo n\xE3o est\xE1 cadastrado."},
};

// Entries byte for byte: accented texts in CP1252, a trailing blank kept, the first and last numbers the
// module shows; every one of the 744 keys unique, as the overrides find entries by key.
TEST(TabelaMsgModulos, EntradasListadasEChavesUnicas)
{
    for (const TMsgEsperada& M : MsgEsperadas) {
        SCOPED_TRACE(M.Chave);
        const TMsgModulo& Entrada = Tabela_Msg_Modulos[M.Numero - 1];
        EXPECT_EQ(std::string(Entrada.Chave.Texto, Entrada.Chave.Tamanho), M.Chave);
        EXPECT_EQ(std::string(Entrada.Texto.Texto, Entrada.Texto.Tamanho), M.Texto);
        EXPECT_EQ(LeMensagens(M.Numero), M.Texto);
    }
    std::set<std::string> Chaves;
    for (const TMsgModulo& Entrada : Tabela_Msg_Modulos) {
        const std::string Chave(Entrada.Chave.Texto, Entrada.Chave.Tamanho);
        EXPECT_TRUE(Chaves.insert(Chave).second) << Chave;
    }
    EXPECT_EQ(Chaves.size(), 744u);
}

// What a host reads: entry n at (n - 1) * 512, key and text each a length byte and 255 bytes; the
// C form copies a NUL-terminated text cut to the buffer and answers its full length.
TEST(TabelaMsgModulos, FormaParaHosts)
{
    const auto* Bytes = reinterpret_cast<const unsigned char*>(Tabela_Msg_Modulos);
    const unsigned char* Entrada = Bytes + 7 * 512;
    EXPECT_EQ(Entrada[0], 10);
    EXPECT_EQ(std::memcmp(Entrada + 1, "MsgAtencao", 10), 0);
    EXPECT_EQ(Entrada[256], 7);
    EXPECT_EQ(std::memcmp(Entrada + 257, "ATEN\xC7\xC3O", 7), 0);

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
    CarregaMsg();  // no TabTraducao.ini, then a dictionary that is missing: nothing changes
    Raiz.NomeiaDicionario((Raiz.Config() / "ausente.ini").string());
    CarregaMsg();
    EXPECT_EQ(LeMensagens(250), "Todas");

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
