#include "TestFirebirdServer.h"

#include <QFile>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <stdexcept>

namespace {

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

// Gone, or ended and waiting for its parent to collect it.
bool hasEnded(const QByteArray& pid)
{
    const QByteArray stat = fileContent(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid)));
    const qsizetype afterName = stat.lastIndexOf(')');
    return stat.isEmpty() || (afterName >= 0 && stat.mid(afterName + 2, 1) == "Z");
}

} // namespace

TestFirebirdServer::TestFirebirdServer()
{
    runScript({QStringLiteral("start"), folder_.path()});
    port_ = QString::fromLatin1(fileContent(folder_.filePath(QStringLiteral("port"))));
    if (port_.isEmpty())
        throw std::runtime_error("the test's Firebird server wrote no port");
}

TestFirebirdServer::~TestFirebirdServer()
{
    try {
        stop();
    } catch (const std::exception&) {
        // A destructor cannot fail; a server that would not stop shows in the next start.
    }
}

QString TestFirebirdServer::location(const QString& path) const
{
    return QStringLiteral("127.0.0.1/%1:%2").arg(port_, path);
}

void TestFirebirdServer::start()
{
    runScript({QStringLiteral("start"), folder_.path(), port_});
}

void TestFirebirdServer::stop()
{
    runScript({QStringLiteral("stop"), folder_.path()});
}

void TestFirebirdServer::kill()
{
    const QString pidFile = folder_.filePath(QStringLiteral("server.pid"));
    const QByteArray pid = fileContent(pidFile);
    if (pid.isEmpty() || ::kill(pid.toInt(), SIGKILL) != 0)
        throw std::runtime_error("no Firebird server to kill");
    while (!hasEnded(pid))
        QThread::msleep(20);
    // The script must not wait for a server that is gone.
    QFile::remove(pidFile);
}

void TestFirebirdServer::runScript(const QStringList& arguments) const
{
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral(FIREBIRD_SERVER_SCRIPT), arguments);
    script.waitForFinished(-1);
    if (script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0)
        throw std::runtime_error("scripts/firebird-server " + arguments.join(u' ').toStdString() + " failed: "
                                 + script.readAll().toStdString());
}
