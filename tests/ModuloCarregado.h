#pragma once
// The module as a host sees it: libcfMirabelo.so from the build's bin folder, loaded with dlopen, its
// entry points found by name.
#include <cstdlib>
#include <dlfcn.h>
#include <stdexcept>
#include <string>

class TModuloCarregado {
public:
    TModuloCarregado()
    {
        const char* Pasta = std::getenv("KOVAN_BIN");
        const std::string Caminho = std::string(Pasta ? Pasta : ".") + "/libcfMirabelo.so";
        Handle = dlopen(Caminho.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!Handle)
            throw std::runtime_error(std::string("dlopen: ") + dlerror());
    }
    ~TModuloCarregado() { dlclose(Handle); }
    TModuloCarregado(const TModuloCarregado&) = delete;
    TModuloCarregado& operator=(const TModuloCarregado&) = delete;

    template <class T>
    T Funcao(const char* Nome) const
    {
        void* Simbolo = dlsym(Handle, Nome);
        if (!Simbolo)
            throw std::runtime_error(std::string("missing symbol ") + Nome);
        return reinterpret_cast<T>(Simbolo);
    }

private:
    void* Handle = nullptr;
};
