#pragma once
// Runs one of the programs as a person or a script would: a shell command with a given standard input,
// its exit status and both outputs captured in files of a scratch folder.
#include "RaizTeste.h"

#include <cstdlib>
#include <sys/wait.h>

struct TExecucao {
    int Status;
    std::string Saida, Erros;
};

inline TExecucao ExecutaComando(const std::filesystem::path& Rascunho, const std::string& Comando,
                                const std::string& Entrada = "")
{
    TRaizTeste::Grava(Rascunho / "entrada", Entrada);
    const std::string Completo = "LC_ALL=C.UTF-8 " + Comando + " <" + (Rascunho / "entrada").string() + " >" +
                                 (Rascunho / "saida").string() + " 2>" + (Rascunho / "erros").string();
    const int Bruto = std::system(Completo.c_str());
    return {WIFEXITED(Bruto) ? WEXITSTATUS(Bruto) : -1, TRaizTeste::Le(Rascunho / "saida"),
            TRaizTeste::Le(Rascunho / "erros")};
}

/// The folder of the built programs and libraries.
inline std::string PastaDosProgramas()
{
    const char* Bin = std::getenv("KOVAN_BIN");
    return Bin ? Bin : ".";
}
