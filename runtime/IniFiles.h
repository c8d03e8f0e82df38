#pragma once
// TIniFile: the runtime's ini-file object, over the private-profile functions. Reads never throw and
// give the default; a write that the platform refuses throws EIniFileException.
#include "platform/Export.h"

#include <stdexcept>
#include <string>
#include <vector>

class KOVANRT_API EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class KOVANRT_API TIniFile {
public:
    explicit TIniFile(std::string FileName);

    const std::string& FileName() const noexcept { return Arquivo; }

    /// Value of Section/Ident (at most 2047 bytes), or Default when missing.
    std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const;
    int ReadInteger(const std::string& Section, const std::string& Ident, int Default) const;
    /// Any nonzero integer is true; Default when missing or not a number.
    bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;

    void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
    void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
    void WriteBool(const std::string& Section, const std::string& Ident, bool Value);

    /// Key names of a section, in file order.
    void ReadSection(const std::string& Section, std::vector<std::string>& Idents) const;
    /// Section names of the file, in file order.
    void ReadSections(std::vector<std::string>& Sections) const;
    /// "key=value" lines of a section, in file order.
    void ReadSectionValues(const std::string& Section, std::vector<std::string>& Values) const;

    bool SectionExists(const std::string& Section) const;
    bool ValueExists(const std::string& Section, const std::string& Ident) const;

    void EraseSection(const std::string& Section);
    void DeleteKey(const std::string& Section, const std::string& Ident);

private:
    std::string Arquivo;
};
