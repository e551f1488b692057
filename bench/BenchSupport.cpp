#include "BenchSupport.h"

#include <QFile>
#include <QRegularExpression>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace {

long statusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const auto match = QRegularExpression(QStringLiteral("%1:\\s+(\\d+)").arg(QLatin1String(field)))
                           .match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLong() : -1;
}

} // namespace

long residentKilobytes()
{
    return statusKilobytes("VmRSS");
}

long peakResidentKilobytes()
{
    return statusKilobytes("VmHWM");
}

int runApart(const std::function<void()>& measurement)
{
    const pid_t child = fork();
    if (child == 0) {
        measurement();
        std::_Exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

OpenDatabases::OpenDatabases(const FirebirdFixture& databases)
{
    BaseADM.setLocation(databases.backOfficePath());
    BaseADM.open();
    BasePedidos.setLocation(databases.ordersPath());
    BasePedidos.open();
}
