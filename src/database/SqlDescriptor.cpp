#include "SqlDescriptor.h"

#include <algorithm>

namespace {

constexpr std::size_t kAlignment = alignof(std::max_align_t);

std::size_t bufferSize(const XSQLVAR& variable)
{
    const std::size_t size = static_cast<std::size_t>(variable.sqllen)
        + ((variable.sqltype & ~1) == SQL_VARYING ? sizeof(short) : 0);
    return (size + kAlignment - 1) / kAlignment * kAlignment;
}

} // namespace

SqlDescriptor::SqlDescriptor(int capacity)
    : storage_(std::make_unique<std::byte[]>(XSQLDA_LENGTH(std::max(capacity, 1))))
{
    get()->version = SQLDA_VERSION1;
    get()->sqln = static_cast<ISC_SHORT>(capacity);
}

void SqlDescriptor::allocateBuffers()
{
    const int described = std::min(count(), capacity());
    std::size_t total = 0;
    for (int i = 0; i < described; ++i)
        total += bufferSize(variable(i));
    data_ = std::make_unique<std::byte[]>(std::max<std::size_t>(total, 1));
    indicators_.assign(static_cast<std::size_t>(described), 0);

    std::byte* next = data_.get();
    for (int i = 0; i < described; ++i) {
        XSQLVAR& var = variable(i);
        var.sqldata = reinterpret_cast<ISC_SCHAR*>(next);
        var.sqlind = &indicators_[static_cast<std::size_t>(i)];
        next += bufferSize(var);
    }
}
