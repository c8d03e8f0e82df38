#include "runtime/Classes.h"

#include "platform/Ascii.h"
#include "runtime/Forms.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<const TFormClass*>& Registro()
{
    static std::vector<const TFormClass*> Classes;
    return Classes;
}

} // namespace

const TFormClass* GetClass(std::string_view Nome) noexcept
{
    for (const TFormClass* Classe : Registro())
        if (IguaisSemCaixa(Classe->ClassName, Nome))
            return Classe;
    return nullptr;
}

bool RegisterClass(const TFormClass& Classe)
{
    if (GetClass(Classe.ClassName))
        return false;
    Registro().push_back(&Classe);
    return true;
}

void UnRegisterClass(const TFormClass& Classe) noexcept
{
    auto& Classes = Registro();
    Classes.erase(std::remove(Classes.begin(), Classes.end(), &Classe), Classes.end());
}

TForm* CriaFormPorNome(std::string_view Nome, QWidget* Owner)
{
    const TFormClass* Classe = GetClass(Nome);
    TForm* Form = Classe ? Classe->Create(Owner) : nullptr;
    if (Form)
        ExecutaProtegido([Form] { Form->FormCreate(); });
    return Form;
}
