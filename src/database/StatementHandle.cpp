#include "StatementHandle.h"

#include "StatusVector.h"

#include <utility>

StatementHandle::StatementHandle(StatementHandle&& other) noexcept
    : api_(other.api_)
    , handle_(std::exchange(other.handle_, 0))
{
}

StatementHandle::~StatementHandle()
{
    if (handle_ == 0)
        return;
    StatusVector status(*api_);
    api_->isc_dsql_free_statement(status.get(), &handle_, DSQL_drop);
}
