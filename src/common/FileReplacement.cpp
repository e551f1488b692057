#include "FileReplacement.h"

#include <QSaveFile>

bool replaceFileContent(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    // Unbuffered, because a partial write on a full disk shows only in the count that write gives.
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(content) == content.size()
        && file.commit();
}
