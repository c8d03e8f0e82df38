#pragma once
// A network module loaded the way the server's configurator loads one: the library is opened, the
// runtime's Initialize registers its screens, and on the way out Finalize runs before the library
// is closed.
#include "platform/DynLib.h"

#include <stdexcept>
#include <string>

class TModuloRede {
public:
    /// Loads the module at Caminho and initialises it; throws std::runtime_error with the loader's
    /// reason when the file cannot be loaded or is not a network module.
    explicit TModuloRede(const std::string& Caminho);
    /// Finalises the module; every form it created must be gone by then.
    ~TModuloRede();
    TModuloRede(const TModuloRede&) = delete;
    TModuloRede& operator=(const TModuloRede&) = delete;

    /// The exported entry point Nome; throws when the module lacks it.
    template <class T>
    T Funcao(const char* Nome)
    {
        return reinterpret_cast<T>(Exige(Nome));
    }

    /// The default module file, the first libcfMirabelo.so found: beside the running program (a build
    /// folder), then in the installed module folder (PastaModulos from the program's folder). Throws
    /// std::runtime_error naming both places when neither holds it.
    static std::string CaminhoPadrao();
    /// The installed module folder, relative to the folder of the host programs.
    static const char* const PastaModulos;

private:
    void* Exige(const char* Nome);

    TBibliotecaDinamica Biblioteca;
};
