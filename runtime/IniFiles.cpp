#include "runtime/IniFiles.h"

// Placeholder until the engine lands.
TIniFile::TIniFile(std::string FileName) : Arquivo(std::move(FileName)) {}
std::string TIniFile::ReadString(const std::string&, const std::string&, const std::string& Default) const { return Default; }
int TIniFile::ReadInteger(const std::string&, const std::string&, int Default) const { return Default; }
bool TIniFile::ReadBool(const std::string&, const std::string&, bool Default) const { return Default; }
void TIniFile::WriteString(const std::string&, const std::string&, const std::string&) {}
void TIniFile::WriteInteger(const std::string&, const std::string&, int) {}
void TIniFile::WriteBool(const std::string&, const std::string&, bool) {}
void TIniFile::ReadSection(const std::string&, std::vector<std::string>& I) const { I.clear(); }
void TIniFile::ReadSections(std::vector<std::string>& S) const { S.clear(); }
void TIniFile::ReadSectionValues(const std::string&, std::vector<std::string>& V) const { V.clear(); }
bool TIniFile::SectionExists(const std::string&) const { return false; }
bool TIniFile::ValueExists(const std::string&, const std::string&) const { return false; }
void TIniFile::EraseSection(const std::string&) {}
void TIniFile::DeleteKey(const std::string&, const std::string&) {}
