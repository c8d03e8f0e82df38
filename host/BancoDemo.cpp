#include "host/BancoDemo.h"

bool CriaBancoGruposDemo(const std::string&, std::string& Erro)
{
    Erro = "not built yet";
    return false;
}
