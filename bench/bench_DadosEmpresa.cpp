// The company data exchange over 10,000 companies, each with its module ini file, against floors
// measured in the same run:
//  - export-all against a minimal loop that opens, reads and closes every company's ini file;
//  - import of 10,000 new codes (duplicates not allowed, so both checks run for every entry) against
//    a minimal loop that writes the same 10,000 files with the same durability (temporary file,
//    fdatasync, rename).
// The export must also scan the company files (two bytes of each), which the first floor leaves out;
// a second ratio counts that scan in the floor. Then the import's cost per entry at 2,500 and at
// 10,000 companies: a check that passed over every company for each entry would make the second four
// times the first.
#include "Medida.h"
#include "module/info.h"
#include "runtime/Application.h"
#include "runtime/Dialogs.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TServidor {
    fs::path Pasta;
    std::vector<std::string> Empresas;

    explicit TServidor(int Quantas) : Pasta(bench::PastaTemporaria()), Empresas(bench::CriaRaiz(Pasta, Quantas))
    {
        for (std::size_t I = 0; I < Empresas.size(); ++I)
            bench::Grava(Ini(I), "[geral]\r\ncodigoestabelecimento=" + std::string(7, '0') + Empresas[I] + "\r\n");
    }
    ~TServidor() { fs::remove_all(Pasta); }

    fs::path Ini(std::size_t I) const { return Pasta / "Kovan" / "config" / "empresas" / Empresas[I] / "Mirabelo.ini"; }
    void Ativa() const { Application().SetExeName((Pasta / "bin" / "cfkovan").string()); }

    // "company;code" entries with a code no company holds yet; Rodada makes each run's codes new.
    std::string ListaNova(int Rodada) const
    {
        std::string Lista;
        char Entrada[64];
        for (std::size_t I = 0; I < Empresas.size(); ++I) {
            std::snprintf(Entrada, sizeof Entrada, "%s;%d%08zu", Empresas[I].c_str(), Rodada + 1, I);
            Lista.append(Entrada).push_back('\0');
        }
        Lista.push_back('\0');
        return Lista;
    }
};

int Importa(std::string& Lista)
{
    TDadosCfg Dados{};
    Dados.Operacao = 1;
    Dados.TamBuffer = static_cast<std::int32_t>(Lista.size());
    Dados.Buffer = Lista.data();
    DadosEmpresa(&Dados);
    return Dados.Resultado;
}

int Exporta(std::vector<char>& Buffer)
{
    TDadosCfg Dados{};
    Dados.Operacao = 3;
    Dados.TamBuffer = static_cast<std::int32_t>(Buffer.size());
    Dados.Buffer = Buffer.data();
    DadosEmpresa(&Dados);
    return Dados.Resultado;
}

void PisoLeitura(const TServidor& S)
{
    char Buffer[4096];
    for (std::size_t I = 0; I < S.Empresas.size(); ++I) {
        const int F = open(S.Ini(I).c_str(), O_RDONLY);
        if (read(F, Buffer, sizeof Buffer) < 0)
            std::abort();
        close(F);
    }
}

// Written as the ini writer does it: a new temporary file beside the target, its data forced to disk,
// then renamed over the target.
void PisoEscrita(const TServidor& S, int Rodada)
{
    char Conteudo[96];
    for (std::size_t I = 0; I < S.Empresas.size(); ++I) {
        const std::string Final = S.Ini(I).string();
        const std::string Temporario = Final + "." + std::to_string(Rodada) + ".tmp";
        const int N = std::snprintf(Conteudo, sizeof Conteudo, "[geral]\r\ncodigoestabelecimento=%d%08zu\r\n", Rodada + 1, I);
        const int F = open(Temporario.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (F < 0 || write(F, Conteudo, static_cast<std::size_t>(N)) != N || fdatasync(F) != 0)
            std::abort();
        close(F);
        rename(Temporario.c_str(), Final.c_str());
    }
}

// The company scan every operation starts with: list root/config, read two bytes of each ".cnf".
void PisoVarredura(const TServidor& S)
{
    const std::string Config = (S.Pasta / "Kovan" / "config").string();
    DIR* D = opendir(Config.c_str());
    char B[2];
    while (dirent* E = readdir(D)) {
        const std::size_t N = std::strlen(E->d_name);
        if (N < 4 || strcasecmp(E->d_name + N - 4, ".cnf") != 0)
            continue;
        const int F = open((Config + "/" + E->d_name).c_str(), O_RDONLY);
        if (F < 0 || read(F, B, 2) < 0)
            std::abort();
        close(F);
    }
    closedir(D);
}

int SemPerguntas(void*, const char*, const char*, unsigned int)
{
    return IDOK;
}

} // namespace

int main()
{
    KovanSetMessageBoxHandler(SemPerguntas, nullptr);
    const TServidor Grande(10000);
    Grande.Ativa();

    std::vector<char> Buffer(1 << 20);
    int Exportadas = 0;
    const bench::TTempo PisoExporta = bench::Melhor(5, [&] { PisoLeitura(Grande); });
    const bench::TTempo TempoExporta = bench::Melhor(5, [&] { Exportadas = Exporta(Buffer); });
    std::printf("export-all: %d entries; peak memory %.1f MiB\n", Exportadas, bench::PicoMemoriaMiB());

    const bench::TTempo PisoCompleto = bench::Melhor(5, [&] { PisoVarredura(Grande); PisoLeitura(Grande); });

    // Each round writes new codes; floor and import alternate so both see the same disk.
    int Rodada = 0, Resultado = 0;
    bench::TTempo PisoImporta, TempoImporta;
    for (int I = 0; I < 2; ++I) {
        PisoImporta = bench::Menor(PisoImporta, bench::Melhor(1, [&] { PisoEscrita(Grande, Rodada++); }));
        std::string Lista = Grande.ListaNova(Rodada++);
        TempoImporta = bench::Menor(TempoImporta, bench::Melhor(1, [&] { Resultado = Importa(Lista); }));
    }
    std::printf("import: result %d (2 x 10,000 expected); peak memory %.1f MiB\n", Resultado, bench::PicoMemoriaMiB());

    const TServidor Pequeno(2500);
    Pequeno.Ativa();
    bench::TTempo TempoPequeno;
    for (int I = 0; I < 2; ++I) {
        std::string Lista = Pequeno.ListaNova(Rodada++);
        TempoPequeno = bench::Menor(TempoPequeno, bench::Melhor(1, [&] { Importa(Lista); }));
    }

    bench::Relata("export-all, 10,000 companies", TempoExporta, PisoExporta, 1.5);
    bench::Relata("  same, floor with the company scan", TempoExporta, PisoCompleto, 1.5);
    bench::Relata("import, 10,000 entries", TempoImporta, PisoImporta, 3.0);
    // A check that passed over every company for each entry would make this ratio about 4.
    bench::Relata("import per entry, 10,000 vs 2,500", TempoImporta / 10000, TempoPequeno / 2500, 1.3);
    std::printf("peak memory %.1f MiB\n", bench::PicoMemoriaMiB());
    return Exportadas == 10000 && Resultado == 20000 ? 0 : 1;
}
