#include "db/MkSqLite3Api.h"

#include "db/CenarioSqlite.h"
#include "db/MkSqLite3.h"
#include "RaizTeste.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Runs in another directory (and without KOVAN_SQLITE_LIBRARY) for the life of the object.
class TNaPasta {
public:
    explicit TNaPasta(const std::filesystem::path& Pasta) : Anterior(std::filesystem::current_path())
    {
        if (const char* Valor = std::getenv("KOVAN_SQLITE_LIBRARY"))
            Ambiente = Valor;
        unsetenv("KOVAN_SQLITE_LIBRARY");
        std::filesystem::current_path(Pasta);
    }
    ~TNaPasta()
    {
        std::filesystem::current_path(Anterior);
        if (!Ambiente.empty())
            setenv("KOVAN_SQLITE_LIBRARY", Ambiente.c_str(), 1);
    }

private:
    std::filesystem::path Anterior;
    std::string Ambiente;
};

} // namespace

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
}

TEST(NomeBibliotecaSqlite, VariavelDeAmbienteDiretorioAtualEBuscaDoSistema)
{
    TRaizTeste Raiz;
    TNaPasta Aqui(Raiz.Pasta);
    EXPECT_EQ(NomeBibliotecaSqlite(), "libsqlite3.so.0");
    TRaizTeste::Grava(Raiz.Pasta / "libsqlite3.so.0", "");
    EXPECT_EQ(NomeBibliotecaSqlite(), "./libsqlite3.so.0");
    setenv("KOVAN_SQLITE_LIBRARY", "/outra/libsqlite3.so", 1);
    EXPECT_EQ(NomeBibliotecaSqlite(), "/outra/libsqlite3.so");
    unsetenv("KOVAN_SQLITE_LIBRARY");
}

// The version the library reports, with a fourth number; a library in the current directory comes
// before the system's search.
TEST(LocalizaBibliotecaSqlite, VersaoDaBibliotecaDoDiretorioAtualOuDoSistema)
{
    std::string Versao;
    ASSERT_TRUE(LocalizaBibliotecaSqlite(Versao));
    EXPECT_EQ(Versao, std::string(TMkSqlite().version()) + ".0");
    const char* Antiga = std::getenv("KOVAN_SQLITE_ANTIGA");
    if (!Antiga)
        GTEST_SKIP() << "KOVAN_SQLITE_ANTIGA (the stand-in reporting 3.9.2) is set by CTest";
    TRaizTeste Raiz;
    std::filesystem::copy_file(Antiga, Raiz.Pasta / "libsqlite3.so.0");
    TNaPasta Aqui(Raiz.Pasta);
    ASSERT_TRUE(LocalizaBibliotecaSqlite(Versao));
    EXPECT_EQ(Versao, "3.9.2.0");
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
    TMkSqlite Banco;
    EXPECT_EQ(TipoErroDe([] { TMkSqlite().open(); }), Ausente);
    EXPECT_EQ(TipoErroDe([] { (void)TMkSqlite().version(); }), Ausente);
    EXPECT_FALSE(Banco.active());
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
