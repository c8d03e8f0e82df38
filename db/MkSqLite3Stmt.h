#pragma once
// MkSqLite3Stmt: one statement of a TMkSqlite, handed out shared as an IMkSqlStmt. A client cursor
// (the default) reads every row when it is opened and lets go of the SQLite statement at once; a
// server cursor reads its rows live.
#include "db/MkSqLite3Api.h"
#include "db/MkSqLite3Variant.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

/// One parameter of a statement.
struct TMkParam {
    std::string Name;
    TFieldType DataType = ftUnknown;
    TMkVariant Value;
    bool IsNull() const noexcept { return VarIsEmpty(Value) || VarIsNull(Value); }
};
using TMkParams = std::vector<TMkParam>;

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
