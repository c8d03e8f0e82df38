#pragma once
// TransHab: the debit transactions a company enables for the network, and their rules, apart from any
// screen. Stored in section "TrnHabilitada" of the company's module ini file: "DebitoVista",
// "Cancelamento", "ParceladoJurosEstabelecimento" ("1" checked; any other value not) and
// "NumeroParcelas" (one or two digits, or empty). The "Transações Habilitadas" screen and
// cfkovan-dados load, check and save through here.
#include "config/TabelaBins.h"  // TAuditoria

#include <optional>
#include <string>

struct TTransHab {
    bool DebitoVista = true;
    bool Cancelamento = true;
    bool ParceladoJurosEstabelecimento = false;
    std::string NumeroParcelas;  ///< stored as given, also while installments are off
    bool operator==(const TTransHab&) const = default;
};

/// Why a configuration is refused; Mensagem gives the screen's words.
enum class TErroTransHab {
    InformeParcelas,   ///< installments on and no number of them
    ParcelasInvalido,  ///< "0" or "00" with installments on, or a number that is not one or two digits
};

namespace RegrasTransHab {

/// The screen's check before a save. ParcelasHabilitadas: the number of installments is asked for
/// (installments without interest, or with the card issuer's interest, are on). A number is one or
/// two digits whether asked for or not: the screen's field takes no more.
std::optional<TErroTransHab> Valida(const TTransHab& Valores, bool ParcelasHabilitadas);
/// The screen's message (CP1252).
const std::string& Mensagem(TErroTransHab Erro);
/// The audit line of a save (Operacao "INCLUSAO", any case) or of a deletion (any other), byte for
/// byte as the screen writes it. ParceladoAdm: the state of the issuer-interest box, which is written
/// in the line and nowhere else.
std::string MontaLog(const std::string& Operacao, const std::string& Empresa, const TTransHab& Valores,
                     bool ParceladoAdm = false);

} // namespace RegrasTransHab

struct TCargaTransHab {
    bool Configurada = false;  ///< "DebitoVista" is present and not empty
    TTransHab Valores;         ///< when not configured: the screen's defaults, no number of installments
};

/// Loads the company's enabled transactions in one read. Creates nothing.
TCargaTransHab CarregaTransHab(const std::string& Raiz, const std::string& Empresa) noexcept;
/// Saves them as the screen does: the "INCLUSAO" entry first, then the four keys in one replace. False
/// when the company code names no file (nothing written, no entry) or the replace failed.
bool SalvaTransHab(const std::string& Raiz, const std::string& Empresa, const TTransHab& Valores,
                   const TAuditoria& Auditoria, bool ParceladoAdm = false) noexcept;
/// Deletes them as the screen's delete does for one company: only when its file exists, the
/// "EXCLUSAO" entry, then section "TrnHabilitada" removed. True when the file existed.
bool ApagaTransHab(const std::string& Raiz, const std::string& Empresa, const TAuditoria& Auditoria) noexcept;
