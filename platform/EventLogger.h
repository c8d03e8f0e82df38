#pragma once
// TEventLogger: the event-log writer, standing in for the Windows event log. An entry keeps what the
// Windows log keeps: source, event type, category, event identifier and one text.
//
// Sinks: the systemd journal (structured fields) when its socket exists; the file KOVAN_EVENTLOG
// names, one JSON object per line ({"source","type","category","id","text"}, text in UTF-8, and
// "empresa" and "tela" when the writer says which company and which screen or tool), appended with one
// write per entry. With neither, or when both fail, the entry goes to syslog, and standard error says so
// once. An entry is never dropped silently.
#include "platform/Export.h"

#include <cstdint>
#include <string>

inline constexpr std::uint32_t EVENTLOG_ERROR_TYPE = 0x0001;
inline constexpr std::uint32_t EVENTLOG_WARNING_TYPE = 0x0002;
inline constexpr std::uint32_t EVENTLOG_INFORMATION_TYPE = 0x0004;
inline constexpr std::uint32_t EVENTLOG_AUDIT_SUCCESS = 0x0008;
inline constexpr std::uint32_t EVENTLOG_AUDIT_FAILURE = 0x0010;

class KOVANRT_API TEventLogger {
public:
    /// Source: the name the entries carry ("Kovan").
    explicit TEventLogger(std::string Origem);
    virtual ~TEventLogger() = default;

    const std::string& Source() const noexcept { return Origem; }

    /// Writes one entry; Texto is CP1252. Never throws.
    void LogMessage(const std::string& Texto, std::uint32_t Tipo, std::uint16_t Categoria,
                    std::uint32_t Identificador) noexcept;
    /// The same, with what the entry says of the change besides its text (CP1252), each a structured
    /// field of its own, absent when empty: the company (KOVAN_EMPRESA in the journal, "empresa" in the
    /// file; "Todas" for the general settings) and the screen or tool that made it (KOVAN_TELA, "tela").
    /// journalctl KOVAN_EMPRESA=00000123 lists one company's changes.
    void LogMessage(const std::string& Texto, std::uint32_t Tipo, std::uint16_t Categoria,
                    std::uint32_t Identificador, const std::string& Empresa, const std::string& Tela) noexcept;

private:
    std::string Origem;
};

/// Tells the event log, once, at error level and under the source "Kovan", that an operation on a
/// settings file failed: the file, what was tried ("write of [geral] codigoestabelecimento") and the
/// system's reason (Erro, an errno value; Motivo when not empty takes its place). Never throws.
KOVANRT_API void RegistraFalhaArquivo(const std::string& Arquivo, const std::string& Operacao, int Erro,
                                      const std::string& Motivo = {}) noexcept;
