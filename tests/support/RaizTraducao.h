#pragma once
// A fresh server root (RaizTeste.h) with CfKovan.ini beside a pretend host executable.
#include "RaizTeste.h"
#include "runtime/Application.h"

class TRaizTraducao : public TRaizTeste {
public:
    TRaizTraducao()
    {
        Grava(Pasta / "CfKovan.ini", "[config]\r\nraiz=" + RaizTexto() + "\r\n");
        Application().SetExeName((Pasta / "cfkovan").string());
    }
    ~TRaizTraducao() { Application().SetExeName({}); }

    std::filesystem::path Config() const { return Raiz / "config"; }

    /// Points TabTraducao.ini at Dicionario (written as given).
    void NomeiaDicionario(const std::string& Dicionario) const
    {
        Grava(Config() / "TabTraducao.ini", "[CfKovan]\r\nNomeArqTraducao=" + Dicionario + "\r\n");
    }
};
