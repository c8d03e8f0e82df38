#include "db/MkSqLite3Api.h"

#include "db/CenarioSqlite.h"
#include "db/MkSqLite3.h"
#include "RaizTeste.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

// The system's search and KOVAN_SQLITE_LIBRARY are what every other run loads through; a library in
// the current directory comes first.
TEST(NomeBibliotecaSqlite, DiretorioAtualAntesDaBuscaDoSistema)
{
    TRaizTeste Raiz;
    const std::filesystem::path Anterior = std::filesystem::current_path();
    std::filesystem::current_path(Raiz.Pasta);
    TRaizTeste::Grava(Raiz.Pasta / "libsqlite3.so.0", "");
    EXPECT_EQ(NomeBibliotecaSqlite(), "./libsqlite3.so.0");
    std::filesystem::current_path(Anterior);
}

TEST(SqliteAusente, BibliotecaAusenteENovaTentativaACadaChamada)
{
    KOVAN_EXIGE_CENARIO("Ausente");
    EXPECT_EQ(FalhaDe(CheckSqliteLoaded).value().Tipo(), TTipoErroSqlite::BibliotecaAusente);
    EXPECT_EQ(FalhaDe([] { TMkSqlite().open(); }).value().Tipo(), TTipoErroSqlite::BibliotecaAusente);
    EXPECT_NE(ErroDe(CheckSqliteLoaded).find(std::getenv("KOVAN_SQLITE_LIBRARY")), std::string::npos)
        << "the text names the library that was looked for";
    std::string Versao;
    EXPECT_FALSE(LocalizaBibliotecaSqlite(Versao));
}

TEST(SqliteSemFuncao, PrimeiraFuncaoQueFaltaENovaTentativa)
{
    KOVAN_EXIGE_CENARIO("SemFuncao");
    EXPECT_EQ(FalhaDe(CheckSqliteLoaded).value().Tipo(), TTipoErroSqlite::FuncaoAusente);
    EXPECT_EQ(ErroDe(CheckSqliteLoaded), "sqlite missing function sqlite3_bind_parameter_index");
}

TEST(SqliteAntiga, ACamadaLigaEInformaAVersao)
{
    KOVAN_EXIGE_CENARIO("Antiga");
    EXPECT_EQ(TMkSqlite().version(), "3.9.2");
    std::string Versao;
    EXPECT_TRUE(LocalizaBibliotecaSqlite(Versao));
    EXPECT_EQ(Versao, "3.9.2.0");
}
