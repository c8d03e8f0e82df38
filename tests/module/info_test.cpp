// The descriptor and the callback table, through the entry points a host finds by name.
#include "module/info.h"

#include "ModuloCarregado.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<unsigned char> DescritorEsperado()
{
    std::vector<unsigned char> B(10460, 0);
    auto Texto = [&](std::size_t Pos, const std::string& T) { std::memcpy(&B[Pos], T.data(), T.size()); };
    auto U16 = [&](std::size_t Pos, unsigned V) { B[Pos] = V & 0xFF; B[Pos + 1] = (V >> 8) & 0xFF; };
    Texto(0, "1.1.1.0");
    Texto(11, "Mirabelo");
    Texto(62, "Configurador da rede Mirabelo.");
    Texto(92, std::string(6, '\n') + "(Kovan)");
    for (const auto& [Pos, V] : {std::pair{319u, 167u}, {321u, 171u}, {323u, 128u}, {325u, 100u}, {392u, 3u}, {10383u, 2u}})
        U16(Pos, V);
    const char* Telas[3][2] = {{"Estabelecimento", "TFormEstabelecimento_167171"},
                               {"Tabela Bins", "TFormTabelaBins_167171"},
                               {"Transa\xE7\xF5" "es Habilitadas", "TFormTransHab_167171"}};
    for (std::size_t I = 0; I < 3; ++I) {
        const std::size_t Base = 394 + 74 * I;
        Texto(Base, Telas[I][0]);
        U16(Base + 33, 1);
        Texto(Base + 41, Telas[I][1]);
    }
    Texto(9944, "Configurador Mirabelo.");
    return B;
}

// Each call the host's routine received, as "function|code|text".
std::vector<std::string> Chamadas;

void RotinaDoHost(std::int32_t Funcao, std::int32_t Codigo, char* Texto)
{
    Chamadas.push_back(std::to_string(Funcao) + "|" + std::to_string(Codigo) + "|" + Texto);
    std::memcpy(Texto, "00000456", 8);  // the host writes its reply over the preset text
}

} // namespace

TEST(Descritor, TodosOsBytesEmDoisBuffersDeLixosDiferentes)
{
    TModuloCarregado Modulo;
    auto Obtem = Modulo.Funcao<void (*)(TInfoModulo*)>("ObtemInformacoes");
    const std::vector<unsigned char> Esperado = DescritorEsperado();
    for (unsigned char Lixo : {0xAA, 0x5C}) {
        std::vector<unsigned char> Buffer(sizeof(TInfoModulo) + 16, Lixo);
        Obtem(reinterpret_cast<TInfoModulo*>(Buffer.data()));
        for (std::size_t I = 0; I < Esperado.size(); ++I)
            ASSERT_EQ(Buffer[I], Esperado[I]) << "byte " << I << " with garbage " << int(Lixo);
        for (std::size_t I = Esperado.size(); I < Buffer.size(); ++I)
            ASSERT_EQ(Buffer[I], Lixo) << "written past the record at " << I;
    }
}

TEST(TabelaDeCallBack, AntesEDepoisDeCallBackInformacoes)
{
    TModuloCarregado Modulo;
    auto Informa = Modulo.Funcao<void (*)(const TTabCallBack*)>("CallBackInformacoes");
    auto* Controle = Modulo.Funcao<bool*>("bControleCB");
    auto* Copia = Modulo.Funcao<TTabCallBack*>("TabCB");

    // The static copy of the module's units in this program stands for the screens' calls.
    char Preset[] = "00000000";
    CallBack(0, 301, Preset);
    EXPECT_TRUE(Chamadas.empty());

    TTabCallBack Tabela;
    std::memset(&Tabela, 0x77, sizeof Tabela);
    Tabela.CallBack0 = RotinaDoHost;
    EXPECT_FALSE(*Controle);
    Informa(&Tabela);
    EXPECT_TRUE(*Controle);
    EXPECT_EQ(std::memcmp(Copia, &Tabela, sizeof Tabela), 0);

    CallBackInformacoes(Copia);
    CallBack(0, 301, Preset);
    EXPECT_EQ(Chamadas, std::vector<std::string>{"0|301|00000000"});
    EXPECT_STREQ(Preset, "00000456");
}
