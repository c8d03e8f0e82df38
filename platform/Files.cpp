#include "platform/Files.h"

#include "platform/Ascii.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <sys/stat.h>
#include <ctime>
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

bool TemLetraAscii(std::string_view Nome) noexcept
{
    for (char C : Nome)
        if (MinusculaAscii(C) != MaiusculaAscii(C))
            return true;
    return false;
}

// What a walk of a folder found, kept while the folder is unchanged: the names by their lower-case
// form. A folder's mtime moves with every entry added, removed or renamed; a listing is trusted only
// when that mtime was already older than the walk by more than the clock's coarse step, so a change
// in the same step as the walk cannot hide behind an equal mtime.
struct TListagem {
    dev_t Disp = 0;
    ino_t No = 0;
    timespec Modificado{};
    bool Confiavel = false;
    std::unordered_map<std::string, std::string> Nomes;
    unsigned Uso = 0;
};

bool MesmoInstante(const timespec& A, const timespec& B) noexcept
{
    return A.tv_sec == B.tv_sec && A.tv_nsec == B.tv_nsec;
}

std::mutex TravaListagens;
std::unordered_map<std::string, TListagem> Listagens;  // by folder path; a handful at most
unsigned UsoListagens = 0;
constexpr std::size_t MaxListagens = 8;

std::optional<std::string> ProcuraNaListagem(const std::string& Pasta, const struct stat& St, const std::string& Chave)
{
    std::lock_guard<std::mutex> Trava(TravaListagens);
    const auto It = Listagens.find(Pasta);
    if (It == Listagens.end() || !It->second.Confiavel || It->second.Disp != St.st_dev || It->second.No != St.st_ino ||
        !MesmoInstante(It->second.Modificado, St.st_mtim))
        return std::nullopt;
    It->second.Uso = ++UsoListagens;
    const auto Nome = It->second.Nomes.find(Chave);
    return Nome == It->second.Nomes.end() ? std::string() : Nome->second;
}

/// The folder Pasta (as a listing keeps it, stat Antes) gained the entry Nome, made by this process,
/// and now stands as Depois: a trusted listing of it that was current learns the name and stays
/// current. A change another process made meanwhile moved the mtime first, and drops the listing.
void AnotaCriada(const std::string& Pasta, const struct stat& Antes, const struct stat& Depois, const std::string& Nome)
{
    std::lock_guard<std::mutex> Trava(TravaListagens);
    const auto It = Listagens.find(Pasta);
    if (It == Listagens.end())
        return;
    TListagem& L = It->second;
    if (!L.Confiavel || L.Disp != Antes.st_dev || L.No != Antes.st_ino || !MesmoInstante(L.Modificado, Antes.st_mtim) ||
        Depois.st_dev != Antes.st_dev || Depois.st_ino != Antes.st_ino) {
        Listagens.erase(It);
        return;
    }
    L.Nomes.emplace(MinusculasAscii(Nome), Nome);
    L.Modificado = Depois.st_mtim;
}

/// The key of a folder among the listings: its path without a trailing slash ("." for "").
std::string ChaveDaPasta(std::string Pasta)
{
    while (Pasta.size() > 1 && Pasta.back() == '/')
        Pasta.pop_back();
    return Pasta.empty() ? "." : Pasta;
}

void GuardaListagem(const std::string& Pasta, TListagem L)
{
    std::lock_guard<std::mutex> Trava(TravaListagens);
    if (Listagens.size() >= MaxListagens && !Listagens.count(Pasta)) {
        auto Velha = Listagens.begin();
        for (auto It = Listagens.begin(); It != Listagens.end(); ++It)
            if (It->second.Uso < Velha->second.Uso)
                Velha = It;
        Listagens.erase(Velha);
    }
    L.Uso = ++UsoListagens;
    Listagens[Pasta] = std::move(L);
}

constexpr long long PassoGrosso = 50'000'000;  // ns: well above the coarse clock's step

bool Assentada(const struct stat& St, const timespec& Agora) noexcept
{
    const long long Idade = (static_cast<long long>(Agora.tv_sec) - St.st_mtim.tv_sec) * 1'000'000'000LL +
                            (Agora.tv_nsec - St.st_mtim.tv_nsec);
    return Idade > PassoGrosso;
}

// The last folder found missing: the module path up to it, its Linux path, and the folder that lacks
// it as that folder stood. Paths below it resolve with one look at that folder while it is unchanged,
// so an operation over many companies does not look for the same missing folder once per company.
struct TFaltante {
    std::string Dado;   ///< the path as given (slashes), up to and including the missing component
    std::string Local;  ///< its Linux path
    std::string Pasta;  ///< the existing folder that lacks it
    dev_t Disp = 0;
    ino_t No = 0;
    timespec Modificado{};
};
std::optional<TFaltante> UltimoFaltante;

std::optional<std::string> ResolveAbaixoDoFaltante(const std::string& Barras)
{
    std::lock_guard<std::mutex> Trava(TravaListagens);
    if (!UltimoFaltante || Barras.compare(0, UltimoFaltante->Dado.size(), UltimoFaltante->Dado) != 0 ||
        (Barras.size() > UltimoFaltante->Dado.size() && Barras[UltimoFaltante->Dado.size()] != '/'))
        return std::nullopt;
    struct stat St;
    if (stat(UltimoFaltante->Pasta.c_str(), &St) != 0 || St.st_dev != UltimoFaltante->Disp ||
        St.st_ino != UltimoFaltante->No || !MesmoInstante(St.st_mtim, UltimoFaltante->Modificado)) {
        UltimoFaltante.reset();
        return std::nullopt;
    }
    return UltimoFaltante->Local + Barras.substr(UltimoFaltante->Dado.size());
}

void GuardaFaltante(std::string Dado, std::string Local, const std::string& Pasta)
{
    timespec Agora{};
    clock_gettime(CLOCK_REALTIME, &Agora);
    struct stat St;
    if (stat(Pasta.empty() ? "." : Pasta.c_str(), &St) != 0 || !Assentada(St, Agora))
        return;
    std::lock_guard<std::mutex> Trava(TravaListagens);
    UltimoFaltante = TFaltante{std::move(Dado), std::move(Local), Pasta.empty() ? "." : Pasta, St.st_dev, St.st_ino,
                               St.st_mtim};
}

// The entry of Pai whose name equals Nome without regard to case, when the exact spelling is missing;
// Nome itself when none does. A name without letters has no other spelling, so its miss is final at
// once; otherwise at most one walk of Pai answers, and none while a trusted listing of Pai stands.
std::string ProcuraSemCaixa(const std::string& Pai, const std::string& Nome)
{
    if (!TemLetraAscii(Nome))
        return Nome;
    const std::string Pasta = ChaveDaPasta(Pai);
    struct stat St;
    if (stat(Pasta.c_str(), &St) != 0 || !S_ISDIR(St.st_mode))
        return Nome;
    const std::string Chave = MinusculasAscii(Nome);
    if (const auto Achado = ProcuraNaListagem(Pasta, St, Chave))
        return Achado->empty() ? Nome : *Achado;

    timespec Agora{};
    clock_gettime(CLOCK_REALTIME, &Agora);
    DirPtr D(opendir(Pasta.c_str()));
    if (!D)
        return Nome;
    TListagem L;
    L.Disp = St.st_dev;
    L.No = St.st_ino;
    L.Modificado = St.st_mtim;
    std::string Achado = Nome;
    bool Achou = false;
    while (dirent* E = readdir(D.get())) {
        std::string Minusculo = MinusculasAscii(E->d_name);
        if (!Achou && Minusculo == Chave) {
            Achado = E->d_name;
            Achou = true;
        }
        L.Nomes.emplace(std::move(Minusculo), E->d_name);
    }
    L.Confiavel = Assentada(St, Agora);
    if (L.Confiavel)
        GuardaListagem(Pasta, std::move(L));
    return Achado;
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
    if (const auto Abaixo = ResolveAbaixoDoFaltante(Barras))
        return *Abaixo;
    if (Barras.empty() || Existe(Barras))
        return Barras;

    // The deepest folder that exists as spelled is found going up (a miss is usually one or two
    // levels deep); from there the components are matched without case.
    std::string Resultado;
    std::size_t Inicio = 0;
    for (std::size_t Barra = Barras.size(); Barra > 0;) {
        Barra = Barras.rfind('/', Barra - 1);
        if (Barra == std::string::npos)
            break;
        if (Barra == 0 || Existe(Barras.substr(0, Barra))) {
            Resultado = Barras.substr(0, Barra + 1);
            Inicio = Barra + 1;
            break;
        }
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
                    std::string Achado = ProcuraSemCaixa(Pai, Componente);
                    Perdido = Achado == Componente || !Existe(Pai + Achado);
                    Componente = std::move(Achado);
                    if (Perdido && Fim < Barras.size())
                        GuardaFaltante(Barras.substr(0, Fim), Pai + Componente, Pai);
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

bool CaminhoLocalExiste(std::string_view Caminho, std::string& Local, struct stat& St)
{
    Local = ComBarras(Caminho);
    if (!Local.empty() && lstat(Local.c_str(), &St) == 0)
        return true;
    Local = CaminhoLocal(Local);
    return lstat(Local.c_str(), &St) == 0;
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

bool CriaPastaLinux(const std::string& CaminhoLinux) noexcept
{
    try {
        std::string Local = CaminhoLinux;
        while (Local.size() > 1 && Local.back() == '/')
            Local.pop_back();
        const std::size_t Barra = Local.rfind('/');
        const std::string Pasta = ChaveDaPasta(Barra == std::string::npos ? std::string() : Barra == 0 ? "/" : Local.substr(0, Barra));
        struct stat Antes, Depois;
        const bool Havia = stat(Pasta.c_str(), &Antes) == 0;
        if (mkdir(Local.c_str(), 0777) != 0)
            return false;
        if (Havia && stat(Pasta.c_str(), &Depois) == 0)
            AnotaCriada(Pasta, Antes, Depois, Barra == std::string::npos ? Local : Local.substr(Barra + 1));
        return true;
    } catch (...) {
        return false;
    }
}

bool CreateDirectoryA(std::string_view Caminho) noexcept
{
    try {
        return CriaPastaLinux(CaminhoLocal(Caminho));
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
        struct stat St;
        if (stat(Local.c_str(), &St) == 0)
            return S_ISDIR(St.st_mode);
        // Only the levels below the deepest existing one are made.
        std::size_t Existente = Local.size();
        while ((Existente = Local.rfind('/', Existente - 1)) != std::string::npos && Existente > 0 &&
               stat(Local.substr(0, Existente).c_str(), &St) != 0) {
        }
        for (std::size_t Pos = Local.find('/', Existente == std::string::npos ? 0 : Existente + 1);
             Pos != std::string::npos; Pos = Local.find('/', Pos + 1))
            CriaPastaLinux(Local.substr(0, Pos));
        CriaPastaLinux(Local);
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
