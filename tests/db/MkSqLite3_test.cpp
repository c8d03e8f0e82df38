#include "db/MkSqLite3.h"

#include "db/CenarioSqlite.h"
#include "RaizTeste.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A database file in a fresh temporary directory.
class TBancoTeste : public ::testing::Test {
protected:
    void SetUp() override
    {
        Banco.dbName = Arquivo();
        Banco.open();
    }
    std::string Arquivo() const { return (Raiz.Pasta / "teste.db").string(); }
    PMkSqlStmt Exec(const std::string& Sql, const TMkParams* Params = nullptr) { return Banco.exec(Sql, Params); }
    static PMkSqlStmt CursorDoServidor(TMkSqlite& Em)
    {
        PMkSqlStmt S = Em.createStmt();
        S->set_serverCursor(true);
        return S;
    }

    TRaizTeste Raiz;
    TMkSqlite Banco;
};

TMkParam Param(TFieldType Tipo, TMkVariant Valor, std::string Nome = {})
{
    return TMkParam{std::move(Nome), Tipo, std::move(Valor)};
}

} // namespace

// A closed database refuses work; open sets its pragmas, an empty name is a private in-memory
// database, and an open that fails says why with SQLite's code and creates nothing.
TEST(TMkSqlite, AberturaEFechamento)
{
    TMkSqlite Banco;
    EXPECT_EQ(ErroDe([&] { Banco.getdb(); }), "Database is closed");
    EXPECT_EQ(ErroDe([&] { Banco.exec("select 1"); }), "Database is closed");
    Banco.open();
    EXPECT_TRUE(Banco.active());
    EXPECT_EQ(VarToStr(Banco.exec("PRAGMA database_list")->get_valueof("file")), "");
    EXPECT_EQ(Banco.getPragmaValue("empty_result_callbacks"), 1);
    EXPECT_EQ(Banco.getPragmaValue("full_column_names"), 0);
    EXPECT_EQ(Banco.getPragmaValue("no_such_pragma"), -1);
    Banco.SetFullColumnNames(true);
    EXPECT_EQ(Banco.getPragmaValue("full_column_names"), 1);
    Banco.close();
    EXPECT_FALSE(Banco.active());
    Banco.close();

    TRaizTeste Raiz;
    Banco.dbName = (Raiz.Pasta / "nao-existe" / "x.db").string();
    const std::optional<ESqlite> Falha = FalhaDe([&] { Banco.open(); });
    ASSERT_TRUE(Falha);
    EXPECT_STREQ(Falha->what(), "14:unable to open database file");
    EXPECT_EQ(Falha->Tipo(), TTipoErroSqlite::Sqlite);
    EXPECT_EQ(Falha->Codigo(), 14);
    EXPECT_FALSE(Banco.active());
    EXPECT_FALSE(std::filesystem::exists(Raiz.Pasta / "nao-existe"));
}

// A client cursor reads every row at open and holds nothing open on the file; it moves, and takes
// values in memory only, within its rows. Without rows or columns it is at eof with nothing to read.
TEST_F(TBancoTeste, CursorDoClienteLeTodasAsLinhas)
{
    Banco.execCmd("create table T (Id INTEGER, Nome varchar(6))");
    auto Vazia = Exec("select Id, Nome from T");
    EXPECT_TRUE(Vazia->get_eof() && Vazia->get_active());
    EXPECT_EQ(Vazia->rowCount(), -1);
    EXPECT_EQ(Vazia->get_recno(), -1);
    EXPECT_TRUE(VarIsEmpty(Vazia->get_value(0)));
    EXPECT_EQ(Vazia->storageClass(0), 5);
    EXPECT_EQ(Vazia->fieldCount(), 2);
    auto Insercao = Exec("insert into T values (1,'a'),(2,'b'),(3,'c')");
    EXPECT_TRUE(Insercao->get_eof());
    EXPECT_EQ(Insercao->fieldCount(), 0);
    EXPECT_EQ(Insercao->get_field(0), nullptr);
    EXPECT_EQ(Banco.changeCount(), 3);
    EXPECT_EQ(Banco.LastInsertRowId(), 3);
    EXPECT_EQ(ErroDe([&] { Exec("select * from Nada"); }), "1:no such table: Nada");
    EXPECT_FALSE(Exec("  -- only a comment\n")->get_active());
    EXPECT_EQ(Exec("select count(*) from T")->get_value(0), TMkVariant(std::string("3")));

    auto S = Exec("select Id, Nome from T order by Id");
    EXPECT_EQ(S->get_handle(), nullptr);
    EXPECT_EQ(S->rowCount(), 3);
    EXPECT_EQ(S->get_value(0), TMkVariant(std::int32_t{1}));
    EXPECT_EQ(S->get_valueof("NOME"), TMkVariant(std::string("a")));
    EXPECT_EQ(ErroDe([&] { S->get_valueof("outro"); }), "no such field : outro");
    S->next();
    S->next();
    EXPECT_EQ(S->get_recno(), 3);
    EXPECT_EQ(S->get_value(1), TMkVariant(std::string("c")));
    S->next();
    EXPECT_TRUE(S->get_eof());
    EXPECT_EQ(ErroDe([&] { S->set_value(0, std::int32_t{9}); }), "at eof");
    S->first();
    S->set_value(1, TVarNulo{});
    EXPECT_TRUE(S->isNull(1));
    EXPECT_EQ(VarToStr(Exec("select Nome from T where Id = 1")->get_value(0)), "a");
    S->set_recno(4);
    EXPECT_TRUE(S->get_eof());
    EXPECT_EQ(ErroDe([&] { S->reset(); }), "wrong cursor state");
    EXPECT_EQ(ErroDe([&] { S->open("select 1"); }), "wrong active state");
    S->close();
    EXPECT_FALSE(S->get_active());
    EXPECT_EQ(S->rowCount(), -1);
}

TEST_F(TBancoTeste, DuasInstrucoesNumTextoMostramASegunda)
{
    Banco.execCmd("create table T (A integer)");
    TMkParams Params{Param(ftInteger, std::int32_t{7})};
    auto S = Exec("insert into T values (?);\n  select count(*), max(A) from T where A = ?;  ", &Params);
    EXPECT_EQ(S->rowCount(), 1);
    EXPECT_EQ(VarToStr(S->get_value(0)), "1");
    EXPECT_EQ(VarToStr(S->get_value(1)), "7");
}

TEST_F(TBancoTeste, NulosBlobsEDatas)
{
    Banco.execCmd("create table T (N integer, B blob, D datetime)");
    const TBytes Bytes{0x00, 0xFF, 0x10, 0x00, 0x7F};
    TMkParams Params{Param(ftInteger, TVarNulo{}), Param(ftBlob, Bytes), Param(ftString, std::string("2020/01/31 10:00:00.000"))};
    Exec("insert into T values (?, ?, ?)", &Params);
    Banco.execCmd("insert into T values (1, x'', 'abc')");
    Banco.execCmd("insert into T values (2, NULL, 43861.5)");

    auto S = Exec("select N, B, D from T order by rowid");
    EXPECT_TRUE(VarIsNull(S->get_value(0)) && S->isNull(0));
    EXPECT_EQ(S->get_value(1), TMkVariant(Bytes));
    EXPECT_EQ(S->storageClass(1), 4);
    EXPECT_EQ(S->get_value(2), TMkVariant(mkStrToDate("2020/01/31 10:00:00.000")));
    S->next();
    EXPECT_EQ(S->get_value(1), TMkVariant(TBytes{}));
    EXPECT_EQ(S->get_value(2), TMkVariant(std::string("abc")));
    S->next();
    EXPECT_EQ(S->get_value(2), TMkVariant(TDataHora{43861.5}));
}

// The first entry of the declared-type map that the type contains decides; without UseDataTypes every
// column is text.
TEST_F(TBancoTeste, TipoDeclarado)
{
    const struct {
        const char* Declarado;
        TFieldType Tipo;
        std::int32_t Tamanho;
    } Casos[] = {{"INTEGER", ftInteger, 0},     {"int", ftString, 0},         {"bigint", ftString, 0},
                 {"number(10)", ftString, 0},   {"varchar(6)", ftString, 6},  {"char(6,2)", ftString, 0},
                 {"nchar(+8)", ftString, 8},    {"double precision", ftFloat, 0}, {"DateTime", ftDateTime, 0},
                 {"date", ftDateTime, 0},       {"clob", ftMemo, 0},          {"blob", ftBlob, 0},
                 {"text", ftString, 0},         {"integer blob", ftInteger, 0}};
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(Caso.Declarado);
        Banco.execCmd(std::string("drop table if exists T; create table T (C ") + Caso.Declarado + ")");
        auto S = Exec("select C from T");
        ASSERT_NE(S->get_field(0), nullptr);
        EXPECT_EQ(S->get_field(0)->DataType, Caso.Tipo);
        EXPECT_EQ(S->get_field(0)->Size, Caso.Tamanho);
        EXPECT_EQ(S->get_field(0)->Name, "C");
    }
    Banco.execCmd("insert into T values (5)");
    Banco.UseDataTypes = false;
    auto Texto = Exec("select C from T");
    EXPECT_EQ(Texto->get_value(0), TMkVariant(std::string("5")));
    EXPECT_EQ(Texto->get_field(0)->DataType, ftString);
}

// Each parameter is bound as its field type says, whatever the variant holds: quote() of the bound
// value tells its storage class too ('text', integer, real with a point, X'blob', NULL).
TEST_F(TBancoTeste, ParametroLigadoComoOTipoDoCampoManda)
{
    const std::pair<TMkParam, const char*> Casos[] = {
        {Param(ftString, std::string("a'b")), "'a''b'"},       {Param(ftMemo, std::int32_t{12}), "'12'"},
        {Param(ftFixedChar, std::string("x")), "'x'"},         {Param(ftWideString, std::string("")), "''"},
        {Param(ftLargeint, std::string("1099511627776")), "1099511627776"},
        {Param(ftSmallint, std::int32_t{-3}), "-3"},           {Param(ftInteger, std::string("42")), "42"},
        {Param(ftWord, 7.0), "7"},                             {Param(ftBoolean, std::string("True")), "1"},
        {Param(ftFloat, 2.5), "2.5"},                          {Param(ftCurrency, std::int32_t{3}), "3.0"},
        {Param(ftBCD, std::string("0.25")), "0.25"},           {Param(ftDate, TDataHora{1.5}), "'1899/12/31 12:00:00.000'"},
        {Param(ftTime, std::string("10:30")), "'1899/12/30 10:30:00.000'"},
        {Param(ftDateTime, TDataHora{-1.25}), "'1899/12/29 06:00:00.000'"},
        {Param(ftBytes, TBytes{0x00, 0xAB}), "X'00AB'"},       {Param(ftVarBytes, TBytes{}), "X''"},
        {Param(ftBlob, TBytes{0x41}), "X'41'"},                {Param(ftUnknown, std::int32_t{1}), "NULL"},
        {Param(ftInteger, TVarNulo{}), "NULL"},                {Param(ftString, TMkVariant{}), "NULL"},
    };
    for (const auto& [Parametro, Citado] : Casos) {
        SCOPED_TRACE(testing::Message() << "field type " << int(Parametro.DataType));
        TMkParams Params{Parametro};
        EXPECT_EQ(VarToStr(Exec("select quote(?1)", &Params)->get_value(0)), Citado);
    }
}

TEST_F(TBancoTeste, ParametrosRecusados)
{
    const std::pair<TMkParam, const char*> Casos[] = {
        {Param(ftAutoInc, std::int32_t{1}), "unknown param type : 14"},
        {Param(ftGuid, std::string("{}")), "unknown param type : 35"},
        {Param(ftBlob, std::string("texto")), "invalid format for blob data"},
        {Param(ftInteger, std::string("doze")), "Could not convert variant of type (String) into type (Integer)"},
    };
    for (const auto& [Parametro, Erro] : Casos) {
        TMkParams Params{Parametro};
        EXPECT_EQ(ErroDe([&] { Exec("select ?", &Params); }), Erro);
    }
    auto S = Banco.createStmt();
    TMkParams AutoInc{Casos[0].first};
    EXPECT_EQ(ErroDe([&] { S->open("select ?", &AutoInc); }), Casos[0].second);
}

TEST_F(TBancoTeste, ParametroPorNome)
{
    auto S = CursorDoServidor(Banco);
    S->open("select :a + 1, :b");
    EXPECT_TRUE(S->isNull(0));  // ran once at open, unbound
    S->reset();
    S->bindParamByName(Param(ftString, std::string("bb"), ":b"));
    S->bindParamByName(Param(ftInteger, std::int32_t{5}, ":a"));
    EXPECT_EQ(ErroDe([&] { S->bindParamByName(Param(ftInteger, std::int32_t{5}, ":c")); }), "parameter not found : :c");
    S->next();
    EXPECT_EQ(VarToStr(S->get_value(0)), "6");
    EXPECT_EQ(S->get_value(1), TMkVariant(std::string("bb")));
}

TEST_F(TBancoTeste, CursorDoServidorSemEComRetain)
{
    Banco.execCmd("create table T (A INTEGER); insert into T values (1),(2)");
    for (const bool Retem : {false, true}) {
        SCOPED_TRACE(Retem ? "retain" : "no retain");
        auto S = CursorDoServidor(Banco);
        S->set_retain(Retem);
        S->open("select A from T order by A");
        EXPECT_NE(S->get_handle(), nullptr);
        EXPECT_EQ(S->rowCount(), -1);
        EXPECT_EQ(S->get_value(0), TMkVariant(std::int32_t{1}));
        EXPECT_EQ(ErroDe([&] { S->first(); }), "wrong cursor state");
        EXPECT_EQ(ErroDe([&] { S->set_value(0, std::int32_t{3}); }), "wrong cursor state");
        S->next();
        EXPECT_EQ(S->get_value(0), TMkVariant(std::int32_t{2}));
        S->next();
        EXPECT_TRUE(S->get_eof());
        EXPECT_EQ(S->storageClass(0), 5);
        if (!Retem) {
            EXPECT_EQ(S->get_handle(), nullptr);
            EXPECT_EQ(ErroDe([&] { S->reset(); }), "cursor closed");
        } else {
            ASSERT_NE(S->get_handle(), nullptr);
            S->reset();
            S->next();
            EXPECT_EQ(S->get_value(0), TMkVariant(std::int32_t{1}));
        }
    }
    EXPECT_EQ(ErroDe([&] { CursorDoServidor(Banco)->reset(); }), "wrong active state");
}

TEST_F(TBancoTeste, FecharOBancoFechaOsCursoresDoServidor)
{
    auto S = CursorDoServidor(Banco);
    S->open("select 1 union all select 2");
    ASSERT_NE(S->get_handle(), nullptr);
    Banco.close();  // SQLite refuses to close with a statement still open
    EXPECT_EQ(S->get_handle(), nullptr);
    EXPECT_EQ(ErroDe([&] { S->reset(); }), "cursor closed");

    Banco.open();
    auto Orfao = Banco.createStmt();
    {
        TMkSqlite Outro;
        Outro.open();
        Orfao = CursorDoServidor(Outro);
        Orfao->open("select 1");
    }
    EXPECT_EQ(Orfao->dataBase(), nullptr);
    EXPECT_EQ(ErroDe([&] { Orfao->open("select 1"); }), "wrong active state");
    Orfao->close();
    EXPECT_EQ(ErroDe([&] { Orfao->open("select 1"); }), "Database is closed");
}

TEST_F(TBancoTeste, TransacoesAninhadasSoEnviamAExterna)
{
    Banco.execCmd("create table T (A integer)");
    TMkSqlite Leitor;
    Leitor.dbName = Arquivo();
    Leitor.open();
    auto Linhas = [&] { return VarToInt(Leitor.exec("select count(*) from T")->get_value(0)); };

    Banco.beginTransaction();
    Banco.beginTransaction();  // would fail in SQLite: no transaction within a transaction
    Banco.execCmd("insert into T values (1)");
    Banco.Commit();
    EXPECT_EQ(Banco.transactionDepth(), 1);
    EXPECT_EQ(Linhas(), 0);
    Banco.Commit();
    EXPECT_EQ(Linhas(), 1);
    Banco.Commit();  // nothing open: nothing sent
    EXPECT_EQ(Banco.transactionDepth(), 0);

    Banco.beginTransaction();
    Banco.beginTransaction();
    Banco.execCmd("insert into T values (2)");
    Banco.RollBack();
    EXPECT_EQ(Banco.transactionDepth(), 0);
    EXPECT_EQ(Linhas(), 1);
    Banco.RollBack();
}

TEST_F(TBancoTeste, BancoTravadoEsperaOStatementTimeout)
{
    Banco.execCmd("create table T (A integer)");
    TMkSqlite Outro;
    Outro.dbName = Arquivo();
    Outro.open();
    Outro.execCmd("begin exclusive");

    struct TCaso {
        std::int32_t Timeout;
        std::chrono::milliseconds Minimo;
    };
    for (const TCaso Caso : {TCaso{0, 0ms}, TCaso{300, 300ms}}) {
        SCOPED_TRACE(Caso.Timeout);
        Banco.StatementTimeout = Caso.Timeout;
        const auto Inicio = std::chrono::steady_clock::now();
        EXPECT_EQ(ErroDe([&] { Exec("insert into T values (1)"); }), "5:database is locked");
        EXPECT_EQ(Banco._exec("insert into T values (1)"), 5);
        const auto Passou = std::chrono::steady_clock::now() - Inicio;
        EXPECT_GE(Passou, Caso.Minimo);
        EXPECT_LT(Passou, 3s);
    }

    // Without a limit the statement waits for the lock to go.
    Banco.StatementTimeout = -1;
    std::thread Libera([&] {
        std::this_thread::sleep_for(200ms);
        Outro.execCmd("commit");
    });
    const auto Inicio = std::chrono::steady_clock::now();
    Banco.execCmd("insert into T values (1)");
    Exec("insert into T values (2)");
    const auto Passou = std::chrono::steady_clock::now() - Inicio;
    Libera.join();
    EXPECT_GE(Passou, 150ms);
    EXPECT_EQ(VarToStr(Exec("select count(*) from T")->get_value(0)), "2");
}

TEST_F(TBancoTeste, ExecComCallBack)
{
    Banco.execCmd("create table T (A integer, B text); insert into T values (1,'um'),(2,'dois'),(3,'tres')");
    std::vector<std::string> Vistos;
    TMkExecCallBack Junta = [&](std::int32_t Colunas, char** Valores, char** Nomes) {
        EXPECT_EQ(Colunas, 2);
        EXPECT_STREQ(Nomes[1], "B");
        Vistos.push_back(Valores[1]);
        return Vistos.size() == 2 ? 1 : 0;
    };
    EXPECT_EQ(Banco._exec("select A, B from T order by A", &Junta), 4);  // stopped by the callback
    EXPECT_EQ(Vistos, (std::vector<std::string>{"um", "dois"}));
    TMkExecCallBack Falha = [](std::int32_t, char**, char**) -> std::int32_t { throw std::logic_error("no meio"); };
    EXPECT_THROW(Banco._exec("select A from T", &Falha), std::logic_error) << "the callback's own exception comes out";
    EXPECT_EQ(ErroDe([&] { Banco.execCmd("insert into Nada values (1)"); }), "1:no such table: Nada");
}

// Counts its installs; fails unless Aceita, or when the database is already active while installing.
struct TExtensaoTeste : TMkSqliteExtension {
    TExtensaoTeste(TMkSqlite* Banco, bool Aceita, int& Chamadas)
        : TMkSqliteExtension(Banco, Aceita ? "boa" : "ruim"), Aceita(Aceita), Chamadas(Chamadas) {}
    bool Install() override { return ++Chamadas, Aceita && DataBase->getdb() == nullptr; }
    bool Aceita;
    int& Chamadas;
};

// Extensions install at every open; one that fails makes the open fail.
TEST(TMkSqlite, ExtensoesInstaladasACadaAbertura)
{
    for (const bool Aceita : {true, false}) {
        TMkSqlite Banco;
        int Chamadas = 0;
        std::vector<std::unique_ptr<TMkSqliteExtension>> Lista;
        Lista.push_back(std::make_unique<TExtensaoTeste>(&Banco, Aceita, Chamadas));
        Banco.registerExtensions(std::move(Lista));
        // getdb inside Install raises for the accepting one: the database is not active yet.
        const std::string Erro = Aceita ? "Database is closed" : "Failed to add Extension ruim";
        EXPECT_EQ(ErroDe([&] { Banco.open(); }), Erro);
        EXPECT_EQ(ErroDe([&] { Banco.open(); }), Erro);
        EXPECT_EQ(Chamadas, 2);
        EXPECT_FALSE(Banco.active());
    }
}
