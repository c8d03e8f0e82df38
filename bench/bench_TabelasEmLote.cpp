// cfkovan-dados's bulk work on the BIN tables, against floors measured in the same run, in wall time and
// in the process's CPU time (user + system):
//  - "bins import" of one 50-row debit table into each of N companies whose files hold their
//    establishment codes (the tool's own code: the import file read and checked whole, then each
//    company loaded, compared, audited and saved), against writing the same files with one atomic
//    replace each (temporary file, fdatasync, rename): within 2x;
//  - "verifica" of those N companies, against reading every file of the root once (each folder
//    listed, each file read whole): within 1.5x;
//  - both flat per company: the cost per company at the largest N within 1.3x of that at the smallest.
// N = 1,000, 10,000 and 100,000 by default (others as arguments). Roots go to $TMPDIR, or to /dev/shm
// (tmpfs) when TMPDIR is not set and /dev/shm exists: there the disk's flush costs nothing, so the
// ratios show the code's own work.
#include "Medida.h"
#include "config/Lib.h"
#include "host/TrocaTabelas.h"
#include "host/Verificacao.h"
#include "runtime/Application.h"
#include "support/EventLog.h"

#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The import file: the same 50 rows for every company.
void EscreveImportacao(const fs::path& Arquivo, const std::vector<std::string>& Empresas)
{
    std::vector<std::string> Linhas;
    char Linha[96];
    for (int R = 0; R < 50; ++R) {
        std::snprintf(Linha, sizeof Linha, ";debito;CARTAO %02d;6010%02d 6020%02d00-6020%02d99;%d\n", R, R, R, R, R % 2);
        Linhas.emplace_back(Linha);
    }
    std::ofstream Saida(Arquivo, std::ios::binary);
    for (const std::string& E : Empresas)
        for (const std::string& L : Linhas)
            Saida << E << L;
}

// What each company's file holds before the import: its establishment code.
std::string Geral(const std::string& Empresa)
{
    return "[geral]\r\ncodigoestabelecimento=0000000" + Empresa + "\r\n";
}

void CriaArquivos(const fs::path& Config, const std::vector<std::string>& Empresas)
{
    for (const std::string& E : Empresas)
        bench::Grava(Config / "empresas" / E / "Mirabelo.ini", Geral(E));
}

// The floor of the import: the bytes it leaves in each company's file (its code, then the tables),
// written with one atomic replace.
void PisoImportacao(const fs::path& Config, const std::vector<std::string>& Empresas, const std::string& Tabelas)
{
    for (const std::string& E : Empresas) {
        const std::string Bytes = Geral(E) + Tabelas;
        const fs::path Final = Config / "empresas" / E / "Mirabelo.ini";
        const std::string Temporario = (Config / "empresas" / E / ".Mirabelo.ini.1.0.tmp").string();
        const int F = open(Temporario.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (F < 0 || write(F, Bytes.data(), Bytes.size()) != static_cast<ssize_t>(Bytes.size()) || fdatasync(F) != 0)
            std::abort();
        close(F);
        if (rename(Temporario.c_str(), Final.c_str()) != 0)
            std::abort();
    }
}

// The floor of verifica: every folder of config/ listed and every file in it read whole, once.
std::size_t LeTudo(const std::string& Pasta)
{
    std::size_t Bytes = 0;
    DIR* D = opendir(Pasta.c_str());
    if (!D)
        std::abort();
    char Bloco[16384];
    std::vector<std::string> Subpastas;
    while (const dirent* E = readdir(D)) {
        if (E->d_name[0] == '.' && (E->d_name[1] == 0 || (E->d_name[1] == '.' && E->d_name[2] == 0)))
            continue;
        const std::string Caminho = Pasta + "/" + E->d_name;
        if (E->d_type == DT_DIR) {
            Subpastas.push_back(Caminho);
            continue;
        }
        const int F = open(Caminho.c_str(), O_RDONLY | O_CLOEXEC);
        for (ssize_t N; F >= 0 && (N = read(F, Bloco, sizeof Bloco)) > 0;)
            Bytes += static_cast<std::size_t>(N);
        if (F >= 0)
            close(F);
    }
    closedir(D);
    for (const std::string& S : Subpastas)
        Bytes += LeTudo(S);
    return Bytes;
}

} // namespace

int main(int Argc, char** Argv)
{
    if (!std::getenv("TMPDIR") && fs::is_directory("/dev/shm"))
        setenv("TMPDIR", "/dev/shm", 1);
    std::printf("roots in %s\n", fs::temp_directory_path().c_str());
    std::vector<int> Tamanhos;
    for (int I = 1; I < Argc; ++I)
        Tamanhos.push_back(std::atoi(Argv[I]));
    if (Tamanhos.empty())
        Tamanhos = {1000, 10000, 100000};

    bool Ok = true;
    std::vector<bench::TTempo> Importacao, Verificacao;
    for (const int N : Tamanhos) {
        const fs::path Pasta = bench::PastaTemporaria();
        const std::vector<std::string> Empresas = bench::CriaRaiz(Pasta, N);
        const fs::path Config = Pasta / "Kovan" / "config";
        EscreveImportacao(Pasta / "bins.txt", Empresas);
        setenv("KOVAN_EVENTLOG", (Pasta / "auditoria.jsonl").c_str(), 1);
        Application().SetExeName((Pasta / "bin" / "cfkovan-dados").string());
        const std::string Raiz = LerRaizPathKovan(Application().ExeName());
        TEvtLog Log("cfkovan-dados", Application().ExeName(), "cfkovan-dados");

        // The import once into the first company alone gives the tables' bytes every file will hold.
        CriaArquivos(Config, {Empresas[0]});
        TContextoTroca C;
        C.Raiz = Raiz;
        C.Auditoria = [&Log](const std::string& Empresa) -> TAuditoria {
            return [&Log, Empresa](const std::string& Texto) { Log.LogMsg(Texto, 4, 1, Empresa); };
        };
        std::ostringstream Relato;
        {
            C.Empresas = {Empresas[0]};
            std::ifstream Um(Pasta / "bins.txt");
            std::string Linhas, Linha;
            for (int I = 0; I < 50 && std::getline(Um, Linha); ++I)
                Linhas += Linha + '\n';
            std::istringstream Entrada(Linhas);
            ImportaBins(C, Entrada, "bins.txt", Relato);
        }
        const std::string Tabelas = bench::Lido(Config / "empresas" / Empresas[0] / "Mirabelo.ini").substr(Geral(Empresas[0]).size());

        CriaArquivos(Config, Empresas);
        const bench::TTempo Piso = bench::Melhor(1, [&] { PisoImportacao(Config, Empresas, Tabelas); });
        CriaArquivos(Config, Empresas);
        int Status = -1;
        const bench::TTempo Tempo = bench::Melhor(1, [&] {
            C.Empresas.clear();
            LerEmpresas(Raiz, C.Empresas);
            std::ifstream Entrada(Pasta / "bins.txt", std::ios::binary);
            Status = ImportaBins(C, Entrada, "bins.txt", Relato);
        });
        for (const int I : {0, N / 2, N - 1})
            Ok = Ok && bench::Lido(Config / "empresas" / Empresas[static_cast<std::size_t>(I)] / "Mirabelo.ini") ==
                           Geral(Empresas[static_cast<std::size_t>(I)]) + Tabelas;
        Ok = Ok && Status == 0;
        Importacao.push_back({Tempo.Parede / N, Tempo.Cpu / N});
        char Nome[64];
        std::snprintf(Nome, sizeof Nome, "bins import, %d companies", N);
        Ok = bench::Relata(Nome, Tempo, Piso, 2.0) && Ok;

        std::size_t Achados = 1;
        const bench::TTempo PisoV = bench::Melhor(2, [&] { LeTudo(Config.string()); });
        const bench::TTempo TempoV = bench::Melhor(2, [&] { Achados = VerificaRaiz(Raiz).size(); });
        Ok = Ok && Achados == 0;
        Verificacao.push_back({TempoV.Parede / N, TempoV.Cpu / N});
        std::snprintf(Nome, sizeof Nome, "verifica, %d companies", N);
        Ok = bench::Relata(Nome, TempoV, PisoV, 1.5) && Ok;
        fs::remove_all(Pasta);
    }
    if (Tamanhos.size() > 1) {
        const auto Plano = [&](const char* Nome, const std::vector<bench::TTempo>& T) {
            const double Parede = T.back().Parede / T.front().Parede, Cpu = T.back().Cpu / T.front().Cpu;
            std::printf("%s per company, %d against %d companies: wall %.2fx, CPU %.2fx (%.1f us and %.1f us CPU "
                        "per company at %d) (target <= 1.3x) %s\n",
                        Nome, Tamanhos.back(), Tamanhos.front(), Parede, Cpu, T.back().Parede * 1e6, T.back().Cpu * 1e6,
                        Tamanhos.back(), Parede <= 1.3 && Cpu <= 1.3 ? "OK" : "OVER");
        };
        Plano("bins import", Importacao);
        Plano("verifica", Verificacao);
    }
    std::printf("peak memory %.1f MiB\n", bench::PicoMemoriaMiB());
    return Ok ? 0 : 1;
}
