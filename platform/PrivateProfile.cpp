#include "platform/PrivateProfile.h"

#include "platform/AoLado.h"
#include "platform/Ascii.h"
#include "platform/Cp1252.h"
#include "platform/EventLogger.h"
#include "platform/Files.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cerrno>
#include <climits>
#include <deque>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::size_t Nenhum = static_cast<std::size_t>(-1);

// Names match without regard to ASCII case only (IguaisSemCaixa): the recorded reference does not fold
// CP1252 letters.

bool TemQuebra(const char* T) noexcept { return T && std::strpbrk(T, "\r\n") != nullptr; }

// ---------------------------------------------------------------------------------------------------
// The file as lines. Offsets point into the raw bytes, so untouched lines can be copied back verbatim.

enum class TTipoLinha { Branca, Cabecalho, Chave, SemIgual };

struct TLinha {
    std::size_t Inicio = 0;   ///< first byte of the line
    std::size_t Fim = 0;      ///< end of the content (start of the line ending)
    std::size_t Proxima = 0;  ///< first byte after the line ending
    TTipoLinha Tipo = TTipoLinha::Branca;
    std::string_view Nome;   ///< header name, key name or the text of a line without '=' (trimmed, raw)
    std::string_view Valor;  ///< value of a key line (trimmed, raw, quotes kept)
};

struct TSecao {
    std::string_view Nome;           ///< raw, trimmed; the lines before the first header have none
    std::size_t Cabecalho = Nenhum;  ///< line of the header; Nenhum for the lines before the first header
    std::size_t Primeira = 0;        ///< first line after the header
    std::size_t Fim = 0;             ///< line of the next header (or the line count)
};

struct TPerfil {
    bool Existe = false;
    bool Utf8 = false;        ///< the file starts with a UTF-8 BOM: its names and values are UTF-8
    bool Utf16 = false;       ///< the file is UTF-16LE (BOM FF FE); Dados holds it as UTF-8 with a BOM
    std::size_t Texto = 0;    ///< offset of the text after the BOM
    std::string Dados;
    std::vector<TLinha> Linhas;
    std::vector<TSecao> Secoes;  ///< [0] is always the lines before the first header

    /// Name or value as CP1252 bytes.
    std::string Cp1252(std::string_view Bruto) const
    {
        return Utf8 ? Utf8ParaCp1252(Bruto) : std::string(Bruto);
    }
    bool NomeIgual(std::string_view Bruto, std::string_view Procurado) const
    {
        return Utf8 ? IguaisSemCaixa(Utf8ParaCp1252(Bruto), Procurado) : IguaisSemCaixa(Bruto, Procurado);
    }
    /// CP1252 text as it goes into the file.
    std::string DoArquivo(std::string_view Texto) const
    {
        return Utf8 ? Cp1252ParaUtf8(Texto) : std::string(Texto);
    }
    std::string_view Bruto(const TLinha& L) const
    {
        return std::string_view(Dados).substr(L.Inicio, L.Proxima - L.Inicio);
    }
    bool Terminada(const TLinha& L) const noexcept { return L.Proxima > L.Fim; }
    /// The line ending new lines get: the file's first one, CR LF when it has none.
    std::string_view QuebraPadrao() const
    {
        for (const TLinha& L : Linhas)
            if (Terminada(L))
                return std::string_view(Dados).substr(L.Fim, L.Proxima - L.Fim);
        return "\r\n";
    }
};

void ClassificaLinha(std::string_view Conteudo, TLinha& L)
{
    // A NUL ends what the line says (the bytes after it are still kept on a rewrite).
    if (const std::size_t Nul = Conteudo.find('\0'); Nul != std::string_view::npos)
        Conteudo = Conteudo.substr(0, Nul);
    const std::string_view T = AparaBrancos(Conteudo);
    if (T.empty()) {
        L.Tipo = TTipoLinha::Branca;
        return;
    }
    if (T.front() == '[') {
        if (const std::size_t Fecha = T.rfind(']'); Fecha != std::string_view::npos && Fecha > 0) {
            L.Tipo = TTipoLinha::Cabecalho;
            L.Nome = AparaBrancos(T.substr(1, Fecha - 1));
            return;
        }
    }
    if (const std::size_t Igual = T.find('='); Igual != std::string_view::npos) {
        L.Tipo = TTipoLinha::Chave;
        L.Nome = AparaBrancos(T.substr(0, Igual));
        L.Valor = AparaBrancos(T.substr(Igual + 1));
        return;
    }
    L.Tipo = TTipoLinha::SemIgual;
    L.Nome = T;
}

/// A UTF-16LE file (BOM FF FE) is worked on as UTF-8 behind a UTF-8 BOM, so its names and values
/// are read and written as CP1252 like those of a UTF-8 file, and goes back to UTF-16LE when written
/// (Codifica). False when its text does not decode (odd length, lone surrogate): such a file is read
/// as well as it goes (U+FFFD in place of what does not decode) but never written.
bool Decodifica(TPerfil& P)
{
    const std::string_view D(P.Dados);
    if (D.size() < 2 || D[0] != '\xFF' || D[1] != '\xFE')
        return true;
    bool Valido = D.size() % 2 == 0;
    std::string Utf8 = "\xEF\xBB\xBF";
    Utf8.reserve(D.size() * 3 / 2 + 3);
    const auto Unidade = [&](std::size_t I) {
        return static_cast<char32_t>(static_cast<unsigned char>(D[I]) | (static_cast<unsigned char>(D[I + 1]) << 8));
    };
    for (std::size_t I = 2; I + 1 < D.size(); I += 2) {
        char32_t C = Unidade(I);
        if (C >= 0xD800 && C < 0xDC00 && I + 3 < D.size() && Unidade(I + 2) >= 0xDC00 && Unidade(I + 2) < 0xE000) {
            C = 0x10000 + ((C - 0xD800) << 10) + (Unidade(I + 2) - 0xDC00);
            I += 2;
        } else if (C >= 0xD800 && C < 0xE000) {
            C = 0xFFFD;
            Valido = false;
        }
        AnexaUtf8(Utf8, C);
    }
    P.Dados = std::move(Utf8);
    P.Utf16 = true;
    return Valido;
}

/// The bytes that go to a UTF-16 file (P.Utf16) for the text Monta built: UTF-16LE again.
std::string Codifica(std::string_view Texto)
{
    std::string Saida = "\xFF\xFE";
    Saida.reserve(Texto.size() * 2);
    const auto Unidade = [&](char32_t U) {
        Saida += static_cast<char>(U & 0xFF);
        Saida += static_cast<char>(U >> 8);
    };
    // The text is valid UTF-8: decoded from the file, or CP1252 converted on its way in.
    for (std::size_t I = 3; I < Texto.size();) {
        const unsigned char B = static_cast<unsigned char>(Texto[I]);
        const int Cont = B < 0x80 ? 0 : B < 0xE0 ? 1 : B < 0xF0 ? 2 : 3;
        char32_t C = Cont == 0 ? B : Cont == 1 ? (B & 0x1F) : Cont == 2 ? (B & 0x0F) : (B & 0x07);
        for (int K = 1; K <= Cont && I + static_cast<std::size_t>(K) < Texto.size(); ++K)
            C = (C << 6) | (static_cast<unsigned char>(Texto[I + static_cast<std::size_t>(K)]) & 0x3F);
        I += static_cast<std::size_t>(Cont) + 1;
        if (C >= 0x10000) {
            Unidade(0xD800 + ((C - 0x10000) >> 10));
            Unidade(0xDC00 + ((C - 0x10000) & 0x3FF));
        } else {
            Unidade(C);
        }
    }
    return Saida;
}

/// Where the line starting at I ends: its first CR or LF, or the end of D. The next LF is found by
/// memchr and only the bytes before it are looked at for a CR, so a line costs two library scans
/// instead of a test per byte.
std::size_t FimDaLinha(std::string_view D, std::size_t I) noexcept
{
    const char* Inicio = D.data() + I;
    const std::size_t Resto = D.size() - I;
    const void* Lf = std::memchr(Inicio, '\n', Resto);
    const std::size_t AteLf = Lf ? static_cast<std::size_t>(static_cast<const char*>(Lf) - Inicio) : Resto;
    const void* Cr = std::memchr(Inicio, '\r', AteLf);
    return I + (Cr ? static_cast<std::size_t>(static_cast<const char*>(Cr) - Inicio) : AteLf);
}

void Analisa(TPerfil& P)
{
    const std::string_view D(P.Dados);
    if (D.size() >= 3 && D.substr(0, 3) == "\xEF\xBB\xBF") {
        P.Utf8 = true;
        P.Texto = 3;
    }
    P.Linhas.clear();
    P.Secoes.clear();
    P.Secoes.push_back(TSecao{});
    std::size_t I = P.Texto;
    while (I < D.size()) {
        TLinha L;
        L.Inicio = I;
        std::size_t F = FimDaLinha(D, I);
        L.Fim = F;
        if (F < D.size())
            F += (D[F] == '\r' && F + 1 < D.size() && D[F + 1] == '\n') ? 2 : 1;
        L.Proxima = F;
        ClassificaLinha(D.substr(L.Inicio, L.Fim - L.Inicio), L);
        if (L.Tipo == TTipoLinha::Cabecalho) {
            P.Secoes.back().Fim = P.Linhas.size();
            TSecao S;
            S.Nome = L.Nome;
            S.Cabecalho = P.Linhas.size();
            S.Primeira = P.Linhas.size() + 1;
            P.Secoes.push_back(S);
        }
        P.Linhas.push_back(L);
        I = F;
    }
    P.Secoes.back().Fim = P.Linhas.size();
}

/// The first section named Nome (already trimmed); "" is the lines before the first header, which
/// always exist and so shadow a "[]" header.
const TSecao* AchaSecao(const TPerfil& P, std::string_view Nome)
{
    if (Nome.empty())
        return &P.Secoes[0];
    for (std::size_t I = 1; I < P.Secoes.size(); ++I)
        if (P.NomeIgual(P.Secoes[I].Nome, Nome))
            return &P.Secoes[I];
    return nullptr;
}

/// Line of the first entry (key line or line without '=') of S named Chave (already trimmed).
std::size_t AchaChave(const TPerfil& P, const TSecao& S, std::string_view Chave)
{
    for (std::size_t I = S.Primeira; I < S.Fim; ++I) {
        const TLinha& L = P.Linhas[I];
        if ((L.Tipo == TTipoLinha::Chave || L.Tipo == TTipoLinha::SemIgual) && P.NomeIgual(L.Nome, Chave))
            return I;
    }
    return Nenhum;
}

// ---------------------------------------------------------------------------------------------------
// Files

struct TDescritor {
    int Fd = -1;
    TDescritor() = default;
    explicit TDescritor(int F) : Fd(F) {}
    TDescritor(const TDescritor&) = delete;
    TDescritor& operator=(const TDescritor&) = delete;
    ~TDescritor() { Troca(-1); }
    /// Holds F from now on, closing (and so unlocking) what it held.
    void Troca(int F) noexcept
    {
        if (Fd >= 0)
            close(Fd);
        Fd = F;
    }
};

/// open() that leaves the access time alone. The first read of a file (or listing of a folder) after
/// it changed would otherwise write that inode's access time, and the journal flushes it with the
/// next fdatasync: the save's own. Only the owner (or root) may ask for it; anyone else opens as usual.
int AbreSemAcesso(const char* Caminho, int Modo) noexcept
{
    const int Fd = open(Caminho, Modo | O_NOATIME);
    return Fd >= 0 || errno != EPERM ? Fd : open(Caminho, Modo);
}

/// Reads the whole open file (a regular file) with as few calls as its size allows.
bool LeTudo(int Fd, std::size_t Tamanho, std::string& Dados)
{
    Dados.resize(Tamanho + 1);  // one spare byte tells that the file grew meanwhile
    std::size_t Lidos = 0;
    for (;;) {
        if (Lidos == Dados.size())
            Dados.resize(Dados.size() * 2);
        const ssize_t N = read(Fd, Dados.data() + Lidos, Dados.size() - Lidos);
        if (N < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (N == 0)
            break;
        Lidos += static_cast<std::size_t>(N);
        // A regular file reads short only at its end: no second call to hear it.
        if (Lidos < Dados.size())
            break;
    }
    Dados.resize(Lidos);
    return true;
}

/// Loads the file (decoded, not parsed); a missing or unreadable file leaves P.Existe false.
void LeArquivoPerfil(const char* Arquivo, TPerfil& P)
{
    if (!Arquivo)
        return;
    // The path as written usually exists with that spelling: try it before the case-insensitive walk.
    const std::string Barras = ComBarras(Arquivo);
    TDescritor F(AbreSemAcesso(Barras.c_str(), O_RDONLY | O_CLOEXEC));
    if (F.Fd < 0 && (errno == ENOENT || errno == ENOTDIR)) {
        const std::string Caminho = CaminhoLocal(Barras);
        if (Caminho != Barras)
            F.Troca(AbreSemAcesso(Caminho.c_str(), O_RDONLY | O_CLOEXEC));
    }
    // A directory opens but does not read (EISDIR), which ends here too. The file is read at its
    // size, so a large one is not copied as the buffer grows.
    struct stat St {};
    const std::size_t Tamanho = F.Fd >= 0 && fstat(F.Fd, &St) == 0 && S_ISREG(St.st_mode) ? static_cast<std::size_t>(St.st_size) : 4095;
    if (F.Fd < 0 || !LeTudo(F.Fd, Tamanho, P.Dados)) {
        P.Dados.clear();
        return;
    }
    P.Existe = true;
    Decodifica(P);
}

/// Loads and parses the file; a missing or unreadable file leaves P.Existe false.
void Carrega(const char* Arquivo, TPerfil& P)
{
    LeArquivoPerfil(Arquivo, P);
    if (P.Existe)
        Analisa(P);
}

bool EscreveTudo(int Fd, std::string_view Dados)
{
    while (!Dados.empty()) {
        const ssize_t N = write(Fd, Dados.data(), Dados.size());
        if (N < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        Dados.remove_prefix(static_cast<std::size_t>(N));
    }
    return true;
}

/// Temporary files of the atomic replace are named ".<name>.<pid>.<n>.tmp" beside the file, and their
/// writer holds an fcntl lock on them until it renames or removes them. A writer killed on the way
/// leaves one behind; the next write of the same file (which holds the file's own lock, so no other
/// writer of it is between creating and renaming its temporary) removes every one no process holds.
bool EhTemporarioDe(std::string_view Entrada, std::string_view Nome)
{
    if (Entrada.size() < Nome.size() + 7 || Entrada[0] != '.' || Entrada.substr(1, Nome.size()) != Nome ||
        Entrada[Nome.size() + 1] != '.' || Entrada.substr(Entrada.size() - 4) != ".tmp")
        return false;
    const std::string_view Meio = Entrada.substr(Nome.size() + 2, Entrada.size() - Nome.size() - 6);
    return !Meio.empty() && Meio.find_first_not_of("0123456789.") == std::string_view::npos;
}

bool TemTravaDeOutro(int Fd)
{
    struct flock Trava {};
    Trava.l_type = F_WRLCK;
    Trava.l_whence = SEEK_SET;
    return fcntl(Fd, F_GETLK, &Trava) != 0 || Trava.l_type != F_UNLCK;
}

void RemoveTemporariosAbandonados(const std::string& Pasta, const std::string& Nome)
{
    // The folder's entries straight from getdents64: fdopendir would add three calls per save.
    const TDescritor D(AbreSemAcesso(Pasta.empty() ? "." : Pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (D.Fd < 0)
        return;
    std::vector<std::string> Abandonados;
    alignas(dirent64) char Entradas[8192];
    for (ssize_t N; (N = getdents64(D.Fd, Entradas, sizeof Entradas)) > 0;)
        for (ssize_t Pos = 0; Pos < N;) {
            const auto* E = reinterpret_cast<const dirent64*>(Entradas + Pos);
            Pos += E->d_reclen;
            if (!EhTemporarioDe(E->d_name, Nome))
                continue;
            const std::string Caminho = Pasta + E->d_name;
            const int Fd = open(Caminho.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            struct stat St;
            if (Fd >= 0 && fstat(Fd, &St) == 0 && S_ISREG(St.st_mode) && !TemTravaDeOutro(Fd))
                Abandonados.push_back(Caminho);
            if (Fd >= 0)
                close(Fd);
        }
    for (const std::string& Caminho : Abandonados)
        unlink(Caminho.c_str());
}

/// Creates and locks a temporary file for Caminho under a name no file holds yet; -1 (errno set) when
/// none can be made.
int CriaTemporario(const std::string& Pasta, const std::string& Nome, std::string& Temporario)
{
    static std::atomic<unsigned> Sequencia{0};
    for (int Tentativa = 0; Tentativa < 1000; ++Tentativa) {
        Temporario = Pasta + "." + Nome + "." + std::to_string(getpid()) + "." +
                     std::to_string(Sequencia.fetch_add(1)) + ".tmp";
        const int Fd = open(Temporario.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (Fd < 0 && errno == EEXIST)
            continue;  // a leftover holds this name: take the next one
        if (Fd < 0)
            return -1;
        struct flock Trava {};
        Trava.l_type = F_WRLCK;
        Trava.l_whence = SEEK_SET;
        if (fcntl(Fd, F_SETLK, &Trava) != 0) {
            const int Erro = errno;
            close(Fd);
            unlink(Temporario.c_str());
            errno = Erro;
            return -1;
        }
        return Fd;
    }
    errno = EEXIST;
    return -1;
}

/// Replaces Caminho by Dados: a temporary file in the same folder, flushed to disk, renamed over it,
/// with the mode (and, for root, the owner) of the file it replaces. AntesDeTrocar, when given, runs
/// after the flush and before the rename, and only if both the write and the flush succeeded. On
/// failure errno tells why.
bool SubstituiArquivo(const std::string& Caminho, const struct stat& Original, std::string_view Dados,
                      const std::function<void()>* AntesDeTrocar = nullptr)
{
    const std::size_t Barra = Caminho.rfind('/');
    const std::string Pasta = Barra == std::string::npos ? std::string() : Caminho.substr(0, Barra + 1);
    const std::string Nome = Barra == std::string::npos ? Caminho : Caminho.substr(Barra + 1);
    RemoveTemporariosAbandonados(Pasta, Nome);
    std::string Temporario;
    const int Fd = CriaTemporario(Pasta, Nome, Temporario);
    if (Fd < 0)
        return false;
    bool Ok = fchmod(Fd, Original.st_mode & 07777) == 0;
    if (Ok && geteuid() == 0 && (Original.st_uid != 0 || Original.st_gid != 0))
        (void)!fchown(Fd, Original.st_uid, Original.st_gid);  // best effort: keep the owner's file his
    Ok = Ok && EscreveTudo(Fd, Dados) && fdatasync(Fd) == 0;
    if (Ok && AntesDeTrocar)
        (*AntesDeTrocar)();
    Ok = Ok && rename(Temporario.c_str(), Caminho.c_str()) == 0;
    const int Erro = errno;
    if (!Ok)
        unlink(Temporario.c_str());
    close(Fd);  // the temporary's lock goes only after the rename or the unlink
    errno = Erro;
    return Ok;
}

// fcntl locks belong to the process, so threads of one process exclude each other here.
std::mutex& TravaDoProcesso()
{
    static std::mutex M;
    return M;
}

/// The file opened for a read-modify-write and locked. The lock is taken on the file itself; because
/// a rename replaces the inode, after acquiring it we check that the path still names the locked
/// inode and start again when it does not.
struct TArquivoTravado {
    TDescritor F;
    struct stat St {};
    bool Criado = false;  ///< created empty by this call (removed again if the write fails)
};

enum class TAbertura { Ok, Ausente, Falha };

TAbertura AbreTravado(const std::string& Caminho, bool Criar, TArquivoTravado& A)
{
    int Corridas = 0;  // a dangling symbolic link answers ENOENT, then EEXIST, for ever
    for (;;) {
        int Fd = AbreSemAcesso(Caminho.c_str(), O_RDWR | O_CLOEXEC);
        A.Criado = false;
        if (Fd < 0 && errno == ENOENT && Criar) {
            Fd = open(Caminho.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (Fd < 0 && errno == EEXIST && ++Corridas < 100)
                continue;
            A.Criado = Fd >= 0;
        }
        if (Fd < 0)
            return errno == ENOENT && !Criar ? TAbertura::Ausente : TAbertura::Falha;
        A.F.Troca(Fd);

        struct flock Trava {};
        Trava.l_type = F_WRLCK;
        Trava.l_whence = SEEK_SET;
        int R;
        while ((R = fcntl(Fd, F_SETLKW, &Trava)) != 0 && errno == EINTR) {
        }
        if (R != 0 || fstat(Fd, &A.St) != 0)
            return TAbertura::Falha;
        struct stat Atual;
        if (stat(Caminho.c_str(), &Atual) == 0 && Atual.st_dev == A.St.st_dev && Atual.st_ino == A.St.st_ino) {
            if (S_ISREG(A.St.st_mode))
                return TAbertura::Ok;
            errno = S_ISDIR(A.St.st_mode) ? EISDIR : EINVAL;
            return TAbertura::Falha;
        }
        // Replaced (or removed) while we waited: lock what the path names now.
    }
}

// ---------------------------------------------------------------------------------------------------
// Reading

/// The value as GetPrivateProfileString copies it into a buffer of Tamanho (> 0) bytes: one pair of
/// matching quotes around it is removed. The reference drops the last character when the buffer holds
/// the value but not its closing quote (a quoted value of L characters needs L+2 bytes), and so do we.
std::string_view EntradaCopiada(std::string_view Valor, std::uint32_t Tamanho)
{
    bool Aspas = false;
    if (Valor.size() >= 2 && (Valor.front() == '"' || Valor.front() == '\'') && Valor.back() == Valor.front()) {
        Aspas = true;
        Valor.remove_prefix(1);
    }
    std::size_t N = std::min<std::size_t>(Valor.size(), Tamanho - 1);
    if (Aspas && Tamanho >= Valor.size() && N > 0)
        --N;
    return Valor.substr(0, N);
}

std::uint32_t CopiaEntrada(char* Buffer, std::uint32_t Tamanho, std::string_view Valor)
{
    if (!Buffer || Tamanho == 0)
        return 0;
    const std::string_view Copia = EntradaCopiada(Valor, Tamanho);
    if (!Copia.empty())
        std::memcpy(Buffer, Copia.data(), Copia.size());
    Buffer[Copia.size()] = '\0';
    return static_cast<std::uint32_t>(Copia.size());
}

/// The default as GetPrivateProfileString uses it: trailing spaces removed, but never the first
/// character (as the reference does).
std::string_view Padrao(std::string_view D)
{
    while (D.size() > 1 && D.back() == ' ')
        D.remove_suffix(1);
    return D;
}

/// Copies a list of NUL-terminated names (Lista holds them and the final NUL). A list that does not
/// fit with one byte to spare is cut to Tamanho-2 bytes and one NUL, as the reference does.
std::uint32_t CopiaLista(char* Buffer, std::uint32_t Tamanho, std::string_view Lista)
{
    if (!Buffer || Tamanho == 0)
        return 0;
    if (Tamanho >= Lista.size() + 1) {
        std::memcpy(Buffer, Lista.data(), Lista.size());
        return static_cast<std::uint32_t>(Lista.size() - 1);
    }
    if (Tamanho == 1) {
        Buffer[0] = '\0';
        return 0;
    }
    std::memcpy(Buffer, Lista.data(), Tamanho - 2);
    Buffer[Tamanho - 2] = '\0';
    return Tamanho - 2;
}

std::string ListaSecoes(const TPerfil& P)
{
    std::string Lista;
    for (std::size_t I = 1; I < P.Secoes.size(); ++I)
        if (!P.Secoes[I].Nome.empty()) {
            Lista += P.Cp1252(P.Secoes[I].Nome);
            Lista += '\0';
        }
    Lista += '\0';
    return Lista;
}

/// Key names of S: key lines only, ';' lines left out.
std::string ListaChaves(const TPerfil& P, const TSecao& S)
{
    std::string Lista;
    for (std::size_t I = S.Primeira; I < S.Fim; ++I) {
        const TLinha& L = P.Linhas[I];
        if (L.Tipo == TTipoLinha::Chave && (L.Nome.empty() || L.Nome.front() != ';')) {
            Lista += P.Cp1252(L.Nome);
            Lista += '\0';
        }
    }
    Lista += '\0';
    return Lista;
}

// ---------------------------------------------------------------------------------------------------
// Writing

/// The value as the reference stores it: its length passes through a 16-bit byte count of the
/// UTF-16 copy (2n+2 bytes), so 32 767 characters and more wrap; a count of 0 deletes the key.
const char* ValorComoReferencia(const char* Valor, std::string& Guarda)
{
    if (!Valor)
        return nullptr;
    const std::size_t N = std::strlen(Valor);
    if (N < 32767)
        return Valor;
    const std::size_t Bytes = (2 * N + 2) & 0xFFFF;
    if (Bytes == 0)
        return nullptr;
    Guarda.assign(Valor, Bytes / 2 - 1);
    return Guarda.c_str();
}

/// One change to the file's lines: a range removed, a line replaced, text inserted after a line (or
/// at the start), text appended at the end; "[]" headers before the first named one dropped when a
/// value goes into the nameless section (they join it, as the reference rewrites them).
struct TEdicao {
    std::size_t RemoveDe = Nenhum, RemoveAte = Nenhum;
    std::size_t Substitui = Nenhum;
    std::string NovaLinha;           ///< content of the replaced line, without line ending
    std::size_t InsereApos = Nenhum; ///< line after which Inserido goes
    bool InsereNoInicio = false;
    std::string Inserido;  ///< whole lines, with their endings
    std::string Anexado;   ///< whole lines appended at the end
    std::size_t TiraCabecalhoVazioAte = 0;  ///< "[]" headers on lines before this one go
};

std::string Monta(const TPerfil& P, const TEdicao& E)
{
    const std::string_view Quebra = P.QuebraPadrao();
    std::string Novo;
    Novo.reserve(P.Dados.size() + E.NovaLinha.size() + E.Inserido.size() + E.Anexado.size() + 4);
    Novo.append(P.Dados, 0, P.Texto);
    if (E.InsereNoInicio)
        Novo += E.Inserido;
    for (std::size_t I = 0; I < P.Linhas.size(); ++I) {
        const TLinha& L = P.Linhas[I];
        const bool Removida = (E.RemoveDe != Nenhum && I >= E.RemoveDe && I < E.RemoveAte) ||
                              (I < E.TiraCabecalhoVazioAte && L.Tipo == TTipoLinha::Cabecalho && L.Nome.empty());
        if (!Removida) {
            if (I == E.Substitui) {
                Novo += E.NovaLinha;
                if (P.Terminada(L))
                    Novo.append(P.Dados, L.Fim, L.Proxima - L.Fim);
                else
                    Novo += Quebra;
            } else {
                Novo += P.Bruto(L);
            }
        }
        if (I == E.InsereApos) {
            if (!P.Terminada(L))
                Novo += Quebra;
            Novo += E.Inserido;
        }
    }
    if (!E.Anexado.empty()) {
        if (Novo.size() > P.Texto && Novo.back() != '\n' && Novo.back() != '\r')
            Novo += Quebra;
        Novo += E.Anexado;
    }
    return Novo;
}

/// What the call changes in P; false when the file stays as it is.
bool Planeja(const TPerfil& P, std::string_view Secao, const char* Chave, const char* Valor, TEdicao& E)
{
    const std::string_view NomeSecao = AparaBrancos(Secao);
    const TSecao* S = AchaSecao(P, NomeSecao);
    const std::string Quebra(P.QuebraPadrao());

    if (!Chave) {  // delete the section: its header and every line up to the next header
        if (!S || (S->Cabecalho == Nenhum && S->Fim == 0))
            return false;
        E.RemoveDe = S->Cabecalho == Nenhum ? 0 : S->Cabecalho;
        E.RemoveAte = S->Fim;
        return true;
    }
    const std::string_view NomeChave = AparaBrancos(Chave);
    const std::size_t Linha = S ? AchaChave(P, *S, NomeChave) : Nenhum;

    if (!Valor) {  // delete the key: its first line
        if (Linha == Nenhum)
            return false;
        E.RemoveDe = Linha;
        E.RemoveAte = Linha + 1;
        return true;
    }
    if (NomeSecao.empty()) {
        E.TiraCabecalhoVazioAte = P.Linhas.size();
        for (std::size_t I = 1; I < P.Secoes.size(); ++I)
            if (!P.Secoes[I].Nome.empty()) {
                E.TiraCabecalhoVazioAte = P.Secoes[I].Cabecalho;
                break;
            }
    }
    // Names and values are written without their leading blanks, as the reference writes them.
    const std::string_view NovoValor = AparaInicioSe(Valor, BrancoAscii);
    if (Linha != Nenhum) {
        const TLinha& L = P.Linhas[Linha];
        if (L.Tipo == TTipoLinha::Chave && P.Cp1252(L.Valor) == NovoValor)
            return false;
        // The key keeps the spelling it has in the file.
        E.Substitui = Linha;
        E.NovaLinha = std::string(L.Nome) + "=" + P.DoArquivo(NovoValor);
        return true;
    }
    const std::string NovaChave = P.DoArquivo(std::string(AparaInicioSe(Chave, BrancoAscii)) + "=" + std::string(NovoValor)) + Quebra;
    if (S) {  // after the last non-blank line of the section (its header when it has none)
        std::size_t Apos = S->Cabecalho;
        for (std::size_t I = S->Primeira; I < S->Fim; ++I)
            if (P.Linhas[I].Tipo != TTipoLinha::Branca)
                Apos = I;
        if (Apos == Nenhum)
            E.InsereNoInicio = true;
        else
            E.InsereApos = Apos;
        E.Inserido = NovaChave;
        return true;
    }
    E.Anexado = P.DoArquivo("[" + std::string(AparaInicioSe(Secao, BrancoAscii)) + "]") + Quebra + NovaChave;
    return true;
}


// ---------------------------------------------------------------------------------------------------
// The file as an editable model, for the reads and writes of one operation: each write changes only
// the lines it concerns, leaving the text exactly as the same write made through Planeja and Monta on
// the whole file would leave it (the tests replay every recorded case and random ones both ways), so
// a batch of n writes costs n small edits and one text, not n parses and n texts.
//
// While no line ends in a lone CR, joining or splitting text never makes a reparse see other lines
// than the model holds; a change the model does not make in place (a file with lone CR endings, a
// name that turns the line into a header, "[]" headers that join the nameless section) goes through
// Planeja and Monta on the whole text.

std::string_view QuebraFixa(std::string_view Q) noexcept
{
    if (Q.size() == 2)
        return "\r\n";
    return Q.empty() ? std::string_view() : Q[0] == '\n' ? std::string_view("\n") : std::string_view("\r");
}

/// A text of a batched write: NUL-terminated with no NUL inside, its size known; P null when absent.
struct TTexto {
    const char* P = nullptr;
    std::size_t N = 0;
    std::string_view V() const noexcept { return P ? std::string_view(P, N) : std::string_view(); }
};

/// Valor as the reference stores it (ValorComoReferencia), for a text whose size is known.
TTexto ValorComoReferencia(TTexto Valor, std::string& Guarda)
{
    if (!Valor.P || Valor.N < 32767)
        return Valor;
    const char* Guardado = ValorComoReferencia(Valor.P, Guarda);
    return Guardado ? TTexto{Guardado, Guarda.size()} : TTexto{};
}

struct TLinhaM {
    std::string_view Conteudo;  ///< the line without its ending, in the file's encoding
    std::string_view Quebra;    ///< its ending: "", "\r\n", "\n" or "\r"
    TTipoLinha Tipo = TTipoLinha::Branca;
    std::string_view Nome, Valor;  ///< as TLinha, inside Conteudo
};

TLinhaM ClassificaM(std::string_view Conteudo, std::string_view Quebra)
{
    TLinha L;
    ClassificaLinha(Conteudo, L);
    return {Conteudo, QuebraFixa(Quebra), L.Tipo, L.Nome, L.Valor};
}

// Names hashed and compared without regard to ASCII case, looked up by string_view.
struct THashSemCaixa {
    using is_transparent = void;
    std::size_t operator()(std::string_view T) const noexcept
    {
        // A word at a time, its capitals made small, so names that match hash alike.
        std::uint64_t H = 1469598103934665603ull ^ T.size();
        if (T.size() < 8) {
            for (char C : T)
                H = (H ^ static_cast<unsigned char>(MinusculaAscii(C))) * 1099511628211ull;
        } else {
            for (std::size_t I = 0; I + 8 < T.size(); I += 8)
                H = (H ^ MinusculasAscii8(Palavra8(T.data() + I))) * 1099511628211ull;
            H = (H ^ MinusculasAscii8(Palavra8(T.data() + T.size() - 8))) * 1099511628211ull;  // the last 8 bytes
        }
        return static_cast<std::size_t>(H ^ (H >> 29));
    }
};
struct TIgualSemCaixa {
    using is_transparent = void;
    bool operator()(std::string_view A, std::string_view B) const noexcept { return IguaisSemCaixa(A, B); }
};
/// The N bytes at Origem (sizeof(TParte) <= N <= 2 * sizeof(TParte)) copied to Destino as two parts,
/// the first from the first byte, the second ending at the last (they overlap when N is smaller).
template <class TParte>
[[gnu::always_inline]] inline void CopiaEmDuasPartes(char* Destino, const char* Origem, std::size_t N) noexcept
{
    TParte A, B;
    std::memcpy(&A, Origem, sizeof A);
    std::memcpy(&B, Origem + N - sizeof B, sizeof B);
    std::memcpy(Destino, &A, sizeof A);
    std::memcpy(Destino + N - sizeof B, &B, sizeof B);
}

/// T copied to Destino: the short texts of names and values in place, without a call.
[[gnu::always_inline]] inline void CopiaTexto(char* Destino, std::string_view T) noexcept
{
    const char* Origem = T.data();
    const std::size_t N = T.size();
    // Sizes are split in halves, so every size takes two to four tests.
    if (N >= 8) {
        if (N > 32)
            std::memcpy(Destino, Origem, N);
        else if (N > 16)
            CopiaEmDuasPartes<std::array<char, 16>>(Destino, Origem, N);
        else
            CopiaEmDuasPartes<std::uint64_t>(Destino, Origem, N);
    } else if (N >= 4) {
        CopiaEmDuasPartes<std::uint32_t>(Destino, Origem, N);
    } else if (N >= 2) {
        CopiaEmDuasPartes<std::uint16_t>(Destino, Origem, N);
    } else if (N == 1) {
        *Destino = *Origem;
    }
}

/// A == B, the short texts of names and values compared in place.
inline bool Iguais(std::string_view A, std::string_view B) noexcept
{
    const std::size_t N = A.size();
    if (N != B.size())
        return false;
    if (N > 16 || N < 8)
        return N == 0 || std::memcmp(A.data(), B.data(), N) == 0;
    return Palavra8(A.data()) == Palavra8(B.data()) && Palavra8(A.data() + N - 8) == Palavra8(B.data() + N - 8);
}

/// IguaisSemCaixa for names of one size, the short ones (the usual key names) compared in place.
inline bool IguaisCurtos(std::string_view A, std::string_view B) noexcept
{
    if (A.size() >= 8)
        return IguaisSemCaixa(A, B);
    if (A.size() >= 4) {  // usually spelt alike: first and last four bytes
        std::uint32_t A1, A2, B1, B2;
        std::memcpy(&A1, A.data(), 4);
        std::memcpy(&A2, A.data() + A.size() - 4, 4);
        std::memcpy(&B1, B.data(), 4);
        std::memcpy(&B2, B.data() + B.size() - 4, 4);
        if (A1 == B1 && A2 == B2)
            return true;
    }
    for (std::size_t I = 0; I < A.size(); ++I)
        if (A[I] != B[I] && MinusculaAscii(A[I]) != MinusculaAscii(B[I]))
            return false;
    return true;
}

template <class T>
using TMapaSemCaixa = std::unordered_map<std::string, T, THashSemCaixa, TIgualSemCaixa>;

struct TSecaoM {
    bool TemCabecalho = false;  ///< false only for the lines before the first header
    bool Removida = false;
    bool Propria = false;       ///< its lines are in Corpo (a write changed them), not in the parsed text
    bool Repetida = false;      ///< a section before it may have its name
    TLinhaM Cabecalho;
    std::size_t De = 0, Ate = 0;  ///< its lines in the parsed text while not Propria
    std::vector<TLinhaM> Corpo;
    // The first entry of each name (CP1252), for a large section; rebuilt after an entry goes.
    mutable std::unique_ptr<TMapaSemCaixa<std::size_t>> Indice;
    mutable bool IndiceValido = false;
};

constexpr std::size_t SecaoGrande = 24;

/// Hash of a name (CP1252) without regard to ASCII case.
std::size_t HashSemCaixa(std::string_view T) noexcept
{
    return THashSemCaixa{}(T);
}

class TModelo {
public:
    TModelo() = default;
    TModelo(const TModelo&) = delete;
    TModelo& operator=(const TModelo&) = delete;

    /// The model of Texto (decoded, as TPerfil holds it). Sections keep their lines in the parsed text
    /// until a write changes them, so reading costs one parse. Answers the text modelled before, whose
    /// memory the caller may read the next file into.
    std::string Reconstroi(std::string Texto)
    {
        // The line and section tables keep their memory from the file modelled before.
        Base.Existe = true;
        Base.Utf8 = Base.Utf16 = false;
        Base.Texto = 0;
        std::string Anterior = std::exchange(Base.Dados, std::move(Texto));
        Analisa(Base);
        Blocos.clear();
        Livre = nullptr;
        Resta = 0;
        Acrescentado = 0;
        // So do the sections' own line arrays: a table of a thousand rows would otherwise free a
        // thousand of them here and take them again at the first write of each row.
        if (Secoes.size() > Base.Secoes.size())
            Secoes.erase(Secoes.begin() + static_cast<std::ptrdiff_t>(Base.Secoes.size()), Secoes.end());
        for (TSecaoM& M : Secoes) {
            std::vector<TLinhaM> Corpo = std::move(M.Corpo);
            Corpo.clear();
            M = TSecaoM();
            M.Corpo = std::move(Corpo);
        }
        const std::size_t Reaproveitadas = Secoes.size();
        Secoes.reserve(Base.Secoes.size() + 16);
        Tabela.assign(std::bit_ceil(2 * Base.Secoes.size() + 16), 0);
        Ocupadas = 0;
        Ultima = Nenhum;
        CrSozinho = 0;
        for (const TLinha& L : Base.Linhas)
            CrSozinho += L.Proxima == L.Fim + 1 && Base.Dados[L.Fim] == '\r';
        for (std::size_t I = 0; I < Base.Secoes.size(); ++I) {
            const TSecao& S = Base.Secoes[I];
            TSecaoM& M = I < Reaproveitadas ? Secoes[I] : Secoes.emplace_back();
            if (S.Cabecalho != Nenhum) {
                M.TemCabecalho = true;
                M.Cabecalho = Converte(Base.Linhas[S.Cabecalho]);
            }
            M.De = S.Primeira;
            M.Ate = S.Fim;
            if (!M.Cabecalho.Nome.empty())
                Insere(I);
        }
        return Anterior;
    }

    bool Utf8() const noexcept { return Base.Utf8; }
    /// The writes since the model was made have added much more than the file holds (their texts, or
    /// sections removed and added again): worth making it again from the text it holds.
    bool Inchado() const noexcept
    {
        return Acrescentado > 4 * Base.Dados.size() + 65536 || Secoes.size() > 2 * Base.Secoes.size() + 64;
    }

    /// The text the model holds (decoded, as Monta builds it).
    std::string Texto() const
    {
        // Two passes: the size, then the pieces copied into place (thousands of short lines, each
        // one copy without a call).
        const auto Partes = [this](auto&& Faz) __attribute__((always_inline)) {
            Faz(std::string_view(Base.Dados).substr(0, Base.Texto));
            for (const TSecaoM& S : Secoes) {
                if (S.Removida)
                    continue;
                if (S.TemCabecalho) {
                    Faz(S.Cabecalho.Conteudo);
                    Faz(S.Cabecalho.Quebra);
                }
                if (!S.Propria) {
                    if (S.Ate > S.De)
                        Faz(std::string_view(Base.Dados).substr(Base.Linhas[S.De].Inicio,
                                                                 Base.Linhas[S.Ate - 1].Proxima - Base.Linhas[S.De].Inicio));
                    continue;
                }
                for (const TLinhaM& L : S.Corpo) {
                    Faz(L.Conteudo);
                    Faz(L.Quebra);
                }
            }
        };
        std::size_t Tamanho = 0;
        Partes([&Tamanho](std::string_view P) __attribute__((always_inline)) { Tamanho += P.size(); });
        std::string T(Tamanho, '\0');
        char* Fim = T.data();
        Partes([&Fim](std::string_view P) __attribute__((always_inline)) {
            CopiaTexto(Fim, P);
            Fim += P.size();
        });
        return T;
    }

    std::size_t Linhas(const TSecaoM& S) const noexcept { return S.Propria ? S.Corpo.size() : S.Ate - S.De; }
    TLinhaM Linha(const TSecaoM& S, std::size_t I) const
    {
        return S.Propria ? S.Corpo[I] : Converte(Base.Linhas[S.De + I]);
    }

    /// Seguinte: the section after the last one found is the likelier (a write that names a section
    /// other than the last write's, usually the next row's).
    TSecaoM* AchaSecao(std::string_view Nome, bool Seguinte = false)
    {
        if (Nome.empty())
            return &Secoes[0];
        // An operation reads and writes the keys of one section one after another, and often the
        // sections in file order. A section found stays the first of its name until it is removed
        // (later ones are only ever appended); the one after it is the first of its name when no
        // section before it had that name.
        if (Ultima < Secoes.size()) {
            const auto Proxima = [&]() -> TSecaoM* {
                if (Ultima + 1 < Secoes.size())
                    if (TSecaoM& S = Secoes[Ultima + 1]; !S.Removida && !S.Repetida && Base.NomeIgual(S.Cabecalho.Nome, Nome))
                        return &Secoes[++Ultima];
                return nullptr;
            };
            if (TSecaoM* S = Seguinte ? Proxima() : nullptr)
                return S;
            if (TSecaoM& S = Secoes[Ultima]; !S.Removida && Base.NomeIgual(S.Cabecalho.Nome, Nome))
                return &S;
            if (TSecaoM* S = Seguinte ? nullptr : Proxima())
                return S;
        }
        const std::size_t Mascara = Tabela.size() - 1;
        for (std::size_t P = Posicao(HashSemCaixa(Nome)); Tabela[P] != 0; P = (P + 1) & Mascara) {
            TSecaoM& S = Secoes[Tabela[P] - 1];
            if (!S.Removida && Base.NomeIgual(S.Cabecalho.Nome, Nome)) {
                Ultima = Tabela[P] - 1;
                return &S;
            }
        }
        return nullptr;
    }
    const TSecaoM* AchaSecao(std::string_view Nome) const { return const_cast<TModelo*>(this)->AchaSecao(Nome); }

    /// Position in S of the first entry named Chave (CP1252, trimmed), or Nenhum.
    std::size_t AchaChave(const TSecaoM& S, std::string_view Chave) const
    {
        const std::size_t N = Linhas(S);
        if (N < SecaoGrande) {
            const auto Procura = [&](const auto* Linha_) -> std::size_t {
                for (std::size_t I = 0; I < N; ++I)
                    if ((Linha_[I].Tipo == TTipoLinha::Chave || Linha_[I].Tipo == TTipoLinha::SemIgual) &&
                        (Base.Utf8 || (Linha_[I].Nome.size() == Chave.size() &&
                                       (Chave.empty() || MinusculaAscii(Linha_[I].Nome[0]) == MinusculaAscii(Chave[0])))) &&
                        Base.NomeIgual(Linha_[I].Nome, Chave))
                        return I;
                return Nenhum;
            };
            return S.Propria ? Procura(S.Corpo.data()) : Procura(Base.Linhas.data() + S.De);
        }
        if (!S.IndiceValido) {
            S.Indice = std::make_unique<TMapaSemCaixa<std::size_t>>();
            for (std::size_t I = 0; I < N; ++I) {
                const TLinhaM L = Linha(S, I);
                if (L.Tipo == TTipoLinha::Chave || L.Tipo == TTipoLinha::SemIgual)
                    S.Indice->emplace(Base.Cp1252(L.Nome), I);
            }
            S.IndiceValido = true;
        }
        const auto Achado = S.Indice->find(Chave);
        return Achado == S.Indice->end() ? Nenhum : Achado->second;
    }

    /// What GetPrivateProfileStringA answers for Secao/Chave with a buffer of Tamanho (> 0) bytes.
    std::string Le(std::string_view Secao, std::string_view Chave, std::string_view Padrao_, std::uint32_t Tamanho) const
    {
        const TSecaoM* S = AchaSecao(AparaBrancos(Secao));
        const std::size_t I = S ? AchaChave(*S, AparaBrancos(Chave)) : Nenhum;
        TTipoLinha Tipo = TTipoLinha::Branca;
        std::string_view Valor;
        if (I != Nenhum) {
            const auto& L = S->Propria ? S->Corpo[I] : TLinhaM{{}, {}, Base.Linhas[S->De + I].Tipo, {}, Base.Linhas[S->De + I].Valor};
            Tipo = L.Tipo;
            Valor = L.Valor;
        }
        if (Tipo != TTipoLinha::Chave)
            return std::string(EntradaCopiada(Padrao(Padrao_), Tamanho));
        if (!Base.Utf8)
            return std::string(EntradaCopiada(Valor, Tamanho));
        return std::string(EntradaCopiada(Base.Cp1252(Valor), Tamanho));
    }

    /// The key names of Secao as the listing gives them: empty when the first name is.
    std::vector<std::string> Chaves(std::string_view Secao) const
    {
        std::vector<std::string> Nomes;
        const TSecaoM* S = AchaSecao(AparaBrancos(Secao));
        for (std::size_t I = 0, N = S ? Linhas(*S) : 0; I < N; ++I) {
            const TLinhaM L = Linha(*S, I);
            if (L.Tipo == TTipoLinha::Chave && (L.Nome.empty() || L.Nome.front() != ';'))
                Nomes.push_back(Base.Cp1252(L.Nome));
        }
        if (!Nomes.empty() && Nomes.front().empty())
            Nomes.clear();
        return Nomes;
    }

    std::vector<std::string> NomesDasSecoes() const
    {
        std::vector<std::string> Nomes;
        for (std::size_t I = 1; I < Secoes.size(); ++I)
            if (!Secoes[I].Removida && !Secoes[I].Cabecalho.Nome.empty())
                Nomes.push_back(Base.Cp1252(Secoes[I].Cabecalho.Nome));
        return Nomes;
    }

    /// Applies one write as WritePrivateProfileStringA makes it (Valor already as the reference stores
    /// it); false when the text stays as it is. Minusculas: the write's section and key in small
    /// letters, which only a header or key line it adds can show (names match without regard to case).
    ///
    /// Secao: the section the last write named, when the caller knows this write names it too and
    /// keeps it for the next one (Nenhum: looked up); Nenhum again after a write that may have
    /// changed the sections.
    /// NoLugar: whether TrocaValor may make it (false: the caller has just found it cannot).
    bool Aplica(TTexto Secao_, TTexto Chave_, TTexto Valor_, bool Minusculas, std::size_t& Secao_Indice,
                bool NoLugar = true)
    {
        const char *Secao = Secao_.P, *Chave = Chave_.P, *Valor = Valor_.P;
        if (NoLugar && Chave && Valor)
            if (const int Trocou = TrocaValor(Secao_.V(), Chave_.V(), Valor_.V(), Secao_Indice); Trocou >= 0)
                return Trocou == 1;
        Secao_Indice = Nenhum;
        // A name as a line this write adds holds it.
        const auto Novo = [Minusculas](std::string_view Nome) {
            return Minusculas ? MinusculasAscii(std::string(Nome)) : std::string(Nome);
        };
        const auto NoTexto = [&] {
            if (!Minusculas)
                return AplicaNoTexto(Secao, Chave, Valor);
            const std::string S = Novo(Secao_.V()), K = Novo(Chave_.V());
            return AplicaNoTexto(S.c_str(), Chave ? K.c_str() : nullptr, Valor);
        };
        if (CrSozinho > 0)
            return NoTexto();
        const std::string_view NomeSecao = AparaBrancos(Secao_.V());
        TSecaoM* S = AchaSecao(NomeSecao);
        if (!Chave) {
            if (!S || (!S->TemCabecalho && Linhas(*S) == 0))
                return false;
            if (S->TemCabecalho) {
                S->Removida = true;
            } else {
                Proprio(*S).clear();
                S->IndiceValido = false;
            }
            return true;
        }
        const std::size_t Linha_ = S ? AchaChave(*S, AparaBrancos(Chave_.V())) : Nenhum;
        if (!Valor) {
            if (Linha_ == Nenhum)
                return false;
            std::vector<TLinhaM>& Corpo = Proprio(*S);
            Corpo.erase(Corpo.begin() + static_cast<std::ptrdiff_t>(Linha_));
            S->IndiceValido = false;
            return true;
        }
        const std::string_view NovoValor = AparaInicioSe(Valor_.V(), BrancoAscii);
        if (Linha_ != Nenhum) {
            const TLinhaM L = Linha(*S, Linha_);
            if (L.Tipo == TTipoLinha::Chave && (Base.Utf8 ? Base.Cp1252(L.Valor) == NovoValor : L.Valor == NovoValor))
                return false;
        }
        if (NomeSecao.empty() && TemCabecalhoVazioNoInicio())
            return NoTexto();
        const std::string_view Quebra = QuebraPadrao();
        if (Linha_ != Nenhum) {
            TLinhaM& L = Proprio(*S)[Linha_];
            const TLinhaM Nova = GuardaChave(L.Nome, DoArquivo(NovoValor), L.Quebra.empty() ? Quebra : L.Quebra, true);
            if (Nova.Tipo == TTipoLinha::Cabecalho)
                return NoTexto();
            L = Nova;
            return true;
        }
        const TLinhaM Nova = GuardaChave(DoArquivo(Novo(AparaInicioSe(Chave_.V(), BrancoAscii))), DoArquivo(NovoValor), Quebra);
        if (Nova.Tipo == TTipoLinha::Cabecalho)
            return NoTexto();
        if (S) {  // after the last non-blank line of the section (its header when it has none)
            std::vector<TLinhaM>& Corpo = Proprio(*S);
            std::size_t Apos = Corpo.size();
            while (Apos > 0 && Corpo[Apos - 1].Tipo == TTipoLinha::Branca)
                --Apos;
            TLinhaM* Anterior = Apos > 0 ? &Corpo[Apos - 1] : S->TemCabecalho ? &S->Cabecalho : nullptr;
            if (Anterior && Anterior->Quebra.empty())
                Anterior->Quebra = Quebra;
            Corpo.insert(Corpo.begin() + static_cast<std::ptrdiff_t>(Apos), Nova);
            if (S->IndiceValido)
                S->Indice->emplace(Base.Cp1252(Nova.Nome), Apos);
            return true;
        }
        const TLinhaM Cabecalho = Guarda(DoArquivo("[" + Novo(AparaInicioSe(Secao_.V(), BrancoAscii)) + "]"), {}, {}, Quebra);
        if (Cabecalho.Tipo != TTipoLinha::Cabecalho)
            return NoTexto();
        if (TLinhaM* Ultima = UltimaLinha(); Ultima && Ultima->Quebra.empty())
            Ultima->Quebra = Quebra;
        TSecaoM& NovaSecao = Secoes.emplace_back();
        NovaSecao.TemCabecalho = true;
        NovaSecao.Propria = true;
        NovaSecao.Cabecalho = Cabecalho;
        NovaSecao.Corpo.push_back(Nova);
        Indexa(Secoes.size() - 1);
        return true;
    }

    /// The usual write of a batch, a new value for a key its section already holds (in a file without
    /// lone CR endings or UTF-8 text), made as Aplica makes it, in fewer steps: 1 when the line
    /// changed, 0 when it already held the value, -1 when the write is not that case (nothing
    /// changed). Secao, Chave and Valor as a write gives them, cut at a NUL, Valor shorter than
    /// 32,767 bytes. Indice: as Aplica's; set to the section found.
    int TrocaValor(std::string_view Secao, std::string_view Chave, std::string_view Valor, std::size_t& Indice)
    {
        if (CrSozinho > 0 || Base.Utf8)
            return -1;
        if (Indice >= Secoes.size()) {
            Secao = AparaBrancos(Secao);
            const TSecaoM* Achada = Secao.empty() ? nullptr : AchaSecao(Secao, true);
            if (!Achada)
                return -1;
            Indice = static_cast<std::size_t>(Achada - Secoes.data());
        }
        TSecaoM& S = Secoes[Indice];
        if (S.Removida)
            return -1;
        Chave = AparaBrancos(Chave);
        Valor = AparaInicioSe(Valor, BrancoAscii);
        TLinhaM* L = nullptr;
        if (!S.Propria) {
            const std::size_t I = AchaChave(S, Chave);
            if (I == Nenhum)
                return -1;
            // Unchanged: the section stays in the parsed text.
            if (const TLinha& Lida = Base.Linhas[S.De + I]; Lida.Tipo == TTipoLinha::Chave && Iguais(Lida.Valor, Valor))
                return 0;
            L = &Proprio(S)[I];
        } else if (S.Corpo.size() < SecaoGrande) {
            // The first entry of the name: a short section is scanned, names compared in place.
            for (TLinhaM& Linha_ : S.Corpo)
                if ((Linha_.Tipo == TTipoLinha::Chave || Linha_.Tipo == TTipoLinha::SemIgual) &&
                    Linha_.Nome.size() == Chave.size() && IguaisCurtos(Linha_.Nome, Chave)) {
                    L = &Linha_;
                    break;
                }
            if (!L)
                return -1;
        } else {
            const std::size_t I = AchaChave(S, Chave);
            if (I == Nenhum)
                return -1;
            L = &S.Corpo[I];
        }
        if (L->Tipo != TTipoLinha::Chave || L->Quebra.empty() || L->Nome.empty() || L->Nome.front() == '[')
            return -1;
        if (Iguais(L->Valor, Valor))
            return 0;
        *L = GuardaChave(L->Nome, Valor, L->Quebra, true);
        return 1;
    }

private:
    TLinhaM Converte(const TLinha& L) const
    {
        return {std::string_view(Base.Dados).substr(L.Inicio, L.Fim - L.Inicio),
                QuebraFixa(std::string_view(Base.Dados).substr(L.Fim, L.Proxima - L.Fim)), L.Tipo, L.Nome, L.Valor};
    }
    /// The section's lines, taken out of the parsed text to be changed.
    std::vector<TLinhaM>& Proprio(TSecaoM& S)
    {
        if (!S.Propria) {
            S.Corpo.reserve(S.Ate - S.De + 1);
            for (std::size_t I = S.De; I < S.Ate; ++I)
                S.Corpo.push_back(Converte(Base.Linhas[I]));
            S.Propria = true;
        }
        return S.Corpo;
    }
    /// First slot for a hash: its high bits after one more mix, so names that differ only in their
    /// last characters spread over the table.
    std::size_t Posicao(std::size_t Hash) const noexcept
    {
        return static_cast<std::size_t>((Hash * 0x9E3779B97F4A7C15ull) >> (64 - std::countr_zero(Tabela.size())));
    }
    /// Indexes a section a write appended (its lines are the write's, never with a lone CR).
    void Indexa(std::size_t I)
    {
        if (2 * (Ocupadas + 1) > Tabela.size()) {  // grow, inserting in file order again
            Tabela.assign(Tabela.size() * 2, 0);
            Ocupadas = 0;
            for (std::size_t J = 0; J < I; ++J)
                if (!Secoes[J].Cabecalho.Nome.empty())
                    Insere(J);
        }
        Insere(I);
    }
    void Insere(std::size_t I)
    {
        TSecaoM& S = Secoes[I];
        const std::size_t Mascara = Tabela.size() - 1;
        std::size_t P = Posicao(Base.Utf8 ? HashSemCaixa(Base.Cp1252(S.Cabecalho.Nome)) : HashSemCaixa(S.Cabecalho.Nome));
        // Sections go in in file order: one of the same name met here comes before it.
        S.Repetida = Base.Utf8;
        for (; Tabela[P] != 0; P = (P + 1) & Mascara)
            S.Repetida = S.Repetida || IguaisSemCaixa(Secoes[Tabela[P] - 1].Cabecalho.Nome, S.Cabecalho.Nome);
        Tabela[P] = static_cast<std::uint32_t>(I + 1);
        ++Ocupadas;
    }
    /// A line made by a write, its text (A, B and C joined) kept in the model's own blocks.
    TLinhaM Guarda(std::string_view A, std::string_view B, std::string_view C, std::string_view Quebra)
    {
        return ClassificaM(Junta(A, B, C), Quebra);
    }
    /// A, B and C joined, kept in the model's own blocks.
    std::string_view Junta(std::string_view A, std::string_view B, std::string_view C)
    {
        const std::size_t N = A.size() + B.size() + C.size();
        if (N > Resta) {
            Resta = std::max<std::size_t>(N, 1 << 16);
            Blocos.push_back(std::make_unique_for_overwrite<char[]>(Resta));
            Livre = Blocos.back().get();
        }
        char* Inicio = Livre;
        for (std::string_view Parte : {A, B, C}) {
            CopiaTexto(Livre, Parte);
            Livre += Parte.size();
        }
        Resta -= N;
        Acrescentado += N;
        return std::string_view(Inicio, N);
    }
    /// The key line "Nome=Valor" (Valor never starts with a blank nor holds a NUL). The usual name (not
    /// empty, not starting with "[", no "=", NUL or blank at its ends; always so for DeLinha, the name
    /// of a line already classified, but for the first two) makes a line whose parts are known
    /// without classifying it again.
    TLinhaM GuardaChave(std::string_view Nome, std::string_view Valor, std::string_view Quebra, bool DeLinha = false)
    {
        if (Nome.empty() || Nome.front() == '[' ||
            (!DeLinha && (BrancoAscii(Nome.back()) || BrancoAscii(Nome.front()) ||
                          Nome.find('=') != std::string_view::npos || Nome.find('\0') != std::string_view::npos)))
            return Guarda(Nome, "=", Valor, Quebra);
        const std::string_view Linha = Junta(Nome, "=", Valor);
        return {Linha, QuebraFixa(Quebra), TTipoLinha::Chave, Linha.substr(0, Nome.size()),
                AparaBrancos(Linha.substr(Nome.size() + 1))};
    }
    /// CP1252 text as it goes into the file: itself, or a UTF-8 copy kept for the model's life.
    std::string_view DoArquivo(std::string_view T)
    {
        if (!Base.Utf8)
            return T;
        return Junta(Cp1252ParaUtf8(T), {}, {});
    }
    std::string_view QuebraPadrao() const
    {
        for (const TSecaoM& S : Secoes) {
            if (S.Removida)
                continue;
            if (S.TemCabecalho)
                return S.Cabecalho.Quebra.empty() ? "\r\n" : S.Cabecalho.Quebra;
            if (Linhas(S) > 0) {
                const std::string_view Q = Linha(S, 0).Quebra;
                return Q.empty() ? "\r\n" : Q;
            }
        }
        return "\r\n";
    }
    TLinhaM* UltimaLinha()
    {
        for (std::size_t I = Secoes.size(); I-- > 0;) {
            TSecaoM& S = Secoes[I];
            if (S.Removida)
                continue;
            if (Linhas(S) > 0)
                return &Proprio(S).back();
            if (S.TemCabecalho)
                return &S.Cabecalho;
        }
        return nullptr;
    }
    /// "[]" headers before the first named one, which a write to the nameless section drops.
    bool TemCabecalhoVazioNoInicio() const
    {
        for (std::size_t I = 1; I < Secoes.size(); ++I)
            if (!Secoes[I].Removida)
                return Secoes[I].Cabecalho.Nome.empty();
        return false;
    }
    bool AplicaNoTexto(const char* Secao, const char* Chave, const char* Valor)
    {
        TPerfil P;
        P.Existe = true;
        P.Dados = Texto();
        Analisa(P);
        TEdicao E;
        if (!Planeja(P, Secao, Chave, Valor, E))
            return false;
        Reconstroi(Monta(P, E));
        return true;
    }

    TPerfil Base;  ///< the text the model was made from, parsed, and its encoding
    std::vector<std::unique_ptr<char[]>> Blocos;  ///< texts of the lines made by writes since
    char* Livre = nullptr;
    std::size_t Resta = 0;
    std::size_t Acrescentado = 0;  ///< bytes of Blocos taken
    std::vector<TSecaoM> Secoes;  ///< [0]: the lines before the first header
    std::vector<std::uint32_t> Tabela;  ///< open addressing: section index + 1 by name, 0 free
    std::size_t Ocupadas = 0;
    std::size_t Ultima = Nenhum;   ///< the section AchaSecao found last
    std::size_t CrSozinho = 0;  ///< lines ending in a lone CR
};

} // namespace

std::uint32_t GetPrivateProfileStringA(const char* Secao, const char* Chave, const char* Padrao_,
                                       char* Buffer, std::uint32_t Tamanho, const char* Arquivo)
{
    if (!Secao)
        return GetPrivateProfileSectionNamesA(Buffer, Tamanho, Arquivo);
    if (!Buffer || Tamanho == 0)
        return 0;
    try {
        const std::string_view Dflt = Padrao(Padrao_ ? std::string_view(Padrao_) : std::string_view());
        TPerfil P;
        Carrega(Arquivo, P);
        const TSecao* S = P.Existe ? AchaSecao(P, AparaBrancos(Secao)) : nullptr;
        if (Chave) {
            const std::size_t Linha = S ? AchaChave(P, *S, AparaBrancos(Chave)) : Nenhum;
            if (Linha == Nenhum || P.Linhas[Linha].Tipo != TTipoLinha::Chave)
                return CopiaEntrada(Buffer, Tamanho, Dflt);
            return CopiaEntrada(Buffer, Tamanho, P.Cp1252(P.Linhas[Linha].Valor));
        }
        // Key names; when the list comes out empty (or starts with an empty name) the default answers.
        if (S) {
            const std::string Lista = ListaChaves(P, *S);
            if (Lista[0] != '\0') {
                const std::uint32_t N = CopiaLista(Buffer, Tamanho, Lista);
                if (Buffer[0] != '\0')
                    return N;
            }
        }
        return CopiaEntrada(Buffer, Tamanho, Dflt);
    } catch (...) {
        Buffer[0] = '\0';
        return 0;
    }
}

std::uint32_t GetPrivateProfileSectionNamesA(char* Buffer, std::uint32_t Tamanho, const char* Arquivo)
{
    if (!Buffer || Tamanho == 0)
        return 0;
    try {
        TPerfil P;
        Carrega(Arquivo, P);
        return CopiaLista(Buffer, Tamanho, P.Existe ? ListaSecoes(P) : std::string(1, '\0'));
    } catch (...) {
        Buffer[0] = '\0';
        return 0;
    }
}

std::uint32_t GetPrivateProfileIntA(const char* Secao, const char* Chave, int Padrao_, const char* Arquivo)
{
    char Texto[30];
    if (GetPrivateProfileStringA(Secao, Chave, "", Texto, sizeof Texto, Arquivo) == 0)
        return static_cast<std::uint32_t>(Padrao_);
    const char* C = AparaInicioSe(Texto, BrancoOuControle).data();
    bool Negativo = false;
    if (*C == '+' || *C == '-')
        Negativo = *C++ == '-';
    unsigned Base = 10;
    if (C[0] == '0' && (C[1] == 'x' || C[1] == 'X')) {
        Base = 16;
        C += 2;
    } else if (C[0] == '0' && (C[1] == 'o' || C[1] == 'O')) {
        Base = 8;
        C += 2;
    } else if (C[0] == '0' && (C[1] == 'b' || C[1] == 'B')) {
        Base = 2;
        C += 2;
    }
    std::uint32_t Valor = 0;
    for (;; ++C) {
        unsigned D;
        if (*C >= '0' && *C <= '9')
            D = static_cast<unsigned>(*C - '0');
        else if (*C >= 'a' && *C <= 'f')
            D = static_cast<unsigned>(*C - 'a' + 10);
        else if (*C >= 'A' && *C <= 'F')
            D = static_cast<unsigned>(*C - 'A' + 10);
        else
            break;
        if (D >= Base)
            break;
        Valor = Valor * Base + D;
    }
    return Negativo ? 0u - Valor : Valor;
}

std::vector<std::pair<std::string, std::string>> LeValoresDaSecao(const char* Secao, std::uint32_t Tamanho,
                                                                    const char* Arquivo)
{
    try {
        return TPerfilEmLote(Arquivo ? Arquivo : "").ValoresDaSecao(Secao, Tamanho);
    } catch (...) {
        return {};
    }
}

namespace {

/// What a write call does, as the failure entry names it.
std::string DescreveOperacao(const char* Secao, const char* Chave, const char* Valor)
{
    const std::string Onde = "[" + std::string(Secao) + "]";
    if (!Chave)
        return "erase of " + Onde;
    return (Valor ? "write of " : "erase of ") + Onde + " " + Chave;
}

/// The file a write changes: a symbolic link is followed to its final target, so the target is
/// replaced and the link stays. A loop is left as it is (its open fails).
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

/// The read-modify-write of every change to a file: under the process's mutex and the file's lock
/// (created empty when Cria and missing), the file as it is now goes to Muda (decoded, in P.Dados),
/// which answers the new text, or nothing when the file stays as it is; the new text replaces the file
/// atomically. Answers 1 when the file holds the change (or there was none to make); 0 when nothing
/// was written, told once under Operacao with the reason. A missing file with nothing to create answers 1.
/// When the file is replaced, Escrito (if given) receives the text Muda answered.
template <class TMuda>
int ReescreveTravado(const char* Arquivo, const std::string& Operacao, bool Cria, TMuda&& Muda,
                     std::string* Escrito = nullptr, const std::function<void()>* AntesDeTrocar = nullptr)
{
    std::string Caminho = Arquivo;
    try {
        std::string Local;
        struct stat NoCaminho;
        const bool Ha = CaminhoLocalExiste(Arquivo, Local, NoCaminho);
        const std::string Destino = Ha && S_ISLNK(NoCaminho.st_mode) ? DestinoFinal(Local) : Local;
        Caminho = Destino == Local ? Local : Local + " (" + Destino + ")";  // a failure entry names both

        std::lock_guard<std::mutex> Exclusivo(TravaDoProcesso());
        TArquivoTravado A;
        switch (AbreTravado(Destino, Cria, A)) {
        case TAbertura::Ok:
            break;
        case TAbertura::Ausente:
            return 1;  // nothing to delete
        case TAbertura::Falha:
            RegistraFalhaArquivo(Caminho, Operacao, errno);
            return 0;
        }
        if ((A.St.st_mode & 0222) == 0) {  // read-only, as on Windows (root included)
            RegistraFalhaArquivo(Caminho, Operacao, EACCES, "the file is read-only");
            return 0;
        }

        TPerfil P;
        bool Ok = LeTudo(A.F.Fd, static_cast<std::size_t>(A.St.st_size), P.Dados);
        int Erro = errno;
        std::string Motivo;
        if (Ok) {
            P.Existe = true;
            Ok = Decodifica(P);
            if (!Ok)
                Motivo = "the file is UTF-16 text that does not decode; it is left as it is";
        }
        if (Ok) {
            if (std::optional<std::string> Novo = Muda(P)) {
                Ok = P.Utf16 ? SubstituiArquivo(Destino, A.St, Codifica(*Novo), AntesDeTrocar)
                             : SubstituiArquivo(Destino, A.St, *Novo, AntesDeTrocar);
                Erro = errno;
                if (Ok && Escrito)
                    *Escrito = std::move(*Novo);
                // The replaced file's last descriptor: closing it frees the old file's blocks, which
                // costs more than the rest of the replace; the side thread does it. Its lock only
                // kept writers off a file the path no longer names.
                if (const int Velho = A.F.Fd; Ok && FazAoLado([Velho] { close(Velho); }))
                    A.F.Fd = -1;
            }
        }
        if (!Ok) {
            if (A.Criado)
                unlink(Destino.c_str());
            RegistraFalhaArquivo(Caminho, Operacao, Erro, Motivo);
        }
        return Ok ? 1 : 0;
    } catch (...) {
        RegistraFalhaArquivo(Caminho, Operacao, ENOMEM);
        return 0;
    }
}

} // namespace

int WritePrivateProfileStringA(const char* Secao, const char* Chave, const char* Valor, const char* Arquivo)
{
    if (!Secao || !Arquivo)
        return 0;
    std::string Caminho = Arquivo;
    const std::string Operacao = DescreveOperacao(Secao, Chave, Valor);
    if (TemQuebra(Secao) || TemQuebra(Chave) || TemQuebra(Valor)) {
        RegistraFalhaArquivo(Caminho, Operacao, 0, "refused: the section, key or value holds a line break");
        return 0;
    }
    std::string Guarda;
    try {
        Valor = Chave ? ValorComoReferencia(Valor, Guarda) : nullptr;
    } catch (...) {
        RegistraFalhaArquivo(Caminho, Operacao, ENOMEM);
        return 0;
    }
    return ReescreveTravado(Arquivo, Operacao, Chave && Valor, [&](TPerfil& P) -> std::optional<std::string> {
        Analisa(P);
        TEdicao E;
        if (!Planeja(P, Secao, Chave, Valor, E))
            return std::nullopt;
        return Monta(P, E);
    });
}

// ---------------------------------------------------------------------------------------------------
// The batch

struct TPerfilEmLote::TDados {
    /// A text of a write: its offset in Textos (Nenhum: null) and size.
    struct TGuardado {
        std::size_t Posicao = Nenhum, Tamanho = 0;
    };
    struct TOperacao {
        TGuardado Secao, Chave, Valor;
        bool Minusculas = false;  ///< section and key go into new lines in small letters
    };
    std::string Arquivo;
    TModelo Modelo;
    /// The decoded text of the file the model holds before the pending writes: as read, or as the last
    /// confirm wrote it.
    std::string Lido;
    /// The model holds Lido with no write pending: a later batch of the same file, finding the file
    /// still holding Lido, takes it over instead of parsing the file again.
    bool Reutilizavel = false;
    std::vector<TOperacao> Operacoes;
    /// The writes' texts, each followed by a NUL; the memory stays from batch to batch.
    struct TTextos {
        std::unique_ptr<char[]> Dados;
        std::size_t Usado = 0, Capacidade = 0;
        /// N more bytes at the end.
        char* Acrescenta(std::size_t N)
        {
            if (Usado + N > Capacidade)
                Cresce(N);
            Usado += N;
            return Dados.get() + Usado - N;
        }
        [[gnu::noinline]] void Cresce(std::size_t N)
        {
            Capacidade = std::max<std::size_t>(2 * Capacidade, Usado + N + 4096);
            auto Novos = std::make_unique_for_overwrite<char[]>(Capacidade);
            if (Usado > 0)
                std::memcpy(Novos.get(), Dados.get(), Usado);
            Dados = std::move(Novos);
        }
        /// T and a NUL at the end; answers where T went.
        [[gnu::always_inline]] std::size_t Copia(std::string_view T)
        {
            char* P = Acrescenta(T.size() + 1);
            CopiaTexto(P, T);
            P[T.size()] = '\0';
            return static_cast<std::size_t>(P - Dados.get());
        }
    } Textos;
    bool Recusada = false;  ///< a write that is refused: the batch fails as a whole
    bool Cria = false;      ///< a write that creates a missing file
    /// The model's section the last write named, while the next write that names it needs no look-up.
    std::size_t SecaoDaUltima = Nenhum;
    std::string Leitura;  ///< the memory of the last reading of a file the model already held

    /// Reads the file. The model is made again from it, unless it already holds this file's text.
    void Rele(const std::string& Caminho)
    {
        TPerfil P;
        P.Dados = std::move(Leitura);  // read over the last reading: no memory to clear first
        LeArquivoPerfil(Caminho.c_str(), P);
        const bool Mantem = Reutilizavel && Caminho == Arquivo && P.Dados == Lido && !Modelo.Inchado();
        Arquivo = Caminho;
        if (!Mantem) {
            Lido = P.Dados;
            Leitura = Modelo.Reconstroi(std::move(P.Dados));
        } else {
            Leitura = std::move(P.Dados);
        }
        Reutilizavel = true;
        Operacoes.clear();
        Textos.Usado = 0;
        Recusada = Cria = false;
        SecaoDaUltima = Nenhum;
    }
    [[gnu::always_inline]] TGuardado Guarda(std::string_view T) { return {Textos.Copia(T), T.size()}; }
    TGuardado Guarda(const char* T) { return T ? Guarda(std::string_view(T)) : TGuardado{}; }
    TTexto Texto(TGuardado G) const
    {
        return G.Posicao == Nenhum ? TTexto{} : TTexto{Textos.Dados.get() + G.Posicao, G.Tamanho};
    }
    const char* Ptr(TGuardado G) const { return Texto(G).P; }
    /// Records a write (the whole batch refused when it is), then makes it on the model. MesmaSecao:
    /// it names the section the last write named.
    bool Registra(const TOperacao& Op, bool Recusa, bool MesmaSecao = false)
    {
        Operacoes.push_back(Op);
        if (Recusa) {
            Recusada = true;
            return false;
        }
        Aplica(Op, MesmaSecao);
        return true;
    }
    void Aplica(const TOperacao& Op, bool MesmaSecao = false, bool NoLugar = true)
    {
        std::string Guarda_;
        const TTexto Chave = Texto(Op.Chave);
        const TTexto Valor = Chave.P ? ValorComoReferencia(Texto(Op.Valor), Guarda_) : TTexto{};
        Cria = Cria || (Chave.P && Valor.P);
        if (!MesmaSecao)
            SecaoDaUltima = Nenhum;
        Modelo.Aplica(Texto(Op.Secao), Chave, Valor, Op.Minusculas, SecaoDaUltima, NoLugar);
    }
    std::string Descricao() const
    {
        const TOperacao& Op = Operacoes.front();
        std::string Secao = Ptr(Op.Secao), Chave = Op.Chave.Posicao == Nenhum ? std::string() : Ptr(Op.Chave);
        if (Op.Minusculas)
            Secao = MinusculasAscii(std::move(Secao)), Chave = MinusculasAscii(std::move(Chave));
        const std::string Primeira =
            DescreveOperacao(Secao.c_str(), Op.Chave.Posicao == Nenhum ? nullptr : Chave.c_str(), Ptr(Op.Valor));
        if (Operacoes.size() == 1)
            return Primeira;
        return std::to_string(Operacoes.size()) + " changes in one replace (" + Primeira + ", ...)";
    }
};

// A large file's model is hundreds of kilobytes; memory handed back to the system and taken again at
// every save costs more than the work done in it. And the model itself is kept: the usual operation
// (load a table, change it, save it) reads a file the last batch of this thread left as it found it or
// wrote it, and then needs no second parse.
std::unique_ptr<TPerfilEmLote::TDados>& TPerfilEmLote::Reserva()
{
    thread_local std::unique_ptr<TDados> Guardada;
    return Guardada;
}

TPerfilEmLote::TPerfilEmLote(const std::string& Arquivo)
    : D(Reserva() ? std::move(Reserva()) : std::make_unique<TDados>())
{
    D->Rele(Arquivo);
}

TPerfilEmLote::~TPerfilEmLote()
{
    // Writes dropped unconfirmed are in the model, not in the file: it no longer holds the file.
    D->Reutilizavel = D->Reutilizavel && D->Operacoes.empty();
    D->Operacoes.clear();
    D->Textos.Usado = 0;
    Reserva() = std::move(D);
}

std::string TPerfilEmLote::Le(std::string_view Secao, std::string_view Chave, std::string_view Padrao_,
                              std::uint32_t Tamanho) const
{
    return Tamanho == 0 ? std::string() : D->Modelo.Le(Secao, Chave, Padrao_, Tamanho);
}

std::vector<std::string> TPerfilEmLote::Chaves(std::string_view Secao) const
{
    return D->Modelo.Chaves(Secao);
}

std::vector<std::string> TPerfilEmLote::Secoes() const
{
    return D->Modelo.NomesDasSecoes();
}

std::vector<std::pair<std::string, std::string>> TPerfilEmLote::ValoresDaSecao(const char* Secao, std::uint32_t Tamanho) const
{
    std::vector<std::pair<std::string, std::string>> Valores;
    if (!Secao || Tamanho == 0)
        return Valores;
    const TModelo& M = D->Modelo;
    const TSecaoM* S = M.AchaSecao(AparaBrancos(Secao));
    for (std::string& Nome : M.Chaves(Secao)) {
        // The first entry of each listed name answers, as reading it by name does.
        const TLinhaM L = M.Linha(*S, M.AchaChave(*S, Nome));
        std::string Valor;
        if (L.Tipo == TTipoLinha::Chave)
            Valor = EntradaCopiada(M.Utf8() ? Utf8ParaCp1252(L.Valor) : std::string(L.Valor), Tamanho);
        Valores.emplace_back(std::move(Nome), std::move(Valor));
    }
    return Valores;
}

bool TPerfilEmLote::Grava(const char* Secao, const char* Chave, const char* Valor)
{
    const TDados::TOperacao Op{D->Guarda(Secao ? Secao : ""), D->Guarda(Chave), Chave ? D->Guarda(Valor) : TDados::TGuardado{}};
    return D->Registra(Op, !Secao || TemQuebra(Secao) || TemQuebra(Chave) || TemQuebra(Valor));
}

namespace {
/// T up to its first NUL (as a C string would end it); Quebra tells whether that part holds CR or LF.
[[gnu::always_inline]] inline std::string_view AteNul(std::string_view T, bool& Quebra) noexcept
{
    // Usually printable text: checked a word at a time (the last word ending at the last byte; a text
    // of four to seven bytes as one word of its first four and its last four).
    if (T.size() >= 8) {
        bool Limpo = true;
        for (std::size_t I = 0; Limpo && I + 8 < T.size(); I += 8)
            Limpo = !TemByteMenorQue(Palavra8(T.data() + I), '\r' + 1);
        if (Limpo && !TemByteMenorQue(Palavra8(T.data() + T.size() - 8), '\r' + 1))
            return T;
    } else if (T.size() >= 4) {
        std::uint32_t A, B;
        std::memcpy(&A, T.data(), 4);
        std::memcpy(&B, T.data() + T.size() - 4, 4);
        if (!TemByteMenorQue(A | static_cast<std::uint64_t>(B) << 32, '\r' + 1))
            return T;
    }
    for (std::size_t I = 0; I < T.size(); ++I) {
        const char C = T[I];
        if (static_cast<unsigned char>(C) > '\r')
            continue;
        if (C == '\0')
            return T.substr(0, I);
        Quebra = Quebra || C == '\r' || C == '\n';
    }
    return T;
}
} // namespace

bool TPerfilEmLote::Grava(std::string_view Secao, std::string_view Chave, std::string_view Valor, bool Minusculas)
{
    // The keys of one section are usually written one after another: its text is kept once, and
    // the section found once.
    bool Quebra = false;
    TDados::TGuardado NaSecao;
    if (!D->Operacoes.empty() && !D->Recusada) {
        const TDados::TGuardado Anterior = D->Operacoes.back().Secao;
        if (Anterior.Posicao != Nenhum && Iguais(D->Texto(Anterior).V(), Secao))
            NaSecao = Anterior;
    }
    const bool MesmaSecao = NaSecao.Posicao != Nenhum;
    if (!MesmaSecao) {
        Secao = AteNul(Secao, Quebra);
        NaSecao = D->Guarda(Secao);
    }
    Chave = AteNul(Chave, Quebra);
    Valor = AteNul(Valor, Quebra);
    if (Quebra || D->Recusada || Valor.size() >= 32767)
        return D->Registra({NaSecao, D->Guarda(Chave), D->Guarda(Valor), Minusculas}, Quebra, MesmaSecao);
    // The usual write, a new value for a key the section holds, is made here in place; any other
    // goes the general way.
    D->Operacoes.push_back({NaSecao, D->Guarda(Chave), D->Guarda(Valor), Minusculas});
    D->Cria = true;
    if (!MesmaSecao)
        D->SecaoDaUltima = Nenhum;
    if (D->Modelo.TrocaValor(D->Texto(NaSecao).V(), Chave, Valor, D->SecaoDaUltima) < 0)
        D->Aplica(D->Operacoes.back(), true, false);
    return true;
}

bool TPerfilEmLote::Confirma()
{
    return Confirma({});
}

namespace {
void RodaSemFalhar(const std::function<void()>& Tarefa) noexcept
{
    if (Tarefa)
        try {
            Tarefa();
        } catch (...) {
            // its own work lost; the save goes on
        }
}
} // namespace

bool TPerfilEmLote::Confirma(const std::function<void()>& AntesDeTrocar)
{
    if (D->Operacoes.empty()) {
        RodaSemFalhar(AntesDeTrocar);
        return true;
    }
    // Run by the replace between its flush and its rename, or at the end when there was none.
    bool Rodou = false;
    const std::function<void()> NaTroca = [&] {
        Rodou = true;
        RodaSemFalhar(AntesDeTrocar);
    };
    int Ok = 0;
    try {
        const std::string Operacao = D->Descricao();
        if (D->Recusada) {
            RegistraFalhaArquivo(D->Arquivo, Operacao, 0, "refused: a section, key or value holds a line break");
        } else {
            // The text the file holds afterwards: the one written, or the file's own when it already
            // held the result (a missing file that stays missing reads as empty).
            std::string Texto;
            Ok = ReescreveTravado(D->Arquivo.c_str(), Operacao, D->Cria, [&](TPerfil& P) -> std::optional<std::string> {
                if (P.Dados != D->Lido) {  // changed by another since it was read: the writes again, on it
                    D->Modelo.Reconstroi(P.Dados);
                    for (const TDados::TOperacao& Op : D->Operacoes)
                        D->Aplica(Op);
                }
                std::string Novo = D->Modelo.Texto();
                if (Novo == P.Dados) {
                    Texto = std::move(Novo);
                    return std::nullopt;
                }
                return std::optional<std::string>(std::move(Novo));
            }, &Texto, &NaTroca);
            if (Ok) {
                D->Lido = std::move(Texto);
                D->Operacoes.clear();
                D->Cria = false;
            }
        }
    } catch (...) {
        Ok = 0;
    }
    if (!Ok) {
        D->Reutilizavel = false;
        D->Rele(D->Arquivo);
    }
    if (!Rodou)
        RodaSemFalhar(AntesDeTrocar);
    return Ok != 0;
}

std::size_t TPerfilEmLote::Pendentes() const noexcept
{
    return D->Operacoes.size();
}
