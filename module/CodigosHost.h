#pragma once
// The codes that cross the boundary with the host, one definition each: the operations and results of
// the company data exchange, the notifications the screens send through callback entry 0, and the
// caption of the data exchange's boxes. Host programs include this header as the module does.
#include <cstdint>

/// TDadosCfg::Operacao.
enum TOperacaoDados : std::uint16_t {
    OperacaoExporta = 0,       ///< companies that have a code (a single named company even without)
    OperacaoImporta = 1,       ///< store the codes of the entry list
    OperacaoApaga = 2,         ///< remove section "Geral" of each company
    OperacaoExportaTodas = 3,  ///< every company, with an empty code where it has none
};

/// TDadosCfg::Resultado besides a count.
inline constexpr std::int16_t ResultadoBufferPequeno = -1;
inline constexpr std::int16_t ResultadoOperacaoDesconhecida = -100;
/// Counts stop here instead of wrapping into the negative codes above.
inline constexpr std::int16_t ResultadoMaximo = 32767;

/// Notification codes (TRotinaCallBack's Codigo). "Pergunta" codes carry a preset text that the host
/// may overwrite with its reply; the others only tell.
enum TNotificacaoHost : std::int32_t {
    NotificaTelaFechada = 0,          ///< "": the screen closed itself through its return button
    NotificaTelaMostrada = 1,         ///< "": the company list is filled
    NotificaDica = 100,               ///< hint of the field that has the focus ("" on leaving it)
    NotificaEmpresaEscolhida = 300,   ///< the company chosen in company mode
    PerguntaEmpresaHost = 301,        ///< 8 characters: the company the host has selected
    PerguntaModoHost = 501,           ///< 1 character: "2" only view, "8" fixed company
    NotificaGrupoEscolhido = 505,     ///< the group chosen in group mode
    PerguntaGrupoHost = 506,          ///< the group the host has selected
    PerguntaModoSelecao = 507,        ///< "1" company, "0" group: the mode last used
    NotificaModoSelecao = 508,        ///< "1" in company mode, otherwise "0"
    NotificaSelecaoValida = 509,      ///< "1": while showing and after a valid choice
    PerguntaValorHost = 510,          ///< 1 character, kept but not otherwise used
};

/// Caption of every box of the data exchange: "ATENÇÃO" in code page 1252.
inline constexpr char TituloAtencao[] = "ATEN\xC7\xC3O";
