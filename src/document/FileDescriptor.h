#pragma once

#include <unistd.h>

// Owns a POSIX file descriptor; the errno of a failed close can be read by closing explicitly.
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) noexcept
        : descriptor_(descriptor)
    {
    }
    ~FileDescriptor()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool isOpen() const noexcept { return descriptor_ >= 0; }
    int get() const noexcept { return descriptor_; }

    // Closes now; false (with errno set) when the system reports a failure.
    bool close() noexcept
    {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return ::close(descriptor) == 0;
    }

private:
    int descriptor_;
};
