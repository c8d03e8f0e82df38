// The file replace alone (read, lock, temporary, flush, rename), then under writers that die midway
// and writers that share the file: threads of this process and another process.
#include "platform/perfil/Arquivo.h"

#include "CasosIni.h"
#include "LogEventosTeste.h"

#include <atomic>
#include <csignal>
#include <map>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>

using namespace casos_ini;

namespace {

class Substituicao : public testing::Test {
protected:
    TRaizTeste Raiz;
    fs::path Pasta = Raiz.Raiz / "config";
    std::string Arquivo = (Pasta / "Teste.ini").string();
    std::string Temporario = (Pasta / ".Teste.ini.tmp").string();

    std::set<std::string> Sobras() const { return SobrasAoLado(Pasta); }
    int Grava(const std::string& Secao, const std::string& Chave, const std::string& Valor)
    {
        return WritePrivateProfileStringA(Secao.c_str(), Chave.c_str(), Valor.c_str(), Arquivo.c_str());
    }
};

// Muda sees the file's text and answers the new one, or nothing: then the file is not touched. A
// temporary left by a killed writer (whatever it holds, even a link to another file) is written over
// and renamed; none is left after a replace, a failure or no change. The mode stays; a UTF-16 file
// stays UTF-16; a missing file is created only when asked to.
TEST_F(Substituicao, TemporarioFixoSubstituiOuNadaFica)
{
    const TLogEventosTeste Log(Raiz.Pasta / "eventos.jsonl");
    const auto Muda = [](std::optional<std::string> Novo) {
        return [Novo](const std::string&) { return Novo; };
    };
    TRaizTeste::Grava(Arquivo, "[A]\r\n");
    ASSERT_EQ(chmod(Arquivo.c_str(), 0640), 0);
    TRaizTeste::Grava(Temporario, "sobra de um escritor morto, maior que o novo texto");
    const ino_t Antes = TRaizTeste::Inode(Arquivo);
    EXPECT_TRUE(perfil::Reescreve(Arquivo.c_str(), "write", false, Muda(std::nullopt)));
    EXPECT_EQ(TRaizTeste::Inode(Arquivo), Antes) << "no change, no replace";
    std::string Visto;
    EXPECT_TRUE(perfil::Reescreve(Arquivo.c_str(), "write", false, [&](const std::string& T) {
        Visto = T;
        return std::optional<std::string>("[B]\r\n");
    }));
    EXPECT_EQ(Visto, "[A]\r\n");
    EXPECT_EQ(LeArquivo(Arquivo), "[B]\r\n");
    EXPECT_EQ(fs::status(Arquivo).permissions(), fs::perms(0640));
    EXPECT_TRUE(Sobras().empty());

    // A temporary that is a link: not followed, the write fails and its target stays as it was.
    const fs::path Alvo = Raiz.Pasta / "alvo";
    TRaizTeste::Grava(Alvo, "intocado");
    fs::create_symlink(Alvo, Temporario);
    EXPECT_FALSE(perfil::Reescreve(Arquivo.c_str(), "write of [C] k", false, Muda("[C]\r\n")));
    EXPECT_EQ(LeArquivo(Alvo), "intocado");
    EXPECT_EQ(LeArquivo(Arquivo), "[B]\r\n");
    ASSERT_EQ(Log.Entradas().size(), 1u);
    fs::remove(Temporario);

    const std::string Utf16_ = Utf16("[A]\r\nk=1\r\n");
    TRaizTeste::Grava(Arquivo, Utf16_);
    EXPECT_TRUE(perfil::Reescreve(Arquivo.c_str(), "write", false, [&](const std::string& T) {
        EXPECT_EQ(T, "\xEF\xBB\xBF[A]\r\nk=1\r\n");
        return std::optional<std::string>(T + "j=\xC3\xA9\r\n");
    }));
    EXPECT_EQ(LeArquivo(Arquivo), Utf16("[A]\r\nk=1\r\nj=\xE9\r\n"));

    const std::string Novo = (Pasta / "Novo.ini").string();
    EXPECT_TRUE(perfil::Reescreve(Novo.c_str(), "erase", false, Muda("x")));
    EXPECT_FALSE(fs::exists(Novo)) << "a missing file with nothing to create stays missing";
    EXPECT_TRUE(perfil::Reescreve(Novo.c_str(), "write", true, Muda("[N]\r\n")));
    EXPECT_EQ(LeArquivo(Novo), "[N]\r\n");
    EXPECT_EQ(Sobras(), std::set<std::string>{"Novo.ini"});
}

// Writers killed at random points while we write other keys: no write that answered success is lost;
// a killed writer leaves at most its temporary, which never makes a later write fail and is gone after it.
TEST_F(Substituicao, EscritoresMortosNaoPerdemGravacoes)
{
    TRaizTeste::Grava(Arquivo, "[S]\r\ninicio=1\r\n");
    std::mt19937 Sorte(20261206);
    std::vector<int> Confirmadas;
    int Tubo[2];
    for (int Rodada = 0; Rodada < 100; ++Rodada) {
        ASSERT_EQ(pipe(Tubo), 0);
        const pid_t Filho = fork();
        ASSERT_GE(Filho, 0);
        if (Filho == 0) {
            close(Tubo[0]);
            for (int I = Rodada * 1000;; ++I)
                if (Grava("S", "k" + std::to_string(I), std::to_string(I)) == 1)
                    (void)!write(Tubo[1], &I, sizeof I);
        }
        close(Tubo[1]);
        int I;  // the writer is under way once its first write answered; then it dies anywhere
        if (read(Tubo[0], &I, sizeof I) == static_cast<ssize_t>(sizeof I))
            Confirmadas.push_back(I);
        if (Rodada % 10 == 0) {  // a write of ours while the writer is at work
            EXPECT_EQ(Grava("S", "pai" + std::to_string(Rodada), "1"), 1);
        }
        usleep(static_cast<useconds_t>(Sorte() % 5000));
        kill(Filho, SIGKILL);
        waitpid(Filho, nullptr, 0);
        while (read(Tubo[0], &I, sizeof I) == static_cast<ssize_t>(sizeof I))
            Confirmadas.push_back(I);
        close(Tubo[0]);
        EXPECT_TRUE(Sobras().empty() || Sobras() == std::set<std::string>{".Teste.ini.tmp"});
    }
    ASSERT_EQ(Grava("S", "fim", "1"), 1);
    EXPECT_TRUE(Sobras().empty());
    const auto Valores = LeValoresDaSecao("S", 64, Arquivo.c_str());
    std::map<std::string, std::string> Lidos(Valores.begin(), Valores.end());
    for (int I : Confirmadas)
        EXPECT_EQ(Lidos["k" + std::to_string(I)], std::to_string(I));
    for (int Rodada = 0; Rodada < 100; Rodada += 10)
        EXPECT_EQ(Lidos["pai" + std::to_string(Rodada)], "1");
    EXPECT_GE(Confirmadas.size(), 100u);
}

// One thread writes keys while another reads the same file (each read opens and closes it) and a
// second process writes other keys: the lock belongs to each writer's own descriptor, so no read's
// close drops it, and no update is lost.
TEST_F(Substituicao, LeiturasNaoSoltamATravaDeQuemEscreve)
{
    constexpr int Quantas = 400;
    TRaizTeste::Grava(Arquivo, "[S]\r\n");
    const pid_t Filho = fork();
    ASSERT_GE(Filho, 0);
    if (Filho == 0) {
        int Falhas = 0;
        for (int I = 0; I < Quantas; ++I)
            Falhas += Grava("S", "p" + std::to_string(I), "1") != 1;
        _exit(Falhas == 0 ? 0 : 1);
    }
    std::atomic<bool> Fim = false;
    std::thread Leitor([&] {
        char B[64];
        while (!Fim)
            GetPrivateProfileStringA("S", "t0", "", B, sizeof B, Arquivo.c_str());
    });
    int Falhas = 0;
    for (int I = 0; I < Quantas; ++I)
        Falhas += Grava("S", "t" + std::to_string(I), "1") != 1;
    int Estado = 0;
    waitpid(Filho, &Estado, 0);
    Fim = true;
    Leitor.join();
    EXPECT_EQ(Falhas, 0);
    EXPECT_TRUE(WIFEXITED(Estado) && WEXITSTATUS(Estado) == 0);
    std::set<std::string> Chaves;
    for (const auto& [Chave, Valor] : LeValoresDaSecao("S", 64, Arquivo.c_str()))
        Chaves.insert(Chave);
    int Perdidas = 0;
    for (int I = 0; I < Quantas; ++I)
        Perdidas += !Chaves.count("t" + std::to_string(I)) + !Chaves.count("p" + std::to_string(I));
    EXPECT_EQ(Perdidas, 0);
}

} // namespace
