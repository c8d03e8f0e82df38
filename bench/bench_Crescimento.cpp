// Growth of the company data exchange with the number of companies whose folders do not exist yet,
// against floors measured in the same run:
//  - import of N new companies (N = 1,000, 10,000, 100,000 by default; other values as arguments;
//    $BENCH_LETRAS, as "1000,3000", other values for the codes with letters) into a root that already
//    holds 10,000, against a loop that creates the same folders and files with the same atomic write
//    (temporary file, fdatasync, rename); once with new codes of digits only ("00010000"), once with
//    codes that hold a letter ("A0010000"), whose folders the case-insensitive look-up must find or
//    miss among all the others. The cost per entry at the largest N must stay within 1.3x of that at
//    the smallest, for both kinds, and each within 2x of its floor; a second floor adds what the
//    duplicate checks must read first (the company scan and every existing code);
//  - export-all of 30,000 companies on a root with no empresas/ folder, against the same export with
//    every company's file present (within 1.5x).
// Roots go to $TMPDIR, or to /dev/shm (tmpfs) when TMPDIR is not set and /dev/shm exists.
#include "Medida.h"
#include "module/info.h"
#include "runtime/Application.h"
#include "runtime/Dialogs.h"

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int Existentes = 10000;

/// The code of company I: digits for the existing ones; the new ones with a letter when Letras.
std::string Codigo(int I, bool Letras)
{
    char C[16];
    std::snprintf(C, sizeof C, Letras && I >= Existentes ? "A%07d" : "%08d", I);
    return C;
}

struct TRaiz {
    bool Letras = false;
    fs::path Pasta = bench::PastaTemporaria();
    fs::path Config = Pasta / "Kovan" / "config";

    explicit TRaiz(bool Letras_ = false) : Letras(Letras_)
    {
        fs::create_directories(Pasta / "bin");
        fs::create_directories(Config);
        bench::Grava(Pasta / "bin" / "CfKovan.ini", "[config]\r\nraiz=" + (Pasta / "Kovan").string() + "\r\n");
        bench::Grava(Config / "KovanCfg.ini", "[config]\r\nTipoConfKovan=MULTIEMPRESA\r\nPermiteDuplEstab=NAO\r\n");
        Application().SetExeName((Pasta / "bin" / "cfkovan").string());
    }
    ~TRaiz() { fs::remove_all(Pasta); }

    std::string Codigo(int I) const { return ::Codigo(I, Letras); }
    fs::path Ini(int I) const { return Config / "empresas" / Codigo(I) / "Mirabelo.ini"; }
    void CriaEmpresas(int De, int Ate) const
    {
        for (int I = De; I < Ate; ++I)
            bench::Grava(Config / (Codigo(I) + ".cnf"), std::string("\x10\x01", 2) + "empresa");
    }
    void CriaArquivos(int De, int Ate) const
    {
        for (int I = De; I < Ate; ++I) {
            fs::create_directories(Ini(I).parent_path());
            bench::Grava(Ini(I), "[geral]\r\ncodigoestabelecimento=9" + std::string(6, '0') + Codigo(I) + "\r\n");
        }
    }
    void ApagaPastas(int De, int Ate) const
    {
        for (int I = De; I < Ate; ++I)
            fs::remove_all(Ini(I).parent_path());
    }
};

// What the import must at least do for each new company: its folder, then its file written as the ini
// writer writes it (temporary file beside the target, data forced to disk, renamed over it).
void PisoImporta(const TRaiz& R, int De, int Ate)
{
    char Conteudo[96];
    for (int I = De; I < Ate; ++I) {
        const fs::path Final = R.Ini(I);
        if (mkdir(Final.parent_path().c_str(), 0777) != 0)
            std::abort();
        const std::string Temporario = Final.parent_path() / ".Mirabelo.ini.1.0.tmp";
        const int N = std::snprintf(Conteudo, sizeof Conteudo, "[geral]\r\ncodigoestabelecimento=1%014d\r\n", I);
        const int F = open(Temporario.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (F < 0 || write(F, Conteudo, static_cast<std::size_t>(N)) != N || fdatasync(F) != 0)
            std::abort();
        close(F);
        if (rename(Temporario.c_str(), Final.c_str()) != 0)
            std::abort();
    }
}

// What an import with duplicate checks must read before it writes anything: the company scan (list
// config/, two bytes of each ".cnf") and the establishment code of every company that has a file.
void PisoLeitura(const TRaiz& R, int Existentes)
{
    DIR* D = opendir(R.Config.c_str());
    char B[4096];
    while (dirent* E = readdir(D)) {
        const std::size_t N = std::strlen(E->d_name);
        if (N < 4 || strcasecmp(E->d_name + N - 4, ".cnf") != 0)
            continue;
        const int F = open((R.Config / E->d_name).c_str(), O_RDONLY);
        if (F < 0 || read(F, B, 2) < 0)
            std::abort();
        close(F);
    }
    closedir(D);
    for (int I = 0; I < Existentes; ++I) {
        const int F = open(R.Ini(I).c_str(), O_RDONLY);
        if (F < 0 || read(F, B, sizeof B) < 0)
            std::abort();
        close(F);
    }
}

void Importa(const TRaiz& R, int De, int Ate)
{
    std::string Lista;
    for (int I = De; I < Ate; ++I)
        Lista += R.Codigo(I) + ";1" + std::to_string(100000000 + I) + '\0';
    Lista += '\0';
    TDadosCfg Dados{};
    Dados.Operacao = 1;
    Dados.TamBuffer = static_cast<std::int32_t>(Lista.size());
    Dados.Buffer = Lista.data();
    DadosEmpresa(&Dados);
}

int ExportaTodas(std::vector<char>& Buffer)
{
    TDadosCfg Dados{};
    Dados.Operacao = 3;
    Dados.TamBuffer = static_cast<std::int32_t>(Buffer.size());
    Dados.Buffer = Buffer.data();
    DadosEmpresa(&Dados);
    int Entradas = 0;
    for (std::size_t I = 0; I + 1 < Buffer.size() && Buffer[I]; I += std::strlen(Buffer.data() + I) + 1)
        ++Entradas;
    return Entradas;
}

int SemPerguntas(void*, const char*, const char*, unsigned int)
{
    return IDOK;
}

} // namespace

int main(int Argc, char** Argv)
{
    if (!std::getenv("TMPDIR") && fs::is_directory("/dev/shm"))
        setenv("TMPDIR", "/dev/shm", 1);
    std::printf("roots in %s\n", fs::temp_directory_path().c_str());
    KovanSetMessageBoxHandler(SemPerguntas, nullptr);
    std::vector<int> Tamanhos;
    for (int I = 1; I < Argc; ++I)
        Tamanhos.push_back(std::atoi(Argv[I]));
    if (Tamanhos.empty())
        Tamanhos = {1000, 10000, 100000};
    std::vector<int> TamanhosLetras = Tamanhos;
    if (const char* Letras = std::getenv("BENCH_LETRAS")) {
        TamanhosLetras.clear();
        for (const char* P = Letras; *P; P += *P == ',')
            TamanhosLetras.push_back(static_cast<int>(std::strtol(P, const_cast<char**>(&P), 10)));
    }

    bool Ok = true;
    for (const bool Letras : {false, true}) {
        std::vector<bench::TTempo> PorEntrada;
        const std::vector<int>& Ns = Letras ? TamanhosLetras : Tamanhos;
        for (const int N : Ns) {
            const TRaiz R(Letras);
            R.CriaEmpresas(0, Existentes + N);
            R.CriaArquivos(0, Existentes);
            const bench::TTempo Piso = bench::Melhor(1, [&] { PisoImporta(R, Existentes, Existentes + N); });
            R.ApagaPastas(Existentes, Existentes + N);
            const bench::TTempo PisoLido = bench::Melhor(1, [&] { PisoLeitura(R, Existentes); });
            const bench::TTempo Tempo = bench::Melhor(1, [&] { Importa(R, Existentes, Existentes + N); });
            for (const int I : {Existentes, Existentes + N / 2, Existentes + N - 1})
                Ok = Ok && bench::Lido(R.Ini(I)).find("codigoestabelecimento=000001" + std::to_string(100000000 + I)) !=
                               std::string::npos;
            PorEntrada.push_back(Tempo / N);
            char Nome[80];
            std::snprintf(Nome, sizeof Nome, "import, %d new %s (%.1f us/entry)", N, Letras ? "A..." : "0...",
                          Tempo.Parede / N * 1e6);
            bench::Relata(Nome, Tempo, Piso, 2.0);
            bench::Relata("  same, floor with the reads first", Tempo, Piso + PisoLido, 2.0);
        }
        if (PorEntrada.size() > 1) {
            char Nome[80];
            std::snprintf(Nome, sizeof Nome, "per entry, %d vs %d new, %s", Ns.back(), Ns.front(),
                          Letras ? "letters" : "digits");
            Ok = bench::Relata(Nome, PorEntrada.back(), PorEntrada.front(), 1.3) && Ok;
        }
    }

    constexpr int Empresas = 30000;
    const TRaiz R;
    R.CriaEmpresas(0, Empresas);
    std::vector<char> Buffer(4 << 20);
    int SemArquivos = 0, ComArquivos = 0;
    const bench::TTempo TempoSem = bench::Melhor(3, [&] { SemArquivos = ExportaTodas(Buffer); });
    R.CriaArquivos(0, Empresas);
    const bench::TTempo TempoCom = bench::Melhor(3, [&] { ComArquivos = ExportaTodas(Buffer); });
    bench::Relata("export-all, 30,000, no empresas/", TempoSem, TempoCom, 1.5);
    std::printf("exported %d and %d entries; peak memory %.1f MiB\n", SemArquivos, ComArquivos, bench::PicoMemoriaMiB());
    return Ok && SemArquivos == Empresas && ComArquivos == Empresas ? 0 : 1;
}
