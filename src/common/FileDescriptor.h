#pragma once

#include <unistd.h>

#include <utility>

// Sole owner of a POSIX file descriptor (file, socket, pipe); closes it when it goes.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int descriptor) noexcept : descriptor_(descriptor) {}
    FileDescriptor(FileDescriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        FileDescriptor(std::move(other)).swap(*this);
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }

    int get() const noexcept { return descriptor_; }
    bool isOpen() const noexcept { return descriptor_ >= 0; }

    // Closes now, for callers that must know: false (with errno set) when the system reports a failure.
    bool close() noexcept { return ::close(std::exchange(descriptor_, -1)) == 0; }

private:
    void swap(FileDescriptor& other) noexcept { std::swap(descriptor_, other.descriptor_); }

    int descriptor_ = -1;
};
