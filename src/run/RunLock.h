#pragma once

#include <QString>

#include <optional>

// Keeps two processes from importing at the same time: an exclusive lock on a
// file in the program folder, which the system releases when the process ends,
// however it ends.
class RunLock {
public:
    // The lock, or nothing when another run holds it. A lock file that cannot be
    // opened fails with its input/output message.
    static std::optional<RunLock> tryAcquire(const QString& programFolder);

    RunLock(RunLock&& other) noexcept;
    RunLock& operator=(RunLock&&) = delete;
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;
    ~RunLock();

private:
    explicit RunLock(int descriptor) noexcept
        : descriptor_(descriptor)
    {
    }

    int descriptor_;
};
