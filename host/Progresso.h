#pragma once
// Progress of a long run over the companies, on standard error when it is a terminal: "companies
// done of the total", redrawn a few times a second and wiped at the end. Nothing at all otherwise,
// so a script's error output holds only what went wrong.
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <unistd.h>

class TProgresso {
public:
    TProgresso(std::size_t Total, const char* Acao) : Total(Total), Acao(Acao), Ativo(isatty(STDERR_FILENO) != 0) {}
    ~TProgresso()
    {
        if (Ativo && Mostrou)
            std::fprintf(stderr, "\r\033[K");
    }
    TProgresso(const TProgresso&) = delete;
    TProgresso& operator=(const TProgresso&) = delete;

    void Avanca()
    {
        ++Feitas;
        if (!Ativo)
            return;
        const auto Agora = std::chrono::steady_clock::now();
        if (Mostrou && Agora - Ultima < std::chrono::milliseconds(200))
            return;
        Ultima = Agora;
        Mostrou = true;
        std::fprintf(stderr, "\r%s: %zu of %zu companies", Acao, Feitas, Total);
        std::fflush(stderr);
    }

private:
    std::size_t Total, Feitas = 0;
    const char* Acao;
    bool Ativo, Mostrou = false;
    std::chrono::steady_clock::time_point Ultima;
};
