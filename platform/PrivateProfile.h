#pragma once
// The Windows private-profile functions over the Linux file system, byte for byte as Windows reads
// and writes them (recorded cases in the tests). Arguments and files are CP1252 bytes; file names are
// module paths (platform/Files.h maps them).
//
// Beyond Windows: a write replaces the file atomically (temporary file in the same folder, then
// rename) while holding an advisory lock on the file, so a crash never leaves a torn file and two of
// our processes never lose each other's update; and a section, key or value holding CR or LF is
// refused, so no value can add lines or sections.
#include "platform/Export.h"

#include <cstdint>

/// Reads Secao/Chave into Buffer (Tamanho bytes, NUL-terminated), or Padrao when the file, section or
/// key is missing. Secao null: the section names, each NUL-terminated, the list ended by one more NUL;
/// Chave null: the key names of the section, likewise. Answers the count of bytes written, without the
/// final NUL.
KOVANRT_API std::uint32_t GetPrivateProfileStringA(const char* Secao, const char* Chave, const char* Padrao,
                                                   char* Buffer, std::uint32_t Tamanho, const char* Arquivo);

/// Writes Valor under Secao/Chave, creating the file and the section when missing. Valor null deletes
/// the key; Chave null deletes the whole section. Answers nonzero on success.
KOVANRT_API int WritePrivateProfileStringA(const char* Secao, const char* Chave, const char* Valor,
                                           const char* Arquivo);

/// The section names of the file, as GetPrivateProfileStringA with a null section.
KOVANRT_API std::uint32_t GetPrivateProfileSectionNamesA(char* Buffer, std::uint32_t Tamanho, const char* Arquivo);
