#include "db/MkSqLite3.h"

#include "db/CenarioSqlite.h"
#include "RaizTeste.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A database file in a fresh temporary directory; Abre opens another connection to it.
class TBancoTeste : public ::testing::Test {
protected:
    void SetUp() override { Abre(Banco); }
    void Abre(TMkSqlite& Conexao) const
    {
        Conexao.dbName = (Raiz.Pasta / "teste.db").string();
        Conexao.open();
    }

    TRaizTeste Raiz;
    TMkSqlite Banco;
};

} // namespace

// An empty name is a private in-memory database; a closed database refuses work, and an open that
// fails says why with SQLite's code and creates nothing.
TEST(TMkSqlite, AberturaEFechamento)
{
    TMkSqlite Banco;
    Banco.open();
    EXPECT_EQ(VarToStr(Banco.exec("PRAGMA database_list")->get_valueof("file")), "");
    Banco.close();
    Banco.close();
    EXPECT_EQ(ErroDe([&] { Banco.exec("select 1"); }), "Database is closed");

    TRaizTeste Raiz;
    Banco.dbName = (Raiz.Pasta / "nao-existe" / "x.db").string();
    EXPECT_EQ(ErroDe([&] { Banco.open(); }), "14:unable to open database file");
    EXPECT_FALSE(Banco.active());
    EXPECT_FALSE(std::filesystem::exists(Raiz.Pasta / "nao-existe"));
}

// A client cursor reads every row at open and holds nothing open on the file. An SQLite failure reads
// "<code>:<SQLite's message>".
TEST_F(TBancoTeste, CursorDoClienteLeTodasAsLinhas)
{
    Banco.execCmd("create table T (Id INTEGER, Nome varchar(6))");
    Banco.exec("insert into T values (1,'a'),(2,'b'),(3,'c')");
    EXPECT_EQ(Banco.changeCount(), 3);
    EXPECT_EQ(ErroDe([&] { Banco.execCmd("insert into Nada values (1)"); }), "1:no such table: Nada");

    auto S = Banco.exec("select Id, Nome from T order by Id");
    EXPECT_EQ(S->get_handle(), nullptr);
    EXPECT_EQ(S->rowCount(), 3);
    EXPECT_EQ(S->get_value(0), TMkVariant(std::int32_t{1}));
    S->next();
    S->next();
    EXPECT_EQ(S->get_value(1), TMkVariant(std::string("c")));
    S->next();
    EXPECT_TRUE(S->get_eof());
    S->close();
    EXPECT_EQ(S->rowCount(), -1);
}

// The first entry of the declared-type map that the type contains decides.
TEST_F(TBancoTeste, TipoDeclarado)
{
    const struct {
        const char* Declarado;
        TFieldType Tipo;
        std::int32_t Tamanho;
    } Casos[] = {{"INTEGER", ftInteger, 0},   {"bigint", ftString, 0},      {"number(10)", ftString, 0},
                 {"varchar(6)", ftString, 6}, {"char(6,2)", ftString, 0},   {"nchar(+8)", ftString, 8},
                 {"double precision", ftFloat, 0}, {"DateTime", ftDateTime, 0}, {"clob", ftMemo, 0},
                 {"blob", ftBlob, 0},         {"integer blob", ftInteger, 0}};
    for (const auto& Caso : Casos) {
        SCOPED_TRACE(Caso.Declarado);
        Banco.execCmd(std::string("drop table if exists T; create table T (C ") + Caso.Declarado + ")");
        auto S = Banco.exec("select C from T");
        ASSERT_NE(S->get_field(0), nullptr);
        EXPECT_EQ(S->get_field(0)->DataType, Caso.Tipo);
        EXPECT_EQ(S->get_field(0)->Size, Caso.Tamanho);
    }
}

// A transaction (the demo database is built in one) reaches the file at the commit that ends the
// outermost begin, the only begin sent to SQLite; a rollback drops the whole.
TEST_F(TBancoTeste, TransacoesAninhadasSoEnviamAExterna)
{
    Banco.execCmd("create table T (A integer)");
    TMkSqlite Leitor;
    Abre(Leitor);
    auto Linhas = [&] { return VarToInt(Leitor.exec("select count(*) from T")->get_value(0)); };

    Banco.beginTransaction();
    Banco.beginTransaction();  // would fail in SQLite: no transaction within a transaction
    Banco.execCmd("insert into T values (1)");
    Banco.Commit();
    EXPECT_EQ(Linhas(), 0);
    Banco.Commit();
    EXPECT_EQ(Linhas(), 1);
    Banco.beginTransaction();
    Banco.execCmd("insert into T values (2)");
    Banco.RollBack();
    EXPECT_EQ(Linhas(), 1);
}

// By default a statement waits as long as the database is locked, through either path; with
// StatementTimeout 0 it fails at once.
TEST_F(TBancoTeste, BancoTravadoEsperaSemLimitePorPadrao)
{
    Banco.execCmd("create table T (A integer)");
    TMkSqlite Outro;
    Abre(Outro);
    Outro.execCmd("begin exclusive");
    std::thread Libera([&] {
        std::this_thread::sleep_for(200ms);
        Outro.execCmd("commit");
    });
    const auto Inicio = std::chrono::steady_clock::now();
    Banco.execCmd("insert into T values (1)");
    Banco.exec("insert into T values (2)");
    const auto Passou = std::chrono::steady_clock::now() - Inicio;
    Libera.join();
    EXPECT_GE(Passou, 150ms);
    EXPECT_EQ(VarToStr(Banco.exec("select count(*) from T")->get_value(0)), "2");

    Outro.execCmd("begin exclusive");
    Banco.StatementTimeout = 0;
    EXPECT_EQ(ErroDe([&] { Banco.exec("insert into T values (3)"); }), "5:database is locked");
    EXPECT_EQ(Banco._exec("insert into T values (3)"), 5);
}
