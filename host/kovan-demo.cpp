// kovan-demo: writes a small but real Kovan server root, as the server's own tools lay it out, and a
// CfKovan.ini that points a host at it. Used by the README's demo and by tests.
//
//   kovan-demo DIR     DIR/bin/CfKovan.ini, DIR/Kovan/config/..., DIR/Kovan/Config/prods/prods.db
#include "host/BancoDemo.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace fs = std::filesystem;

namespace {

void Grava(const fs::path& Caminho, const std::string& Bytes)
{
    fs::create_directories(Caminho.parent_path());
    std::ofstream Arquivo(Caminho, std::ios::binary | std::ios::trunc);
    Arquivo << Bytes;
    if (!Arquivo.flush())
        throw std::runtime_error("cannot write " + Caminho.string());
}

// A company file: the server's two magic bytes, then data the module never reads.
std::string ArquivoEmpresa(const std::string& Nome)
{
    return std::string("\x10\x01", 2) + "KOVAN-EMPRESA " + Nome + std::string(64, '\0');
}

} // namespace

int main(int Argc, char** Argv)
{
    if (Argc != 2 || std::string(Argv[1]) == "--help" || std::string(Argv[1]) == "-h") {
        std::cerr << "Usage: kovan-demo DIR\n"
                     "Writes a demo Kovan server root below DIR (DIR/Kovan) with three companies, and\n"
                     "DIR/bin/CfKovan.ini pointing at it (use --config-dir DIR/bin with the tools).\n";
        return Argc == 2 ? 0 : 2;
    }
    try {
        const fs::path Pasta = fs::absolute(Argv[1]);
        const fs::path Raiz = Pasta / "Kovan";
        const fs::path Config = Raiz / "config";
        Grava(Pasta / "bin" / "CfKovan.ini", "[config]\r\nraiz=" + Raiz.string() + "\r\n");
        Grava(Config / "KovanCfg.ini", "[config]\r\nTipoConfKovan=MULTIEMPRESA\r\nPermiteDuplEstab=NAO\r\n");
        Grava(Config / "ConfLog.ini", "[log]\r\nTipoLog=2\r\n");
        for (const char* Empresa : {"00000123", "00000456", "00000789"})
            Grava(Config / (std::string(Empresa) + ".cnf"), ArquivoEmpresa(Empresa));
        Grava(Config / "empresas" / "00000123" / "Mirabelo.ini", "[geral]\r\ncodigoestabelecimento=000000000012345\r\n");
        Grava(Config / "empresas" / "00000456" / "Mirabelo.ini", "[geral]\r\ncodigoestabelecimento=000000000067890\r\n");
        fs::create_directories(Config / "empresas" / "00000789");
        // The general BIN tables ("Todas" in the BIN-table screen): two debit cards and one fuel card.
        Grava(Config / "Mirabelo.ini", "[tabbins]\r\ntotdeb=2\r\ntotcomb=1\r\n"
                                       "[debito_01]\r\nnome=MIRABELO DEBITO\r\nbins=601234;60124500-60124599;\r\nsenha=1\r\n"
                                       "[debito_02]\r\nnome=MIRABELO VALE\r\nbins=606070;\r\nsenha=0\r\n"
                                       "[combustivel_01]\r\nnome=MIRABELO FROTA\r\nbins=639000-639099;\r\nsenha=1\r\n");

        std::string Erro;
        const fs::path Banco = Raiz / "Config" / "prods" / "prods.db";
        fs::create_directories(Banco.parent_path());
        if (!CriaBancoGruposDemo(Banco.string(), Erro))
            std::cerr << "kovan-demo: group database not written: " << Erro << '\n';
        std::cout << "Demo server root: " << Raiz.string() << "\nCfKovan.ini:      " << (Pasta / "bin" / "CfKovan.ini").string()
                  << '\n';
        return 0;
    } catch (const std::exception& Falha) {
        std::cerr << "kovan-demo: " << Falha.what() << '\n';
        return 1;
    }
}
