#include "db/ApiBanco.h"

#include "db/CenarioSqlite.h"
#include "host/BancoDemo.h"
#include "RaizTeste.h"

#include <gtest/gtest.h>

namespace {

// A server root whose config/prods/prods.db is the demo group database; the module names the
// folder "Config", as the base screen does.
class TBancoGrupos : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string Erro;
        std::filesystem::create_directories(Arquivo().parent_path());
        if (CenarioSqlite().empty())
            ASSERT_TRUE(CriaBancoGruposDemo(Arquivo().string(), Erro)) << Erro;
        else
            TRaizTeste::Grava(Arquivo(), "");  // no library to build one with: the file merely exists
    }
    void TearDown() override { FinalizaBanco(); }

    std::filesystem::path Arquivo() const { return Raiz.Raiz / "config" / "prods" / "prods.db"; }
    std::string Base() const { return Raiz.RaizTexto() + "\\Config"; }
    // Changes the demo database behind the module's back.
    void Altera(const std::string& Sql)
    {
        TMkSqlite Banco;
        Banco.dbName = Arquivo().string();
        Banco.open();
        Banco.execCmd(Sql);
    }
    TRaizTeste Raiz;
};

using TLista = std::vector<std::string>;

} // namespace

// The database opens in WAL with foreign keys and full sync. Without the file nothing opens and
// nothing is created in its place.
TEST_F(TBancoGrupos, AbreEmWalEUsavel)
{
    ASSERT_TRUE(InicializaVerificaBanco(Base()));
    ASSERT_TRUE(db && db->active());
    EXPECT_EQ(VarToStr(db->exec("PRAGMA journal_mode")->get_value(0)), "wal");
    EXPECT_EQ(db->getPragmaValue("foreign_keys"), 1);
    EXPECT_EQ(db->getPragmaValue("synchronous"), 2);
    FinalizaBanco();
    EXPECT_FALSE(PodeUsarBanco);
    EXPECT_EQ(db, nullptr);

    std::filesystem::remove(Arquivo());
    EXPECT_FALSE(InicializaVerificaBanco(Base()));
    EXPECT_FALSE(std::filesystem::exists(Arquivo()));
}

// Below patch 13 the database is open but not usable (what a query then answers:
// SemBancoUtilizavelNadaResponde); a missing or empty patch level raises.
TEST_F(TBancoGrupos, NivelDePatch)
{
    for (const int Nivel : {12, 13, 14}) {
        SCOPED_TRACE(Nivel);
        Altera("update Patch set Id = " + std::to_string(Nivel));
        EXPECT_EQ(InicializaVerificaBanco(Base()), Nivel >= 13);
        EXPECT_EQ(PodeUsarBanco, Nivel >= 13);
        EXPECT_TRUE(db->active());
        FinalizaBanco();
    }
    Altera("delete from Patch");
    EXPECT_EQ(ErroDe([&] { InicializaVerificaBanco(Base()); }), "'' is not a valid integer value");
    EXPECT_FALSE(PodeUsarBanco);
    Altera("drop table Patch");
    EXPECT_EQ(ErroDe([&] { InicializaVerificaBanco(Base()); }), "1:no such table: Patch");
}

TEST_F(TBancoGrupos, GrupoHabilitado)
{
    const std::pair<const char*, bool> Casos[] = {{"", true},
                                                  {"delete from GRUPO_IF_HAB where IF_Kovan = 171", false},
                                                  {"update GRUPO_IF_HAB set Hab = 2 where IF_Kovan = 171", false}};
    for (const auto& [Sql, Habilitado] : Casos) {
        SCOPED_TRACE(Sql);
        if (*Sql)
            Altera(Sql);
        ASSERT_TRUE(InicializaVerificaBanco(Base()));
        EXPECT_EQ(GrupoHabilitado(171), Habilitado);
        FinalizaBanco();
    }
    Altera("drop table GRUPO_IF_HAB; create table GRUPO_IF_HAB (IF_Kovan INTEGER, Hab); "
           "insert into GRUPO_IF_HAB values (171, 'sim')");
    ASSERT_TRUE(InicializaVerificaBanco(Base()));
    EXPECT_EQ(ErroDe([] { GrupoHabilitado(171); }), "Could not convert variant of type (String) into type (Integer)");
}

TEST_F(TBancoGrupos, GruposEValoresComAspas)
{
    ASSERT_TRUE(InicializaVerificaBanco(Base()));
    TLista Grupos{"999999"};
    EXPECT_TRUE(RetornaGrupos(Grupos));
    EXPECT_EQ(Grupos, (TLista{"999999", "000001", "000002"}));
    EXPECT_TRUE(ExisteGrupo("000001"));
    EXPECT_FALSE(ExisteGrupo("000003"));
    EXPECT_FALSE(ExisteGrupo("x\" or \"1\"=\"1"));  // stays one value

    Altera("delete from GRUPO_EMPRESA; delete from GRUPO_IF_ESTAB; delete from GRUPO");
    EXPECT_FALSE(RetornaGrupos(Grupos));
    EXPECT_EQ(Grupos.size(), 3u);
}

// No screen asks these yet; one pass: a company's group and a group's companies, and a group's
// establishment codes for a network recorded, found, replaced and removed, only for a known group.
TEST_F(TBancoGrupos, EmpresasECodigosDeEstabelecimento)
{
    ASSERT_TRUE(InicializaVerificaBanco(Base()));
    TLista Empresas;
    EXPECT_TRUE(RetornaEmpresas("000001", Empresas));
    EXPECT_EQ(Empresas, (TLista{"00000123", "00000456"}));
    std::string Texto;
    EXPECT_TRUE(RetornaGrupo("00000789", Texto));
    EXPECT_EQ(Texto, "000002");
    EXPECT_TRUE(ExisteCodigoGrupo(171, "54321", 11, 5));
    EXPECT_TRUE(ExisteEstabGrupo(171, "54321", 11, 5, "000002"));
    EXPECT_FALSE(ExisteEstabGrupo(171, "54321", 11, 5, "000001"));  // only its own group has it
    EXPECT_TRUE(ExisteEstabSemGrupo(171, "000002", "000000000054321"));

    EXPECT_TRUE(InsereEstabelecimento(171, "000001", "000000000011111"));
    EXPECT_FALSE(InsereEstabelecimento(171, "000003", "000000000022222"));
    EXPECT_TRUE(RetornaEstabelecimento(171, "000001", Texto));
    EXPECT_EQ(Texto, "000000000011111");  // the lowest
    EXPECT_TRUE(AtualizaEstabelecimento(171, "000001", "000000000012345"));
    EXPECT_TRUE(ExisteCodigoEstabGrupo(171, "000000000012345"));
    EXPECT_TRUE(RemoveEstabelecimento("000001", "000000000012345"));
    EXPECT_FALSE(RemoveEstabelecimento("000001", "000000000012345"));
    EXPECT_FALSE(RetornaEstabGrupo("000001", 171, Texto));
}

// Until the database has been found usable nothing answers, and the list is left alone.
TEST_F(TBancoGrupos, SemBancoUtilizavelNadaResponde)
{
    FinalizaBanco();
    TLista Lista{"x"};
    EXPECT_FALSE(GrupoHabilitado(171));
    EXPECT_FALSE(RetornaGrupos(Lista));
    EXPECT_FALSE(ExisteGrupo("000001"));
    EXPECT_EQ(Lista, TLista{"x"});
}

TEST(CriaBancoGruposDemo, CaminhoImpossivelDizPorque)
{
    TRaizTeste Raiz;
    std::string Erro;
    EXPECT_FALSE(CriaBancoGruposDemo((Raiz.Pasta / "falta" / "prods.db").string(), Erro));
    EXPECT_EQ(Erro, "14:unable to open database file");
}

// Without a usable library nothing opens, even with the database file in place; a library that
// lacks a function says which.
class SqliteAusente : public TBancoGrupos {};
class SqliteAntiga : public TBancoGrupos {};
class SqliteSemFuncao : public TBancoGrupos {};

TEST_F(SqliteAusente, FalsoMesmoComOArquivoDoBanco)
{
    KOVAN_EXIGE_CENARIO("Ausente");
    EXPECT_FALSE(InicializaVerificaBanco(Base()));
    EXPECT_FALSE(PodeUsarBanco);
}

TEST_F(SqliteAntiga, Recusada)
{
    KOVAN_EXIGE_CENARIO("Antiga");
    EXPECT_FALSE(InicializaVerificaBanco(Base()));
    EXPECT_FALSE(PodeUsarBanco);
}

TEST_F(SqliteSemFuncao, LevantaAoAbrir)
{
    KOVAN_EXIGE_CENARIO("SemFuncao");
    EXPECT_EQ(ErroDe([&] { InicializaVerificaBanco(Base()); }), "sqlite missing function sqlite3_bind_parameter_index");
    EXPECT_FALSE(PodeUsarBanco);
}
