/* A stand-in for the SQLite library, for the failure paths of the binding: it reports the version
 * KOVAN_VERSAO_SQLITE and, built with KOVAN_SEM_BIND_PARAMETER_INDEX, lacks the last entry point.
 * Nothing but sqlite3_libversion is ever called on it. */

const char* sqlite3_libversion(void)
{
    return KOVAN_VERSAO_SQLITE;
}

#define STUB(Nome) int Nome(void) { return 21; }

STUB(sqlite3_close) STUB(sqlite3_exec) STUB(sqlite3_last_insert_rowid)
STUB(sqlite3_changes) STUB(sqlite3_total_changes) STUB(sqlite3_interrupt)
STUB(sqlite3_complete) STUB(sqlite3_busy_handler) STUB(sqlite3_busy_timeout)
STUB(sqlite3_free) STUB(sqlite3_open) STUB(sqlite3_errcode)
STUB(sqlite3_errmsg) STUB(sqlite3_prepare) STUB(sqlite3_bind_double)
STUB(sqlite3_bind_int) STUB(sqlite3_bind_int64) STUB(sqlite3_bind_null)
STUB(sqlite3_bind_text) STUB(sqlite3_bind_blob) STUB(sqlite3_column_count)
STUB(sqlite3_column_name) STUB(sqlite3_column_decltype) STUB(sqlite3_step)
STUB(sqlite3_data_count) STUB(sqlite3_column_blob) STUB(sqlite3_column_bytes)
STUB(sqlite3_column_double) STUB(sqlite3_column_int) STUB(sqlite3_column_int64)
STUB(sqlite3_column_text) STUB(sqlite3_column_type) STUB(sqlite3_finalize)
STUB(sqlite3_reset) STUB(sqlite3_create_function) STUB(sqlite3_aggregate_count)
STUB(sqlite3_value_blob) STUB(sqlite3_value_bytes) STUB(sqlite3_value_double)
STUB(sqlite3_value_int) STUB(sqlite3_value_int64) STUB(sqlite3_value_text)
STUB(sqlite3_value_type) STUB(sqlite3_aggregate_context) STUB(sqlite3_user_data)
STUB(sqlite3_get_auxdata) STUB(sqlite3_set_auxdata) STUB(sqlite3_result_blob)
STUB(sqlite3_result_double) STUB(sqlite3_result_error) STUB(sqlite3_result_int)
STUB(sqlite3_result_int64) STUB(sqlite3_result_null) STUB(sqlite3_result_text)
STUB(sqlite3_result_value) STUB(sqlite3_create_collation) STUB(sqlite3_collation_needed)
STUB(sqlite3_bind_parameter_count) STUB(sqlite3_bind_parameter_name)
#ifndef KOVAN_SEM_BIND_PARAMETER_INDEX
STUB(sqlite3_bind_parameter_index)
#endif
