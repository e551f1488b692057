#pragma once

#include "FirebirdApi.h"

#include <QString>

#include <utility>
#include <vector>

// The status of one client library call. A failure leaves as DatabaseError carrying the
// error text of a database failure, built from the status when the error is thrown.
class StatusVector {
public:
    explicit StatusVector(const FirebirdApi& api) noexcept : api_(api) {}

    StatusVector(const StatusVector&) = delete;
    StatusVector& operator=(const StatusVector&) = delete;

    ISC_STATUS* get() noexcept { return status_; }
    bool failed() const noexcept { return status_[0] == 1 && status_[1] != 0; }
    void throwIfFailed() const;

private:
    // The library's message lines joined with CR LF, without a final full stop.
    QString errorText() const;
    // The error codes of the failure, in the order the library gave them.
    std::vector<ISC_STATUS> errorCodes() const;

    const FirebirdApi& api_;
    ISC_STATUS_ARRAY status_ = {};
};

// Makes one client library call, its status as the first argument, and throws its failure:
// no call can lose its check. Gives the call's own result.
template <typename Function, typename... Arguments>
ISC_STATUS checkedCall(const FirebirdApi& api, Function function, Arguments&&... arguments)
{
    StatusVector status(api);
    const ISC_STATUS result = function(status.get(), std::forward<Arguments>(arguments)...);
    status.throwIfFailed();
    return result;
}
