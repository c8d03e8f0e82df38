#include "platform/UserName.h"

#include "platform/Cp1252.h"

#include <cerrno>
#include <cstring>
#include <mutex>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

bool RegistroDoUsuario(uid_t Usuario, std::string& Nome, gid_t& Grupo) noexcept
{
    try {
        long Sugerido = sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> Area(Sugerido > 0 ? static_cast<std::size_t>(Sugerido) : 1024);
        passwd Registro{};
        passwd* Achado = nullptr;
        int Erro;
        while ((Erro = getpwuid_r(Usuario, &Registro, Area.data(), Area.size(), &Achado)) == ERANGE)
            Area.resize(Area.size() * 2);
        if (Erro != 0 || !Achado || !Achado->pw_name)
            return false;
        Nome = Achado->pw_name;
        Grupo = Achado->pw_gid;
        return true;
    } catch (...) {
        return false;
    }
}

namespace {

/// The login name (CP1252) of a user id, or empty when it has no entry.
std::string NomeDoUsuario(uid_t Usuario)
{
    std::string Nome;
    gid_t Grupo;
    // Login names are UTF-8 on Linux, the module speaks CP1252.
    return RegistroDoUsuario(Usuario, Nome, Grupo) ? Utf8ParaCp1252(Nome) : std::string();
}

} // namespace

std::uint32_t WNetGetUserA(const char* Recurso, char* Nome, std::uint32_t* Tamanho) noexcept
{
    if (Recurso || !Tamanho)
        return ERROR_INVALID_PARAMETER;
    try {
        // Every audit entry names the user, and the user database is a file read and parsed at each
        // look-up: the name is kept for the effective user it was found for.
        static std::mutex Trava;
        static uid_t Conhecido;
        static std::string Guardado;  // empty: not looked up yet (or no entry)
        std::string Usuario;
        {
            const uid_t Efetivo = geteuid();
            std::lock_guard<std::mutex> Exclusivo(Trava);
            if (Guardado.empty() || Conhecido != Efetivo) {
                Guardado = NomeDoUsuario(Efetivo);
                Conhecido = Efetivo;
            }
            Usuario = Guardado;
        }
        if (Usuario.empty())
            return ERROR_NOT_CONNECTED;
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
