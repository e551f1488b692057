#include "VirtualDisplay.h"

#include <QDir>
#include <QFile>
#include <QThread>

VirtualDisplay::VirtualDisplay()
{
    // The server picks a free display number and writes it to its standard output once it
    // accepts clients.
    const QString numberFile = QDir(folder_.path()).filePath(QStringLiteral("display"));
    server_ = std::make_unique<ChildProcess>(ChildProcess::Setup{
        {QStringLiteral("Xvfb"), QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
         QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")},
        {}, {}, numberFile});
    for (int attempt = 0; attempt < 300 && name_.isEmpty(); ++attempt) {
        QFile file(numberFile);
        if (file.open(QIODevice::ReadOnly) && file.readAll().endsWith('\n')) {
            file.seek(0);
            name_ = u':' + QString::fromLatin1(file.readAll().trimmed());
        } else {
            QThread::msleep(20);
        }
    }
}
