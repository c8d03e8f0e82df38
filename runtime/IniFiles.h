#pragma once
// TIniFile: the runtime's ini-file object, over the private-profile functions, as Delphi's TIniFile.
// Nothing is cached: every call reads or writes the file. Reads never throw and give the default; a
// write, an erase or a delete that the platform refuses (read-only file, missing folder, CR or LF in
// a name or value) throws EIniFileException with a text naming the file.
#include "platform/Export.h"

#include <stdexcept>
#include <string>
#include <vector>

class TPerfilEmLote;

class KOVANRT_API EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class KOVANRT_API TIniFile {
public:
    explicit TIniFile(std::string FileName);
    /// Reads and writes go to Lote (which must outlive the object), with the same answers and the
    /// same refusals; the file changes only when Lote is confirmed.
    TIniFile(std::string FileName, TPerfilEmLote& Lote);

    const std::string& FileName() const noexcept { return Arquivo; }

    /// Value of Section/Ident (at most 2047 bytes), or Default when missing.
    std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const;
    /// The value as a 32-bit integer (decimal, or hexadecimal after "$" or "0x"); Default when missing
    /// or not wholly a number.
    int ReadInteger(const std::string& Section, const std::string& Ident, int Default) const;
    /// Any nonzero integer is true; Default when missing or not a number.
    bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;

    void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
    void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
    /// Writes "1" or "0".
    void WriteBool(const std::string& Section, const std::string& Ident, bool Value);

    /// Key names of a section, in file order.
    void ReadSection(const std::string& Section, std::vector<std::string>& Idents) const;
    /// Section names of the file, in file order.
    void ReadSections(std::vector<std::string>& Sections) const;
    /// "key=value" lines of a section, in file order.
    void ReadSectionValues(const std::string& Section, std::vector<std::string>& Values) const;

    /// As Delphi: true when the section lists at least one key (a section holding none counts as missing).
    bool SectionExists(const std::string& Section) const;
    /// True when the section lists the key (ASCII case ignored, as the lookups do).
    bool ValueExists(const std::string& Section, const std::string& Ident) const;

    /// Removes the section and its lines; a missing section or file is no error.
    void EraseSection(const std::string& Section);
    /// Removes the key; a missing key, section or file is no error.
    void DeleteKey(const std::string& Section, const std::string& Ident);

private:
    bool Escreve(const char* Section, const char* Ident, const char* Value);
    std::vector<std::string> Lista(const char* Section) const;

    std::string Arquivo;
    TPerfilEmLote* Lote = nullptr;
};
