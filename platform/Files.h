#pragma once
// The Windows file interfaces the module relies on, over the Linux file system. Paths come in as the
// module builds them ("root\config\empresas\00000123\Mirabelo.ini"): a backslash is a separator and
// each component that exists is found without regard to case, as on Windows.
#include "platform/Export.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

inline constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr std::uint32_t FILE_ATTRIBUTE_HIDDEN = 0x02;
inline constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

/// The path with every "\\" turned into "/", nothing else looked at.
KOVANRT_API std::string ComBarras(std::string_view Caminho);

/// The Linux path of a module path: "\" becomes "/", and every component is matched against what
/// exists without regard to (ASCII) case. A component that does not exist keeps the spelling given,
/// and so does everything below it.
KOVANRT_API std::string CaminhoLocal(std::string_view Caminho);

/// CaminhoLocal into Local, and whether that path exists: St receives its lstat. The path as written
/// is looked at first, so when it exists with that spelling one system call answers both.
KOVANRT_API bool CaminhoLocalExiste(std::string_view Caminho, std::string& Local, struct stat& St);

/// Path of the running program's executable.
KOVANRT_API std::string CaminhoExecutavelAtual();

/// True when the path names a file (not a directory).
KOVANRT_API bool FileExists(std::string_view Caminho) noexcept;
/// True when the path names a directory.
KOVANRT_API bool DirectoryExists(std::string_view Caminho) noexcept;
/// Creates one directory named by a Linux path (no mapping); false when it could not be made. The
/// case-insensitive look-up keeps a listing of a folder it walked while the folder stays unchanged;
/// what this call adds goes into that listing, so making many folders in a large one costs no walk
/// of it after each.
KOVANRT_API bool CriaPastaLinux(const std::string& CaminhoLinux) noexcept;
/// Creates one directory level; false when it could not be made (a missing parent included).
KOVANRT_API bool CreateDirectoryA(std::string_view Caminho) noexcept;
/// Creates the directory and every missing parent; true when it exists afterwards.
KOVANRT_API bool ForceDirectories(std::string_view Caminho) noexcept;
/// Deletes a file; false when it is missing or cannot be deleted.
KOVANRT_API bool DeleteFileA(std::string_view Caminho) noexcept;

/// FILE_ATTRIBUTE_* of a file or directory, INVALID_FILE_ATTRIBUTES when missing. Read-only means
/// that no one may write it; hidden has no meaning here and is never reported.
KOVANRT_API std::uint32_t GetFileAttributesA(std::string_view Caminho) noexcept;
/// Clearing FILE_ATTRIBUTE_READONLY gives the owner write permission; setting it takes every write
/// permission away. False when the file is missing or its mode cannot be changed.
KOVANRT_API bool SetFileAttributesA(std::string_view Caminho, std::uint32_t Atributos) noexcept;

/// Size of a file in bytes, or -1 when it is missing or is not a regular file.
KOVANRT_API std::int64_t TamanhoArquivoBytes(std::string_view Caminho) noexcept;

/// Reads up to Quantos bytes from the start of a file named by a Linux path (no mapping: for names
/// a listing has just returned). Answers the count read, or -1 when the file cannot be opened or read.
KOVANRT_API int LeBytesIniciais(const std::string& CaminhoLinux, char* Destino, int Quantos) noexcept;

/// True when Nome matches a Windows wildcard mask ("*" any run, "?" any one character), without
/// regard to ASCII case.
KOVANRT_API bool CombinaMascara(std::string_view Nome, std::string_view Mascara) noexcept;

struct TEntradaDiretorio {
    std::string Nome;  ///< file name without directory
    bool Diretorio = false;
};

/// Lists the entries of a directory whose names match Mascara, in the order the file system returns
/// them ("." and ".." left out). False when the directory cannot be read; the list then holds nothing.
KOVANRT_API bool ListaDiretorio(std::string_view Diretorio, std::string_view Mascara,
                                std::vector<TEntradaDiretorio>& Entradas);
