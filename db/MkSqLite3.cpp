#include "db/MkSqLite3.h"

#include <chrono>
#include <exception>

void TMkSqlite::FechaConexao::operator()(sqlite3* H) const noexcept
{
    Api.sqlite3_close(H);
}

TMkSqlite::TMkSqlite() = default;

TMkSqlite::~TMkSqlite()
{
    // A statement may outlive its database by mistake: it lets go of SQLite now and reports a closed
    // database from then on, rather than keeping the connection open or touching freed memory.
    for (TMkSqlStmt* Instrucao : Instrucoes) {
        Instrucao->closeCursor();
        Instrucao->Banco = nullptr;
    }
    Instrucoes.clear();
    CursoresServidor.clear();
    try {
        close();
    } catch (...) {
        // The deleter closes the connection; a destructor has no one to tell.
    }
}

std::string TMkSqlite::TextoErro(int Codigo) const
{
    return std::to_string(Codigo) + ':' + (Conexao ? Api.sqlite3_errmsg(Conexao.get()) : "");
}

void TMkSqlite::check(int Codigo) const
{
    if (Codigo != 0)
        throw ESqlite(TTipoErroSqlite::Sqlite, TextoErro(Codigo), Codigo);
}

void TMkSqlite::checkactive() const
{
    if (!Active)
        LevantaErroSqlite("Database is closed");
}

sqlite3* TMkSqlite::getdb() const
{
    checkactive();
    return Conexao.get();
}

std::string TMkSqlite::version()
{
    CheckSqliteLoaded();
    const char* Versao = Api.sqlite3_libversion();
    return Versao ? Versao : "";
}

void TMkSqlite::open()
{
    CheckSqliteLoaded();
    close();
    const std::string Nome = dbName.empty() ? ":memory:" : dbName;
    sqlite3* Nova = nullptr;
    const int Resultado = Api.sqlite3_open(Nome.c_str(), &Nova);
    Conexao.reset(Nova);
    if (Resultado != 0) {
        // SQLite hands back a connection even when opening fails; its message goes before it does.
        const std::string Texto = TextoErro(Resultado);
        Conexao.reset();
        throw ESqlite(TTipoErroSqlite::Sqlite, Texto, Resultado);
    }
    for (const auto& Extensao : Extensoes)
        if (!Extensao->Install())
            LevantaErroSqlite("Failed to add Extension " + Extensao->Name);
    Active = true;
    if (EmptyResultSetsValor)
        SetEmptyResultSets(true);
    if (FullColumnNamesValor)
        SetFullColumnNames(true);
    Api.sqlite3_busy_timeout(Conexao.get(), BusyRetryTimeoutValor);
}

void TMkSqlite::close()
{
    if (Conexao) {
        closeCursors();
        check(Api.sqlite3_close(Conexao.get()));
        (void)Conexao.release();
    }
    Active = false;
    Profundidade = 0;
}

void TMkSqlite::closeCursors() noexcept
{
    std::vector<TMkSqlStmt*> Lista;
    Lista.swap(CursoresServidor);
    for (auto I = Lista.rbegin(); I != Lista.rend(); ++I)
        (*I)->closeCursor();
}

void TMkSqlite::SetFullColumnNames(bool Valor)
{
    FullColumnNamesValor = Valor;
    if (Active)
        setPragma("full_column_names", Valor);
}

void TMkSqlite::SetEmptyResultSets(bool Valor)
{
    EmptyResultSetsValor = Valor;
    if (Active)
        setPragma("empty_result_callbacks", Valor);
}

void TMkSqlite::SetBusyTimeout(std::int32_t Ms)
{
    BusyRetryTimeoutValor = Ms;
    if (Active)
        Api.sqlite3_busy_timeout(Conexao.get(), Ms);
}

PMkSqlStmt TMkSqlite::createStmt()
{
    return std::make_shared<TMkSqlStmt>(*this);
}

PMkSqlStmt TMkSqlite::exec(const std::string& Sql, const TMkParams* Params)
{
    PMkSqlStmt Instrucao = createStmt();
    Instrucao->open(Sql, Params);
    return Instrucao;
}

PMkSqlStmt TMkSqlite::execV(const std::string& Sql, const std::vector<TMkVariant>& Valores)
{
    if (Valores.empty())
        return exec(Sql);
    TMkParams Params;
    for (const TMkVariant& V : Valores) {
        TMkParam P;
        P.Value = V;
        if (std::holds_alternative<std::int32_t>(V))
            P.DataType = ftInteger;
        else if (std::holds_alternative<double>(V))
            P.DataType = ftFloat;
        else if (std::holds_alternative<TDataHora>(V))
            P.DataType = ftDateTime;
        else if (std::holds_alternative<std::string>(V))
            P.DataType = ftString;
        else if (std::holds_alternative<TBytes>(V))
            P.DataType = ftBlob;
        Params.push_back(std::move(P));
    }
    return exec(Sql, &Params);
}

namespace {

struct TContextoExec {
    const TMkExecCallBack* CallBack;
    std::exception_ptr Erro;
};

// SQLite calls C; an exception of the callback waits here and is thrown again once SQLite is done.
int AdaptadorExec(void* Dados, int Colunas, char** Valores, char** Nomes)
{
    auto* Contexto = static_cast<TContextoExec*>(Dados);
    try {
        return (*Contexto->CallBack)(Colunas, Valores, Nomes);
    } catch (...) {
        Contexto->Erro = std::current_exception();
        return 1;
    }
}

} // namespace

int TMkSqlite::_exec(const std::string& Sql, const TMkExecCallBack* CallBack)
{
    sqlite3* Db = getdb();
    TContextoExec Contexto{CallBack, nullptr};
    const bool ComCallBack = CallBack && *CallBack;
    const auto Inicio = std::chrono::steady_clock::now();
    int Resultado = 0;
    do
        Resultado = Api.sqlite3_exec(Db, Sql.c_str(), ComCallBack ? AdaptadorExec : nullptr,
                                     ComCallBack ? &Contexto : nullptr, nullptr);
    while (!Contexto.Erro && (Resultado == SQLITE_BUSY || Resultado == SQLITE_LOCKED) &&
           PodeRepetir(StatementTimeout, Inicio, BusyRetryTimeoutValor));
    if (Contexto.Erro)
        std::rethrow_exception(Contexto.Erro);
    return Resultado;
}

void TMkSqlite::execCmd(const std::string& Sql)
{
    check(_exec(Sql));
}

std::int32_t TMkSqlite::changeCount() const
{
    return Api.sqlite3_changes(getdb());
}

std::int32_t TMkSqlite::totalChangeCount() const
{
    return Api.sqlite3_total_changes(getdb());
}

sqlite3_int64 TMkSqlite::LastInsertRowId() const
{
    return Api.sqlite3_last_insert_rowid(getdb());
}

void TMkSqlite::setPragma(const std::string& Nome, bool Ligado)
{
    execCmd("PRAGMA " + Nome + "=" + (Ligado ? "ON" : "OFF"));
}

void TMkSqlite::setPragmavalue(const std::string& Nome, std::int32_t Valor)
{
    execCmd("PRAGMA " + Nome + "=" + std::to_string(Valor));
}

std::int32_t TMkSqlite::getPragmaValue(const std::string& Nome)
{
    PMkSqlStmt Instrucao = exec("PRAGMA " + Nome);
    if (Instrucao->fieldCount() == 0)
        return -1;
    return VarToInt(Instrucao->get_value(0));
}

void TMkSqlite::checkIntegrity()
{
    PMkSqlStmt Instrucao = exec("PRAGMA integrity_check");
    if (Instrucao->fieldCount() == 0 || Instrucao->get_eof())
        LevantaErroSqlite("integrity check failed");
    const std::string Primeiro = VarToStr(Instrucao->get_value(0));
    if (Primeiro != "ok")
        LevantaErroSqlite(Primeiro);
}

PMkSqlStmt TMkSqlite::SchemaInfo()
{
    return exec("select * from sqlite_master order by tbl_name,name");
}

PMkSqlStmt TMkSqlite::SchemaTableInfo(const std::string& Tabela)
{
    return exec("PRAGMA table_info('" + Tabela + "')");
}

PMkSqlStmt TMkSqlite::SchemaIndexList(const std::string& Tabela)
{
    return exec("PRAGMA index_list('" + Tabela + "')");
}

PMkSqlStmt TMkSqlite::SchemaIndexInfo(const std::string& Indice)
{
    return exec("PRAGMA index_info('" + Indice + "')");
}

PMkSqlStmt TMkSqlite::SchemaForeignkeyInfo(const std::string& Tabela)
{
    return exec("PRAGMA foreign_key_list('" + Tabela + "')");
}

void TMkSqlite::beginTransaction()
{
    if (Profundidade == 0) {
        if (AutoCloseCursorsOnTrans)
            closeCursors();
        execCmd("begin");
    }
    ++Profundidade;
}

void TMkSqlite::Commit()
{
    if (Profundidade < 1)
        return;
    if (Profundidade == 1)
        execCmd("commit");
    --Profundidade;
}

void TMkSqlite::RollBack()
{
    if (Profundidade > 0) {
        // Whatever SQLite answers, no transaction of ours is open afterwards.
        Profundidade = 0;
        execCmd("rollback");
    }
}

void TMkSqlite::registerExtensions(std::vector<std::unique_ptr<TMkSqliteExtension>> Lista)
{
    for (auto& Extensao : Lista)
        Extensoes.push_back(std::move(Extensao));
}
