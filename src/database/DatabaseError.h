#pragma once

#include "Error.h"

#include <ibase.h>

#include <vector>

// A failure reported by the client library: its error text, and the library's error
// codes for the callers that must tell one cause from another.
class DatabaseError : public Error {
public:
    DatabaseError(QString message, std::vector<ISC_STATUS> codes);

    bool hasCode(ISC_STATUS code) const noexcept;

private:
    std::vector<ISC_STATUS> codes_;
};
