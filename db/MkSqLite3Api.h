#pragma once
// MkSqLite3Api: the SQLite library, loaded at run time and bound function by function. Nothing links
// against SQLite; a server that lacks the library still loads the module, and only opening a
// database fails.
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <type_traits>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_context;
struct sqlite3_value;
using sqlite3_int64 = long long;

/// The library file. It is looked for in the current directory first, then through the system's
/// library search; the environment variable KOVAN_SQLITE_LIBRARY names another file instead.
inline constexpr const char* SQLITEDLL = "libsqlite3.so.0";

// The entry points, in the order they are bound: name and C signature.
#define KOVAN_SQLITE_FUNCOES(X)                                                                        \
    X(sqlite3_libversion, const char*())                                                               \
    X(sqlite3_close, int(sqlite3*))                                                                    \
    X(sqlite3_exec, int(sqlite3*, const char*, int (*)(void*, int, char**, char**), void*, char**))    \
    X(sqlite3_last_insert_rowid, sqlite3_int64(sqlite3*))                                              \
    X(sqlite3_changes, int(sqlite3*))                                                                  \
    X(sqlite3_total_changes, int(sqlite3*))                                                            \
    X(sqlite3_interrupt, void(sqlite3*))                                                               \
    X(sqlite3_complete, int(const char*))                                                              \
    X(sqlite3_busy_handler, int(sqlite3*, int (*)(void*, int), void*))                                 \
    X(sqlite3_busy_timeout, int(sqlite3*, int))                                                        \
    X(sqlite3_free, void(void*))                                                                       \
    X(sqlite3_open, int(const char*, sqlite3**))                                                       \
    X(sqlite3_errcode, int(sqlite3*))                                                                  \
    X(sqlite3_errmsg, const char*(sqlite3*))                                                           \
    X(sqlite3_prepare, int(sqlite3*, const char*, int, sqlite3_stmt**, const char**))                  \
    X(sqlite3_bind_double, int(sqlite3_stmt*, int, double))                                            \
    X(sqlite3_bind_int, int(sqlite3_stmt*, int, int))                                                  \
    X(sqlite3_bind_int64, int(sqlite3_stmt*, int, sqlite3_int64))                                      \
    X(sqlite3_bind_null, int(sqlite3_stmt*, int))                                                      \
    X(sqlite3_bind_text, int(sqlite3_stmt*, int, const char*, int, void (*)(void*)))                   \
    X(sqlite3_bind_blob, int(sqlite3_stmt*, int, const void*, int, void (*)(void*)))                   \
    X(sqlite3_column_count, int(sqlite3_stmt*))                                                        \
    X(sqlite3_column_name, const char*(sqlite3_stmt*, int))                                            \
    X(sqlite3_column_decltype, const char*(sqlite3_stmt*, int))                                        \
    X(sqlite3_step, int(sqlite3_stmt*))                                                                \
    X(sqlite3_data_count, int(sqlite3_stmt*))                                                          \
    X(sqlite3_column_blob, const void*(sqlite3_stmt*, int))                                            \
    X(sqlite3_column_bytes, int(sqlite3_stmt*, int))                                                   \
    X(sqlite3_column_double, double(sqlite3_stmt*, int))                                               \
    X(sqlite3_column_int, int(sqlite3_stmt*, int))                                                     \
    X(sqlite3_column_int64, sqlite3_int64(sqlite3_stmt*, int))                                         \
    X(sqlite3_column_text, const unsigned char*(sqlite3_stmt*, int))                                   \
    X(sqlite3_column_type, int(sqlite3_stmt*, int))                                                    \
    X(sqlite3_finalize, int(sqlite3_stmt*))                                                            \
    X(sqlite3_reset, int(sqlite3_stmt*))                                                               \
    X(sqlite3_create_function,                                                                         \
      int(sqlite3*, const char*, int, int, void*, void (*)(sqlite3_context*, int, sqlite3_value**),     \
          void (*)(sqlite3_context*, int, sqlite3_value**), void (*)(sqlite3_context*)))               \
    X(sqlite3_aggregate_count, int(sqlite3_context*))                                                  \
    X(sqlite3_value_blob, const void*(sqlite3_value*))                                                 \
    X(sqlite3_value_bytes, int(sqlite3_value*))                                                        \
    X(sqlite3_value_double, double(sqlite3_value*))                                                    \
    X(sqlite3_value_int, int(sqlite3_value*))                                                          \
    X(sqlite3_value_int64, sqlite3_int64(sqlite3_value*))                                              \
    X(sqlite3_value_text, const unsigned char*(sqlite3_value*))                                        \
    X(sqlite3_value_type, int(sqlite3_value*))                                                         \
    X(sqlite3_aggregate_context, void*(sqlite3_context*, int))                                         \
    X(sqlite3_user_data, void*(sqlite3_context*))                                                      \
    X(sqlite3_get_auxdata, void*(sqlite3_context*, int))                                               \
    X(sqlite3_set_auxdata, void(sqlite3_context*, int, void*, void (*)(void*)))                        \
    X(sqlite3_result_blob, void(sqlite3_context*, const void*, int, void (*)(void*)))                  \
    X(sqlite3_result_double, void(sqlite3_context*, double))                                           \
    X(sqlite3_result_error, void(sqlite3_context*, const char*, int))                                  \
    X(sqlite3_result_int, void(sqlite3_context*, int))                                                 \
    X(sqlite3_result_int64, void(sqlite3_context*, sqlite3_int64))                                     \
    X(sqlite3_result_null, void(sqlite3_context*))                                                     \
    X(sqlite3_result_text, void(sqlite3_context*, const char*, int, void (*)(void*)))                  \
    X(sqlite3_result_value, void(sqlite3_context*, sqlite3_value*))                                    \
    X(sqlite3_create_collation,                                                                        \
      int(sqlite3*, const char*, int, void*, int (*)(void*, int, const void*, int, const void*)))      \
    X(sqlite3_collation_needed, int(sqlite3*, void*, void (*)(void*, sqlite3*, int, const char*)))     \
    X(sqlite3_bind_parameter_count, int(sqlite3_stmt*))                                                \
    X(sqlite3_bind_parameter_name, const char*(sqlite3_stmt*, int))                                    \
    X(sqlite3_bind_parameter_index, int(sqlite3_stmt*, const char*))

/// One entry point per bound function, under the function's own name.
struct TSqliteApi {
#define KOVAN_SQLITE_MEMBRO(Nome, Assinatura) std::add_pointer_t<Assinatura> Nome = nullptr;
    KOVAN_SQLITE_FUNCOES(KOVAN_SQLITE_MEMBRO)
#undef KOVAN_SQLITE_MEMBRO
};

/// The bound entry points; valid once CheckSqliteLoaded has returned.
extern TSqliteApi Api;

/// Number of entry points bound.
inline constexpr int QuantidadeFuncoesSqlite = 61;

/// What kind of failure an ESqlite reports. db/ says what went wrong; the wording a user is shown is
/// its caller's (support/Lib.h, TextoDoErro).
enum class TTipoErroSqlite {
    BibliotecaAusente,  ///< no SQLite library could be loaded
    FuncaoAusente,      ///< the library lacks an entry point: "sqlite missing function <name>"
    Sqlite,             ///< an SQLite call failed: "<code>:<SQLite's message>", Codigo() the code
    Camada,             ///< the layer refused (state, conversion, field, parameter): the text says why
};

/// Every failure of db/ is thrown as one of these.
class ESqlite : public std::runtime_error {
public:
    ESqlite(TTipoErroSqlite Tipo, const std::string& Texto, int Codigo = 0)
        : std::runtime_error(Texto), TipoErro(Tipo), CodigoSqlite(Codigo)
    {
    }
    TTipoErroSqlite Tipo() const noexcept { return TipoErro; }
    /// SQLite's result code of a TTipoErroSqlite::Sqlite failure; 0 for the others.
    int Codigo() const noexcept { return CodigoSqlite; }

private:
    TTipoErroSqlite TipoErro;
    int CodigoSqlite;
};

/// Binds the library unless already bound. Throws ESqlite BibliotecaAusente (its text naming the
/// library and the loader's reason) when no library can be loaded, and FuncaoAusente ("sqlite missing
/// function <name>") naming the first entry point the library lacks; after a failure the next call
/// starts again from loading. Once bound, the library stays loaded for the life of the process.
void CheckSqliteLoaded();

/// Raises the layer's refusal: ESqlite Camada carrying Texto.
[[noreturn]] void LevantaErroSqlite(const std::string& Texto);

/// True once every entry point is bound.
bool SqliteCarregada() noexcept;

/// What the loader is given: KOVAN_SQLITE_LIBRARY when set, else SQLITEDLL in the current directory
/// when a file of that name is there, else SQLITEDLL for the system's search.
std::string NomeBibliotecaSqlite();

/// True when the library can be loaded; Versao then holds the version it reports
/// (sqlite3_libversion), written with four numbers ("3.40.1.0"), or empty when it reports none.
/// Nothing is bound.
bool LocalizaBibliotecaSqlite(std::string& Versao) noexcept;

/// SQLite's result codes the layer acts on.
inline constexpr int SQLITE_BUSY = 5;
inline constexpr int SQLITE_LOCKED = 6;
inline constexpr int SQLITE_ROW = 100;
inline constexpr int SQLITE_DONE = 101;

/// Whether a call that found the database busy or locked, first made at Inicio, may try again under
/// the statement timeout Limite (0 never, above 0 for that many milliseconds, below 0 always). Without
/// SQLite's own wait (EsperaSqlite, the busy timeout) it pauses a millisecond rather than spin.
bool PodeRepetir(std::int32_t Limite, std::chrono::steady_clock::time_point Inicio, std::int32_t EsperaSqlite);
