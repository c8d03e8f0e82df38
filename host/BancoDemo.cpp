#include "host/BancoDemo.h"

#include "db/MkSqLite3.h"

#include <exception>
#include <filesystem>

namespace {

// The schema as the server's own tools leave it at patch level 13, reduced to what the module reads.
const char* const Esquema[] = {
    "CREATE TABLE GRUPO (GrpRowId INTEGER PRIMARY KEY, IdGrupo VARCHAR(6) NOT NULL UNIQUE, "
    "Descricao VARCHAR(60))",
    "CREATE TABLE GRUPO_EMPRESA (Cod_empresa VARCHAR(8) NOT NULL PRIMARY KEY, "
    "GrpRowId INTEGER NOT NULL REFERENCES GRUPO(GrpRowId))",
    "CREATE TABLE GRUPO_IF_ESTAB (IF_Kovan INTEGER NOT NULL, GrpRowId INTEGER NOT NULL REFERENCES GRUPO(GrpRowId), "
    "CodigoEstabelecimento VARCHAR(15) NOT NULL)",
    "CREATE TABLE GRUPO_IF_HAB (IF_Kovan INTEGER NOT NULL PRIMARY KEY, Hab INTEGER NOT NULL)",
    "CREATE TABLE Patch (Id INTEGER NOT NULL)",
};

const char* const Dados[] = {
    "INSERT INTO Patch (Id) VALUES (13)",
    "INSERT INTO GRUPO (GrpRowId, IdGrupo, Descricao) VALUES (1, '000001', 'Grupo Centro')",
    "INSERT INTO GRUPO (GrpRowId, IdGrupo, Descricao) VALUES (2, '000002', 'Grupo Litoral')",
    "INSERT INTO GRUPO_EMPRESA (Cod_empresa, GrpRowId) VALUES ('00000123', 1)",
    "INSERT INTO GRUPO_EMPRESA (Cod_empresa, GrpRowId) VALUES ('00000456', 1)",
    "INSERT INTO GRUPO_EMPRESA (Cod_empresa, GrpRowId) VALUES ('00000789', 2)",
    // The network is known to the server as 167 and 171; groups are enabled under both codes.
    "INSERT INTO GRUPO_IF_HAB (IF_Kovan, Hab) VALUES (167, 1)",
    "INSERT INTO GRUPO_IF_HAB (IF_Kovan, Hab) VALUES (171, 1)",
    "INSERT INTO GRUPO_IF_ESTAB (IF_Kovan, GrpRowId, CodigoEstabelecimento) VALUES (171, 1, '000000000054321')",
};

void RemoveBanco(const std::string& Caminho)
{
    std::error_code Erro;
    for (const char* Sufixo : {"", "-wal", "-shm", "-journal"})
        std::filesystem::remove(Caminho + Sufixo, Erro);
}

} // namespace

bool CriaBancoGruposDemo(const std::string& Caminho, std::string& Erro)
{
    Erro.clear();
    if (Caminho.empty()) {
        Erro = "no path for the group database";
        return false;
    }
    try {
        RemoveBanco(Caminho);
        TMkSqlite Banco;
        Banco.dbName = Caminho;
        Banco.open();
        Banco.beginTransaction();
        for (const char* Comando : Esquema)
            Banco.execCmd(Comando);
        for (const char* Comando : Dados)
            Banco.execCmd(Comando);
        Banco.Commit();
        Banco.close();
        return true;
    } catch (const std::exception& E) {
        Erro = E.what();
        RemoveBanco(Caminho);
        return false;
    }
}
