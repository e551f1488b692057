#pragma once

#include <ibase.h>

// The client library's functions that the program calls, resolved by name when the
// library is loaded. Each member carries the name and signature of its function.
struct FirebirdApi {
    decltype(&::isc_attach_database) isc_attach_database = nullptr;
    decltype(&::isc_database_info) isc_database_info = nullptr;
    decltype(&::isc_detach_database) isc_detach_database = nullptr;
    decltype(&::fb_ping) fb_ping = nullptr;
    decltype(&::isc_start_multiple) isc_start_multiple = nullptr;
    decltype(&::isc_commit_retaining) isc_commit_retaining = nullptr;
    decltype(&::isc_commit_transaction) isc_commit_transaction = nullptr;
    decltype(&::isc_rollback_retaining) isc_rollback_retaining = nullptr;
    decltype(&::isc_rollback_transaction) isc_rollback_transaction = nullptr;
    decltype(&::isc_dsql_alloc_statement2) isc_dsql_alloc_statement2 = nullptr;
    decltype(&::isc_dsql_prepare) isc_dsql_prepare = nullptr;
    decltype(&::isc_dsql_sql_info) isc_dsql_sql_info = nullptr;
    decltype(&::isc_dsql_describe_bind) isc_dsql_describe_bind = nullptr;
    decltype(&::isc_dsql_describe) isc_dsql_describe = nullptr;
    decltype(&::isc_dsql_execute) isc_dsql_execute = nullptr;
    decltype(&::isc_dsql_fetch) isc_dsql_fetch = nullptr;
    decltype(&::isc_dsql_free_statement) isc_dsql_free_statement = nullptr;
    decltype(&::fb_interpret) fb_interpret = nullptr;
    decltype(&::isc_vax_integer) isc_vax_integer = nullptr;
    decltype(&::isc_encode_sql_date) isc_encode_sql_date = nullptr;
    decltype(&::isc_decode_sql_date) isc_decode_sql_date = nullptr;
    decltype(&::isc_decode_sql_time) isc_decode_sql_time = nullptr;
    decltype(&::isc_encode_date) isc_encode_date = nullptr;
    decltype(&::isc_decode_date) isc_decode_date = nullptr;
};
