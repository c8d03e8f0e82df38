#include "platform/AoLado.h"
#include "platform/PrivateProfile.h"

#include "RaizTeste.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::size_t DescritoresAbertos()
{
    const auto Entradas = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(Entradas), end(Entradas)));
}

// Tasks run off the caller's thread in the order given, Espera waits for the end; a child made by fork
// has no side thread of its own until it needs one.
TEST(AoLado, EmOrdemForaDoChamadorTambemNoFilhoDeFork)
{
    std::vector<int> Feitas;
    for (int I = 0; I < 100; ++I)
        ASSERT_TRUE(FazAoLado([&Feitas, I] { Feitas.push_back(I); }));
    std::thread::id Onde;  // still empty if Espera returns before the task ends
    TTarefaAoLado([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Onde = std::this_thread::get_id();
    }).Espera();
    EXPECT_NE(Onde, std::thread::id());
    EXPECT_NE(Onde, std::this_thread::get_id());
    ASSERT_EQ(Feitas.size(), 100u);
    EXPECT_EQ(std::adjacent_find(Feitas.begin(), Feitas.end(), std::greater_equal<>()), Feitas.end()) << "out of order";
    // After a task that announces more, the next one is taken whether it comes while the thread still
    // looks for it or once it has gone to sleep.
    for (const int Atraso : {0, 5}) {
        TTarefaAoLado([] {}, true).Espera();
        std::this_thread::sleep_for(std::chrono::milliseconds(Atraso));
        bool Feita = false;
        TTarefaAoLado([&] { Feita = true; }).Espera();
        EXPECT_TRUE(Feita) << Atraso;
    }

    const pid_t Filho = fork();  // with the parent's side thread running
    ASSERT_GE(Filho, 0);
    if (Filho == 0) {
        alarm(10);  // a task that never runs ends the child here
        const std::thread::id Principal = std::this_thread::get_id();
        bool Fora = false;
        TTarefaAoLado([&] { Fora = std::this_thread::get_id() != Principal; }).Espera();
        _exit(Fora ? 0 : 1);
    }
    int Estado = 0;
    ASSERT_EQ(waitpid(Filho, &Estado, 0), Filho);
    EXPECT_TRUE(WIFEXITED(Estado) && WEXITSTATUS(Estado) == 0) << "the child's task never ran, or not off its thread";
}

// Each replace hands the replaced file to the side thread to close; none stays open.
TEST(AoLado, ArquivosSubstituidosSaoFechados)
{
    TRaizTeste Pasta;
    const std::string Ini = (Pasta.Raiz / "a.ini").string();
    ASSERT_TRUE(WritePrivateProfileStringA("S", "K", "0", Ini.c_str()));
    TTarefaAoLado([] {}).Espera();
    const std::size_t Antes = DescritoresAbertos();
    for (int I = 1; I <= 200; ++I) {
        ASSERT_TRUE(WritePrivateProfileStringA("S", "K", std::to_string(I).c_str(), Ini.c_str()));
        TPerfilEmLote Lote(Ini);
        Lote.Grava(std::string_view("S"), "L", std::to_string(I));
        ASSERT_TRUE(Lote.Confirma());
    }
    TTarefaAoLado([] {}).Espera();  // after the closes handed over before it
    EXPECT_EQ(DescritoresAbertos(), Antes);
}

} // namespace
