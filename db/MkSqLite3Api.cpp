#include "db/MkSqLite3Api.h"

#include "platform/DynLib.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

TSqliteApi Api;

namespace {

bool Carregada = false;

template <class Ponteiro>
bool Liga(TBibliotecaDinamica& Biblioteca, const char* Nome, Ponteiro& Destino) noexcept
{
    Destino = reinterpret_cast<Ponteiro>(Biblioteca.Simbolo(Nome));
    return Destino != nullptr;
}

// "3.40.1" becomes "3.40.1.0": the four numbers a file version has elsewhere.
std::string QuatroPartes(std::string Versao)
{
    int Pontos = 0;
    for (char C : Versao)
        Pontos += C == '.';
    for (; Pontos < 3; ++Pontos)
        Versao += ".0";
    return Versao;
}

} // namespace

void LevantaErroSqlite(const std::string& Texto)
{
    throw ESqlite(TTipoErroSqlite::Camada, Texto);
}

bool SqliteCarregada() noexcept
{
    return Carregada;
}

std::string NomeBibliotecaSqlite()
{
    if (const char* Outro = std::getenv("KOVAN_SQLITE_LIBRARY"); Outro && *Outro)
        return Outro;
    // The loader's search does not look in the current directory; Windows does, and first. Library
    // names keep their case here, so the name must match exactly.
    std::error_code Erro;
    if (std::filesystem::is_regular_file(SQLITEDLL, Erro))
        return std::string("./") + SQLITEDLL;
    return SQLITEDLL;
}

void CheckSqliteLoaded()
{
    if (Carregada)
        return;
    TBibliotecaDinamica Biblioteca;
    const std::string Nome = NomeBibliotecaSqlite();
    if (!Biblioteca.Abre(Nome))
        throw ESqlite(TTipoErroSqlite::BibliotecaAusente, Nome + ": " + Biblioteca.UltimoErro());
    TSqliteApi Novas;
#define KOVAN_SQLITE_LIGA(Nome, Assinatura)                                                            \
    if (!Liga(Biblioteca, #Nome, Novas.Nome))                                                          \
        throw ESqlite(TTipoErroSqlite::FuncaoAusente, "sqlite missing function " #Nome);
    KOVAN_SQLITE_FUNCOES(KOVAN_SQLITE_LIGA)
#undef KOVAN_SQLITE_LIGA
    Api = Novas;
    Biblioteca.Retem();
    Carregada = true;
}

bool LocalizaBibliotecaSqlite(std::string& Versao) noexcept
{
    try {
        TBibliotecaDinamica Biblioteca;
        if (!Biblioteca.Abre(NomeBibliotecaSqlite()))
            return false;
        Versao.clear();
        auto Funcao = reinterpret_cast<const char* (*)()>(Biblioteca.Simbolo("sqlite3_libversion"));
        if (Funcao)
            if (const char* Texto = Funcao(); Texto && *Texto)
                Versao = QuatroPartes(Texto);
        // Probing leaves the library as it found it: loaded only if it was bound before.
        return true;
    } catch (...) {
        return false;
    }
}

bool PodeRepetir(std::int32_t Limite, std::chrono::steady_clock::time_point Inicio, std::int32_t EsperaSqlite)
{
    if (Limite == 0)
        return false;
    if (Limite > 0 && std::chrono::steady_clock::now() - Inicio >= std::chrono::milliseconds(Limite))
        return false;
    // Without SQLite's own wait, a busy answer comes back at once; don't spin on it.
    if (EsperaSqlite <= 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

static_assert(sizeof(TSqliteApi) == QuantidadeFuncoesSqlite * sizeof(void (*)()), "one entry point per function");
