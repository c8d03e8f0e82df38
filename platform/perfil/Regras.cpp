#include "platform/perfil/Regras.h"

#include "platform/PrivateProfile.h"
#include "platform/Ascii.h"
#include "platform/EventLogger.h"
#include "platform/perfil/Arquivo.h"
#include "platform/perfil/Modelo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace perfil {

std::string_view EntradaCopiada(std::string_view Valor, std::uint32_t Tamanho)
{
    // One pair of matching quotes around the value goes. The reference drops the last character when
    // the buffer holds the value but not its closing quote (a quoted value of L characters needs L+2
    // bytes), and so do we.
    bool Aspas = false;
    if (Valor.size() >= 2 && (Valor.front() == '"' || Valor.front() == '\'') && Valor.back() == Valor.front()) {
        Aspas = true;
        Valor.remove_prefix(1);
    }
    std::size_t N = std::min<std::size_t>(Valor.size(), Tamanho - 1);
    if (Aspas && Tamanho >= Valor.size() && N > 0)
        --N;
    return Valor.substr(0, N);
}

std::string_view PadraoAparado(std::string_view Padrao)
{
    while (Padrao.size() > 1 && Padrao.back() == ' ')
        Padrao.remove_suffix(1);
    return Padrao;
}

bool TemQuebra(const char* Texto) noexcept
{
    return Texto && std::strpbrk(Texto, "\r\n") != nullptr;
}

const char* ValorComoReferencia(const char* Valor, std::string& Guarda)
{
    if (!Valor)
        return nullptr;
    const std::size_t N = std::strlen(Valor);
    if (N < 32767)
        return Valor;
    const std::size_t Bytes = (2 * N + 2) & 0xFFFF;
    if (Bytes == 0)
        return nullptr;
    Guarda.assign(Valor, Bytes / 2 - 1);
    return Guarda.c_str();
}

std::string DescreveOperacao(const char* Secao, const char* Chave, const char* Valor)
{
    const std::string Onde = "[" + std::string(Secao ? Secao : "") + "]";
    if (!Chave)
        return "erase of " + Onde;
    return (Valor ? "write of " : "erase of ") + Onde + " " + Chave;
}

namespace {

std::uint32_t CopiaEntrada(char* Buffer, std::uint32_t Tamanho, std::string_view Valor)
{
    const std::string_view Copia = EntradaCopiada(Valor, Tamanho);
    std::copy(Copia.begin(), Copia.end(), Buffer);
    Buffer[Copia.size()] = '\0';
    return static_cast<std::uint32_t>(Copia.size());
}

/// Copies names, each NUL-terminated, the list ended by one more NUL. A list that does not fit with
/// one byte to spare is cut to Tamanho-2 bytes and one NUL, as the reference does.
std::uint32_t CopiaLista(char* Buffer, std::uint32_t Tamanho, const std::vector<std::string>& Nomes)
{
    std::string Lista;
    for (const std::string& N : Nomes)
        Lista.append(N).push_back('\0');
    Lista.push_back('\0');
    if (Tamanho >= Lista.size() + 1) {
        std::copy(Lista.begin(), Lista.end(), Buffer);
        return static_cast<std::uint32_t>(Lista.size() - 1);
    }
    if (Tamanho == 1) {
        Buffer[0] = '\0';
        return 0;
    }
    std::copy_n(Lista.begin(), Tamanho - 2, Buffer);
    Buffer[Tamanho - 2] = '\0';
    return Tamanho - 2;
}

} // namespace

} // namespace perfil

using namespace perfil;

std::uint32_t GetPrivateProfileStringA(const char* Secao, const char* Chave, const char* Padrao,
                                       char* Buffer, std::uint32_t Tamanho, const char* Arquivo)
{
    if (!Secao)
        return GetPrivateProfileSectionNamesA(Buffer, Tamanho, Arquivo);
    if (!Buffer || Tamanho == 0)
        return 0;
    try {
        const std::string_view Dflt = PadraoAparado(Padrao ? Padrao : "");
        const TConteudo C = LeArquivo(Arquivo);
        if (!C.Existe)
            return CopiaEntrada(Buffer, Tamanho, Dflt);
        const TModelo M(C.Texto);
        if (Chave) {
            const std::optional<std::string> Valor = M.Valor(Secao, Chave);
            return CopiaEntrada(Buffer, Tamanho, Valor ? *Valor : Dflt);
        }
        // Key names; when the list comes out empty (or starts with an empty name) the default answers.
        const std::vector<std::string> Nomes = M.Chaves(Secao);
        if (!Nomes.empty() && !Nomes.front().empty()) {
            const std::uint32_t N = CopiaLista(Buffer, Tamanho, Nomes);
            if (Buffer[0] != '\0')
                return N;
        }
        return CopiaEntrada(Buffer, Tamanho, Dflt);
    } catch (...) {
        Buffer[0] = '\0';
        return 0;
    }
}

std::uint32_t GetPrivateProfileSectionNamesA(char* Buffer, std::uint32_t Tamanho, const char* Arquivo)
{
    if (!Buffer || Tamanho == 0)
        return 0;
    try {
        const TConteudo C = LeArquivo(Arquivo);
        return CopiaLista(Buffer, Tamanho, C.Existe ? TModelo(C.Texto).Secoes() : std::vector<std::string>());
    } catch (...) {
        Buffer[0] = '\0';
        return 0;
    }
}

std::uint32_t GetPrivateProfileIntA(const char* Secao, const char* Chave, int Padrao, const char* Arquivo)
{
    char Texto[30];
    if (GetPrivateProfileStringA(Secao, Chave, "", Texto, sizeof Texto, Arquivo) == 0)
        return static_cast<std::uint32_t>(Padrao);
    const char* C = AparaInicioSe(Texto, BrancoOuControle).data();
    bool Negativo = false;
    if (*C == '+' || *C == '-')
        Negativo = *C++ == '-';
    unsigned Base = 10;
    if (C[0] == '0' && (C[1] == 'x' || C[1] == 'X'))
        Base = 16;
    else if (C[0] == '0' && (C[1] == 'o' || C[1] == 'O'))
        Base = 8;
    else if (C[0] == '0' && (C[1] == 'b' || C[1] == 'B'))
        Base = 2;
    if (Base != 10)
        C += 2;
    std::uint32_t Valor = 0;
    for (;; ++C) {
        unsigned D;
        if (*C >= '0' && *C <= '9')
            D = static_cast<unsigned>(*C - '0');
        else if (*C >= 'a' && *C <= 'f')
            D = static_cast<unsigned>(*C - 'a' + 10);
        else if (*C >= 'A' && *C <= 'F')
            D = static_cast<unsigned>(*C - 'A' + 10);
        else
            break;
        if (D >= Base)
            break;
        Valor = Valor * Base + D;
    }
    return Negativo ? 0u - Valor : Valor;
}

std::vector<std::pair<std::string, std::string>> LeValoresDaSecao(const char* Secao, std::uint32_t Tamanho,
                                                                    const char* Arquivo)
{
    try {
        return TPerfilEmLote(Arquivo ? Arquivo : "").ValoresDaSecao(Secao, Tamanho);
    } catch (...) {
        return {};
    }
}

int WritePrivateProfileStringA(const char* Secao, const char* Chave, const char* Valor, const char* Arquivo)
{
    if (!Secao || !Arquivo)
        return 0;
    const std::string Operacao = DescreveOperacao(Secao, Chave, Valor);
    if (TemQuebra(Secao) || TemQuebra(Chave) || TemQuebra(Valor)) {
        RegistraFalhaArquivo(Arquivo, Operacao, 0, "refused: the section, key or value holds a line break");
        return 0;
    }
    try {
        std::string Guarda;
        Valor = Chave ? ValorComoReferencia(Valor, Guarda) : nullptr;
        return Reescreve(Arquivo, Operacao, Chave && Valor, [&](const std::string& Texto) -> std::optional<std::string> {
            TModelo M(Texto);
            if (!M.Aplica(Secao, Chave, Valor))
                return std::nullopt;
            return M.Texto();
        }) ? 1 : 0;
    } catch (...) {
        RegistraFalhaArquivo(Arquivo, Operacao, ENOMEM);
        return 0;
    }
}
