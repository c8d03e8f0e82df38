// The side thread: work runs off the caller's thread, in the order given, also in a child made by
// fork; and the files a replace hands it to close are all closed.
#include "platform/AoLado.h"
#include "platform/PrivateProfile.h"

#include "RaizTeste.h"

#include <gtest/gtest.h>

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

TEST(AoLado, EmOrdemForaDoChamadorEEsperaOFim)
{
    std::vector<int> Feitas;
    for (int I = 0; I < 100; ++I)
        ASSERT_TRUE(FazAoLado([&Feitas, I] { Feitas.push_back(I); }));
    bool Terminou = false;
    std::thread::id Onde;
    TTarefaAoLado Ultima([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Onde = std::this_thread::get_id();
        Terminou = true;
    });
    Ultima.Espera();
    EXPECT_TRUE(Terminou);
    EXPECT_NE(Onde, std::this_thread::get_id());
    ASSERT_EQ(Feitas.size(), 100u);
    for (int I = 0; I < 100; ++I)
        EXPECT_EQ(Feitas[static_cast<std::size_t>(I)], I);
}

// A child made by fork has no side thread of its own until it needs one.
TEST(AoLado, FilhoDeForkTemOSeu)
{
    TTarefaAoLado([] {}).Espera();  // the parent's thread is running
    const pid_t Filho = fork();
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
