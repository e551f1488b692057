#include "FileReplacement.h"

#include "FileDescriptor.h"
#include "IoError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool writeAll(int descriptor, const QByteArray& content)
{
    qsizetype written = 0;
    while (written < content.size()) {
        const ssize_t count = ::pwrite(descriptor, content.constData() + written,
                                       static_cast<size_t>(content.size() - written), written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

// Room the file system cannot give shows here, while the file is still as it was.
// A file system that cannot reserve room leaves the write to find out.
bool reserveRoom(int descriptor, qsizetype size)
{
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        return false;
    if (size <= status.st_size)
        return true;
    if (::fallocate(descriptor, 0, 0, size) == 0)
        return true;
    const bool unsupported = errno == EOPNOTSUPP || errno == ENOSYS;
    // A failed reservation may still have grown the file: give it back its length.
    const bool restored = ::ftruncate(descriptor, status.st_size) == 0;
    return unsupported && restored;
}

bool rewriteInPlace(const QString& path, const QByteArray& content)
{
    const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC));
    return file.isOpen() && reserveRoom(file.get(), content.size()) && writeAll(file.get(), content)
        && ::ftruncate(file.get(), content.size()) == 0 && ::fsync(file.get()) == 0;
}

} // namespace

bool replaceFileContent(const QString& path, const QByteArray& content, QString* reason)
{
    QSaveFile file(path);
    errno = 0;
    bool stored = false;
    // Unbuffered, because a partial write on a full disk shows only in the count that write gives.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        stored = file.write(content) == content.size() && file.commit();
    else if (QFileInfo(path).isFile())
        stored = rewriteInPlace(path, content);
    // The system call that failed left its errno; a folder in the file's place is the one
    // refusal that comes before any call fails.
    if (!stored && reason != nullptr)
        *reason = systemIoErrorMessage(errno != 0 ? errno : EISDIR);
    return stored;
}
