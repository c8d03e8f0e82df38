#include "host/RaizServidor.h"

#include "config/Lib.h"
#include "platform/Files.h"
#include "platform/PrivateProfile.h"
#include "runtime/Application.h"

namespace {

std::string PastaDe(const std::string& Caminho)
{
    return Caminho.substr(0, Caminho.find_last_of('/'));
}

// The CfKovan.ini the module reads: beside the executable the application object names.
std::string ArquivoCfKovan()
{
    return PastaDe(Application().ExeName()) + "/CfKovan.ini";
}

} // namespace

std::string PastaDoCfKovan(const std::string& PastaConfig, const std::string& Exe, const std::string& PastaSistema)
{
    if (!PastaConfig.empty())
        return PastaConfig;
    const std::string PastaExe = PastaDe(Exe);
    if (!FileExists(PastaExe + "/CfKovan.ini") && FileExists(PastaSistema + "/CfKovan.ini"))
        return PastaSistema;
    return PastaExe;
}

void LocalizaCfKovan(const std::string& PastaConfig, const std::string& Programa)
{
    const std::string Exe = CaminhoExecutavelAtual();
    const std::string Pasta = PastaDoCfKovan(PastaConfig, Exe);
    // The real path stays in the audit entries whenever the settings are found beside the program.
    if (!PastaConfig.empty() || Pasta != PastaDe(Exe))
        Application().SetExeName(Pasta + "/" + Programa);
}

std::string RaizDoServidor(bool ExigeCfKovan, std::string& Erro)
{
    const std::string Exe = Application().ExeName();
    const std::string Ini = ArquivoCfKovan();
    const bool TemIni = FileExists(Ini);
    if (!TemIni && ExigeCfKovan) {
        const bool Padrao = Exe == CaminhoExecutavelAtual();
        Erro = "no " + Ini + (Padrao ? std::string(" nor ") + PastaCfKovanSistema + "/CfKovan.ini" : "") +
               " names the server root; use --config-dir";
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

std::string LeCfKovan(const char* Secao, const char* Chave)
{
    char Valor[1024];
    GetPrivateProfileStringA(Secao, Chave, "", Valor, sizeof Valor, ArquivoCfKovan().c_str());
    return Valor;
}
