#pragma once
// The command lines of the host programs: an option that takes a value reads the argument after it.
#include <cstddef>
#include <string>

struct TOpcaoComValor {
    const char* Nome;
    std::string* Destino;
};

/// When Argv[I] names one of Opcoes, stores the argument after it and moves I past it, answering true;
/// Erro then says why when that argument is missing or empty. Any other argument answers false.
template <std::size_t N>
bool LeOpcaoComValor(const TOpcaoComValor (&Opcoes)[N], int Argc, char** Argv, int& I, std::string& Erro)
{
    for (const TOpcaoComValor& Opcao : Opcoes) {
        if (Argv[I] != std::string(Opcao.Nome))
            continue;
        if (I + 1 >= Argc || Argv[I + 1][0] == '\0')
            Erro = std::string(Argv[I]) + " needs a value";
        else
            *Opcao.Destino = Argv[++I];
        return true;
    }
    return false;
}
