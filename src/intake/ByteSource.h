#pragma once

#include <cstddef>
#include <optional>
#include <span>

// Where the bytes of a server's answer come from: the connection in the program,
// memory in tests, so that the answer's rules can be exercised without a network.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Places up to buffer.size() bytes into the buffer and gives their number:
    // 0 when the stream has ended, nothing when reading failed.
    virtual std::optional<std::size_t> read(std::span<char> buffer) = 0;
};
