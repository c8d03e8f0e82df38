#include "host/RaizServidor.h"

#include "config/Lib.h"
#include "platform/Files.h"
#include "runtime/Application.h"

std::string RaizDoServidor(bool ExigeCfKovan, std::string& Erro)
{
    const std::string Exe = Application().ExeName();
    const std::string Ini = Exe.substr(0, Exe.find_last_of('/') + 1) + "CfKovan.ini";
    const bool TemIni = FileExists(Ini);
    if (!TemIni && ExigeCfKovan) {
        Erro = "no " + Ini + " names the server root; use --config-dir";
        return {};
    }
    const std::string Raiz = LerRaizPathKovan(Exe);
    if (!DirectoryExists(Raiz)) {
        Erro = "the server root " + CaminhoLocal(Raiz) +
               (TemIni ? " named in " + Ini : " (the default: no " + Ini + ")") + " does not exist";
        return {};
    }
    return Raiz;
}
