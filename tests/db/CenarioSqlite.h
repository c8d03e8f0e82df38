#pragma once
// Helpers of the database tests. The failure paths of the SQLite binding run in processes of their
// own (a bound library stays bound), each started by CTest with the library it needs; see
// tests/db/CMakeLists.txt.
#include <cstdlib>
#include <gtest/gtest.h>
#include <stdexcept>
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

/// The message of the error Fazer raises, or "(no error)".
template <class TAcao>
std::string ErroDe(TAcao&& Fazer)
{
    try {
        Fazer();
    } catch (const std::runtime_error& E) {
        return E.what();
    }
    return "(no error)";
}
