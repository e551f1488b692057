#include "IoError.h"

#include <cerrno>

QString ioErrorMessage(int code)
{
    switch (code) {
    case 2: return QStringLiteral("File not found");
    case 3: return QStringLiteral("Invalid filename");
    case 4: return QStringLiteral("Too many open files");
    case 5: return QStringLiteral("File access denied");
    case 100: return QStringLiteral("Read beyond end of file");
    case 101: return QStringLiteral("Disk full");
    case 106: return QStringLiteral("Invalid numeric input");
    default: return QStringLiteral("I/O error %1").arg(code);
    }
}

QString systemIoErrorMessage(int posixErrno)
{
    switch (posixErrno) {
    case ENOENT: return ioErrorMessage(2);
    case ENOTDIR:
    case ENAMETOOLONG:
    case EISDIR: return ioErrorMessage(3);
    case EMFILE:
    case ENFILE: return ioErrorMessage(4);
    case EACCES:
    case EPERM:
    case EROFS: return ioErrorMessage(5);
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return ioErrorMessage(101);
    default: return QStringLiteral("I/O error %1").arg(posixErrno);
    }
}
