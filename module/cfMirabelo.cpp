// cfMirabelo: the package's main unit. The host's runtime calls Initialize after loading the module
// and Finalize before unloading it; between them the three screen classes are in the shared registry.
#include "module/info.h"
#include "runtime/Classes.h"
#include "runtime/Dialogs.h"
#include "screens/uFormEstabelecimento_167171.h"
#include "screens/uFormTabelaBins_167171.h"
#include "screens/uFormTransHab_167171.h"

namespace {

// The screen units in the order the module initialises them; each checks its name first, because
// another module may offer a screen of the same name.
struct TRegistroTela {
    const TFormClass* Classe;
    unsigned int Icone;
};

const TRegistroTela Registros[] = {
    {&ClasseFormEstabelecimento_167171, MB_ICONERROR},
    {&ClasseFormTransHab_167171, 0},
    {&ClasseFormTabelaBins_167171, 0},
};

} // namespace

KOVAN_EXPORT void Initialize()
{
    for (const TRegistroTela& Registro : Registros) {
        try {
            if (!GetClass(Registro.Classe->ClassName))
                RegisterClass(*Registro.Classe);
            else
                MessageBox("ERRO E4", "Mirabelo", MB_OK | Registro.Icone);
        } catch (...) {
            // Nothing crosses the boundary; a class that could not be registered stays unregistered.
        }
    }
}

KOVAN_EXPORT void Finalize()
{
    for (auto Registro = std::rbegin(Registros); Registro != std::rend(Registros); ++Registro)
        UnRegisterClass(*Registro->Classe);
}
