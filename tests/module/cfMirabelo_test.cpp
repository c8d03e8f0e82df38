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

} // namespace

// The three screens registered on the way in and removed on the way out. A name another module holds
// already brings "ERRO E4" (with the error icon for the first screen only) and that module's class
// stays, on the way in and on the way out.
TEST(Registro, RegistraAsTresTelasERemoveNoFim)
{
    const std::pair<std::string, unsigned> Casos[] = {
        {"", 0}, {NomesDasTelas[0], MB_OK | MB_ICONERROR}, {NomesDasTelas[1], MB_OK}, {NomesDasTelas[2], MB_OK}};
    for (const auto& [Tomado, Flags] : Casos) {
        SCOPED_TRACE(Tomado);
        TCaixasTeste Caixas;
        const TFormClass Outra{Tomado.c_str(), FormDeOutroModulo};
        if (!Tomado.empty()) {
            ASSERT_TRUE(RegisterClass(Outra));
        }
        {
            TModuloCarregado Modulo;
            Modulo.Funcao<void (*)()>("Initialize")();
            ASSERT_EQ(Caixas.Caixas.size(), Tomado.empty() ? 0u : 1u);
            for (const TCaixaMostrada& C : Caixas.Caixas)
                EXPECT_EQ(C.Texto + "|" + C.Titulo + "|" + std::to_string(C.Flags),
                          "ERRO E4|Mirabelo|" + std::to_string(Flags));
            for (const char* Nome : NomesDasTelas)
                EXPECT_TRUE(Nome == Tomado ? GetClass(Nome) == &Outra : GetClass(Nome) != nullptr) << Nome;
            Modulo.Funcao<void (*)()>("Finalize")();
        }
        for (const char* Nome : NomesDasTelas)
            EXPECT_EQ(GetClass(Nome), Nome == Tomado ? &Outra : nullptr) << Nome << " after unloading";
        if (!Tomado.empty())
            UnRegisterClass(Outra);
    }
}
