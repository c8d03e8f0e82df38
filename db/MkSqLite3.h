#pragma once
// MkSqLite3: a thin object layer over SQLite. TMkSqlite is one connection; each statement is an
// IMkSqlStmt shared by whoever holds it. A client cursor (the default) reads every row when it is
// opened and lets go of the SQLite statement at once, so no reader stays open on the file. Every
// failure is thrown as an ESqlite (MkSqLite3Api.h); an SQLite failure has the text
// "<code>:<SQLite's message>".
#include "db/MkSqLite3Api.h"
#include "db/MkSqLite3Data.h"
#include "db/MkSqLite3Stmt.h"
#include "db/MkSqLite3Variant.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// Receives each row of TMkSqlite::_exec; nonzero stops the run.
using TMkExecCallBack = std::function<std::int32_t(std::int32_t acolumns, char** aColumnValues, char** aColumnNames)>;

/// Something installed on every connection a database opens.
class TMkSqliteExtension {
public:
    TMkSqliteExtension(TMkSqlite* DataBase, std::string Name) : DataBase(DataBase), Name(std::move(Name)) {}
    virtual ~TMkSqliteExtension() = default;
    /// Installs on the open connection; false makes open fail.
    virtual bool Install() = 0;

    TMkSqlite* DataBase;
    std::string Name;
};

/// One SQLite database. It must outlive the statements it hands out.
class TMkSqlite {
public:
    TMkSqlite();
    ~TMkSqlite();
    TMkSqlite(const TMkSqlite&) = delete;
    TMkSqlite& operator=(const TMkSqlite&) = delete;

    /// The file; empty opens a private in-memory database.
    std::string dbName;
    /// False reads every column as text.
    bool UseDataTypes = true;
    /// Milliseconds a statement is retried while the database is busy or locked: 0 no retry, above 0
    /// until that much time has passed, below 0 without limit.
    std::int32_t StatementTimeout = -1;
    /// True makes the outermost beginTransaction close every server cursor first.
    bool AutoCloseCursorsOnTrans = false;

    bool FullColumnNames() const noexcept { return FullColumnNamesValor; }
    void SetFullColumnNames(bool Valor);
    bool EmptyResultSets() const noexcept { return EmptyResultSetsValor; }
    void SetEmptyResultSets(bool Valor);
    /// Milliseconds SQLite itself waits for a lock before answering busy.
    std::int32_t BusyRetryTimeout() const noexcept { return BusyRetryTimeoutValor; }
    void SetBusyTimeout(std::int32_t Ms);

    /// Opens dbName (closing any open connection first), installs the extensions and sets the pragmas
    /// and the busy timeout.
    void open();
    /// Closes every server cursor, then the connection.
    void close();
    bool active() const noexcept { return Active; }

    void checkactive() const;
    /// The connection; throws "Database is closed" when there is none.
    sqlite3* getdb() const;
    /// The library's version text; binds the library first.
    std::string version();
    /// Nonzero Codigo throws "<code>:<SQLite's message of this connection>".
    void check(int Codigo) const;

    PMkSqlStmt createStmt();
    /// A new statement already opened on Sql.
    PMkSqlStmt exec(const std::string& Sql, const TMkParams* Params = nullptr);
    /// exec with one parameter per element of Valores.
    PMkSqlStmt execV(const std::string& Sql, const std::vector<TMkVariant>& Valores);
    /// Runs Sql through sqlite3_exec, each result row going to CallBack (when there is one), retried
    /// while busy as StatementTimeout says. Returns SQLite's result code.
    int _exec(const std::string& Sql, const TMkExecCallBack* CallBack = nullptr);
    /// _exec that throws on failure.
    void execCmd(const std::string& Sql);

    std::int32_t changeCount() const;
    std::int32_t totalChangeCount() const;
    sqlite3_int64 LastInsertRowId() const;

    void setPragma(const std::string& Nome, bool Ligado);
    void setPragmavalue(const std::string& Nome, std::int32_t Valor);
    /// First value of "PRAGMA <name>" as an integer; -1 when it has no columns.
    std::int32_t getPragmaValue(const std::string& Nome);
    std::int32_t getSynchronous() { return getPragmaValue("synchronous"); }
    void setSynchronous(std::int32_t Valor) { setPragmavalue("synchronous", Valor); }
    std::int32_t getCacheSize() { return getPragmaValue("cache_size"); }
    void setCacheSize(std::int32_t Valor) { setPragmavalue("cache_size", Valor); }
    std::int32_t getDefCacheSize() { return getPragmaValue("default_cache_size"); }
    void setDefCacheSize(std::int32_t Valor) { setPragmavalue("default_cache_size", Valor); }

    /// Throws the integrity check's first complaint (or "integrity check failed") unless it says "ok".
    void checkIntegrity();
    PMkSqlStmt SchemaInfo();
    PMkSqlStmt SchemaTableInfo(const std::string& Tabela);
    PMkSqlStmt SchemaIndexList(const std::string& Tabela);
    PMkSqlStmt SchemaIndexInfo(const std::string& Indice);
    PMkSqlStmt SchemaForeignkeyInfo(const std::string& Tabela);

    /// Nested transactions: only the outermost begin and the commit that ends it reach SQLite.
    void beginTransaction();
    void Commit();
    /// Rolls the whole transaction back, whatever the depth.
    void RollBack();
    std::int32_t transactionDepth() const noexcept { return Profundidade; }

    /// Takes the extensions over; they are installed at the next open.
    void registerExtensions(std::vector<std::unique_ptr<TMkSqliteExtension>> Lista);

    /// Lets go of every server cursor's SQLite statement, last opened first.
    void closeCursors() noexcept;

private:
    friend class TMkSqlStmt;
    struct FechaConexao {
        void operator()(sqlite3* H) const noexcept;
    };

    std::string TextoErro(int Codigo) const;

    std::unique_ptr<sqlite3, FechaConexao> Conexao;
    bool FullColumnNamesValor = false;
    bool Active = false;
    bool EmptyResultSetsValor = true;
    std::int32_t Profundidade = 0;
    std::vector<std::unique_ptr<TMkSqliteExtension>> Extensoes;
    std::int32_t BusyRetryTimeoutValor = 10;
    std::vector<TMkSqlStmt*> CursoresServidor;
    std::vector<TMkSqlStmt*> Instrucoes;  ///< every live statement of this database
};
