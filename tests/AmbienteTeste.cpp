// The environment every test program needs (KOVAN_AMBIENTE_TESTE: one NAME=value per line), set
// before any test runs, so a program runs alike under CTest, in a debugger or from a shell. A
// variable already set wins.
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

const bool AmbientePreparado = [] {
    std::istringstream Linhas(KOVAN_AMBIENTE_TESTE);
    for (std::string Linha; std::getline(Linhas, Linha);)
        if (const std::size_t Igual = Linha.find('='); Igual != std::string::npos)
            setenv(Linha.substr(0, Igual).c_str(), Linha.c_str() + Igual + 1, 0);
    return true;
}();

} // namespace
