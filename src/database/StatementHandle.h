#pragma once

#include "FirebirdApi.h"

// A statement handle of the client library, dropped with the object. It never moves: the
// library keeps the address of the handle it allocated and clears that address when the
// statement is dropped.
class StatementHandle {
public:
    explicit StatementHandle(const FirebirdApi& api) noexcept : api_(&api) {}
    ~StatementHandle();

    StatementHandle(const StatementHandle&) = delete;
    StatementHandle& operator=(const StatementHandle&) = delete;

    isc_stmt_handle* get() noexcept { return &handle_; }

private:
    const FirebirdApi* api_;
    isc_stmt_handle handle_ = 0;
};
