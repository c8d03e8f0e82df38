#pragma once
// WNetGetUserA: on Linux the login name of the effective user (getpwuid_r), looked up once for each
// effective user id the process runs as.
#include "platform/Export.h"

#include <cstdint>
#include <string>
#include <sys/types.h>

inline constexpr std::uint32_t NO_ERROR = 0;
inline constexpr std::uint32_t ERROR_MORE_DATA = 234;
inline constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr std::uint32_t ERROR_NOT_CONNECTED = 2250;

/// Copies the user name, NUL-terminated CP1252, into Nome when *Tamanho bytes are enough (Nome may be
/// null when *Tamanho is 0) and answers NO_ERROR. Too small: ERROR_MORE_DATA, and *Tamanho becomes the
/// size needed, NUL included. No user entry for the effective user: ERROR_NOT_CONNECTED. Recurso is
/// the network resource; only null (the default provider) is supported.
KOVANRT_API std::uint32_t WNetGetUserA(const char* Recurso, char* Nome, std::uint32_t* Tamanho) noexcept;

/// A user id's entry in the user database: its login name (UTF-8, as Linux keeps it) and its primary
/// group. False when the id has no entry.
KOVANRT_API bool RegistroDoUsuario(uid_t Usuario, std::string& Nome, gid_t& Grupo) noexcept;
