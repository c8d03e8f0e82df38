// The batch against the same writes made one call at a time: on a file made of the input (often with
// a large section, so sections of 30 lines and more are written into), each write is made both ways;
// the batch must read as the file does after every write, and leave the same bytes when confirmed.
//
// Input: count of lines of a generated section "[G]" put before the file (1 byte), file length (2
// bytes, 0xFFFF: no file), the file, then writes: kind (1 byte: low 2 bits write, erase of a key,
// erase of a section; bit 2, a new batch starts before it), section, key, value (texts: 1 length
// byte, 255 a null pointer).
#include "Entrada.h"
#include "platform/PrivateProfile.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>

namespace {

const char* Ptr(const std::optional<std::string>& S) { return S ? S->c_str() : nullptr; }

std::optional<std::string> LeArquivo(const std::string& Caminho)
{
    std::ifstream Arquivo(Caminho, std::ios::binary);
    if (!Arquivo)
        return std::nullopt;
    return std::string{std::istreambuf_iterator<char>(Arquivo), std::istreambuf_iterator<char>()};
}

void Confere(bool Igual, const char* Motivo)
{
    if (!Igual) {
        std::fprintf(stderr, "%s\n", Motivo);
        std::abort();
    }
}

std::string Le(const char* Secao, const char* Chave, const std::string& Arquivo)
{
    char Buffer[512];
    return std::string(Buffer, GetPrivateProfileStringA(Secao, Chave, "-", Buffer, sizeof Buffer, Arquivo.c_str()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Dados, std::size_t Tamanho)
{
    TEntradaFuzz Entrada(Dados, Tamanho);
    const std::string Uma = (PastaTemporariaFuzz() / "Uma.ini").string(), Lote = (PastaTemporariaFuzz() / "Lote.ini").string();
    std::remove(Uma.c_str());
    std::remove(Lote.c_str());
    std::string Gerada;
    for (int I = Entrada.Numero<std::uint8_t>(); I > 0; --I)
        Gerada += (I % 9 == 0 ? "\r\n" : "k" + std::to_string(I % 50) + "=" + std::to_string(I) + "\r\n");
    if (const auto Comprimento = Entrada.Numero<std::uint16_t>(); Comprimento != 0xFFFF || !Gerada.empty()) {
        const std::string Arquivo = (Gerada.empty() ? "" : "[G]\r\n" + Gerada) + Entrada.Bytes(Comprimento == 0xFFFF ? 0 : Comprimento);
        std::ofstream(Uma, std::ios::binary) << Arquivo;
        std::ofstream(Lote, std::ios::binary) << Arquivo;
    }
    auto L = std::make_unique<TPerfilEmLote>(Lote);
    // A write refused for what it holds (the batch refuses it too); a file that cannot be written
    // (UTF-16 text that does not decode: the batch finds it out at Confirma).
    bool Recusada = false, NaoGravavel = false;
    const auto Confirma = [&] {
        Confere(L->Confirma() == !(Recusada || NaoGravavel), "a batch confirmed differently from its writes");
        if (!Recusada)
            Confere(LeArquivo(Lote) == LeArquivo(Uma), "a batch left other bytes than its writes one at a time");
    };
    for (int Passo = 0; Passo < 64 && !Entrada.Vazia(); ++Passo) {
        const std::uint8_t Tipo = Entrada.Numero<std::uint8_t>();
        const auto Secao = Entrada.Texto(), Chave = Entrada.Texto(), Valor = Entrada.Texto();
        if (Tipo & 4) {  // a new batch, on the file the last one left
            Confirma();
            L = std::make_unique<TPerfilEmLote>(Lote);
        }
        const char* K = Tipo % 4 == 2 ? nullptr : Ptr(Chave);
        const char* V = Tipo % 4 == 0 ? Ptr(Valor) : nullptr;
        const int Ret = WritePrivateProfileStringA(Ptr(Secao), K, V, Uma.c_str());
        const bool Aceita = L->Grava(Ptr(Secao), K, V);
        Confere(Aceita || Ret == 0, "a batch refused a write the call made");
        Recusada = !Aceita;
        NaoGravavel = Aceita && Ret == 0;
        if (Recusada || NaoGravavel)
            break;
        if (Secao && Chave)
            Confere(L->Le(Secao->c_str(), Chave->c_str(), "-", 512) == Le(Secao->c_str(), Chave->c_str(), Uma),
                    "a batch read differently");
    }
    Confirma();
    return 0;
}
