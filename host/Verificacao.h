#pragma once
// The check of a whole server root: everything that would trip a screen or the server, read once,
// file by file, with the rules the screens apply (config/TabelaBins, config/TransHab). Nothing is
// written.
#include <string>
#include <vector>

struct TAchado {
    std::string Arquivo;  ///< the file or folder concerned (a path of this system)
    std::string Tipo;     ///< a short fixed name for monitoring: "codigo-duplicado", "bin-invalido"...
    std::string Texto;    ///< what is wrong, CP1252
};

/// Every finding under Raiz (the module's form of the root, as LerRaizPathKovan answers it), grouped
/// by file in the order the folders list them.
std::vector<TAchado> VerificaRaiz(const std::string& Raiz);
