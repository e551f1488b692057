#pragma once

#include <ibase.h>

#include <cstddef>
#include <memory>
#include <vector>

// An XSQLDA with room for a given number of variables, and the data and NULL
// indicator buffers that its described variables point at.
class SqlDescriptor {
public:
    explicit SqlDescriptor(int capacity);

    XSQLDA* get() noexcept { return reinterpret_cast<XSQLDA*>(storage_.get()); }
    const XSQLDA* get() const noexcept { return reinterpret_cast<const XSQLDA*>(storage_.get()); }
    int capacity() const noexcept { return get()->sqln; }
    // The number of variables the library described, which may exceed the capacity.
    int count() const noexcept { return get()->sqld; }
    XSQLVAR& variable(int index) noexcept { return get()->sqlvar[index]; }
    const XSQLVAR& variable(int index) const noexcept { return get()->sqlvar[index]; }

    // Points every described variable at a buffer of the size its type needs.
    void allocateBuffers();

private:
    std::unique_ptr<std::byte[]> storage_;
    std::unique_ptr<std::byte[]> data_;
    std::vector<short> indicators_;
};
