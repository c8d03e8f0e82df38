#include "platform/perfil/Arquivo.h"

#include "platform/Cp1252.h"
#include "platform/EventLogger.h"
#include "platform/Files.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace perfil {

namespace {

/// An open descriptor, closed (and so unlocked) when it goes.
struct TDescritor {
    int Fd = -1;
    TDescritor() = default;
    explicit TDescritor(int F) : Fd(F) {}
    TDescritor(const TDescritor&) = delete;
    TDescritor& operator=(const TDescritor&) = delete;
    ~TDescritor() { Troca(-1); }
    void Troca(int F) noexcept
    {
        if (Fd >= 0)
            close(Fd);
        Fd = F;
    }
};

bool EscreveTudo(int Fd, std::string_view Dados)
{
    while (!Dados.empty()) {
        const ssize_t N = write(Fd, Dados.data(), Dados.size());
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            return false;
        Dados.remove_prefix(static_cast<std::size_t>(N));
    }
    return true;
}

/// The file a write changes: a symbolic link is followed to its final target. A loop is left as it
/// is (its open fails).
std::string DestinoFinal(std::string Caminho)
{
    for (int Saltos = 0; Saltos < 40; ++Saltos) {
        char Alvo[PATH_MAX];
        const ssize_t N = readlink(Caminho.c_str(), Alvo, sizeof Alvo);
        if (N <= 0 || static_cast<std::size_t>(N) >= sizeof Alvo)
            return Caminho;
        std::string Proximo(Alvo, static_cast<std::size_t>(N));
        if (Proximo[0] != '/') {
            const std::size_t Barra = Caminho.rfind('/');
            Proximo = (Barra == std::string::npos ? std::string() : Caminho.substr(0, Barra + 1)) + Proximo;
        }
        Caminho = std::move(Proximo);
    }
    return Caminho;
}

enum class TAbertura { Ok, Ausente, Falha };

/// Opens Caminho (created empty when Cria and missing: Criado) and locks it. A rename replaces the
/// inode the path names, so once the lock is held the path must still name the locked inode; when it
/// does not, the file is opened and locked again.
TAbertura AbreTravado(const std::string& Caminho, bool Cria, TDescritor& F, struct stat& St, bool& Criado)
{
    int Corridas = 0;  // a dangling symbolic link answers ENOENT, then EEXIST, for ever
    for (;;) {
        int Fd = open(Caminho.c_str(), O_RDWR | O_CLOEXEC);
        Criado = false;
        if (Fd < 0 && errno == ENOENT && Cria) {
            Fd = open(Caminho.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (Fd < 0 && errno == EEXIST && ++Corridas < 100)
                continue;
            Criado = Fd >= 0;
        }
        if (Fd < 0)
            return errno == ENOENT && !Cria ? TAbertura::Ausente : TAbertura::Falha;
        F.Troca(Fd);
        struct flock Trava {};
        Trava.l_type = F_WRLCK;
        Trava.l_whence = SEEK_SET;
        int R;
        while ((R = fcntl(Fd, F_OFD_SETLKW, &Trava)) != 0 && errno == EINTR) {
        }
        if (R != 0 || fstat(Fd, &St) != 0)
            return TAbertura::Falha;
        struct stat Agora;
        if (stat(Caminho.c_str(), &Agora) == 0 && Agora.st_dev == St.st_dev && Agora.st_ino == St.st_ino) {
            if (S_ISREG(St.st_mode))
                return TAbertura::Ok;
            errno = S_ISDIR(St.st_mode) ? EISDIR : EINVAL;
            return TAbertura::Falha;
        }
    }
}

/// Replaces Caminho by Dados through its temporary, with the mode (and, for root, the owner) of
/// Original. On failure errno tells why and no temporary is left.
bool Substitui(const std::string& Caminho, const struct stat& Original, std::string_view Dados)
{
    const std::size_t Barra = Caminho.rfind('/');
    const std::string Temporario = Barra == std::string::npos ? "." + Caminho + ".tmp"
                                                              : Caminho.substr(0, Barra + 1) + "." + Caminho.substr(Barra + 1) + ".tmp";
    const TDescritor F(open(Temporario.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (F.Fd < 0)
        return false;
    bool Ok = fchmod(F.Fd, Original.st_mode & 07777) == 0;
    if (Ok && geteuid() == 0 && (Original.st_uid != 0 || Original.st_gid != 0))
        (void)!fchown(F.Fd, Original.st_uid, Original.st_gid);  // best effort: keep the owner's file his
    Ok = Ok && EscreveTudo(F.Fd, Dados) && fdatasync(F.Fd) == 0 && rename(Temporario.c_str(), Caminho.c_str()) == 0;
    if (!Ok) {
        const int Erro = errno;
        unlink(Temporario.c_str());
        errno = Erro;
    }
    return Ok;
}

} // namespace

bool LeTudo(int Fd, std::string& Dados)
{
    struct stat St {};
    const bool Regular = fstat(Fd, &St) == 0 && S_ISREG(St.st_mode);
    Dados.resize(Regular ? static_cast<std::size_t>(St.st_size) + 1 : 4096);
    std::size_t Lidos = 0;
    for (;;) {
        if (Lidos == Dados.size())
            Dados.resize(Dados.size() * 2);
        const ssize_t N = read(Fd, Dados.data() + Lidos, Dados.size() - Lidos);
        if (N < 0 && errno == EINTR)
            continue;
        if (N < 0)
            return false;
        if (N == 0)
            break;
        Lidos += static_cast<std::size_t>(N);
    }
    Dados.resize(Lidos);
    return true;
}

TConteudo Decodifica(std::string Bytes)
{
    TConteudo C;
    C.Existe = true;
    if (Bytes.size() < 2 || Bytes[0] != '\xFF' || Bytes[1] != '\xFE') {
        C.Texto = std::move(Bytes);
        return C;
    }
    C.Utf16 = true;
    C.Decodifica = Bytes.size() % 2 == 0;
    C.Texto = "\xEF\xBB\xBF";
    const auto Unidade = [&](std::size_t I) {
        return static_cast<char32_t>(static_cast<unsigned char>(Bytes[I]) | (static_cast<unsigned char>(Bytes[I + 1]) << 8));
    };
    for (std::size_t I = 2; I + 1 < Bytes.size(); I += 2) {
        char32_t U = Unidade(I);
        if (U >= 0xD800 && U < 0xDC00 && I + 3 < Bytes.size() && Unidade(I + 2) >= 0xDC00 && Unidade(I + 2) < 0xE000) {
            U = 0x10000 + ((U - 0xD800) << 10) + (Unidade(I + 2) - 0xDC00);
            I += 2;
        } else if (U >= 0xD800 && U < 0xE000) {
            U = 0xFFFD;
            C.Decodifica = false;
        }
        AnexaUtf8(C.Texto, U);
    }
    return C;
}

std::string CodificaUtf16(std::string_view Texto)
{
    std::string Saida = "\xFF\xFE";
    const auto Unidade = [&](char32_t U) {
        Saida += static_cast<char>(U & 0xFF);
        Saida += static_cast<char>(U >> 8);
    };
    // The text is valid UTF-8: decoded from the file, or CP1252 converted on its way in.
    for (std::size_t I = 3; I < Texto.size();) {
        const auto B = static_cast<unsigned char>(Texto[I]);
        const std::size_t Seguem = B < 0x80 ? 0 : B < 0xE0 ? 1 : B < 0xF0 ? 2 : 3;
        char32_t U = Seguem == 0 ? B : Seguem == 1 ? (B & 0x1F) : Seguem == 2 ? (B & 0x0F) : (B & 0x07);
        for (std::size_t K = 1; K <= Seguem && I + K < Texto.size(); ++K)
            U = (U << 6) | (static_cast<unsigned char>(Texto[I + K]) & 0x3F);
        I += Seguem + 1;
        if (U >= 0x10000) {
            Unidade(0xD800 + ((U - 0x10000) >> 10));
            Unidade(0xDC00 + ((U - 0x10000) & 0x3FF));
        } else {
            Unidade(U);
        }
    }
    return Saida;
}

TConteudo LeArquivo(const char* Arquivo)
{
    if (!Arquivo)
        return {};
    // The path as written usually exists with that spelling: tried before the case-insensitive walk.
    const std::string Barras = ComBarras(Arquivo);
    TDescritor F(open(Barras.c_str(), O_RDONLY | O_CLOEXEC));
    if (F.Fd < 0 && (errno == ENOENT || errno == ENOTDIR)) {
        const std::string Caminho = CaminhoLocal(Barras);
        if (Caminho != Barras)
            F.Troca(open(Caminho.c_str(), O_RDONLY | O_CLOEXEC));
    }
    std::string Bytes;
    if (F.Fd < 0 || !LeTudo(F.Fd, Bytes))  // a directory opens, but does not read
        return {};
    return Decodifica(std::move(Bytes));
}

bool Reescreve(const char* Arquivo, const std::string& Operacao, bool Cria,
               const std::function<std::optional<std::string>(const std::string& Texto)>& Muda)
{
    std::string Caminho = Arquivo;
    // Why it failed, told once the file is closed: no lock is held while the event log is written.
    int Erro = 0;
    std::string Motivo;
    try {
        std::string Local;
        struct stat NoCaminho;
        const bool Ha = CaminhoLocalExiste(Arquivo, Local, NoCaminho);
        const std::string Destino = Ha && S_ISLNK(NoCaminho.st_mode) ? DestinoFinal(Local) : Local;
        Caminho = Destino == Local ? Local : Local + " (" + Destino + ")";  // a failure entry names both

        TDescritor F;
        struct stat St {};
        bool Criado = false;
        switch (AbreTravado(Destino, Cria, F, St, Criado)) {
        case TAbertura::Ok:
            if ((St.st_mode & 0222) == 0) {  // read-only, as on Windows (root included)
                Erro = EACCES;
                Motivo = "the file is read-only";
                break;
            }
            if (std::string Bytes; !LeTudo(F.Fd, Bytes)) {
                Erro = errno;
            } else if (const TConteudo C = Decodifica(std::move(Bytes)); !C.Decodifica) {
                Motivo = "the file is UTF-16 text that does not decode; it is left as it is";
            } else if (const std::optional<std::string> Novo = Muda(C.Texto)) {
                if (!Substitui(Destino, St, C.Utf16 ? CodificaUtf16(*Novo) : *Novo))
                    Erro = errno;
                else
                    return true;
            } else {
                return true;
            }
            if (Criado)
                unlink(Destino.c_str());
            break;
        case TAbertura::Ausente:
            return true;  // nothing to delete
        case TAbertura::Falha:
            Erro = errno;
            break;
        }
    } catch (...) {
        Erro = ENOMEM;
    }
    RegistraFalhaArquivo(Caminho, Operacao, Erro, Motivo);
    return false;
}

} // namespace perfil
