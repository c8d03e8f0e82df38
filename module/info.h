#pragma once
// info: what crosses the boundary with the host. The module descriptor, the host callback table, the
// notifications to the host and the company data exchange. The records are the host's binary formats:
// packed, little-endian, every offset checked below. Code and data addresses are pointer-sized, so a
// 64-bit build has the callback table at 115 bytes and the data record at 25 (111 and 21 on 32-bit).
#include "module/CodigosHost.h"
#include "platform/Export.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// The host's notification routine behind callback entry 0.
typedef void (*TRotinaCallBack)(std::int32_t Funcao, std::int32_t Codigo, char* Texto);

#pragma pack(push, 1)

struct TTelaModulo {
    char Legenda[33];
    std::uint16_t Opcao1;
    std::uint16_t Opcao2;
    std::uint8_t Reservado[4];
    char ClasseForm[33];
};

struct TInfoModulo {
    char Versao[11];
    char Nome[51];
    char Descricao[257];
    std::uint16_t CodRede1;
    std::uint16_t CodRede2;
    std::uint16_t ParamAux1;
    std::uint16_t ParamAux2;
    char TextoAux[65];
    std::uint16_t QtdTelas;
    TTelaModulo Telas[129];
    std::uint8_t ReservadoTelas[4];
    char Titulo[439];
    std::uint16_t ParamAux3;
    std::uint8_t Resto[75];
};

struct TTabCallBack {
    std::uint8_t Reservado1[63];
    std::uint16_t NivelUsuario;
    std::uint8_t Reservado2[2];
    TRotinaCallBack CallBack0;
    std::uint8_t Reservado3[40];
};

/// A request of the company data exchange (DadosEmpresa). TamBuffer is the size of the host's buffer
/// at Buffer: nothing at or past it is read or written, and a size of 0 or less is an empty buffer.
/// Resultado is signed 16-bit: a count saturates at 32767 (ResultadoMaximo) instead of wrapping into
/// the negative codes, so a host that needs exact counts keeps its own.
struct TDadosCfg {
    std::uint16_t Operacao;
    std::int16_t Resultado;
    char CodEmpresa[9];
    std::int32_t TamBuffer;
    char* Buffer;
};

#pragma pack(pop)

static_assert(offsetof(TTelaModulo, Legenda) == 0);
static_assert(offsetof(TTelaModulo, Opcao1) == 33);
static_assert(offsetof(TTelaModulo, Opcao2) == 35);
static_assert(offsetof(TTelaModulo, Reservado) == 37);
static_assert(offsetof(TTelaModulo, ClasseForm) == 41);
static_assert(sizeof(TTelaModulo) == 74);

static_assert(offsetof(TInfoModulo, Versao) == 0);
static_assert(offsetof(TInfoModulo, Nome) == 11);
static_assert(offsetof(TInfoModulo, Descricao) == 62);
static_assert(offsetof(TInfoModulo, CodRede1) == 319);
static_assert(offsetof(TInfoModulo, CodRede2) == 321);
static_assert(offsetof(TInfoModulo, ParamAux1) == 323);
static_assert(offsetof(TInfoModulo, ParamAux2) == 325);
static_assert(offsetof(TInfoModulo, TextoAux) == 327);
static_assert(offsetof(TInfoModulo, QtdTelas) == 392);
static_assert(offsetof(TInfoModulo, Telas) == 394);
static_assert(offsetof(TInfoModulo, Titulo) == 9944);
static_assert(offsetof(TInfoModulo, ParamAux3) == 10383);
static_assert(offsetof(TInfoModulo, Resto) == 10385);
static_assert(sizeof(TInfoModulo) == 10460);

static_assert(offsetof(TTabCallBack, NivelUsuario) == 63);
static_assert(offsetof(TTabCallBack, CallBack0) == 67);
static_assert(offsetof(TTabCallBack, Reservado3) == 67 + sizeof(void*));
static_assert(sizeof(TTabCallBack) == 107 + sizeof(void*));

static_assert(offsetof(TDadosCfg, Operacao) == 0);
static_assert(offsetof(TDadosCfg, Resultado) == 2);
static_assert(offsetof(TDadosCfg, CodEmpresa) == 4);
static_assert(offsetof(TDadosCfg, TamBuffer) == 13);
static_assert(offsetof(TDadosCfg, Buffer) == 17);
static_assert(sizeof(TDadosCfg) == 17 + sizeof(void*));

/// Set by CallBackInformacoes and never cleared; until then notifications are dropped.
KOVAN_EXPORT bool bControleCB;
/// The module's copy of the host's callback table; zero until CallBackInformacoes.
KOVAN_EXPORT TTabCallBack TabCB;

/// Fills the host's descriptor: every byte written, the same bytes on every call.
KOVAN_EXPORT void ObtemInformacoes(TInfoModulo* Info);
/// Copies the host's callback table; from then on notifications reach the host.
KOVAN_EXPORT void CallBackInformacoes(const TTabCallBack* Tabela);
/// Exports, imports or erases establishment codes for the host.
KOVAN_EXPORT void DadosEmpresa(TDadosCfg* Dados);

/// Sends notification Codigo to the host through entry Funcao (only 0 exists). For codes with a reply
/// the host writes over Texto, never more characters than it holds.
void CallBack(std::int32_t Funcao, std::int32_t Codigo, char* Texto);

/// An establishment code as stored: left-padded with "0" to 15 characters; longer texts unchanged.
std::string CompletaZero(const std::string& Texto);

/// The entries of an entry list of Tamanho bytes: texts up to their NUL until an empty one, each cut at
/// 2048 characters. Nothing at or past Tamanho is read, even when the final NULs are missing; a size
/// of 0 or less is an empty list.
std::vector<std::string> LeEntradasDadosConfig(const char* Buffer, std::int64_t Tamanho);
/// Field Campo (1-based) of one entry, fields separated by ";": cut at 1024 characters and trimmed;
/// empty when the entry has no such field.
std::string CampoDaEntrada(const std::string& Entrada, int Campo);
/// Field Campo of entry Entrada (both 1-based) of an entry list of Quantidade entries and Tamanho
/// bytes; empty when the entry or the field does not exist.
std::string PegaCampoDadosConfig(const char* Buffer, std::int64_t Tamanho, int Quantidade, int Entrada, int Campo);
