#include "runtime/IniFiles.h"

#include "platform/Ascii.h"
#include "platform/PrivateProfile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

constexpr std::uint32_t TamanhoLeitura = 2048;

/// A NUL-separated list (section or key names) of any length: the buffer grows until it holds it.
std::vector<std::string> LeLista(const char* Secao, const std::string& Arquivo)
{
    std::vector<char> Buffer(16384);
    std::uint32_t N;
    for (;;) {
        N = GetPrivateProfileStringA(Secao, nullptr, nullptr, Buffer.data(), static_cast<std::uint32_t>(Buffer.size()),
                                     Arquivo.c_str());
        if (N + 2 < Buffer.size() || Buffer.size() >= (1u << 30))
            break;
        Buffer.resize(Buffer.size() * 4);
    }
    std::vector<std::string> Nomes;
    std::size_t I = 0;
    while (I < N) {
        const std::string Nome(Buffer.data() + I);
        I += Nome.size() + 1;
        Nomes.push_back(Nome);
    }
    return Nomes;
}

/// StrToIntDef as Delphi has it: the whole text (leading blanks allowed) is a 32-bit decimal, or
/// hexadecimal after "$" or "0x"; anything else gives Padrao.
int TextoParaInteiro(const std::string& Texto, int Padrao) noexcept
{
    const char* C = AparaInicioSe(Texto, BrancoAscii).data();
    bool Negativo = false;
    if (*C == '+' || *C == '-')
        Negativo = *C++ == '-';
    int Base = 10;
    if (*C == '$') {
        Base = 16;
        ++C;
    } else if (C[0] == '0' && (C[1] == 'x' || C[1] == 'X')) {
        Base = 16;
        C += 2;
    }
    if (*C == '\0' || *C == ' ' || *C == '\t' || *C == '+' || *C == '-')
        return Padrao;
    char* Fim = nullptr;
    errno = 0;
    const unsigned long long Valor = std::strtoull(C, &Fim, Base);
    if (errno != 0 || *Fim != '\0')
        return Padrao;
    if (Base == 16) {  // hexadecimal spells the 32 bits, as Delphi's Val does
        if (Valor > 0xFFFFFFFFull)
            return Padrao;
        const auto Bits = static_cast<std::uint32_t>(Valor);
        return Negativo ? static_cast<int>(0u - Bits) : static_cast<int>(Bits);
    }
    if (Valor > (Negativo ? static_cast<unsigned long long>(INT_MAX) + 1 : static_cast<unsigned long long>(INT_MAX)))
        return Padrao;
    return Negativo ? static_cast<int>(-static_cast<long long>(Valor)) : static_cast<int>(Valor);
}

} // namespace

TIniFile::TIniFile(std::string FileName) : Arquivo(std::move(FileName)) {}

TIniFile::TIniFile(std::string FileName, TPerfilEmLote& Lote_) : Arquivo(std::move(FileName)), Lote(&Lote_) {}

bool TIniFile::Escreve(const char* Section, const char* Ident, const char* Value)
{
    return Lote ? Lote->Grava(Section, Ident, Value) : WritePrivateProfileStringA(Section, Ident, Value, Arquivo.c_str()) != 0;
}

std::vector<std::string> TIniFile::Lista(const char* Section) const
{
    if (!Lote)
        return LeLista(Section, Arquivo);
    return Section ? Lote->Chaves(Section) : Lote->Secoes();
}

std::string TIniFile::ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const
{
    if (Lote)
        return Lote->Le(Section.c_str(), Ident.c_str(), Default.c_str(), TamanhoLeitura);
    char Buffer[TamanhoLeitura];
    const std::uint32_t N =
        GetPrivateProfileStringA(Section.c_str(), Ident.c_str(), Default.c_str(), Buffer, sizeof Buffer, Arquivo.c_str());
    return std::string(Buffer, N);
}

int TIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) const
{
    return TextoParaInteiro(ReadString(Section, Ident, ""), Default);
}

bool TIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value)
{
    if (!Escreve(Section.c_str(), Ident.c_str(), Value.c_str()))
        throw EIniFileException("Unable to write to " + Arquivo);
}

void TIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value)
{
    WriteString(Section, Ident, std::to_string(Value));
}

void TIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? "1" : "0");
}

void TIniFile::ReadSection(const std::string& Section, std::vector<std::string>& Idents) const
{
    Idents = Lista(Section.c_str());
}

void TIniFile::ReadSections(std::vector<std::string>& Sections) const
{
    Sections = Lista(nullptr);
}

void TIniFile::ReadSectionValues(const std::string& Section, std::vector<std::string>& Values) const
{
    // Delphi reads each listed key with ReadString; one pass gives the same, without re-reading the file per key.
    Values.clear();
    for (const auto& [Chave, Valor] : Lote ? Lote->ValoresDaSecao(Section.c_str(), TamanhoLeitura)
                                           : LeValoresDaSecao(Section.c_str(), TamanhoLeitura, Arquivo.c_str()))
        Values.push_back(Chave + "=" + Valor);
}

bool TIniFile::SectionExists(const std::string& Section) const
{
    return !Lista(Section.c_str()).empty();
}

bool TIniFile::ValueExists(const std::string& Section, const std::string& Ident) const
{
    for (const std::string& Chave : Lista(Section.c_str()))
        if (IguaisSemCaixa(Chave, Ident))
            return true;
    return false;
}

void TIniFile::EraseSection(const std::string& Section)
{
    if (!Escreve(Section.c_str(), nullptr, nullptr))
        throw EIniFileException("Unable to erase section " + Section + " of " + Arquivo);
}

void TIniFile::DeleteKey(const std::string& Section, const std::string& Ident)
{
    if (!Escreve(Section.c_str(), Ident.c_str(), nullptr))
        throw EIniFileException("Unable to delete " + Section + "/" + Ident + " of " + Arquivo);
}
