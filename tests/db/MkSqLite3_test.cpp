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

    TRaizTeste Raiz;
    TMkSqlite Banco;
};

// Refuses its install.
struct TExtensaoRecusada : TMkSqliteExtension {
    using TMkSqliteExtension::TMkSqliteExtension;
    bool Install() override { return false; }
};

} // namespace

// A closed database refuses work; an empty name is a private in-memory database, and an open that
// fails says why with SQLite's code and creates nothing.
TEST(TMkSqlite, AberturaEFechamento)
{
    TMkSqlite Banco;
    EXPECT_EQ(ErroDe([&] { Banco.getdb(); }), "Database is closed");
    EXPECT_EQ(ErroDe([&] { Banco.exec("select 1"); }), "Database is closed");
    Banco.open();
    EXPECT_TRUE(Banco.active());
    EXPECT_EQ(VarToStr(Banco.exec("PRAGMA database_list")->get_valueof("file")), "");
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

// A client cursor reads every row at open and holds nothing open on the file; without rows it is at
// eof with nothing to read. An SQLite failure reads "<code>:<SQLite's message>" through either path.
TEST_F(TBancoTeste, CursorDoClienteLeTodasAsLinhas)
{
    Banco.execCmd("create table T (Id INTEGER, Nome varchar(6))");
    auto Vazia = Exec("select Id, Nome from T");
    EXPECT_TRUE(Vazia->get_eof() && Vazia->get_active());
    EXPECT_EQ(Vazia->rowCount(), -1);
    EXPECT_TRUE(VarIsEmpty(Vazia->get_value(0)));
    Exec("insert into T values (1,'a'),(2,'b'),(3,'c')");
    EXPECT_EQ(Banco.changeCount(), 3);
    EXPECT_EQ(ErroDe([&] { Exec("select * from Nada"); }), "1:no such table: Nada");
    EXPECT_EQ(ErroDe([&] { Banco.execCmd("insert into Nada values (1)"); }), "1:no such table: Nada");
    EXPECT_EQ(Exec("select count(*) from T")->get_value(0), TMkVariant(std::string("3")));

    auto S = Exec("select Id, Nome from T order by Id");
    EXPECT_EQ(S->get_handle(), nullptr);
    EXPECT_EQ(S->rowCount(), 3);
    EXPECT_EQ(S->get_value(0), TMkVariant(std::int32_t{1}));
    S->next();
    S->next();
    EXPECT_EQ(S->get_value(1), TMkVariant(std::string("c")));
    S->next();
    EXPECT_TRUE(S->get_eof());
    S->close();
    EXPECT_FALSE(S->get_active());
    EXPECT_EQ(S->rowCount(), -1);
}

// The first entry of the declared-type map that the type contains decides.
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
}

// A transaction (the demo database is built in one) reaches the file at the commit that ends the
// outermost begin, the only begin sent to SQLite; a rollback (used by no module code) drops the whole.
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
    EXPECT_EQ(Linhas(), 0);
    Banco.Commit();
    EXPECT_EQ(Linhas(), 1);
    Banco.beginTransaction();
    Banco.execCmd("insert into T values (2)");
    Banco.RollBack();
    EXPECT_EQ(Linhas(), 1);
}

// By default a statement waits as long as the database is locked; with StatementTimeout 0 it fails at
// once.
TEST_F(TBancoTeste, BancoTravadoEsperaSemLimitePorPadrao)
{
    Banco.execCmd("create table T (A integer)");
    TMkSqlite Outro;
    Outro.dbName = Arquivo();
    Outro.open();
    Outro.execCmd("begin exclusive");
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

    Outro.execCmd("begin exclusive");
    Banco.StatementTimeout = 0;
    EXPECT_EQ(ErroDe([&] { Exec("insert into T values (3)"); }), "5:database is locked");
    EXPECT_EQ(Banco._exec("insert into T values (3)"), 5);
}

// What follows is used by no module code: one case each.

// Each statement of the text is bound and run in turn, the last one's rows kept; a parameter goes in
// as its field type says, whatever the variant holds.
TEST_F(TBancoTeste, ParametrosEmCadaInstrucaoDoTexto)
{
    Banco.execCmd("create table T (A integer)");
    TMkParams Params{TMkParam{"", ftInteger, std::string("7")}};
    auto S = Exec("insert into T values (?);\n  select count(*), quote(?) from T;  ", &Params);
    EXPECT_EQ(S->rowCount(), 1);
    EXPECT_EQ(VarToStr(S->get_value(0)), "1");
    EXPECT_EQ(VarToStr(S->get_value(1)), "7");
}

// A server cursor reads live, cannot go back, and lets go of its statement when the database closes.
TEST_F(TBancoTeste, CursorDoServidor)
{
    auto S = Banco.createStmt();
    S->set_serverCursor(true);
    S->open("select 1 union all select 2");
    ASSERT_NE(S->get_handle(), nullptr);
    EXPECT_EQ(S->rowCount(), -1);
    EXPECT_EQ(ErroDe([&] { S->first(); }), "wrong cursor state");
    S->next();
    EXPECT_EQ(VarToStr(S->get_value(0)), "2");
    Banco.close();  // SQLite refuses to close with a statement still open
    EXPECT_EQ(S->get_handle(), nullptr);
    EXPECT_EQ(ErroDe([&] { S->reset(); }), "cursor closed");
}

TEST_F(TBancoTeste, ExecComCallBackQueParaNaSegundaLinha)
{
    Banco.execCmd("create table T (A integer, B text); insert into T values (1,'um'),(2,'dois'),(3,'tres')");
    std::vector<std::string> Vistos;
    TMkExecCallBack Junta = [&](std::int32_t, char** Valores, char**) {
        Vistos.push_back(Valores[1]);
        return Vistos.size() == 2 ? 1 : 0;
    };
    EXPECT_EQ(Banco._exec("select A, B from T order by A", &Junta), 4);
    EXPECT_EQ(Vistos, (std::vector<std::string>{"um", "dois"}));
}

TEST(TMkSqlite, ExtensaoRecusadaFalhaAAbertura)
{
    TMkSqlite Banco;
    std::vector<std::unique_ptr<TMkSqliteExtension>> Lista;
    Lista.push_back(std::make_unique<TExtensaoRecusada>(&Banco, "ruim"));
    Banco.registerExtensions(std::move(Lista));
    EXPECT_EQ(ErroDe([&] { Banco.open(); }), "Failed to add Extension ruim");
    EXPECT_FALSE(Banco.active());
}
