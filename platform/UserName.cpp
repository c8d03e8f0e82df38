#include "platform/UserName.h"

#include "platform/Cp1252.h"

#include <cerrno>
#include <cstring>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

std::uint32_t WNetGetUserA(const char* Recurso, char* Nome, std::uint32_t* Tamanho) noexcept
{
    if (Recurso || !Tamanho)
        return ERROR_INVALID_PARAMETER;
    try {
        long Sugerido = sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> Area(Sugerido > 0 ? static_cast<std::size_t>(Sugerido) : 1024);
        passwd Registro{};
        passwd* Achado = nullptr;
        int Erro;
        while ((Erro = getpwuid_r(geteuid(), &Registro, Area.data(), Area.size(), &Achado)) == ERANGE)
            Area.resize(Area.size() * 2);
        if (Erro != 0 || !Achado || !Achado->pw_name || !*Achado->pw_name)
            return ERROR_NOT_CONNECTED;
        // Login names are UTF-8 on Linux, the module speaks CP1252.
        const std::string Usuario = Utf8ParaCp1252(Achado->pw_name);
        const auto Necessario = static_cast<std::uint32_t>(Usuario.size() + 1);
        if (!Nome || *Tamanho < Necessario) {
            *Tamanho = Necessario;
            return ERROR_MORE_DATA;
        }
        std::memcpy(Nome, Usuario.c_str(), Necessario);
        return NO_ERROR;
    } catch (...) {
        return ERROR_NOT_CONNECTED;
    }
}
