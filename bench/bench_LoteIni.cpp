// One operation's ini writes and reads of a 1,000-row BIN table (3 keys a row and the count: 3,001
// keys) through a TKovanIni batch, against floors measured in the same run:
//  - the save against one atomic replace of the file it leaves (temporary file, fdatasync, rename);
//  - the load (3,001 LeVar) against reading and parsing that file once;
//  - the same save into the general file (config/Mirabelo.ini) with 10,000 company files in config/,
//    against that save with none there.
// Work and floor runs alternate, so both meet the same disk and load; the best of each counts. Also
// shown, for scale: the same save one key at a time (each key its own replace) over 100 rows.
#include "Medida.h"
#include "config/Kovan_INI.h"
#include "platform/PrivateProfile.h"

#include <fcntl.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int Linhas = 1000;

void GravaTabela(TKovanIni& Ini, int N, const std::string& Versao)
{
    Ini.GravaVar("TabBins", "TotDeb", std::to_string(N));
    for (int K = 1; K <= N; ++K) {
        const std::string Secao = "Debito_" + std::to_string(K);
        Ini.GravaVar(Secao, "Nome", "CARTAO " + Versao + " " + std::to_string(K));
        Ini.GravaVar(Secao, "Bins", std::to_string(600000 + K) + ";" + std::to_string(610000 + K) + "-" +
                                        std::to_string(619000 + K) + ";" + Versao + ";");
        Ini.GravaVar(Secao, "Senha", K % 2 ? "1" : "0");
    }
}

void SubstituiUmaVez(const fs::path& Arquivo, const std::string& Bytes)
{
    const fs::path Temporario = Arquivo.parent_path() / ".piso.tmp";
    const int Fd = open(Temporario.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (Fd < 0 || write(Fd, Bytes.data(), Bytes.size()) != static_cast<ssize_t>(Bytes.size()) || fdatasync(Fd) != 0 ||
        rename(Temporario.c_str(), Arquivo.c_str()) != 0)
        throw std::runtime_error("floor replace failed");
    close(Fd);
}

/// The whole table saved in one batch into Empresa's file ("" for the general one), each run writing
/// the other version so that every row changes.
void Salva(const std::string& Raiz, const std::string& Empresa, int Vez)
{
    TKovanIni Ini(Raiz, "Mirabelo", Empresa);
    Ini.IniciaLote();
    GravaTabela(Ini, Linhas, Vez % 2 ? "b" : "a");
    if (!Ini.ConfirmaLote())
        throw std::runtime_error("batch failed");
}

} // namespace

int main()
{
    const fs::path Pasta = bench::PastaTemporaria();
    bench::CriaRaiz(Pasta, 124);
    const std::string Raiz = (Pasta / "Kovan").string();
    const fs::path Arquivo = Pasta / "Kovan" / "config" / "empresas" / "00000123" / "Mirabelo.ini";
    const fs::path Piso = Arquivo.parent_path() / "Piso.ini";

    Salva(Raiz, "00000123", 0);
    const std::string Bytes = bench::Lido(Arquivo);
    bench::TTempo TempoSalva, PisoSalva;
    for (int Vez = 1; Vez <= 15; ++Vez) {
        TempoSalva = bench::Menor(TempoSalva, bench::Melhor(1, [&] { Salva(Raiz, "00000123", Vez); }));
        PisoSalva = bench::Menor(PisoSalva, bench::Melhor(1, [&] { SubstituiUmaVez(Piso, Bytes); }));
    }

    // Load: every key of the table in one operation, interleaved with the floor.
    std::size_t Lidos = 0;
    std::vector<char> Buffer(1 << 16);
    bench::TTempo TempoCarrega, PisoCarrega;
    for (int Vez = 0; Vez < 25; ++Vez) {
        TempoCarrega = bench::Menor(TempoCarrega, bench::Melhor(1, [&] {
            TKovanIni Ini(Raiz, "Mirabelo", "00000123");
            Ini.IniciaLote();
            Lidos = Ini.LeVar("TabBins", "TotDeb", "").size();
            for (int K = 1; K <= Linhas; ++K) {
                const std::string Secao = "Debito_" + std::to_string(K);
                Lidos += Ini.LeVar(Secao, "Nome", "").size() + Ini.LeVar(Secao, "Bins", "").size() +
                         Ini.LeVar(Secao, "Senha", "").size();
            }
        }));
        PisoCarrega = bench::Menor(PisoCarrega, bench::Melhor(1, [&] {
            GetPrivateProfileSectionNamesA(Buffer.data(), static_cast<std::uint32_t>(Buffer.size()), Arquivo.c_str());
        }));
    }

    // The general file: a root whose config/ holds only its own files, and one that holds a company
    // file for each of 10,000 companies; saves into both alternate.
    const fs::path Cheia = bench::PastaTemporaria();
    bench::CriaRaiz(Cheia, 10000);
    const std::string RaizCheia = (Cheia / "Kovan").string();
    bench::TTempo TempoVazia, TempoCheia;
    Salva(Raiz, "", 0);
    Salva(RaizCheia, "", 0);
    for (int Vez = 1; Vez <= 15; ++Vez) {
        TempoVazia = bench::Menor(TempoVazia, bench::Melhor(1, [&] { Salva(Raiz, "", Vez); }));
        TempoCheia = bench::Menor(TempoCheia, bench::Melhor(1, [&] { Salva(RaizCheia, "", Vez); }));
    }

    const bench::TTempo UmaAUma = bench::Melhor(1, [&] {
        TKovanIni Ini(Raiz, "Mirabelo", "00000456");
        GravaTabela(Ini, 100, "a");
    });

    std::printf("Table of %d rows: %zu bytes in the file, %zu bytes read back\n", Linhas, Bytes.size(), Lidos);
    bool Ok = bench::Relata("save, 3,001 keys in one batch", TempoSalva, PisoSalva, 3.0);
    Ok = bench::Relata("load, 3,001 keys in one batch", TempoCarrega, PisoCarrega, 2.0) && Ok;
    Ok = bench::Relata("general save, 10,000 .cnf beside", TempoCheia, TempoVazia, 1.2) && Ok;
    std::printf("%-36s wall %9.3f ms   CPU %9.3f ms   (301 keys, each its own replace; for scale)\n",
                "save, one key at a time", UmaAUma.Parede * 1e3, UmaAUma.Cpu * 1e3);
    fs::remove_all(Pasta);
    fs::remove_all(Cheia);
    return Ok ? 0 : 1;
}
