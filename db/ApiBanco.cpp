#include "db/ApiBanco.h"

#include "config/Lib.h"
#include "platform/Files.h"

std::unique_ptr<TMkSqlite> db;
std::string PathDB;
bool PodeUsarBanco = false;

namespace {

constexpr std::int32_t PatchMinimo = 13;

// A value goes into the statement text between double quotes; doubling them keeps it a value.
std::string Q(const std::string& Valor)
{
    std::string Texto;
    Texto.reserve(Valor.size());
    for (char C : Valor) {
        Texto += C;
        if (C == '"')
            Texto += '"';
    }
    return Texto;
}

std::string N(std::int32_t Valor)
{
    return std::to_string(Valor);
}

std::int32_t StrToInt(const std::string& Texto)
{
    const TMkVariant Valor = Texto;
    try {
        return VarToInt(Valor);
    } catch (const std::exception&) {
        LevantaErroSqlite("'" + Texto + "' is not a valid integer value");
    }
}

PMkSqlStmt Executa(const std::string& Sql)
{
    return db->exec(Sql);
}

// The first value of a query that must find a row.
bool PrimeiroValor(const std::string& Sql, TMkVariant& Valor)
{
    PMkSqlStmt Instrucao = Executa(Sql);
    if (Instrucao->rowCount() <= 0)
        return false;
    Valor = Instrucao->get_value(0);
    return true;
}

bool ContagemPositiva(const std::string& Sql)
{
    TMkVariant Valor;
    return PrimeiroValor(Sql, Valor) && VarToInt(Valor) > 0;
}

bool PrimeiroTexto(const std::string& Sql, std::string& Saida)
{
    TMkVariant Valor;
    if (!PrimeiroValor(Sql, Valor))
        return false;
    Saida = VarToStr(Valor);
    return true;
}

bool AcrescentaPrimeiraColuna(const std::string& Sql, std::vector<std::string>& Lista)
{
    PMkSqlStmt Instrucao = Executa(Sql);
    const std::int32_t Linhas = Instrucao->rowCount();
    if (Linhas <= 0)
        return false;
    for (std::int32_t I = 0; I < Linhas; ++I) {
        Lista.push_back(VarToStr(Instrucao->get_value(0)));
        Instrucao->next();
    }
    return true;
}

} // namespace

bool InicializaVerificaBanco(const std::string& Base)
{
    PodeUsarBanco = false;
    std::string Versao;
    if (!LocalizaBibliotecaSqlite(Versao))
        return false;
    if (!ComparaVersaoMinima("3.13.0.0", Versao))
        return false;
    PathDB = Base + "\\prods\\";
    db = std::make_unique<TMkSqlite>();
    const std::string Arquivo = PathDB + "prods.db";
    db->dbName = CaminhoLocal(Arquivo);
    if (!FileExists(Arquivo))
        return false;
    db->open();
    for (const char* Pragma : {"PRAGMA synchronous = FULL;", "PRAGMA foreign_keys = ON;", "PRAGMA automatic_index = ON;",
                               "PRAGMA temp_store = FILE;", "PRAGMA journal_mode = WAL;", "PRAGMA encoding = \"UTF-8\";"})
        db->exec(Pragma);
    PMkSqlStmt Patch = db->exec("Select Id FROM \"Patch\";");
    if (StrToInt(VarToStr(Patch->get_value(0))) < PatchMinimo)
        return false;
    PodeUsarBanco = true;
    return true;
}

void FinalizaBanco() noexcept
{
    db.reset();
    PodeUsarBanco = false;
}

bool GrupoHabilitado(std::int32_t Rede)
{
    if (!PodeUsarBanco)
        return false;
    TMkVariant Valor;
    return PrimeiroValor("SELECT Hab FROM GRUPO_IF_HAB WHERE IF_Kovan = \"" + N(Rede) + "\";", Valor) &&
           VarToInt(Valor) == 1;
}

bool RetornaGrupos(std::vector<std::string>& Lista)
{
    if (!PodeUsarBanco)
        return false;
    return AcrescentaPrimeiraColuna("SELECT IdGrupo FROM GRUPO;", Lista);
}

bool ExisteGrupo(const std::string& Grupo)
{
    if (!PodeUsarBanco)
        return false;
    return ContagemPositiva("SELECT count(*) FROM GRUPO WHERE IdGrupo = \"" + Q(Grupo) + "\";");
}

bool RetornaGrupo(const std::string& Empresa, std::string& Grupo)
{
    if (!PodeUsarBanco)
        return false;
    return PrimeiroTexto("SELECT GRUPO.IdGrupo FROM GRUPO, GRUPO_EMPRESA WHERE GRUPO_EMPRESA.Cod_empresa = \"" +
                             Q(Empresa) + "\" and GRUPO_EMPRESA.GrpRowId = GRUPO.GrpRowId;",
                         Grupo);
}

bool RetornaEmpresas(const std::string& Grupo, std::vector<std::string>& Lista)
{
    if (!PodeUsarBanco)
        return false;
    return AcrescentaPrimeiraColuna(
        "SELECT GRUPO_EMPRESA.Cod_empresa FROM GRUPO, GRUPO_EMPRESA WHERE GRUPO.IdGrupo = \"" + Q(Grupo) +
            "\" and GRUPO_EMPRESA.GrpRowId = GRUPO.GrpRowId ORDER BY GRUPO_EMPRESA.Cod_empresa;",
        Lista);
}

bool SelecionaIDGrupo(const std::string& Grupo, std::int32_t& RowId)
{
    if (!db)
        return false;
    PMkSqlStmt Instrucao = Executa("SELECT GrpRowId FROM GRUPO WHERE IdGrupo = \"" + Q(Grupo) + "\"");
    const bool Achou = Instrucao->rowCount() > 0;
    if (Achou)
        RowId = VarToInt(Instrucao->get_value(0));
    Instrucao->close();
    return Achou;
}

namespace {

// The operations on one group's establishment code: the database must be usable and the group known.
bool GrupoNoBanco(const std::string& Grupo, std::int32_t& RowId)
{
    return PodeUsarBanco && SelecionaIDGrupo(Grupo, RowId);
}

} // namespace

bool ExisteCodigoEstabGrupo(std::int32_t Rede, const std::string& Estabelecimento)
{
    if (!PodeUsarBanco)
        return false;
    return ContagemPositiva("Select count(*) FROM \"GRUPO_IF_ESTAB\" WHERE IF_Kovan = \"" + N(Rede) +
                            "\" and CodigoEstabelecimento = \"" + Q(Estabelecimento) + "\";");
}

bool ExisteCodigoGrupo(std::int32_t Rede, const std::string& Estabelecimento, std::int32_t Inicio,
                       std::int32_t Tamanho)
{
    if (!PodeUsarBanco)
        return false;
    return ContagemPositiva("Select count(*) FROM \"GRUPO_IF_ESTAB\" WHERE IF_Kovan = \"" + N(Rede) +
                            "\" and substr(CodigoEstabelecimento," + N(Inicio) + "," + N(Tamanho) + ") = \"" +
                            Q(Estabelecimento) + "\";");
}

bool ExisteEstabGrupo(std::int32_t Rede, const std::string& Estabelecimento, std::int32_t Inicio,
                      std::int32_t Tamanho, const std::string& Grupo)
{
    std::int32_t RowId = 0;
    if (!GrupoNoBanco(Grupo, RowId))
        return false;
    return ContagemPositiva("Select count(*) FROM \"GRUPO_IF_ESTAB\" WHERE IF_Kovan = \"" + N(Rede) +
                            "\"and substr(CodigoEstabelecimento," + N(Inicio) + "," + N(Tamanho) + ") = \"" +
                            Q(Estabelecimento) + "\"and GrpRowId <> " + N(RowId) + " ;");
}

bool ExisteEstabSemGrupo(std::int32_t Rede, const std::string& Grupo, const std::string& Estabelecimento)
{
    std::int32_t RowId = 0;
    if (!GrupoNoBanco(Grupo, RowId))
        return false;
    return ContagemPositiva("Select count(*) FROM \"GRUPO_IF_ESTAB\" WHERE IF_Kovan = \"" + N(Rede) +
                            "\" and CodigoEstabelecimento = \"" + Q(Estabelecimento) + "\" and  GrpRowId <> " +
                            N(RowId) + ";");
}

bool RetornaEstabelecimento(std::int32_t Rede, const std::string& Grupo, std::string& Estabelecimento)
{
    if (!PodeUsarBanco)
        return false;
    return PrimeiroTexto("SELECT GRUPO_IF_ESTAB.CodigoEstabelecimento FROM GRUPO_IF_ESTAB,  GRUPO WHERE "
                         "GRUPO_IF_ESTAB.IF_Kovan = \"" +
                             N(Rede) + "\" AND GRUPO.IdGrupo = \"" + Q(Grupo) +
                             "\" and GRUPO_IF_ESTAB.GrpRowId = GRUPO.GrpRowId  ORDER BY "
                             "GRUPO_IF_ESTAB.CodigoEstabelecimento;",
                         Estabelecimento);
}

bool RetornaEstabGrupo(const std::string& Grupo, std::int32_t Rede, std::string& Estabelecimento)
{
    if (!PodeUsarBanco)
        return false;
    return PrimeiroTexto("SELECT GRUPO_IF_ESTAB.CodigoEstabelecimento FROM GRUPO_IF_ESTAB, GRUPO WHERE "
                         "GRUPO.idGrupo = \"" +
                             Q(Grupo) +
                             "\" and GRUPO.GrpRowId = GRUPO_IF_ESTAB.GrpRowId and GRUPO_IF_ESTAB.IF_Kovan = \"" +
                             N(Rede) + "\";",
                         Estabelecimento);
}

bool InsereEstabelecimento(std::int32_t Rede, const std::string& Grupo, const std::string& Estabelecimento)
{
    std::int32_t RowId = 0;
    if (!GrupoNoBanco(Grupo, RowId))
        return false;
    Executa("INSERT INTO GRUPO_IF_ESTAB (IF_Kovan, GrpRowId, CodigoEstabelecimento) VALUES (\"" + N(Rede) + "\", \"" +
            N(RowId) + "\", \"" + Q(Estabelecimento) + "\")");
    return true;
}

bool AtualizaEstabelecimento(std::int32_t Rede, const std::string& Grupo, const std::string& Estabelecimento)
{
    std::int32_t RowId = 0;
    if (!GrupoNoBanco(Grupo, RowId))
        return false;
    Executa("UPDATE GRUPO_IF_ESTAB SET CodigoEstabelecimento = \"" + Q(Estabelecimento) + "\" WHERE IF_Kovan = \"" +
            N(Rede) + "\" AND GrpRowId = \"" + N(RowId) + "\"");
    return true;
}

bool RemoveEstabelecimento(const std::string& Grupo, const std::string& Estabelecimento)
{
    std::int32_t RowId = 0;
    if (!GrupoNoBanco(Grupo, RowId))
        return false;
    Executa("DELETE FROM GRUPO_IF_ESTAB WHERE  CodigoEstabelecimento = \"" + Q(Estabelecimento) +
            "\" AND  GrpRowId = \"" + N(RowId) + "\"  ;");
    return db->changeCount() > 0;
}

bool TratamentoPorBandeira(std::int32_t Codigo) noexcept
{
    return Codigo == 125;
}
