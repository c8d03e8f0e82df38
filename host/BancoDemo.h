#pragma once
// The group database of the demo server root.
#include <string>

/// Creates the demo group database at Caminho (a Linux path), replacing any file there. False, with
/// the reason in Erro, when it cannot.
bool CriaBancoGruposDemo(const std::string& Caminho, std::string& Erro);
