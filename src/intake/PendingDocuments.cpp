#include "PendingDocuments.h"

#include "Error.h"
#include "FileReplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kFolderName = QStringLiteral("pendentes");

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

PendingDocuments::PendingDocuments(const QString& programFolder)
    : folder_(QDir(programFolder).filePath(kFolderName))
{
}

QStringList PendingDocuments::paths() const
{
    QStringList paths;
    const QDir folder(folder_);
    for (const QString& name : folder.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name))
        paths << folder.filePath(name);
    return paths;
}

QString PendingDocuments::keep(const QByteArray& content, const QString& name) const
{
    const QDir folder(folder_);
    const QString stem = QFileInfo(name).completeBaseName();
    QString path = folder.filePath(name);
    for (int number = 1; QFileInfo::exists(path); ++number) {
        if (contentOf(path) == content)
            return path;
        path = folder.filePath(QStringLiteral("%1_%2.xml").arg(stem).arg(number));
    }
    if (!folder.mkpath(QStringLiteral(".")) || !replaceFileContent(path, content))
        throw Error(QStringLiteral("The document cannot be kept as pending in %1").arg(QDir::toNativeSeparators(path)));
    return path;
}

void PendingDocuments::release(const QString& path) const
{
    if (!path.isEmpty())
        QFile::remove(path);
}
