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

// Set by the build from the installation folders (bin and lib/<arch>/kovan/modulos under one prefix),
// so an unpacked or relocated installation finds its module too.
const char* const TModuloRede::PastaModulos = KOVAN_PASTA_MODULOS;

std::string TModuloRede::CaminhoPadrao()
{
    const std::string Exe = CaminhoExecutavelAtual();
    const std::string Pasta = Exe.substr(0, Exe.find_last_of('/') + 1);
    const std::string Candidatos[] = {Pasta + "libcfMirabelo.so", Pasta + PastaModulos + "/libcfMirabelo.so"};
    for (const std::string& Caminho : Candidatos)
        if (FileExists(Caminho))
            return Caminho;
    throw std::runtime_error("no module libcfMirabelo.so in " + Pasta + " nor in " + Pasta + PastaModulos +
                             "; use --module");
}
