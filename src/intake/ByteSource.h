#pragma once

#include <cstddef>
#include <span>

// Where the bytes of a server's answer come from: the connection in the program,
// memory in tests, so that the answer's rules can be exercised without a network.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Places up to buffer.size() bytes into the buffer and gives their number, 0 when
    // the stream has ended. A read that fails throws Error with the reason, a few
    // English words for the log of the run ("receive timed out").
    virtual std::size_t read(std::span<char> buffer) = 0;
};
