// The company data exchange with whatever record a host may pass: any operation, company code and
// declared size, a buffer of exactly that size (so a byte read or written past it is caught), the
// questions answered yes or no as the input says, on a server root of three companies whose module
// file comes from the input.
//
// Input: operation (1 byte; with the high bit, the next 2 bytes raw), settings (1 byte: multi-company,
// duplicates allowed), answers (1 byte, one bit per question), company code (9 raw bytes), the
// module file of company 00000001 (2 bytes length, then its bytes), declared size (4 bytes), then the
// buffer's bytes (the rest, repeated or cut to the declared size).
#include "Entrada.h"
#include "module/info.h"
#include "runtime/Application.h"
#include "runtime/Dialogs.h"

#include <fstream>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const Empresas[] = {"00000001", "0000000A", "ABCDEFGH"};

void Grava(const fs::path& Caminho, const std::string& Bytes)
{
    fs::create_directories(Caminho.parent_path());
    std::ofstream(Caminho, std::ios::binary | std::ios::trunc) << Bytes;
}

struct TRespostas {
    std::uint8_t Bits = 0;
    int Perguntas = 0;
};

int Responde(void* Contexto, const char*, const char*, unsigned int Flags)
{
    auto& R = *static_cast<TRespostas*>(Contexto);
    if ((Flags & 0xF) != MB_YESNO)
        return IDOK;
    return (R.Bits >> (R.Perguntas++ % 8)) & 1 ? IDYES : IDNO;
}

const fs::path& Raiz()
{
    static const fs::path Pasta = [] {
        const fs::path R = PastaTemporariaFuzz() / "Kovan";
        Grava(PastaTemporariaFuzz() / "bin" / "CfKovan.ini", "[config]\r\nraiz=" + R.string() + "\r\n");
        Application().SetExeName((PastaTemporariaFuzz() / "bin" / "cfkovan").string());
        for (const char* Empresa : Empresas)
            Grava(R / "config" / (std::string(Empresa) + ".cnf"), std::string("\x10\x01rest", 6));
        return R;
    }();
    return Pasta;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Dados, std::size_t Tamanho)
{
    TEntradaFuzz Entrada(Dados, Tamanho);
    TDadosCfg Cfg{};
    const auto Operacao = Entrada.Numero<std::uint8_t>();
    Cfg.Operacao = Operacao & 0x80 ? Entrada.Numero<std::uint16_t>() : Operacao % 4;
    const auto Ajustes = Entrada.Numero<std::uint8_t>();
    TRespostas Respostas{Entrada.Numero<std::uint8_t>()};
    const std::string Codigo = Entrada.Bytes(sizeof Cfg.CodEmpresa);
    std::memcpy(Cfg.CodEmpresa, Codigo.data(), Codigo.size());
    const std::string Modulo = Entrada.Bytes(Entrada.Numero<std::uint16_t>());

    // A fresh layout per input: the settings, and one module file per company.
    const fs::path Config = Raiz() / "config";
    std::error_code Erro;
    fs::remove_all(Config / "empresas", Erro);
    Grava(Config / "KovanCfg.ini", std::string("[config]\r\nTipoConfKovan=") + (Ajustes & 1 ? "MULTIEMPRESA" : "UNICA") +
                                       "\r\nPermiteDuplEstab=" + (Ajustes & 2 ? "SIM" : "NAO") + "\r\n");
    Grava(Config / "empresas" / Empresas[0] / "Mirabelo.ini", Modulo);
    Grava(Config / "empresas" / Empresas[1] / "Mirabelo.ini", "[Geral]\r\nCodigoEstabelecimento=000000000000777\r\n");

    // Sizes up to 64 KiB; 0 and negative sizes name an empty buffer.
    Cfg.TamBuffer = Entrada.Numero<std::int32_t>() % 65536;
    const std::string Resto = Entrada.Resto();
    const std::size_t Alocado = Cfg.TamBuffer > 0 ? static_cast<std::size_t>(Cfg.TamBuffer) : Resto.size();
    const auto Buffer = std::make_unique<char[]>(Alocado);
    for (std::size_t I = 0; I < Alocado; ++I)
        Buffer[I] = Resto.empty() ? 'x' : Resto[I % Resto.size()];
    Cfg.Buffer = Alocado > 0 ? Buffer.get() : nullptr;

    KovanSetMessageBoxHandler(Responde, &Respostas);
    DadosEmpresa(&Cfg);
    KovanSetMessageBoxHandler(nullptr, nullptr);
    return 0;
}
