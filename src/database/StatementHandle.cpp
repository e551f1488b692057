#include "StatementHandle.h"

#include "StatusVector.h"

StatementHandle::~StatementHandle()
{
    if (handle_ == 0)
        return;
    StatusVector status(*api_);
    api_->isc_dsql_free_statement(status.get(), &handle_, DSQL_drop);
}
