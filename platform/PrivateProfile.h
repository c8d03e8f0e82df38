#pragma once
// The Windows private-profile functions over the Linux file system, byte for byte as Windows reads
// and writes them (recorded cases in the tests). Arguments and files are CP1252 bytes; file names are
// module paths (platform/Files.h maps them).
//
// Like Windows, a write changes only the lines it concerns: every other line of the file stays byte
// for byte (blank lines, comments, padding, line endings); new lines take the file's first line ending.
//
// Beyond Windows: a write replaces the file atomically (temporary file in the same folder, then
// rename) while holding a lock on the file, so a crash never leaves a torn file and no two writers,
// threads or processes, lose each other's update; and a section, key or value holding CR or LF is
// refused, so no value can add lines or sections. A read-only file (no write permission bits) is
// never written, not even by root. A missing file is created; a missing directory is not.
//
// The temporary file is ".<name>.tmp" beside the file (platform/perfil/Arquivo.h). A file that is a
// symbolic link: its final target is replaced and the link stays. A UTF-16LE file (BOM FF FE) is read
// and written as UTF-16LE (names and values CP1252 outside); one whose text does not decode is read
// as well as it goes and never written. Every write or erase that fails answers 0 and is logged once
// to the event log at error level (file, operation, reason).
#include "platform/Export.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// Reads Secao/Chave into Buffer (Tamanho bytes, NUL-terminated), or Padrao when the file, section or
/// key is missing. Secao null: the section names, each NUL-terminated, the list ended by one more NUL;
/// Chave null: the key names of the section, likewise. Answers the count of bytes written, without the
/// final NUL.
KOVANRT_API std::uint32_t GetPrivateProfileStringA(const char* Secao, const char* Chave, const char* Padrao,
                                                   char* Buffer, std::uint32_t Tamanho, const char* Arquivo);

/// Writes Valor under Secao/Chave, creating the file and the section when missing. Valor null deletes
/// the key; Chave null deletes the whole section. Answers nonzero on success; zero when Secao is null,
/// an argument holds CR or LF, the file is read-only or cannot be written, or its folder is missing.
/// Leading blanks of the section, key and value are not written. A value of 32 767 bytes or more is
/// stored as the reference stores it: its length wraps at 32 768 characters of UTF-16 (so 32 767 and
/// 65 535 bytes delete the key, 70 000 keep 4 464).
KOVANRT_API int WritePrivateProfileStringA(const char* Secao, const char* Chave, const char* Valor,
                                           const char* Arquivo);

/// The section names of the file, as GetPrivateProfileStringA with a null section.
KOVANRT_API std::uint32_t GetPrivateProfileSectionNamesA(char* Buffer, std::uint32_t Tamanho, const char* Arquivo);

/// The value of Secao/Chave read as an integer (leading blanks, a sign, "0x" for hexadecimal, up to
/// the first non-digit; wrapping to 32 bits), or Padrao when the key is missing or its value empty.
KOVANRT_API std::uint32_t GetPrivateProfileIntA(const char* Secao, const char* Chave, int Padrao, const char* Arquivo);

/// Beyond Windows: the key names of Secao (as GetPrivateProfileStringA lists them) each with the value
/// GetPrivateProfileStringA would give it with a buffer of Tamanho bytes, read in one pass over the
/// file, so a large section costs one read instead of one per key. Empty when the file or section is
/// missing.
KOVANRT_API std::vector<std::pair<std::string, std::string>> LeValoresDaSecao(const char* Secao, std::uint32_t Tamanho,
                                                                                const char* Arquivo);

/// Beyond Windows: the reads and writes of one operation on one file, with one parse and one replace.
///
/// The file is read and parsed once, when the object is made. Each read answers exactly what
/// GetPrivateProfileStringA would answer from the file after the writes made so far; each write
/// changes the object exactly as WritePrivateProfileStringA would change the file (same bytes, line
/// for line). Confirma then puts every write into the file at once, under the file's lock, in one
/// atomic replace (temporary file, fdatasync, rename): a crash leaves the whole old file or the whole
/// new one. When another process changed the file since it was read, the writes are made again, in
/// order, on the file as Confirma finds it, so neither loses the other's update.
///
/// Writes that are not confirmed are dropped when the object goes: the file stays as it was.
class KOVANRT_API TPerfilEmLote {
public:
    explicit TPerfilEmLote(const std::string& Arquivo);
    ~TPerfilEmLote();
    TPerfilEmLote(const TPerfilEmLote&) = delete;
    TPerfilEmLote& operator=(const TPerfilEmLote&) = delete;

    /// As GetPrivateProfileStringA(Secao, Chave, Padrao) with a buffer of Tamanho (> 0) bytes.
    std::string Le(std::string_view Secao, std::string_view Chave, std::string_view Padrao, std::uint32_t Tamanho) const;
    /// The key names of Secao, as its listing gives them (empty when the first name is empty).
    std::vector<std::string> Chaves(std::string_view Secao) const;
    /// The section names, in file order.
    std::vector<std::string> Secoes() const;
    /// As LeValoresDaSecao.
    std::vector<std::pair<std::string, std::string>> ValoresDaSecao(const char* Secao, std::uint32_t Tamanho) const;

    /// As WritePrivateProfileStringA: Valor null deletes the key, Chave null the whole section. False
    /// when that call would refuse the write (a null section, CR or LF): then the whole batch is
    /// refused by Confirma, and later reads do not see this write.
    bool Grava(const char* Secao, const char* Chave, const char* Valor);

    /// Puts the writes made since the object was made (or last confirmed) into the file in one
    /// replace. True when the file holds them all, or there were none. False when nothing of them was
    /// written (a refused write, a read-only or unwritable file, a missing folder): told once to the
    /// event log at error level with the file and the reason, as a failed single write is. Either way
    /// the object then holds the file as it is, with no write pending.
    bool Confirma();

    /// Writes made and not yet confirmed.
    std::size_t Pendentes() const noexcept;

private:
    struct TDados;
    std::unique_ptr<TDados> D;
};
