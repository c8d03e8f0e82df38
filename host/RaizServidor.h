#pragma once
// The server root the host programs hand to the module, checked before the module runs. The module
// creates a missing root (one level) and everything below it on its first write; for our programs a
// root that does not exist is a typo in CfKovan.ini, never a place to start a new tree.
#include <string>

/// The root named by CfKovan.ini beside the program (Application().ExeName()), read as the module reads
/// it. Empty, with Erro saying why, when the root does not exist, or when CfKovan.ini is missing and
/// ExigeCfKovan asks for it (without the file the module falls back to "\Kovan").
std::string RaizDoServidor(bool ExigeCfKovan, std::string& Erro);
