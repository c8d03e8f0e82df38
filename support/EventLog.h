#pragma once
// EventLog: the audit writer of the screens. Every save and delete is recorded under the source
// "Kovan" with the user, the program and its executable (see support/EventLogger.h for where the
// entries go).
#include "platform/EventLogger.h"

#include <cstdint>
#include <string>

class TEvtLog : public TEventLogger {
public:
    /// Fonte: the writing program's name; Executavel: its executable's path (each cut to 255 bytes).
    /// Tela: the screen ("Estabelecimento") or tool ("cfkovan-dados") whose changes this writer records,
    /// a structured field of every entry; none when empty.
    TEvtLog(const std::string& Fonte, const std::string& Executavel, const std::string& Tela = {});

    /// Records Mensagem (CP1252) after the user, source and executable lines and a blank line.
    /// Kind 1 gives the event identifier 0x80000002, kind 2 0xC0000003, any other 0x40000000;
    /// category 0. Empresa: the company the change is for ("Todas" for the general settings), a
    /// structured field of the entry; none when empty. Never throws.
    void LogMsg(const std::string& Mensagem, std::uint32_t Tipo, std::uint16_t Especie,
                const std::string& Empresa = {}) noexcept;

    /// The network user name (the effective user's login), at most 255 bytes; empty when unknown.
    std::string RetornaUsuarioLogado() const noexcept;

    /// The entry text LogMsg records for Mensagem.
    std::string MontaTexto(const std::string& Mensagem) const;

    /// The event identifier of a kind.
    static std::uint32_t IdentificadorEvento(std::uint16_t Especie) noexcept;

    std::string Fonte;
    std::string Executavel;
    std::string Tela;
};
