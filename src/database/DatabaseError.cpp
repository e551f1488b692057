#include "DatabaseError.h"

#include <algorithm>

DatabaseError::DatabaseError(QString message, std::vector<ISC_STATUS> codes)
    : Error(std::move(message))
    , codes_(std::move(codes))
{
}

bool DatabaseError::hasCode(ISC_STATUS code) const noexcept
{
    return std::find(codes_.begin(), codes_.end(), code) != codes_.end();
}
