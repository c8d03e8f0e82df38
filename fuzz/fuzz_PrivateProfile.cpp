// The private-profile reader and writer on a real file: the input is the file's bytes and a sequence
// of calls. Every buffer has exactly the size the call is told, so a byte written past it is caught.
// A write of plain names into a file that holds neither must read back as written.
//
// Input: file length (2 bytes, 0xFFFF: no file), the file, then calls: kind (1 byte), buffer size
// (2 bytes), section, key, value or default (texts: 1 length byte, 255 a null pointer).
#include "Entrada.h"
#include "platform/PrivateProfile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>

namespace {

enum TChamada : std::uint8_t { Le, ListaChaves, ListaSecoes, NomesDasSecoes, Grava, LeInteiro, LeSecao, GravaERele, Chamadas };

const char* Ptr(const std::optional<std::string>& S) { return S ? S->c_str() : nullptr; }

void Falha(const char* Motivo)
{
    std::fprintf(stderr, "%s\n", Motivo);
    std::abort();
}

/// Checks what a read wrote into its buffer: within the size, terminated where it says it ends.
void ConfereLeitura(std::uint32_t Ret, const char* Buffer, std::uint32_t Tamanho)
{
    if (Tamanho == 0)
        return;
    if (Ret >= Tamanho)
        Falha("a read answered more bytes than its buffer holds");
    if (Buffer[Ret] != '\0')
        Falha("a read's text does not end where its answer says");
}

bool NomeSimples(const std::optional<std::string>& S)
{
    return S && !S->empty() && std::all_of(S->begin(), S->end(), [](unsigned char C) { return std::isalnum(C); });
}

std::string Minusculas(std::string Texto)
{
    for (char& C : Texto)
        C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return Texto;
}

std::string LeArquivo(const std::string& Caminho)
{
    std::ifstream Arquivo(Caminho, std::ios::binary);
    return {std::istreambuf_iterator<char>(Arquivo), std::istreambuf_iterator<char>()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Dados, std::size_t Tamanho)
{
    TEntradaFuzz Entrada(Dados, Tamanho);
    const std::string Arquivo = (PastaTemporariaFuzz() / "Perfil.ini").string();
    std::remove(Arquivo.c_str());
    if (const auto Comprimento = Entrada.Numero<std::uint16_t>(); Comprimento != 0xFFFF)
        std::ofstream(Arquivo, std::ios::binary) << Entrada.Bytes(Comprimento);

    for (int Passo = 0; Passo < 64 && !Entrada.Vazia(); ++Passo) {
        const auto Tipo = static_cast<TChamada>(Entrada.Numero<std::uint8_t>() % Chamadas);
        const std::uint32_t Tamanho = Entrada.Numero<std::uint16_t>() % 4096;
        const auto Secao = Entrada.Texto(), Chave = Entrada.Texto(), Valor = Entrada.Texto();
        const auto Buffer = std::make_unique<char[]>(Tamanho);
        switch (Tipo) {
        case Le:
            ConfereLeitura(GetPrivateProfileStringA(Ptr(Secao), Ptr(Chave), Ptr(Valor), Buffer.get(), Tamanho, Arquivo.c_str()),
                           Buffer.get(), Tamanho);
            break;
        case ListaChaves:
            ConfereLeitura(GetPrivateProfileStringA(Ptr(Secao), nullptr, Ptr(Valor), Buffer.get(), Tamanho, Arquivo.c_str()),
                           Buffer.get(), Tamanho);
            break;
        case ListaSecoes:
            ConfereLeitura(GetPrivateProfileStringA(nullptr, Ptr(Chave), Ptr(Valor), Buffer.get(), Tamanho, Arquivo.c_str()),
                           Buffer.get(), Tamanho);
            break;
        case NomesDasSecoes:
            ConfereLeitura(GetPrivateProfileSectionNamesA(Buffer.get(), Tamanho, Arquivo.c_str()), Buffer.get(), Tamanho);
            break;
        case Grava:
            WritePrivateProfileStringA(Ptr(Secao), Ptr(Chave), Ptr(Valor), Arquivo.c_str());
            break;
        case LeInteiro:
            GetPrivateProfileIntA(Ptr(Secao), Ptr(Chave), static_cast<int>(Tamanho) - 2048, Arquivo.c_str());
            break;
        case LeSecao:
            for (const auto& [Nome, Texto] : LeValoresDaSecao(Ptr(Secao), Tamanho, Arquivo.c_str()))
                if (Tamanho > 0 && Texto.size() >= Tamanho)
                    Falha("a section read gave a value longer than its buffer");
            break;
        case GravaERele: {
            // Names and value of letters and digits, none of them anywhere in the file yet.
            if (!NomeSimples(Secao) || !NomeSimples(Chave) || !NomeSimples(Valor))
                break;
            const std::string Antes = Minusculas(LeArquivo(Arquivo));
            if (Antes.find(Minusculas(*Secao)) != std::string::npos || Antes.find(Minusculas(*Chave)) != std::string::npos)
                break;
            if (!WritePrivateProfileStringA(Ptr(Secao), Ptr(Chave), Ptr(Valor), Arquivo.c_str()))
                break;
            char Lido[512];
            const std::uint32_t N = GetPrivateProfileStringA(Ptr(Secao), Ptr(Chave), "", Lido, sizeof Lido, Arquivo.c_str());
            if (std::string(Lido, N) != *Valor)
                Falha("a new key does not read back as written");
            break;
        }
        case Chamadas: break;
        }
    }
    return 0;
}
