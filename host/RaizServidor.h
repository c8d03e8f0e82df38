#pragma once
// Where the host programs find CfKovan.ini, and the server root it names, checked before the module
// runs. The module reads CfKovan.ini beside the host's executable (Application().ExeName()); a host
// installed in /usr/bin keeps it elsewhere, so the host decides the folder once, here, and points the
// application object at it: host and module then read the same file.
//
// The module creates a missing root (one level) and everything below it on its first write; for our
// programs a root that does not exist is a typo in CfKovan.ini, never a place to start a new tree.
#include <string>

/// The folder of CfKovan.ini for a system-wide installation (a macro, so help texts can quote it).
#define KOVAN_PASTA_CFKOVAN_SISTEMA "/etc/kovan"
inline constexpr const char* PastaCfKovanSistema = KOVAN_PASTA_CFKOVAN_SISTEMA;

/// The folder whose CfKovan.ini names the server root: PastaConfig when given (--config-dir), else the
/// folder of the executable Exe when CfKovan.ini is there, else PastaSistema when CfKovan.ini is
/// there, else the folder of Exe (where the module then finds no file and takes its default root).
std::string PastaDoCfKovan(const std::string& PastaConfig, const std::string& Exe,
                           const std::string& PastaSistema = PastaCfKovanSistema);

/// Chooses the folder above for the running program and, when it was named or is not the program's
/// own folder, tells the application object that Programa lives there, so the module reads that
/// CfKovan.ini.
void LocalizaCfKovan(const std::string& PastaConfig, const std::string& Programa);

/// The root named by CfKovan.ini in the folder of Application().ExeName(), read as the module reads
/// it. Empty, with Erro saying why, when the root does not exist, or when CfKovan.ini is missing and
/// ExigeCfKovan asks for it (without the file the module falls back to "\Kovan").
std::string RaizDoServidor(bool ExigeCfKovan, std::string& Erro);

/// The value of Secao/Chave in that CfKovan.ini (at most 1023 bytes), empty when it is missing.
std::string LeCfKovan(const char* Secao, const char* Chave);
