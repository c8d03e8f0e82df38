// The enabled-transactions rules a screen and the tool share (their load and save: the screen and tool tests).
#include "config/TransHab.h"

#include "platform/Cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(TransHab, ValidaAsParcelasComoATela)
{
    struct {
        const char* Parcelas;
        bool Habilitadas;
        std::optional<TErroTransHab> Erro;
    } Casos[] = {{"", true, TErroTransHab::InformeParcelas}, {"0", true, TErroTransHab::ParcelasInvalido},
                 {"00", true, TErroTransHab::ParcelasInvalido}, {"01", true, {}},
                 {"99", true, {}}, {"", false, {}}, {"0", false, {}},
                 {"100", false, TErroTransHab::ParcelasInvalido}, {"1a", true, TErroTransHab::ParcelasInvalido}};
    for (const auto& C : Casos) {
        TTransHab V;
        V.NumeroParcelas = C.Parcelas;
        EXPECT_EQ(RegrasTransHab::Valida(V, C.Habilitadas), C.Erro) << C.Parcelas << " " << C.Habilitadas;
    }
    EXPECT_EQ(RegrasTransHab::Mensagem(TErroTransHab::InformeParcelas), Utf8ParaCp1252("Informe o número de parcelas."));
}

} // namespace
