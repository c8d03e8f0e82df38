#pragma once
// Runs one of the programs as a person or a script would: a shell command with a given standard input,
// its exit status and both outputs captured in files of a scratch folder.
#include "RaizTeste.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct TExecucao {
    int Status;
    std::string Saida, Erros;
};

/// Another user for a test run by root: by default the system's unprivileged user 65534 ("nobody"),
/// who owns no file of a test, with its own group and no other.
struct TUsuarioTeste {
    uid_t Uid = 65534;
    gid_t Grupo = 65534;
    std::vector<gid_t> Grupos;  ///< the supplementary groups
};

/// Makes this process (a child of the test) run as U, for good. False when the system refuses.
inline bool AssumeUsuario(const TUsuarioTeste& U)
{
    return setgroups(U.Grupos.size(), U.Grupos.data()) == 0 && setgid(U.Grupo) == 0 && setuid(U.Uid) == 0;
}

/// Runs Comando with /bin/sh, as Como when given (the scratch files stay the test's own).
inline TExecucao ExecutaComando(const std::filesystem::path& Rascunho, const std::string& Comando,
                                const std::string& Entrada = "", const TUsuarioTeste* Como = nullptr)
{
    TRaizTeste::Grava(Rascunho / "entrada", Entrada);
    const std::string Completo = "LC_ALL=C.UTF-8 " + Comando;
    const std::string Arquivos[] = {(Rascunho / "entrada").string(), (Rascunho / "saida").string(),
                                    (Rascunho / "erros").string()};
    const pid_t Filho = fork();
    if (Filho == 0) {
        for (int Fd = 0; Fd < 3; ++Fd) {
            const int Aberto = open(Arquivos[Fd].c_str(), Fd == 0 ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (Aberto < 0 || dup2(Aberto, Fd) < 0)
                _exit(126);
        }
        if (Como && !AssumeUsuario(*Como))
            _exit(126);
        execl("/bin/sh", "sh", "-c", Completo.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int Bruto = -1;
    if (Filho < 0 || waitpid(Filho, &Bruto, 0) != Filho)
        return {-1, {}, {}};
    return {WIFEXITED(Bruto) ? WEXITSTATUS(Bruto) : -1, TRaizTeste::Le(Arquivos[1]), TRaizTeste::Le(Arquivos[2])};
}

/// Whether Texto holds Parte: for EXPECT_PRED2, which shows both when it does not.
inline bool Contem(const std::string& Texto, const std::string& Parte)
{
    return Texto.find(Parte) != std::string::npos;
}

/// The folder of the built programs and libraries.
inline std::string PastaDosProgramas()
{
    const char* Bin = std::getenv("KOVAN_BIN");
    return Bin ? Bin : ".";
}

/// A writer killed at random points: Rodadas times, a child process (a fork of this one) runs
/// Escritor(Aviso), which writes for ever and puts one byte into the descriptor Aviso after each
/// write it completed (it stays open across an exec). Once the first byte came, the child lives 0 to
/// EsperaMaxima microseconds more (a fixed sequence of chance, so a failure repeats) and is killed
/// with SIGKILL; then Confere(Rodada, Filho) looks at what it left. False when a child could not be
/// started, died before its first write, or Confere answered false (which ends the rounds there).
template <class TEscritor, class TConfere>
bool MataEscritorAoAcaso(int Rodadas, unsigned EsperaMaxima, TEscritor&& Escritor, TConfere&& Confere)
{
    std::mt19937 Sorte(20261206);
    for (int Rodada = 0; Rodada < Rodadas; ++Rodada) {
        int Tubo[2];
        if (pipe(Tubo) != 0)
            return false;
        const pid_t Filho = fork();
        if (Filho < 0)
            return false;
        if (Filho == 0) {
            close(Tubo[0]);
            Escritor(Tubo[1]);
            _exit(127);
        }
        close(Tubo[1]);
        char Feito = 0;
        const bool Comecou = read(Tubo[0], &Feito, 1) == 1;
        usleep(static_cast<useconds_t>(Sorte() % EsperaMaxima));
        kill(Filho, SIGKILL);
        waitpid(Filho, nullptr, 0);
        close(Tubo[0]);
        if (!Comecou || !Confere(Rodada, Filho))
            return false;
    }
    return true;
}
