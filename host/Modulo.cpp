#include "host/Modulo.h"

#include "platform/Files.h"

TModuloRede::TModuloRede(const std::string& Caminho)
{
    if (!Biblioteca.Abre(Caminho))
        throw std::runtime_error("cannot load the module " + Caminho + ": " + Biblioteca.UltimoErro());
    for (const char* Nome : {"ObtemInformacoes", "DadosEmpresa", "Initialize", "Finalize"})
        Exige(Nome);
    Funcao<void (*)()>("Initialize")();
}

TModuloRede::~TModuloRede()
{
    if (void* Finaliza = Biblioteca.Simbolo("Finalize"))
        reinterpret_cast<void (*)()>(Finaliza)();
}

void* TModuloRede::Exige(const char* Nome)
{
    void* Simbolo = Biblioteca.Simbolo(Nome);
    if (!Simbolo)
        throw std::runtime_error(std::string("the module has no entry point ") + Nome);
    return Simbolo;
}

std::string TModuloRede::CaminhoPadrao()
{
    const std::string Exe = CaminhoExecutavelAtual();
    return Exe.substr(0, Exe.find_last_of('/') + 1) + "libcfMirabelo.so";
}
