#pragma once
// The command lines of the host programs: an option that takes a value reads the argument after it.
#include <string>

/// Takes the value of the option Argv[I] into Destino and moves I past it; false, with the reason in
/// Erro, when the option is the last argument.
inline bool ValorDaOpcao(int Argc, char** Argv, int& I, std::string& Destino, std::string& Erro)
{
    if (I + 1 >= Argc) {
        Erro = std::string(Argv[I]) + " needs a value";
        return false;
    }
    Destino = Argv[++I];
    return true;
}
