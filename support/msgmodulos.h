#pragma once
// msgmodulos: the module's numbered message table.
#include <string>

/// Current text of message Numero (1-based), CP1252; empty outside the table.
std::string LeMensagens(int Numero);
