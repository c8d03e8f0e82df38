#pragma once
// The class registry that hosts and modules share: a module registers its screen classes by name
// when the host initialises it, and the host creates screens from those names.
#include "platform/Export.h"

#include <string>
#include <string_view>

class QWidget;
class TForm;

/// A form class as the registry knows it: its name and how to create an instance.
struct TFormClass {
    const char* ClassName;
    TForm* (*Create)(QWidget* Owner);
};

/// The class registered under Nome (case-insensitive, like the host's runtime), or null.
KOVANRT_API const TFormClass* GetClass(std::string_view Nome) noexcept;
/// Registers Classe under its own name; false, and the registry unchanged, when the name is taken.
KOVANRT_API bool RegisterClass(const TFormClass& Classe);
/// Removes Classe; a class that is not the one registered under its name leaves the registry as it is.
KOVANRT_API void UnRegisterClass(const TFormClass& Classe) noexcept;

/// Creates a form of the class registered under Nome and runs its FormCreate; null when there is no
/// such class.
KOVANRT_API TForm* CriaFormPorNome(std::string_view Nome, QWidget* Owner);
