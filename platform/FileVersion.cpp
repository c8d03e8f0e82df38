#include "platform/FileVersion.h"

#include "platform/Files.h"

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <memory>
#include <string>

namespace {

struct FechaBiblioteca {
    void operator()(void* H) const noexcept { dlclose(H); }
};

// Only ELF files are offered to the loader: anything else has no version to report.
bool EhElf(const std::string& Caminho)
{
    std::FILE* F = std::fopen(Caminho.c_str(), "rb");
    if (!F)
        return false;
    char Magico[4] = {};
    const bool Elf = std::fread(Magico, 1, 4, F) == 4 && std::memcmp(Magico, "\x7f" "ELF", 4) == 0;
    std::fclose(F);
    return Elf;
}

} // namespace

bool VersaoDoArquivo(std::string_view Caminho, std::array<std::uint16_t, 4>& Partes) noexcept
{
    try {
        Partes = {};
        const std::string Local = CaminhoLocal(Caminho);
        if (!FileExists(Local) || !EhElf(Local))
            return false;
        std::unique_ptr<void, FechaBiblioteca> Biblioteca{dlopen(Local.c_str(), RTLD_LAZY | RTLD_LOCAL)};
        if (!Biblioteca)
            return false;
        using TVersao = const char* (*)();
        auto Versao = reinterpret_cast<TVersao>(dlsym(Biblioteca.get(), "sqlite3_libversion"));
        const char* Texto = Versao ? Versao() : nullptr;
        if (!Texto)
            return false;
        unsigned Numeros[4] = {};
        const int Lidos = std::sscanf(Texto, "%u.%u.%u.%u", &Numeros[0], &Numeros[1], &Numeros[2], &Numeros[3]);
        if (Lidos < 1)
            return false;
        for (int I = 0; I < 4; ++I)
            Partes[I] = static_cast<std::uint16_t>(Numeros[I]);
        return true;
    } catch (...) {
        return false;
    }
}
