#pragma once
// The rules of the Windows private-profile functions that the single calls and the batch share.
#include <cstdint>
#include <string>
#include <string_view>

namespace perfil {

/// The value as GetPrivateProfileString copies it into a buffer of Tamanho (> 0) bytes.
std::string_view EntradaCopiada(std::string_view Valor, std::uint32_t Tamanho);

/// The default as GetPrivateProfileString uses it: trailing spaces removed, never the first character.
std::string_view PadraoAparado(std::string_view Padrao);

/// Whether a text holds CR or LF: such a section, key or value is refused.
bool TemQuebra(const char* Texto) noexcept;

/// Valor as Windows stores it: its length goes through a 16-bit byte count of its UTF-16 copy, so
/// 32 767 characters and more wrap; a count of 0 deletes the key (null answered). Guarda holds a
/// shortened copy.
const char* ValorComoReferencia(const char* Valor, std::string& Guarda);

/// What a write call does, as its failure entry names it.
std::string DescreveOperacao(const char* Secao, const char* Chave, const char* Valor);

} // namespace perfil
