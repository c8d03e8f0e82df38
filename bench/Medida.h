#pragma once
// What the benchmarks share: a scratch folder, a clock, peak memory.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace bench {

inline std::filesystem::path PastaTemporaria()
{
    std::string Modelo = (std::filesystem::temp_directory_path() / "kovan-bench-XXXXXX").string();
    if (!mkdtemp(Modelo.data()))
        throw std::runtime_error("mkdtemp failed");
    return Modelo;
}

inline void Grava(const std::filesystem::path& Caminho, const std::string& Bytes)
{
    std::ofstream(Caminho, std::ios::binary) << Bytes;
}

inline std::string Lido(const std::filesystem::path& Caminho)
{
    std::ifstream Arquivo(Caminho, std::ios::binary);
    return {std::istreambuf_iterator<char>(Arquivo), std::istreambuf_iterator<char>()};
}

/// Best of Vezes runs of Acao, in seconds (the file system's caches warm after the first).
inline double Melhor(int Vezes, const std::function<void()>& Acao)
{
    double Menor = 1e99;
    for (int I = 0; I < Vezes; ++I) {
        const auto Inicio = std::chrono::steady_clock::now();
        Acao();
        const std::chrono::duration<double> D = std::chrono::steady_clock::now() - Inicio;
        Menor = std::min(Menor, D.count());
    }
    return Menor;
}

/// User-mode CPU seconds of the process so far: the work of the code itself, without the disk waits.
inline double CpuUsuario()
{
    rusage Uso{};
    getrusage(RUSAGE_SELF, &Uso);
    return static_cast<double>(Uso.ru_utime.tv_sec) + static_cast<double>(Uso.ru_utime.tv_usec) / 1e6;
}

/// Peak resident memory of the process so far, in MiB.
inline double PicoMemoriaMiB()
{
    rusage Uso{};
    getrusage(RUSAGE_SELF, &Uso);
    return static_cast<double>(Uso.ru_maxrss) / 1024.0;
}

inline void Relata(const char* Nome, double Tempo, double Piso, double Meta)
{
    std::printf("%-34s %9.3f ms   floor %9.3f ms   ratio %.2fx (target <= %.1fx) %s\n", Nome, Tempo * 1e3, Piso * 1e3,
                Tempo / Piso, Meta, Tempo / Piso <= Meta ? "OK" : "OVER");
}

} // namespace bench
