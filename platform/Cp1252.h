#pragma once
// Code page 1252 <-> Unicode. Inside the system every text is CP1252 bytes; these convert only where
// a text meets Unicode (Qt, JSON, the terminal). Independent of ICU, so the results match Windows.
#include "platform/Export.h"

#include <string>
#include <string_view>

/// Unicode code point of a CP1252 byte. The five bytes Windows leaves undefined map to U+0081 and so on,
/// as MultiByteToWideChar does.
KOVANRT_API char32_t Cp1252ParaUnicode(unsigned char Byte) noexcept;

/// CP1252 byte of a code point, or '?' where the code page has none (as WideCharToMultiByte writes).
KOVANRT_API char Cp1252DeUnicode(char32_t Codigo) noexcept;

/// Appends the UTF-8 bytes of the code point C to Saida.
KOVANRT_API void AnexaUtf8(std::string& Saida, char32_t C);

/// CP1252 bytes to UTF-8.
KOVANRT_API std::string Cp1252ParaUtf8(std::string_view Texto);

/// UTF-8 to CP1252; a character outside the code page and a malformed sequence each become '?'.
KOVANRT_API std::string Utf8ParaCp1252(std::string_view Texto);
