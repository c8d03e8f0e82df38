// Loading and unloading the module as the host does: dlopen, Initialize, Finalize, dlclose.
#include "CaixasTeste.h"
#include "ModuloCarregado.h"
#include "runtime/Classes.h"
#include "runtime/Forms.h"

#include <gtest/gtest.h>

namespace {

const char* const NomesDasTelas[] = {"TFormEstabelecimento_167171", "TFormTransHab_167171", "TFormTabelaBins_167171"};

TForm* FormDeOutroModulo(QWidget* Owner)
{
    return new TForm(Owner);
}

void ConfereRegistradas(bool Registradas)
{
    for (const char* Nome : NomesDasTelas)
        EXPECT_EQ(GetClass(Nome) != nullptr, Registradas) << Nome;
}

} // namespace

// The three screens registered on the way in and removed on the way out. A name another module holds
// already brings "ERRO E4" (with the error icon for the first screen only) and that module's class
// stays, on the way in and on the way out.
TEST(Registro, RegistraAsTresTelasERemoveNoFim)
{
    struct {
        const char* Tomado;
        unsigned int Flags;
    } Casos[] = {
        {"", 0},
        {"TFormEstabelecimento_167171", MB_OK | MB_ICONERROR},
        {"TFormTransHab_167171", MB_OK},
        {"TFormTabelaBins_167171", MB_OK},
    };
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(Caso.Tomado);
        TCaixasTeste Caixas;
        const TFormClass Outra{Caso.Tomado, FormDeOutroModulo};
        const bool Tomado = *Caso.Tomado != '\0';
        if (Tomado) {
            ASSERT_TRUE(RegisterClass(Outra));
        }
        {
            TModuloCarregado Modulo;
            Modulo.Funcao<void (*)()>("Initialize")();
            ASSERT_EQ(Caixas.Caixas.size(), Tomado ? 1u : 0u);
            if (Tomado) {
                EXPECT_EQ(Caixas.Caixas[0].Texto + "|" + Caixas.Caixas[0].Titulo, "ERRO E4|Mirabelo");
                EXPECT_EQ(Caixas.Caixas[0].Flags, Caso.Flags);
                EXPECT_EQ(GetClass(Caso.Tomado), &Outra);
            }
            ConfereRegistradas(true);
            Modulo.Funcao<void (*)()>("Finalize")();
        }
        if (Tomado) {
            EXPECT_EQ(GetClass(Caso.Tomado), &Outra) << "unloading leaves the other module's class";
            UnRegisterClass(Outra);
        }
        ConfereRegistradas(false);
    }
}
