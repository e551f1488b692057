#include "ReceivedFileArchive.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <filesystem>
#include <system_error>

QString receivedFilePath(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("recebido.xml"));
}

// Digits and the underscore only, whatever the workstation's regional settings.
QString receivedCopyName(const QDateTime& moment)
{
    return QLocale::c().toString(moment, u"yyyyMMdd_HHmmss") + QStringLiteral(".xml");
}

QString arquivarecebido(const QString& programFolder, const Clock& clock, RunLog& log)
{
    const QString archiveFolder = QDir(programFolder).filePath(QStringLiteral("xmlrecebidos"));
    if (!QDir().mkdir(archiveFolder))
        log.appendRaw(QStringLiteral("pasta já existe"));

    const QString name = receivedCopyName(clock.now());
    const QString copyPath = QDir(archiveFolder).filePath(name);
    std::error_code ignored;
    std::filesystem::copy_file(QFileInfo(receivedFilePath(programFolder)).filesystemFilePath(),
                               QFileInfo(copyPath).filesystemFilePath(),
                               std::filesystem::copy_options::overwrite_existing, ignored);
    log.processEvents();
    return name;
}
