#pragma once
// The event log of a test: KOVAN_EVENTLOG pointed at a fresh JSON-lines file while the object lives;
// and a file made unchangeable for real (immutable for root, a read-only folder for anyone else).
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/fs.h>
#include <optional>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

class TLogEventosTeste {
public:
    explicit TLogEventosTeste(std::filesystem::path Arquivo) : Arquivo(std::move(Arquivo))
    {
        if (const char* Atual = std::getenv("KOVAN_EVENTLOG"))
            Anterior = Atual;
        setenv("KOVAN_EVENTLOG", this->Arquivo.c_str(), 1);
    }
    ~TLogEventosTeste()
    {
        if (Anterior)
            setenv("KOVAN_EVENTLOG", Anterior->c_str(), 1);
        else
            unsetenv("KOVAN_EVENTLOG");
    }
    TLogEventosTeste(const TLogEventosTeste&) = delete;
    TLogEventosTeste& operator=(const TLogEventosTeste&) = delete;

    /// The entries written since the last call.
    std::vector<nlohmann::json> Entradas() const
    {
        std::vector<nlohmann::json> E;
        std::ifstream Entrada(Arquivo);
        for (std::string Linha; std::getline(Entrada, Linha);)
            E.push_back(nlohmann::json::parse(Linha));
        std::filesystem::remove(Arquivo);
        return E;
    }

private:
    std::filesystem::path Arquivo;
    std::optional<std::string> Anterior;
};

/// Makes the file impossible to change, replace or remove, or undoes it (Travar false). False when
/// this system allows neither way.
inline bool TravaArquivoTeste(const std::filesystem::path& Arquivo, bool Travar)
{
    if (geteuid() != 0)
        return chmod(Arquivo.parent_path().c_str(), Travar ? 0555 : 0755) == 0;
    const int Fd = open(Arquivo.c_str(), O_RDONLY);
    int Flags = 0;
    bool Ok = Fd >= 0 && ioctl(Fd, FS_IOC_GETFLAGS, &Flags) == 0;
    Flags = Travar ? (Flags | FS_IMMUTABLE_FL) : (Flags & ~FS_IMMUTABLE_FL);
    Ok = Ok && ioctl(Fd, FS_IOC_SETFLAGS, &Flags) == 0;
    if (Fd >= 0)
        close(Fd);
    return Ok;
}
