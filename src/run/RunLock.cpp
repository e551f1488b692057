#include "RunLock.h"

#include "Error.h"
#include "IoError.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace {

const QString kLockFileName = QStringLiteral("integracao-tarvelo.lock");

} // namespace

std::optional<RunLock> RunLock::tryAcquire(const QString& programFolder)
{
    const QByteArray path = QFile::encodeName(QDir(programFolder).filePath(kLockFileName));
    FileDescriptor file(::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!file.isOpen())
        throw Error(systemIoErrorMessage(errno));
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return std::nullopt;
        throw Error(systemIoErrorMessage(errno));
    }
    return RunLock(std::move(file));
}
