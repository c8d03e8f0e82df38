#pragma once
// A settings file read whole and replaced whole. A reader reads until the system says the file
// ended (a network or FUSE file system may answer short anywhere). A change is a read-modify-write
// under an open-file-description lock on the file (F_OFD_SETLKW, which belongs to the descriptor, so
// threads of one process exclude each other as processes do, and no other descriptor's close drops
// it): the new text goes to the temporary file ".<name>.tmp" beside the file, created or emptied
// while the lock is held, flushed to disk, then renamed over the file with the file's mode (and, for
// root, its owner). A writer killed on the way leaves at most that one temporary, which the next
// writer of the file overwrites.
//
// A symbolic link is followed to its final target, which is replaced; the link stays. A UTF-16LE
// file (BOM FF FE) is handed over as UTF-8 behind a UTF-8 BOM and written back as UTF-16LE; one
// whose text does not decode is read as well as it goes and never written.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace perfil {

/// Reads the open file from where it stands until read() answers 0. False on a read error.
bool LeTudo(int Fd, std::string& Dados);

struct TConteudo {
    bool Existe = false;
    bool Utf16 = false;       ///< the file is UTF-16LE: Texto holds it as UTF-8 behind a UTF-8 BOM
    bool Decodifica = true;   ///< false: UTF-16 text that does not decode (a lone surrogate, an odd byte)
    std::string Texto;
};

/// The file's bytes as the engine works on them (UTF-16LE decoded).
TConteudo Decodifica(std::string Bytes);
/// The bytes of a UTF-16 file for Texto (UTF-8 behind a BOM, as Decodifica gave it).
std::string CodificaUtf16(std::string_view Texto);

/// The file the module path Arquivo names, read for a reading: Existe false when it is missing or
/// cannot be read.
TConteudo LeArquivo(const char* Arquivo);

/// Changes the file the module path Arquivo names: Muda gets its text as it is under the lock ("" when
/// missing) and answers the new text, or nothing when the file stays as it is. Cria: a missing file is
/// created (removed again when the write fails); otherwise a missing file stays missing and that is
/// success. True when the file holds the change; false when nothing was written, told once to the
/// event log at error level under Operacao with the file and the reason.
bool Reescreve(const char* Arquivo, const std::string& Operacao, bool Cria,
               const std::function<std::optional<std::string>(const std::string& Texto)>& Muda);

} // namespace perfil
