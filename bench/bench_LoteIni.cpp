// One operation's ini writes and reads of a 1,000-row BIN table (3 keys a row and the count: 3,001
// keys) through a TKovanIni batch, against floors measured in the same run:
//  - the save against one atomic replace of the file it leaves (temporary file, fdatasync, rename);
//  - the load (3,001 LeVar) against reading and parsing that file once.
// Save and floor runs alternate, as do load and floor runs, so both meet the same disk and load; the
// best of each counts. Also shown: the save's work in memory, and for scale the same save one key at
// a time (each key its own replace) over 100 rows.
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

} // namespace

int main()
{
    const fs::path Pasta = bench::PastaTemporaria();
    const std::string Raiz = (Pasta / "Kovan").string();
    const fs::path Arquivo = Pasta / "Kovan" / "config" / "empresas" / "00000123" / "Mirabelo.ini";
    const fs::path Piso = Arquivo.parent_path() / "Piso.ini";

    // Save, each run writing the other version so that every row changes, interleaved with the floor
    // so that both meet the same disk.
    const auto Salva = [&](int Vez) {
        TKovanIni Ini(Raiz, "Mirabelo", "00000123");
        Ini.IniciaLote();
        GravaTabela(Ini, Linhas, Vez % 2 ? "b" : "a");
        if (!Ini.ConfirmaLote())
            throw std::runtime_error("batch failed");
    };
    Salva(0);
    const std::string Bytes = bench::Lido(Arquivo);
    double TempoSalva = 1e99, PisoSalva = 1e99;
    for (int Vez = 1; Vez <= 15; ++Vez) {
        TempoSalva = std::min(TempoSalva, bench::Melhor(1, [&] { Salva(Vez); }));
        PisoSalva = std::min(PisoSalva, bench::Melhor(1, [&] { SubstituiUmaVez(Piso, Bytes); }));
    }
    // The part of the save that is not the replace: the batch made and dropped.
    const double EmMemoria = bench::Melhor(15, [&] {
        TKovanIni Ini(Raiz, "Mirabelo", "00000123");
        Ini.IniciaLote();
        GravaTabela(Ini, Linhas, "c");
    });

    // Load: every key of the table in one operation, interleaved with the floor.
    std::size_t Lidos = 0;
    std::vector<char> Buffer(1 << 16);
    double TempoCarrega = 1e99, PisoCarrega = 1e99;
    for (int Vez = 0; Vez < 25; ++Vez) {
        TempoCarrega = std::min(TempoCarrega, bench::Melhor(1, [&] {
            TKovanIni Ini(Raiz, "Mirabelo", "00000123");
            Ini.IniciaLote();
            Lidos = Ini.LeVar("TabBins", "TotDeb", "").size();
            for (int K = 1; K <= Linhas; ++K) {
                const std::string Secao = "Debito_" + std::to_string(K);
                Lidos += Ini.LeVar(Secao, "Nome", "").size() + Ini.LeVar(Secao, "Bins", "").size() +
                         Ini.LeVar(Secao, "Senha", "").size();
            }
        }));
        PisoCarrega = std::min(PisoCarrega, bench::Melhor(1, [&] {
            GetPrivateProfileSectionNamesA(Buffer.data(), static_cast<std::uint32_t>(Buffer.size()), Arquivo.c_str());
        }));
    }

    const double UmaAUma = bench::Melhor(1, [&] {
        TKovanIni Ini(Raiz, "Mirabelo", "00000456");
        GravaTabela(Ini, 100, "a");
    });

    std::printf("Table of %d rows: %zu bytes in the file, %zu bytes read back\n", Linhas, Bytes.size(), Lidos);
    bench::Relata("save, 3,001 keys in one batch", TempoSalva, PisoSalva, 1.5);
    bench::Relata("load, 3,001 keys in one batch", TempoCarrega, PisoCarrega, 2.0);
    std::printf("%-34s %9.3f ms   (the save without its replace)\n", "save, in memory", EmMemoria * 1e3);
    std::printf("%-34s %9.3f ms   (301 keys, each its own replace; for scale)\n", "save, one key at a time", UmaAUma * 1e3);
    fs::remove_all(Pasta);
    return TempoSalva / PisoSalva <= 1.5 && TempoCarrega / PisoCarrega <= 2.0 ? 0 : 1;
}
