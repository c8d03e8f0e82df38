#pragma once
// Lib: where the server lives and what it says about itself (root, company mode, duplicate
// establishment codes, company list), the privilege rule, and small helpers the screens share.
// Nothing here writes a file, throws, keeps state or talks to the user: what the user is told lives
// in the support part of Lib (support/Lib.h), which reads this part and never the other way round.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Server root from CfKovan.ini beside the executable (section "config", key "raiz", default
/// "\Kovan"), with "/" turned into "\"; no trailing backslash added or removed.
std::string LerRaizPathKovan(const std::string& CaminhoExecutavel) noexcept;
/// True when KovanCfg.ini says "MULTIEMPRESA" (any case, blanks around ignored).
bool KovanMultiEmpresa(const std::string& Raiz) noexcept;
/// True when KovanCfg.ini says "SIM" to PermiteDuplEstab and ConfLog.ini's TipoLog is not "3".
bool PermiteDuplicidadeEstabelecimento(const std::string& Raiz) noexcept;
/// True when root\config\<Empresa>.cnf exists; a code that is not 8 ASCII letters or digits names
/// no company.
bool ExisteEmpresa(const std::string& Raiz, const std::string& Empresa) noexcept;
/// Fills Lista with the upper-cased codes of the company files in root\config (8 letters or digits,
/// ".cnf", first two bytes 10 01), in directory order, and answers the count. A file that cannot be
/// read stops the scan: the answer is then 0 and Lista keeps what was found before it.
std::int32_t LerEmpresas(const std::string& Raiz, std::vector<std::string>& Lista) noexcept;

/// Key filters: the key stays when allowed and becomes NUL (drop it) otherwise. Both allow backspace,
/// tab, line feed, carriage return and escape.
char SomenteNumeros(char& Key) noexcept;
char SomenteLetrasNumeros(char& Key) noexcept;

/// True for a company code: exactly 8 ASCII letters or digits. Only such a code may become a path.
bool CodigoEmpresaValido(std::string_view Codigo) noexcept;

/// Texto cut to its first 255 bytes: what a short string of the host's runtime holds.
std::string Corta255(std::string_view Texto);

/// The text up to its first NUL.
std::string VerificaStr(const std::string& Texto);
/// The last Quantidade characters; the whole text when shorter.
std::string RightString(const std::string& Texto, std::int32_t Quantidade);

template <class T>
T IIF(bool Condicao, const T& SeVerdadeiro, const T& SeFalso)
{
    return Condicao ? SeVerdadeiro : SeFalso;
}
inline std::string IIF(bool Condicao, const char* SeVerdadeiro, const char* SeFalso)
{
    return Condicao ? SeVerdadeiro : SeFalso;
}

/// Four-part version of a library file ("3.40.1.0"): on Linux the version the library itself
/// reports, since shared objects carry no version resource. Empty when the file has none.
std::string GetVersion(const std::string& Caminho) noexcept;
/// True when Atual is at least Minima, comparing up to four dot-separated numbers (missing = 0).
bool ComparaVersaoMinima(const std::string& Minima, const std::string& Atual) noexcept;

/// The privilege rule: level 2 may do no action but 0; level 4 may not do action 1. VerPrivilegioEx
/// (support/Lib.h) also tells the user when the answer is no.
bool VerPrivilegio(std::uint16_t Acao, std::uint16_t Nivel) noexcept;
