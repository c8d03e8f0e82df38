#pragma once
// MkSqLite3: a thin object layer over SQLite. TMkSqlite is one connection; each statement is an
// IMkSqlStmt shared by whoever holds it. A client cursor (the default) reads every row when it is
// opened and lets go of the SQLite statement at once, so no reader stays open on the file. Every
// SQLite failure is thrown as std::runtime_error with the text "<code>:<SQLite's message>".
#include "db/MkSqLite3Api.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

/// The toolkit's field types, with their ordinal numbers.
enum TFieldType : std::uint8_t {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD, ftDate,
    ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo,
    ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString, ftLargeint, ftADT,
    ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant, ftInterface, ftIDispatch, ftGuid,
    ftTimeStamp, ftFMTBcd
};

/// The null value (SQL NULL), as distinct from the empty (unassigned) one.
struct TVarNulo {
    bool operator==(const TVarNulo&) const = default;
};
/// A date and time: days since 1899-12-30, the fraction being the time of day.
struct TDataHora {
    double Dias = 0;
    bool operator==(const TDataHora&) const = default;
};
using TBytes = std::vector<std::uint8_t>;

/// A column or parameter value: empty, null, integer, double, date-time, string or bytes.
using TMkVariant = std::variant<std::monostate, TVarNulo, std::int32_t, double, TDataHora, std::string, TBytes>;

bool VarIsEmpty(const TMkVariant& V) noexcept;
bool VarIsNull(const TMkVariant& V) noexcept;
/// Text of a value: empty and null give "", numbers their decimal text, a date-time mkDateToStr,
/// bytes themselves.
std::string VarToStr(const TMkVariant& V);
/// Integer of a value: a double is rounded, a text must be a decimal integer, empty is 0. Null, bytes
/// and any other text throw "Could not convert variant of type (<type>) into type (Integer)".
std::int32_t VarToInt(const TMkVariant& V);

/// "yyyy/mm/dd hh:nn:ss.zzz".
std::string mkDateToStr(TDataHora Data);
/// Reads a date ("yyyy/mm/dd"), a time ("hh:nn", "hh:nn:ss", "hh:nn:ss.zzz") or both separated by
/// blanks; throws "'<text>' is not a valid date and time" for anything else.
TDataHora mkStrToDate(const std::string& Texto);
/// mkStrToDate without the throw.
std::optional<TDataHora> TentaStrToDate(const std::string& Texto) noexcept;

/// One parameter of a statement.
struct TMkParam {
    std::string Name;
    TFieldType DataType = ftUnknown;
    TMkVariant Value;
    bool IsNull() const noexcept { return VarIsEmpty(Value) || VarIsNull(Value); }
};
using TMkParams = std::vector<TMkParam>;

/// Receives each row of TMkSqlite::_exec; nonzero stops the run.
using TMkExecCallBack = std::function<std::int32_t(std::int32_t acolumns, char** aColumnValues, char** aColumnNames)>;

class TMkSqlite;
class TMkSqlStmt;

/// A result column.
struct TmkSqlFieldDef {
    TMkSqlStmt* Stmt = nullptr;
    std::string Name;
    TFieldType DataType = ftString;
    std::string DeclaredType;  ///< lower case; empty for an expression
    std::int32_t Size = 0;
};

/// One client-cursor row: the values and their SQLite storage classes (1 integer, 2 float, 3 text,
/// 4 blob, 5 null).
struct TsqlRow {
    std::vector<TMkVariant> Valores;
    std::vector<std::int32_t> Classes;
};

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

/// A statement. Handed out shared: it lives as long as someone holds it.
class IMkSqlStmt {
public:
    virtual ~IMkSqlStmt() = default;

    virtual TMkSqlStmt* _instance() = 0;
    virtual TMkSqlite* dataBase() = 0;
    virtual std::int32_t fieldCount() const = 0;
    /// First column named Nome, without regard to case; -1 when none.
    virtual std::int32_t fieldIndex(const std::string& Nome) const = 0;
    /// Definition of column I, or null when the statement has no columns.
    virtual const TmkSqlFieldDef* get_field(std::int32_t I) const = 0;
    /// Throws "no such field : <name>".
    virtual TMkVariant get_valueof(const std::string& Nome) = 0;
    /// Value of column I in the current row; empty at eof or without rows.
    virtual TMkVariant get_value(std::int32_t I) = 0;
    /// Client cursor only: replaces the value in memory; the database is not changed.
    virtual void set_value(std::int32_t I, const TMkVariant& Valor) = 0;
    virtual bool get_eof() const = 0;
    virtual sqlite3_stmt* get_handle() const = 0;
    virtual void next() = 0;
    /// Client cursor only: back to the first row.
    virtual void first() = 0;
    virtual bool isNull(std::int32_t I) = 0;
    /// 1 integer, 2 float, 3 text, 4 blob, 5 null (and at eof).
    virtual std::int32_t storageClass(std::int32_t I) = 0;
    /// Binds Param at position I + 1.
    virtual void bindParam(const TMkParam& Param, std::int32_t I) = 0;
    /// Binds Param where the statement names it; throws "parameter not found : <name>".
    virtual void bindParamByName(const TMkParam& Param) = 0;
    virtual void bindParams(const TMkParams* Params) = 0;
    /// Rows of an active client cursor that has some; otherwise -1.
    virtual std::int32_t rowCount() const = 0;
    /// 1-based current row of an active client cursor that has rows; otherwise -1.
    virtual std::int32_t get_recno() const = 0;
    virtual void set_recno(std::int32_t N) = 0;
    virtual bool get_retain() const = 0;
    /// Server cursor: keep the SQLite statement after the last row (so it can be reset).
    virtual void set_retain(bool Valor) = 0;
    virtual bool get_serverCursor() const = 0;
    /// Set before open: rows are then read live from SQLite.
    virtual void set_serverCursor(bool Valor) = 0;
    /// Prepares and runs Sql (every statement in it, each bound to Params and stepped once); the last
    /// one's result stays. Throws "wrong active state" on an active statement.
    virtual void open(const std::string& Sql, const TMkParams* Params = nullptr) = 0;
    virtual void close() noexcept = 0;
    virtual bool get_active() const = 0;
    /// Server cursor only: back to before the first row.
    virtual void reset() = 0;
};
using PMkSqlStmt = std::shared_ptr<IMkSqlStmt>;

class TMkSqlStmt final : public IMkSqlStmt {
public:
    explicit TMkSqlStmt(TMkSqlite& DataBase);
    ~TMkSqlStmt() override;
    TMkSqlStmt(const TMkSqlStmt&) = delete;
    TMkSqlStmt& operator=(const TMkSqlStmt&) = delete;

    TMkSqlStmt* _instance() override { return this; }
    /// The database; null once it has been destroyed.
    TMkSqlite* dataBase() override { return Banco; }
    std::int32_t fieldCount() const override;
    std::int32_t fieldIndex(const std::string& Nome) const override;
    const TmkSqlFieldDef* get_field(std::int32_t I) const override;
    TMkVariant get_valueof(const std::string& Nome) override;
    TMkVariant get_value(std::int32_t I) override;
    void set_value(std::int32_t I, const TMkVariant& Valor) override;
    bool get_eof() const override { return Eof; }
    sqlite3_stmt* get_handle() const override { return Handle.get(); }
    void next() override;
    void first() override;
    bool isNull(std::int32_t I) override { return storageClass(I) == 5; }
    std::int32_t storageClass(std::int32_t I) override;
    void bindParam(const TMkParam& Param, std::int32_t I) override;
    void bindParamByName(const TMkParam& Param) override;
    void bindParams(const TMkParams* Params) override;
    std::int32_t rowCount() const override;
    std::int32_t get_recno() const override;
    void set_recno(std::int32_t N) override;
    bool get_retain() const override { return Retain; }
    void set_retain(bool Valor) override { Retain = Valor; }
    bool get_serverCursor() const override { return ServerCursor; }
    void set_serverCursor(bool Valor) override { ServerCursor = Valor; }
    void open(const std::string& Sql, const TMkParams* Params = nullptr) override;
    void close() noexcept override;
    bool get_active() const override { return Active; }
    void reset() override;

    /// Lets go of the SQLite statement (its finalize result is of no use); the rows stay.
    void closeCursor() noexcept;

private:
    struct Finaliza {
        void operator()(sqlite3_stmt* H) const noexcept;
    };

    void step();
    void getColumns();
    void fetchAll();
    TMkVariant LeColuna(std::int32_t I, std::int32_t& Classe) const;
    const TmkSqlFieldDef& Campo(std::int32_t I) const;
    TMkSqlite& BancoAtivo() const;

    friend class TMkSqlite;
    TMkSqlite* Banco;
    std::optional<std::vector<TmkSqlFieldDef>> Campos;
    bool ServerCursor = false;
    bool Eof = true;
    bool Retain = false;
    bool Active = false;
    std::unique_ptr<sqlite3_stmt, Finaliza> Handle;
    std::optional<std::vector<TsqlRow>> Linhas;
    std::int32_t Atual = 0;
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
