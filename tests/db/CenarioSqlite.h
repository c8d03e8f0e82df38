#pragma once
// The failure paths of the SQLite binding run in processes of their own (a bound library stays
// bound), each started by CTest with the library it needs; see tests/db/CMakeLists.txt.
#include "db/MkSqLite3Api.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

inline std::string CenarioSqlite()
{
    const char* Cenario = std::getenv("KOVAN_TESTE_SQLITE");
    return Cenario ? Cenario : "";
}

/// Skips the test unless this process was started for the failure path Nome.
#define KOVAN_EXIGE_CENARIO(Nome)                                                                        \
    if (CenarioSqlite() != Nome)                                                                         \
    GTEST_SKIP() << "runs only when started with KOVAN_TESTE_SQLITE=" Nome " and its stand-in library"

/// The ESqlite Fazer raises, if any. Every failure of db/ is an ESqlite: any other exception escapes
/// and fails the test.
template <class TAcao>
std::optional<ESqlite> FalhaDe(TAcao&& Fazer)
{
    try {
        Fazer();
    } catch (const ESqlite& E) {
        return E;
    }
    return std::nullopt;
}

/// The message of the error Fazer raises, or "(no error)".
template <class TAcao>
std::string ErroDe(TAcao&& Fazer)
{
    const std::optional<ESqlite> E = FalhaDe(Fazer);
    return E ? E->what() : "(no error)";
}
