#include "db/MkSqLite3Api.h"

#include "db/CenarioSqlite.h"
#include "db/MkSqLite3.h"
#include "RaizTeste.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

// Binding fills every entry point; the library found reports its version with a fourth number.
TEST(CheckSqliteLoaded, LigaAsSessentaEUmaFuncoesDaBibliotecaDoSistema)
{
    CheckSqliteLoaded();
    EXPECT_TRUE(SqliteCarregada());
#define KOVAN_CONFERE(Nome, Assinatura) EXPECT_NE(Api.Nome, nullptr) << #Nome;
    KOVAN_SQLITE_FUNCOES(KOVAN_CONFERE)
#undef KOVAN_CONFERE
    EXPECT_STREQ(Api.sqlite3_libversion(), TMkSqlite().version().c_str());
    CheckSqliteLoaded();  // bound once; a second call changes nothing
    EXPECT_TRUE(SqliteCarregada());
    std::string Versao;
    ASSERT_TRUE(LocalizaBibliotecaSqlite(Versao));
    EXPECT_EQ(Versao, std::string(Api.sqlite3_libversion()) + ".0");
}

// What the loader is given: KOVAN_SQLITE_LIBRARY (unset in this run), else a library in the current
// directory, else the name for the system's search.
TEST(NomeBibliotecaSqlite, VariavelDeAmbienteDiretorioAtualEBuscaDoSistema)
{
    TRaizTeste Raiz;
    const std::filesystem::path Anterior = std::filesystem::current_path();
    std::filesystem::current_path(Raiz.Pasta);
    EXPECT_EQ(NomeBibliotecaSqlite(), "libsqlite3.so.0");
    TRaizTeste::Grava(Raiz.Pasta / "libsqlite3.so.0", "");
    EXPECT_EQ(NomeBibliotecaSqlite(), "./libsqlite3.so.0");
    setenv("KOVAN_SQLITE_LIBRARY", "/outra/libsqlite3.so", 1);
    EXPECT_EQ(NomeBibliotecaSqlite(), "/outra/libsqlite3.so");
    unsetenv("KOVAN_SQLITE_LIBRARY");
    std::filesystem::current_path(Anterior);
}

TEST(SqliteAusente, BibliotecaAusenteENovaTentativaACadaChamada)
{
    KOVAN_EXIGE_CENARIO("Ausente");
    const auto Ausente = std::optional(TTipoErroSqlite::BibliotecaAusente);
    EXPECT_EQ(TipoErroDe(CheckSqliteLoaded), Ausente);
    EXPECT_EQ(TipoErroDe(CheckSqliteLoaded), Ausente);
    EXPECT_NE(ErroDe(CheckSqliteLoaded).find(std::getenv("KOVAN_SQLITE_LIBRARY")), std::string::npos)
        << "the text names the library that was looked for";
    EXPECT_FALSE(SqliteCarregada());
    std::string Versao = "antes";
    EXPECT_FALSE(LocalizaBibliotecaSqlite(Versao));
    EXPECT_EQ(TipoErroDe([] { TMkSqlite().open(); }), Ausente);
    EXPECT_EQ(TipoErroDe([] { (void)TMkSqlite().version(); }), Ausente);
}

TEST(SqliteSemFuncao, PrimeiraFuncaoQueFaltaENovaTentativa)
{
    KOVAN_EXIGE_CENARIO("SemFuncao");
    const std::string Esperado = "sqlite missing function sqlite3_bind_parameter_index";
    EXPECT_EQ(ErroDe(CheckSqliteLoaded), Esperado);
    EXPECT_FALSE(SqliteCarregada());
    EXPECT_EQ(TipoErroDe(CheckSqliteLoaded), std::optional(TTipoErroSqlite::FuncaoAusente));
    EXPECT_EQ(ErroDe([] { TMkSqlite().open(); }), Esperado);
    std::string Versao;
    EXPECT_TRUE(LocalizaBibliotecaSqlite(Versao));
    EXPECT_EQ(Versao, "3.40.1.0");
}

TEST(SqliteAntiga, ACamadaLigaEInformaAVersao)
{
    KOVAN_EXIGE_CENARIO("Antiga");
    EXPECT_EQ(TMkSqlite().version(), "3.9.2");
    EXPECT_TRUE(SqliteCarregada());
    std::string Versao;
    EXPECT_TRUE(LocalizaBibliotecaSqlite(Versao));
    EXPECT_EQ(Versao, "3.9.2.0");
}
