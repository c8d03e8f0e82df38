#include "platform/Files.h"

#include "platform/Ascii.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FechaDir {
    void operator()(DIR* D) const noexcept { closedir(D); }
};
using DirPtr = std::unique_ptr<DIR, FechaDir>;

bool Existe(const std::string& Caminho) noexcept
{
    struct stat St;
    return lstat(Caminho.c_str(), &St) == 0;
}

// The entry of Pai whose name equals Nome without regard to case; Nome itself when none does.
std::string ProcuraSemCaixa(const std::string& Pai, const std::string& Nome)
{
    DirPtr D(opendir(Pai.empty() ? "." : Pai.c_str()));
    if (!D)
        return Nome;
    while (dirent* E = readdir(D.get()))
        if (IguaisSemCaixa(E->d_name, Nome))
            return E->d_name;
    return Nome;
}

// The path as written is tried first: in the common case it exists with that spelling, and one
// system call answers. Only a miss pays for the case-insensitive walk.
bool StatCaminho(std::string_view Caminho, struct stat& St) noexcept
{
    try {
        const std::string Barras = ComBarras(Caminho);
        if (stat(Barras.c_str(), &St) == 0)
            return true;
        if (errno != ENOENT && errno != ENOTDIR)
            return false;
        const std::string Local = CaminhoLocal(Barras);
        return Local != Barras && stat(Local.c_str(), &St) == 0;
    } catch (...) {
        return false;
    }
}

} // namespace

std::string ComBarras(std::string_view Caminho)
{
    std::string Barras(Caminho);
    std::replace(Barras.begin(), Barras.end(), '\\', '/');
    return Barras;
}

std::string CaminhoLocal(std::string_view Caminho)
{
    const std::string Barras = ComBarras(Caminho);
    if (Barras.empty() || Existe(Barras))
        return Barras;

    // Walk the components from the start, keeping what exists and matching the rest without case.
    std::string Resultado;
    std::size_t Inicio = 0;
    if (Barras[0] == '/') {
        Resultado = "/";
        Inicio = 1;
    }
    bool Perdido = false;  // a component was not found: nothing below it can exist
    while (Inicio <= Barras.size()) {
        std::size_t Fim = Barras.find('/', Inicio);
        if (Fim == std::string::npos)
            Fim = Barras.size();
        std::string Componente = Barras.substr(Inicio, Fim - Inicio);
        if (!Componente.empty()) {
            std::string Pai = Resultado;
            if (!Perdido && Componente != "." && Componente != "..") {
                std::string Candidato = Pai + Componente;
                if (!Existe(Candidato)) {
                    Componente = ProcuraSemCaixa(Pai.empty() ? std::string() : Pai, Componente);
                    Perdido = !Existe(Pai + Componente);
                }
            }
            Resultado += Componente;
        }
        if (Fim < Barras.size() && (Resultado.empty() || Resultado.back() != '/'))
            Resultado += '/';
        Inicio = Fim + 1;
    }
    return Resultado;
}

std::string CaminhoExecutavelAtual()
{
    char Caminho[4096];
    const ssize_t Tamanho = readlink("/proc/self/exe", Caminho, sizeof Caminho - 1);
    return Tamanho > 0 ? std::string(Caminho, static_cast<std::size_t>(Tamanho)) : std::string();
}

bool FileExists(std::string_view Caminho) noexcept
{
    struct stat St;
    return StatCaminho(Caminho, St) && !S_ISDIR(St.st_mode);
}

bool DirectoryExists(std::string_view Caminho) noexcept
{
    struct stat St;
    return StatCaminho(Caminho, St) && S_ISDIR(St.st_mode);
}

bool CreateDirectoryA(std::string_view Caminho) noexcept
{
    try {
        return mkdir(CaminhoLocal(Caminho).c_str(), 0777) == 0;
    } catch (...) {
        return false;
    }
}

bool ForceDirectories(std::string_view Caminho) noexcept
{
    try {
        std::string Local = CaminhoLocal(Caminho);
        while (Local.size() > 1 && Local.back() == '/')
            Local.pop_back();
        if (Local.empty())
            return false;
        for (std::size_t Pos = Local.find('/', 1); Pos != std::string::npos; Pos = Local.find('/', Pos + 1))
            mkdir(Local.substr(0, Pos).c_str(), 0777);
        mkdir(Local.c_str(), 0777);
        struct stat St;
        return stat(Local.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
    } catch (...) {
        return false;
    }
}

bool DeleteFileA(std::string_view Caminho) noexcept
{
    try {
        const std::string Local = CaminhoLocal(Caminho);
        struct stat St;
        if (lstat(Local.c_str(), &St) != 0 || S_ISDIR(St.st_mode))
            return false;
        return unlink(Local.c_str()) == 0;
    } catch (...) {
        return false;
    }
}

std::uint32_t GetFileAttributesA(std::string_view Caminho) noexcept
{
    struct stat St;
    if (!StatCaminho(Caminho, St))
        return INVALID_FILE_ATTRIBUTES;
    std::uint32_t Atributos = 0;
    if (S_ISDIR(St.st_mode))
        Atributos |= FILE_ATTRIBUTE_DIRECTORY;
    if ((St.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        Atributos |= FILE_ATTRIBUTE_READONLY;
    return Atributos ? Atributos : FILE_ATTRIBUTE_NORMAL;
}

bool SetFileAttributesA(std::string_view Caminho, std::uint32_t Atributos) noexcept
{
    try {
        const std::string Local = CaminhoLocal(Caminho);
        struct stat St;
        if (stat(Local.c_str(), &St) != 0)
            return false;
        mode_t Modo = St.st_mode & 07777;
        if (Atributos & FILE_ATTRIBUTE_READONLY)
            Modo &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
        else if ((Modo & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            Modo |= S_IWUSR;
        return Modo == (St.st_mode & 07777) || chmod(Local.c_str(), Modo) == 0;
    } catch (...) {
        return false;
    }
}

std::int64_t TamanhoArquivoBytes(std::string_view Caminho) noexcept
{
    struct stat St;
    if (!StatCaminho(Caminho, St) || !S_ISREG(St.st_mode))
        return -1;
    return static_cast<std::int64_t>(St.st_size);
}

int LeBytesIniciais(const std::string& CaminhoLinux, char* Destino, int Quantos) noexcept
{
    const int Arquivo = open(CaminhoLinux.c_str(), O_RDONLY | O_CLOEXEC);
    if (Arquivo < 0)
        return -1;
    int Total = 0;
    while (Total < Quantos) {
        const ssize_t Lidos = read(Arquivo, Destino + Total, static_cast<std::size_t>(Quantos - Total));
        if (Lidos < 0 && errno == EINTR)
            continue;
        if (Lidos < 0) {
            Total = -1;
            break;
        }
        if (Lidos == 0)
            break;
        Total += static_cast<int>(Lidos);
    }
    close(Arquivo);
    return Total;
}

bool CombinaMascara(std::string_view Nome, std::string_view Mascara) noexcept
{
    // Iterative match with one backtrack point, linear for masks with a single "*".
    std::size_t N = 0, M = 0, EstrelaM = std::string_view::npos, EstrelaN = 0;
    while (N < Nome.size()) {
        if (M < Mascara.size() && (Mascara[M] == '?' || MinusculaAscii(Mascara[M]) == MinusculaAscii(Nome[N]))) {
            ++N;
            ++M;
        } else if (M < Mascara.size() && Mascara[M] == '*') {
            EstrelaM = M++;
            EstrelaN = N;
        } else if (EstrelaM != std::string_view::npos) {
            M = EstrelaM + 1;
            N = ++EstrelaN;
        } else {
            return false;
        }
    }
    while (M < Mascara.size() && Mascara[M] == '*')
        ++M;
    return M == Mascara.size();
}

bool ListaDiretorio(std::string_view Diretorio, std::string_view Mascara,
                    std::vector<TEntradaDiretorio>& Entradas)
{
    Entradas.clear();
    const std::string Local = CaminhoLocal(Diretorio);
    DirPtr D(opendir(Local.empty() ? "." : Local.c_str()));
    if (!D)
        return false;
    errno = 0;
    while (dirent* E = readdir(D.get())) {
        const std::string_view Nome = E->d_name;
        if (Nome == "." || Nome == ".." || !CombinaMascara(Nome, Mascara))
            continue;
        bool EhDiretorio = E->d_type == DT_DIR;
        if (E->d_type == DT_UNKNOWN || E->d_type == DT_LNK) {
            struct stat St;
            const std::string Completo = Local + (Local.empty() || Local.back() == '/' ? "" : "/") + E->d_name;
            EhDiretorio = stat(Completo.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
        }
        Entradas.push_back({std::string(Nome), EhDiretorio});
    }
    if (errno != 0) {
        Entradas.clear();
        return false;
    }
    return true;
}
