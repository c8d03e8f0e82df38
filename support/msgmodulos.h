#pragma once
// msgmodulos: the module's numbered message table, the same numbering and layout in every
// configuration module of the server. Texts are CP1252; a site overrides them through the translation
// dictionary's section TabTraducao.
#include "platform/Export.h"

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr int QtdMsgModulos = 744;

/// Numbers of the messages this module shows; each entry's key is its constant's name.
inline constexpr int MsgAtencao = 8;
inline constexpr int MsgErro = 9;
inline constexpr int MsgSeguranca = 16;
inline constexpr int MsgUserNaoAutorizado = 30;
inline constexpr int MsgSqliteNaoEncontrada = 43;
inline constexpr int MsgDesejaSairSemSalvar = 123;
inline constexpr int MsgCodEmpNaoCadastrado = 178;
inline constexpr int MsgCodEmpNumDigitoErrado = 179;
inline constexpr int MsgSalvarSub = 180;
inline constexpr int MsgSalvar = 181;
inline constexpr int MsgConfirmar = 189;
inline constexpr int MsgSenha = 206;
inline constexpr int MsgSim = 219;
inline constexpr int MsgNao = 220;
inline constexpr int MsgBinOUIntBin = 231;
inline constexpr int MsgDesejaExcDaLista = 235;
inline constexpr int MsgSelecBinCorretamente = 237;
inline constexpr int MsgDesejaRetornMenuPrinc = 241;
inline constexpr int MsgDigiteBin = 244;
inline constexpr int MsgNomeEsp = 246;
inline constexpr int MsgBins = 247;
inline constexpr int MsgBIncluir = 248;
inline constexpr int MsgBAlterar = 249;
inline constexpr int MsgEmpTODAS = 250;
inline constexpr int MsgLOGUsuario = 306;
inline constexpr int MsgLOGFonte = 307;
inline constexpr int MsgLOGExecutavel = 308;
inline constexpr int MsgSelecEmpConfigurar = 389;
inline constexpr int MsgFormCredito = 395;
inline constexpr int MsgFormDebito = 396;
inline constexpr int MsgFormConvenio = 397;
inline constexpr int MsgFormCombustivel = 398;
inline constexpr int MsgHintCodigoEmpresa = 542;
inline constexpr int MsgHintBitBtnIncluirBins = 543;
inline constexpr int MsgHintBitBtnEditarBins = 544;
inline constexpr int MsgHintBitBtnExcluirBins = 545;
inline constexpr int MsgCodGrpNumDigitoErrado = 719;
inline constexpr int MsgCodGrupoNaoCadastrado = 743;

/// A length-prefixed CP1252 string of at most 255 bytes, as the host's runtime stores short strings.
struct TShortString {
    unsigned char Tamanho;
    char Texto[255];
};

/// One entry of the table: its key ("Msg..." or "Titulo...") and its current text.
struct TMsgModulo {
    TShortString Chave;
    TShortString Texto;
};
static_assert(sizeof(TShortString) == 256);
static_assert(sizeof(TMsgModulo) == 512);
static_assert(offsetof(TMsgModulo, Chave) == 0);
static_assert(offsetof(TMsgModulo, Texto) == 256);

/// The table itself, exported by name: 744 entries, 380,928 bytes, entry 1 first. It holds the built-in
/// texts from the moment the module is loaded.
KOVAN_EXPORT TMsgModulo Tabela_Msg_Modulos[QtdMsgModulos];
static_assert(sizeof(Tabela_Msg_Modulos) == 380928);

/// Applies the dictionary's TabTraducao section to the table: each non-empty value replaces the text
/// of the entry with that key (cut to 255 bytes). Nothing is ever reset to its built-in text. No
/// dictionary: the table stays as it is. Never throws.
KOVAN_EXPORT void CarregaMsg();

/// C form for hosts: copies the text of message Numero (1-based), NUL-terminated and cut to Tamanho - 1
/// bytes, into Texto (which may be null when Tamanho is 0). Answers the full length of the text, or -1
/// when Numero is outside 1 to 744 (Texto then holds the empty text).
KOVAN_EXPORT std::int32_t LeMensagens(std::int32_t Numero, char* Texto, std::int32_t Tamanho);

/// Current text of message Numero (1-based), CP1252; empty outside the table.
std::string LeMensagens(int Numero);

/// Key of message Numero ("MsgErro"); empty outside the table.
std::string ChaveMensagem(int Numero);

/// Path of the translation dictionary as TabTraducao.ini below the server root names it (at most 255
/// bytes), read afresh on every call; empty when there is none. A relative name is taken from the
/// folder of TabTraducao.ini.
std::string LeCaminhoDicionario() noexcept;
