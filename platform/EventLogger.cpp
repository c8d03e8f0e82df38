#include "platform/EventLogger.h"

#include "platform/Ascii.h"
#include "platform/Cp1252.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <fcntl.h>
#include <syslog.h>
#include <unistd.h>
#ifdef KOVAN_COM_SYSTEMD
#include <systemd/sd-journal.h>
#endif

// The event log is a platform service of its own; its Linux sinks stay in this one file.
namespace {

constexpr const char* SocketJournal = "/run/systemd/journal/socket";

int PrioridadeSyslog(std::uint32_t Tipo)
{
    switch (Tipo) {
    case EVENTLOG_ERROR_TYPE: return LOG_ERR;
    case EVENTLOG_WARNING_TYPE:
    case EVENTLOG_AUDIT_FAILURE: return LOG_WARNING;
    case EVENTLOG_AUDIT_SUCCESS: return LOG_NOTICE;
    default: return LOG_INFO;
    }
}

bool GravaJournal(const std::string& Fonte, const std::string& Texto, std::uint32_t Tipo,
                  std::uint16_t Categoria, std::uint32_t Identificador, const std::string& Interface)
{
#ifdef KOVAN_COM_SYSTEMD
    if (access(SocketJournal, W_OK) != 0)
        return false;
    // A field whose value is empty is still a field; without a front end the list ends before it.
    return sd_journal_send("MESSAGE=%s", Texto.c_str(), "PRIORITY=%d", PrioridadeSyslog(Tipo),
                           "SYSLOG_IDENTIFIER=%s", Fonte.c_str(), "KOVAN_SOURCE=%s", Fonte.c_str(),
                           "KOVAN_EVENT_TYPE=%u", static_cast<unsigned>(Tipo), "KOVAN_CATEGORY=%u",
                           static_cast<unsigned>(Categoria), "KOVAN_EVENT_ID=%u",
                           static_cast<unsigned>(Identificador),
                           Interface.empty() ? nullptr : "KOVAN_FRONT_END=%s", Interface.c_str(), nullptr) == 0;
#else
    (void)Fonte, (void)Texto, (void)Tipo, (void)Categoria, (void)Identificador, (void)Interface;
    return false;
#endif
}

// One write() on an O_APPEND descriptor, so entries of several processes never interleave.
bool GravaArquivo(const char* Caminho, const std::string& Linha)
{
    const int Arquivo = open(Caminho, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0640);
    if (Arquivo < 0)
        return false;
    std::size_t Escrito = 0;
    while (Escrito < Linha.size()) {
        const ssize_t N = write(Arquivo, Linha.data() + Escrito, Linha.size() - Escrito);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            break;
        Escrito += static_cast<std::size_t>(N);
    }
    const bool Fechou = close(Arquivo) == 0;
    return Escrito == Linha.size() && Fechou;
}

/// T (UTF-8) as a JSON string: quotes, backslashes and control characters escaped, everything else
/// copied in runs. An audit line of a large table is tens of kilobytes, so this stays a plain scan.
void AnexaJson(std::string& Saida, std::string_view T)
{
    static constexpr char Hex[] = "0123456789abcdef";
    Saida += '"';
    std::size_t Inicio = 0;
    for (std::size_t I = 0; I < T.size(); ++I) {
        while (I + 8 <= T.size()) {  // words with nothing to escape are passed over whole
            const std::uint64_t W = Palavra8(T.data() + I);
            if (TemByteMenorQue(W, 0x20) | TemByte(W, '"') | TemByte(W, '\\'))
                break;
            I += 8;
        }
        if (I == T.size())
            break;
        const auto C = static_cast<unsigned char>(T[I]);
        if (C >= 0x20 && C != '"' && C != '\\')
            continue;
        Saida.append(T, Inicio, I - Inicio);
        Inicio = I + 1;
        switch (C) {
        case '"': Saida += "\\\""; break;
        case '\\': Saida += "\\\\"; break;
        case '\b': Saida += "\\b"; break;
        case '\f': Saida += "\\f"; break;
        case '\n': Saida += "\\n"; break;
        case '\r': Saida += "\\r"; break;
        case '\t': Saida += "\\t"; break;
        default: Saida.append("\\u00").append(1, Hex[C >> 4]).append(1, Hex[C & 0xF]);
        }
    }
    Saida.append(T, Inicio);
    Saida += '"';
}

/// The entry as one line of the audit file: {"category","frontend","id","source","text","type"}, without
/// "frontend" when the writer named none.
std::string LinhaJson(const std::string& Fonte, const std::string& Texto, std::uint32_t Tipo,
                      std::uint16_t Categoria, std::uint32_t Identificador, const std::string& Interface)
{
    std::string Linha;
    Linha.reserve(Texto.size() + Texto.size() / 16 + Fonte.size() + Interface.size() + 112);
    Linha.append("{\"category\":").append(std::to_string(Categoria));
    if (!Interface.empty()) {
        Linha.append(",\"frontend\":");
        AnexaJson(Linha, Interface);
    }
    Linha.append(",\"id\":").append(std::to_string(Identificador)).append(",\"source\":");
    AnexaJson(Linha, Fonte);
    Linha.append(",\"text\":");
    AnexaJson(Linha, Texto);
    Linha.append(",\"type\":").append(std::to_string(Tipo)).append("}\n");
    return Linha;
}

void AvisaUmaVez(std::atomic<bool>& Avisado, const char* Aviso)
{
    if (!Avisado.exchange(true))
        std::fprintf(stderr, "%s\n", Aviso);
}

} // namespace

TEventLogger::TEventLogger(std::string Origem) : Origem(std::move(Origem)) {}

void TEventLogger::LogMessage(const std::string& Texto, std::uint32_t Tipo, std::uint16_t Categoria,
                              std::uint32_t Identificador) noexcept
{
    LogMessage(Texto, Tipo, Categoria, Identificador, std::string());
}

void TEventLogger::LogMessage(const std::string& Texto, std::uint32_t Tipo, std::uint16_t Categoria,
                              std::uint32_t Identificador, const std::string& Interface) noexcept
{
    // Entries may come from more than one thread (a screen writes its audit beside its save).
    static std::atomic<bool> AvisouSemDestino = false;
    static std::atomic<bool> AvisouFalhaArquivo = false;
    try {
        const std::string Utf8 = Cp1252ParaUtf8(Texto);
        bool Gravado = GravaJournal(Origem, Utf8, Tipo, Categoria, Identificador, Interface);

        const char* Arquivo = std::getenv("KOVAN_EVENTLOG");
        if (Arquivo && *Arquivo) {
            if (GravaArquivo(Arquivo, LinhaJson(Cp1252ParaUtf8(Origem), Utf8, Tipo, Categoria, Identificador, Interface)))
                Gravado = true;
            else
                AvisaUmaVez(AvisouFalhaArquivo, "Kovan: the audit file named by KOVAN_EVENTLOG cannot be "
                                                "written; audit entries go to syslog.");
        }
        if (Gravado)
            return;
        if (!Arquivo || !*Arquivo)
            AvisaUmaVez(AvisouSemDestino, "Kovan: no systemd journal and no KOVAN_EVENTLOG file; audit "
                                      "entries go to syslog.");
        openlog(Origem.c_str(), LOG_PID, LOG_USER);
        syslog(PrioridadeSyslog(Tipo), "type=%u category=%u id=%u%s%s %s", static_cast<unsigned>(Tipo),
               static_cast<unsigned>(Categoria), static_cast<unsigned>(Identificador),
               Interface.empty() ? "" : " frontend=", Interface.c_str(), Utf8.c_str());
        closelog();
    } catch (...) {
        std::fprintf(stderr, "Kovan: an audit entry could not be written.\n");
    }
}

void RegistraFalhaArquivo(const std::string& Arquivo, const std::string& Operacao, int Erro,
                          const std::string& Motivo) noexcept
{
    constexpr std::uint32_t IdFalhaArquivo = 0xC0000004u;
    try {
        const std::string Razao = Motivo.empty() ? std::string(std::strerror(Erro)) : Motivo;
        TEventLogger("Kovan").LogMessage(Operacao + " failed: " + Arquivo + ": " + Razao, EVENTLOG_ERROR_TYPE, 0,
                                         IdFalhaArquivo);
    } catch (...) {
        std::fprintf(stderr, "Kovan: a failed file operation could not be logged.\n");
    }
}
