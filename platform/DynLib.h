#pragma once
// Loading a shared library by name or path and finding its functions by name: what LoadLibrary and
// GetProcAddress give on Windows.
#include "platform/Export.h"

#include <memory>
#include <string>

class KOVANRT_API TBibliotecaDinamica {
public:
    TBibliotecaDinamica() = default;
    TBibliotecaDinamica(TBibliotecaDinamica&&) noexcept = default;
    TBibliotecaDinamica& operator=(TBibliotecaDinamica&&) noexcept = default;

    /// Loads Nome: a path when it holds a "/", otherwise through the system's library search. False,
    /// with the loader's reason in UltimoErro, when it cannot be loaded; a library already held is
    /// released first.
    bool Abre(const std::string& Nome) noexcept;
    bool Carregada() const noexcept { return Handle != nullptr; }
    /// Address of the symbol Nome, or null (with the reason in UltimoErro) when the library lacks it
    /// or none is loaded.
    void* Simbolo(const char* Nome) noexcept;
    /// The loader's last complaint, empty after a success.
    const std::string& UltimoErro() const noexcept { return Erro; }
    /// Keeps the library loaded for the rest of the process: the object lets go of it without
    /// unloading, so nothing found in it can ever dangle.
    void Retem() noexcept;

private:
    struct Fecha {
        void operator()(void* H) const noexcept;
    };
    std::unique_ptr<void, Fecha> Handle;
    std::string Erro;
};
