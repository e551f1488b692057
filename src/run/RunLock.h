#pragma once

#include "FileDescriptor.h"

#include <QString>

#include <optional>
#include <utility>

// Keeps two processes from importing at the same time: an exclusive lock on a
// file in the program folder, which the system releases when the process ends,
// however it ends.
class RunLock {
public:
    // The lock, or nothing when another run holds it. A lock file that cannot be
    // opened fails with its input/output message.
    static std::optional<RunLock> tryAcquire(const QString& programFolder);

private:
    explicit RunLock(FileDescriptor file) noexcept
        : file_(std::move(file))
    {
    }

    // Closing the file releases the lock.
    FileDescriptor file_;
};
