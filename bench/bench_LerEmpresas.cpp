// LerEmpresas over 10,000 company files and 1,000 others, against a floor measured in the same run:
// a minimal loop that lists the folder and reads the first two bytes of every ".cnf" file.
#include "Medida.h"
#include "config/Lib.h"

#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <fcntl.h>

namespace fs = std::filesystem;

namespace {

int Piso(const std::string& Pasta)
{
    int Encontradas = 0;
    DIR* D = opendir(Pasta.c_str());
    while (dirent* E = readdir(D)) {
        const std::size_t N = std::strlen(E->d_name);
        if (N < 4 || strcasecmp(E->d_name + N - 4, ".cnf") != 0)
            continue;
        const int F = open((Pasta + "/" + E->d_name).c_str(), O_RDONLY);
        char B[2];
        if (F >= 0 && read(F, B, 2) == 2 && B[0] == 0x10 && B[1] == 0x01)
            ++Encontradas;
        close(F);
    }
    closedir(D);
    return Encontradas;
}

} // namespace

int main()
{
    const fs::path Pasta = bench::PastaTemporaria();
    const fs::path Config = Pasta / "Kovan" / "config";
    fs::create_directories(Config);
    char Nome[32];
    for (int I = 0; I < 10000; ++I) {
        std::snprintf(Nome, sizeof Nome, "%08d.cnf", I);
        bench::Grava(Config / Nome, std::string("\x10\x01", 2) + std::string(200, 'c'));
    }
    for (int I = 0; I < 1000; ++I) {  // not companies: other files, bad names, wrong bytes
        std::snprintf(Nome, sizeof Nome, I % 3 == 0 ? "outro%04d.ini" : I % 3 == 1 ? "%07d.cnf" : "X%07d.cnf", I);
        bench::Grava(Config / Nome, I % 3 == 2 ? "no" : "\x10\x01");
    }

    const std::string Raiz = (Pasta / "Kovan").string();
    std::vector<std::string> Lista;
    int NoPiso = 0;
    const bench::TTempo Floor = bench::Melhor(15, [&] { NoPiso = Piso(Config.string()); });
    const bench::TTempo Tempo = bench::Melhor(15, [&] { LerEmpresas(Raiz, Lista); });
    std::printf("LerEmpresas: %zu companies listed (floor loop found %d)\n", Lista.size(), NoPiso);
    bench::Relata("LerEmpresas, 10,000 + 1,000 files", Tempo, Floor, 1.5);
    fs::remove_all(Pasta);
    return Lista.size() == 10000 ? 0 : 1;
}
