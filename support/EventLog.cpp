#include "support/EventLog.h"

#include "config/Lib.h"
#include "platform/UserName.h"
#include "support/msgmodulos.h"

#include <vector>

TEvtLog::TEvtLog(const std::string& Fonte, const std::string& Executavel, const std::string& Tela)
    : TEventLogger("Kovan"), Fonte(Corta255(Fonte)), Executavel(Corta255(Executavel)), Tela(Tela)
{
}

std::uint32_t TEvtLog::IdentificadorEvento(std::uint16_t Especie) noexcept
{
    switch (Especie) {
    case 1: return 0x80000002u;
    case 2: return 0xC0000003u;
    default: return 0x40000000u;
    }
}

std::string TEvtLog::MontaTexto(const std::string& Mensagem) const
{
    return Corta255(LeMensagens(MsgLOGUsuario) + RetornaUsuarioLogado()) + '\n' +
           Corta255(LeMensagens(MsgLOGFonte) + Fonte) + '\n' +
           Corta255(LeMensagens(MsgLOGExecutavel) + Executavel) + "\n\n" + Mensagem;
}

void TEvtLog::LogMsg(const std::string& Mensagem, std::uint32_t Tipo, std::uint16_t Especie,
                     const std::string& Empresa) noexcept
{
    try {
        LogMessage(MontaTexto(Mensagem), Tipo, 0, IdentificadorEvento(Especie), Empresa, Tela);
    } catch (...) {
        // Building the text can only fail for want of memory; the base writer reports its own failures.
        LogMessage(Mensagem, Tipo, 0, IdentificadorEvento(Especie), Empresa, Tela);
    }
}

std::string TEvtLog::RetornaUsuarioLogado() const noexcept
{
    try {
        std::uint32_t Tamanho = 0;
        if (WNetGetUserA(nullptr, nullptr, &Tamanho) != ERROR_MORE_DATA || Tamanho == 0)
            return {};
        std::vector<char> Nome(Tamanho);
        if (WNetGetUserA(nullptr, Nome.data(), &Tamanho) != NO_ERROR)
            return {};
        return Corta255(Nome.data());
    } catch (...) {
        return {};
    }
}
