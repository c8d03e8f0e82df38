#include "platform/DynLib.h"

#include <dlfcn.h>

void TBibliotecaDinamica::Fecha::operator()(void* H) const noexcept
{
    dlclose(H);
}

bool TBibliotecaDinamica::Abre(const std::string& Nome) noexcept
{
    Handle.reset();
    Erro.clear();
    Handle.reset(dlopen(Nome.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!Handle) {
        const char* Motivo = dlerror();
        Erro = Motivo ? Motivo : "cannot load " + Nome;
        return false;
    }
    return true;
}

void* TBibliotecaDinamica::Simbolo(const char* Nome) noexcept
{
    Erro.clear();
    if (!Handle) {
        Erro = "no library loaded";
        return nullptr;
    }
    dlerror();
    void* Endereco = dlsym(Handle.get(), Nome);
    if (!Endereco) {
        const char* Motivo = dlerror();
        Erro = Motivo ? Motivo : std::string(Nome) + ": symbol is null";
    }
    return Endereco;
}

void TBibliotecaDinamica::Retem() noexcept
{
    (void)Handle.release();
}
