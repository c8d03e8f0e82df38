#pragma once
// What the benchmarks share: a scratch folder, the wall clock and the process CPU clock, peak memory.
#include <algorithm>
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

/// CPU seconds of the whole process so far, every thread, user and system.
inline double CpuProcesso()
{
    rusage Uso{};
    getrusage(RUSAGE_SELF, &Uso);
    return static_cast<double>(Uso.ru_utime.tv_sec + Uso.ru_stime.tv_sec) +
           static_cast<double>(Uso.ru_utime.tv_usec + Uso.ru_stime.tv_usec) / 1e6;
}

/// A time in seconds: on the wall clock and in CPU of the whole process (work moved to another
/// thread still counts). Each is the best of the runs it was taken from.
struct TTempo {
    double Parede = 1e99;
    double Cpu = 1e99;
};

inline TTempo operator+(TTempo A, TTempo B) { return {A.Parede + B.Parede, A.Cpu + B.Cpu}; }
inline TTempo operator/(TTempo A, double N) { return {A.Parede / N, A.Cpu / N}; }

/// The best of both: each figure the smaller one.
inline TTempo Menor(TTempo A, TTempo B) { return {std::min(A.Parede, B.Parede), std::min(A.Cpu, B.Cpu)}; }

/// Best of Vezes runs of Acao (the file system's caches warm after the first).
inline TTempo Melhor(int Vezes, const std::function<void()>& Acao)
{
    TTempo Menor_;
    for (int I = 0; I < Vezes; ++I) {
        const double Cpu = CpuProcesso();
        const auto Inicio = std::chrono::steady_clock::now();
        Acao();
        const std::chrono::duration<double> D = std::chrono::steady_clock::now() - Inicio;
        Menor_ = Menor(Menor_, {D.count(), CpuProcesso() - Cpu});
    }
    return Menor_;
}

/// Peak resident memory of the process so far, in MiB.
inline double PicoMemoriaMiB()
{
    rusage Uso{};
    getrusage(RUSAGE_SELF, &Uso);
    return static_cast<double>(Uso.ru_maxrss) / 1024.0;
}

/// One line: the work and its floor, wall and CPU, and their ratios against the target. True when
/// both ratios are within it.
inline bool Relata(const char* Nome, TTempo Tempo, TTempo Piso, double Meta)
{
    const double Parede = Tempo.Parede / Piso.Parede, Cpu = Tempo.Cpu / std::max(Piso.Cpu, 1e-9);
    const bool Ok = Parede <= Meta && Cpu <= Meta;
    std::printf("%-36s wall %9.3f ms / floor %9.3f ms = %5.2fx   CPU %9.3f ms / floor %9.3f ms = %5.2fx   "
                "(target <= %.1fx) %s\n",
                Nome, Tempo.Parede * 1e3, Piso.Parede * 1e3, Parede, Tempo.Cpu * 1e3, Piso.Cpu * 1e3, Cpu, Meta,
                Ok ? "OK" : "OVER");
    return Ok;
}

} // namespace bench
