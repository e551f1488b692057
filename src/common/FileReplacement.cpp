#include "FileReplacement.h"

#include "IoError.h"

#include <QSaveFile>

#include <cerrno>

bool replaceFileContent(const QString& path, const QByteArray& content, QString* reason)
{
    QSaveFile file(path);
    errno = 0;
    // Unbuffered, because a partial write on a full disk shows only in the count that write gives.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(content) == content.size()
        && file.commit())
        return true;
    // The system call that failed left its errno; a folder in the file's place is the one
    // refusal that comes before any call fails.
    if (reason != nullptr)
        *reason = systemIoErrorMessage(errno != 0 ? errno : EISDIR);
    return false;
}
