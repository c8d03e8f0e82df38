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
#include <vector>

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

/// A multi-company server root below Pasta ("Kovan", with bin/CfKovan.ini naming it) holding the
/// companies 00000000 to Quantas - 1, each with its company file and its (empty) directory. Answers the
/// codes in order.
inline std::vector<std::string> CriaRaiz(const std::filesystem::path& Pasta, int Quantas)
{
    const std::filesystem::path Config = Pasta / "Kovan" / "config";
    std::filesystem::create_directories(Pasta / "bin");
    Grava(Pasta / "bin" / "CfKovan.ini", "[config]\r\nraiz=" + (Pasta / "Kovan").string() + "\r\n");
    std::filesystem::create_directories(Config);
    Grava(Config / "KovanCfg.ini", "[config]\r\nTipoConfKovan=MULTIEMPRESA\r\nPermiteDuplEstab=NAO\r\n");
    std::vector<std::string> Empresas;
    char Codigo[16];
    for (int I = 0; I < Quantas; ++I) {
        std::snprintf(Codigo, sizeof Codigo, "%08d", I);
        Empresas.emplace_back(Codigo);
        Grava(Config / (Empresas.back() + ".cnf"), std::string("\x10\x01", 2) + "empresa");
        std::filesystem::create_directories(Config / "empresas" / Codigo);
    }
    return Empresas;
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

/// CPU seconds of the process so far, user and system: the work done, without the waits for the disk.
inline double CpuProcesso()
{
    rusage Uso{};
    getrusage(RUSAGE_SELF, &Uso);
    return static_cast<double>(Uso.ru_utime.tv_sec + Uso.ru_stime.tv_sec) +
           static_cast<double>(Uso.ru_utime.tv_usec + Uso.ru_stime.tv_usec) / 1e6;
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
