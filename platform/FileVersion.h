#pragma once
// Version information of a file. Windows keeps it in a resource; a Linux shared library carries none,
// so the version of a library is the one it reports itself (sqlite3_libversion for SQLite).
#include "platform/Export.h"

#include <array>
#include <cstdint>
#include <string_view>

/// The four parts of the file's version (major, minor, release, build); false when the file is not a
/// loadable library or reports no version.
KOVANRT_API bool VersaoDoArquivo(std::string_view Caminho, std::array<std::uint16_t, 4>& Partes) noexcept;
