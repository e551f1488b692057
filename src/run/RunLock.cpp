#include "RunLock.h"

#include "Error.h"
#include "IoError.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <utility>

namespace {

const QString kLockFileName = QStringLiteral("integracao-tarvelo.lock");

} // namespace

std::optional<RunLock> RunLock::tryAcquire(const QString& programFolder)
{
    const QByteArray path = QFile::encodeName(QDir(programFolder).filePath(kLockFileName));
    const int descriptor = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0)
        throw Error(systemIoErrorMessage(errno));
    RunLock lock(descriptor);
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return std::nullopt;
        throw Error(systemIoErrorMessage(errno));
    }
    return lock;
}

RunLock::RunLock(RunLock&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1))
{
}

RunLock::~RunLock()
{
    // Closing the descriptor releases the lock.
    if (descriptor_ >= 0)
        ::close(descriptor_);
}
