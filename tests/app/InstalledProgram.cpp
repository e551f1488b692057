#include "InstalledProgram.h"

#include "DatabaseLocations.h"
#include "ProfileFile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

InstalledProgram::InstalledProgram(const QString& backOfficeLocation, const QString& ordersLocation)
{
    const QString program = QDir(folder()).filePath(QStringLiteral("integracao-tarvelo"));
    EXPECT_TRUE(QFile::copy(QStringLiteral(PROGRAM_FILE), program));
    saveDatabaseLocations(folder(), {backOfficeLocation, ordersLocation});
}

void InstalledProgram::setReceivedDocument(const QByteArray& document) const
{
    QFile file(QDir(folder()).filePath(QStringLiteral("recebido.xml")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(document);
}

void InstalledProgram::setServiceAddress(const QString& address)
{
    ProfileFile(settingsFilePath(folder())).writeString(QStringLiteral("SERVICO"), QStringLiteral("ENDERECO"), address);
    isolated_ = false;
}

void InstalledProgram::setDatabaseAccount(const QString& user, const QString& password) const
{
    const ProfileFile settings(settingsFilePath(folder()));
    settings.writeString(QStringLiteral("BASE"), QStringLiteral("USUARIO"), user);
    settings.writeString(QStringLiteral("BASE"), QStringLiteral("SENHA"), password);
}

void InstalledProgram::start(QProcess& process, const QStringList& arguments) const
{
    start(process, isolated_ ? QStringList{QStringLiteral("--net")} : QStringList(), arguments);
}

void InstalledProgram::start(QProcess& process, const QStringList& isolation, const QStringList& arguments) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANG"), QStringLiteral("pt_BR.UTF-8"));
    environment.remove(QStringLiteral("LC_ALL"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QDir::tempPath());
    process.start(QStringLiteral("unshare"),
                  QStringList(isolation) << QDir(folder()).filePath(QStringLiteral("integracao-tarvelo")) << arguments);
}

InstalledProgram::Outcome InstalledProgram::finish(QProcess& process)
{
    // A headless program never waits for anyone; a minute is far beyond any run here.
    EXPECT_TRUE(process.waitForFinished(60000)) << "the program did not end by itself";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

InstalledProgram::Outcome InstalledProgram::run(const QStringList& arguments) const
{
    QProcess process;
    start(process, arguments);
    return finish(process);
}

InstalledProgram::Outcome InstalledProgram::runWithoutClientLibrary(const QStringList& arguments) const
{
    QProcess process;
    start(process,
          {QStringLiteral("--net"), QStringLiteral("--mount"), QStringLiteral("sh"), QStringLiteral("-c"),
           QStringLiteral("mount --bind /dev/null \"$1\" && shift && exec \"$@\""), QStringLiteral("sh"),
           QStringLiteral(CLIENT_LIBRARY_FILE)},
          arguments);
    return finish(process);
}
