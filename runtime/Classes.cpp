#include "runtime/Classes.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<const TFormClass*>& Registro()
{
    static std::vector<const TFormClass*> Classes;
    return Classes;
}

bool MesmoNome(std::string_view A, std::string_view B) noexcept
{
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               auto Min = [](char C) { return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C; };
               return Min(X) == Min(Y);
           });
}

} // namespace

const TFormClass* GetClass(std::string_view Nome) noexcept
{
    for (const TFormClass* Classe : Registro())
        if (MesmoNome(Classe->ClassName, Nome))
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
    return Classe ? Classe->Create(Owner) : nullptr;
}
