#include "FirebirdFixture.h"

#include "FileDescriptor.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <cerrno>
#include <filesystem>
#include <stdexcept>

#include <fcntl.h>
#include <sys/file.h>

namespace {

const QString kPassword = QStringLiteral("##384756");

QString fixtureText(const QString& fileName)
{
    QFile file(QStringLiteral(TEST_FIXTURES_DIR "/") + fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read fixture " + fileName.toStdString());
    return QString::fromUtf8(file.readAll());
}

// Runs a Firebird tool and fails loudly on any error it reports.
void runTool(const QString& program, const QStringList& arguments, const QString& input = QString())
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    if (!tool.waitForStarted())
        throw std::runtime_error("cannot start " + program.toStdString());
    tool.write(input.toUtf8());
    tool.closeWriteChannel();
    tool.waitForFinished(-1);
    const QByteArray output = tool.readAll();
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0 || output.contains("Statement failed"))
        throw std::runtime_error(program.toStdString() + " failed: " + output.toStdString());
}

// Waits for and holds an exclusive lock on a file; the system releases it when the
// process ends, however it ends.
FileDescriptor lockedFile(const QString& path)
{
    FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!file.isOpen())
        throw std::runtime_error("cannot open " + path.toStdString());
    while (::flock(file.get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            throw std::runtime_error("cannot lock " + path.toStdString());
    }
    return file;
}

// Builds a database from the script once per schema and keeps it in the build folder:
// every test then starts from a copy, which is much faster than running the script.
// Writes to the copies are not forced to disk, which a test does not need.
// Tests running side by side copy a template as soon as its name exists, so the name appears
// only on a complete template, which nothing writes again: one process builds it under a
// lock while the others that need it wait.
QString templateDatabase(const QString& schema, int dialect, const QString& owner)
{
    const QString script = QStringLiteral("SET SQL DIALECT %1;\n-- owner %2\n%3").arg(dialect).arg(owner, schema);
    const QString key = QString::fromLatin1(QCryptographicHash::hash(script.toUtf8(), QCryptographicHash::Sha1).toHex());
    const QDir cache(QStringLiteral(TEST_DATABASE_CACHE_DIR));
    const QString path = cache.filePath(key + QStringLiteral(".fdb"));
    if (QFile::exists(path))
        return path;

    cache.mkpath(QStringLiteral("."));
    const FileDescriptor lock = lockedFile(cache.filePath(key + QStringLiteral(".lock")));
    if (QFile::exists(path))
        return path;
    const QString building = cache.filePath(key + QStringLiteral(".building.fdb"));
    QFile::remove(building); // left by a build that was interrupted
    runTool(QStringLiteral(ISQL_PROGRAM), {QStringLiteral("-q"), QStringLiteral("-bail")},
            QStringLiteral("SET SQL DIALECT %1;\nCREATE DATABASE '%2' USER '%3' PASSWORD '%4';\nSET AUTODDL OFF;\n%5\n"
                           "COMMIT;\n")
                .arg(dialect)
                .arg(building, owner, kPassword, schema));
    runTool(QStringLiteral(GFIX_PROGRAM), {QStringLiteral("-write"), QStringLiteral("async"), QStringLiteral("-user"),
                                           owner, QStringLiteral("-password"), kPassword, building});
    std::filesystem::rename(QFile::encodeName(building).toStdString(), QFile::encodeName(path).toStdString());
    return path;
}

} // namespace

FirebirdFixture::FirebirdFixture()
{
    if (!folder_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    backOfficePath_ = createDatabase(QStringLiteral("backoffice.fdb"), fixtureText(QStringLiteral("backoffice.sql")));
    ordersPath_ = createDatabase(QStringLiteral("orders.fdb"), fixtureText(QStringLiteral("orders.sql")));
}

QString FirebirdFixture::createDatabase(const QString& fileName, const QString& schema, int dialect,
                                       const QString& owner)
{
    const QString path = folder_.filePath(fileName);
    if (!QFile::copy(templateDatabase(schema, dialect, owner), path))
        throw std::runtime_error("cannot create " + path.toStdString());
    return path;
}
