#include "runtime/Application.h"

#include "platform/Files.h"

std::string TApplication::ExeName() const
{
    if (!ExeDefinido.empty())
        return ExeDefinido;
    return CaminhoExecutavelAtual();
}

void TApplication::SetExeName(const std::string& Caminho)
{
    ExeDefinido = Caminho;
}

TApplication& Application()
{
    static TApplication Aplicacao;
    return Aplicacao;
}
