#include "ChildProcess.h"

#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

extern char** environ;

namespace {

std::vector<QByteArray> environmentOf(const ChildProcess::Setup& setup)
{
    std::vector<QByteArray> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const QByteArray text(*entry);
        const QString name = QString::fromLocal8Bit(text.left(text.indexOf('=')));
        const bool replaced = std::any_of(setup.environment.begin(), setup.environment.end(),
                                          [&name](const QString& e) { return e.startsWith(name + u'='); });
        if (!replaced && !setup.removedVariables.contains(name))
            entries.push_back(text);
    }
    for (const QString& entry : setup.environment)
        entries.push_back(entry.toLocal8Bit());
    return entries;
}

std::vector<char*> pointersTo(std::vector<QByteArray>& texts)
{
    std::vector<char*> pointers;
    for (QByteArray& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

void redirect(int descriptor, const QString& path)
{
    if (path.isEmpty())
        return;
    const int file = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file < 0 || ::dup2(file, descriptor) < 0)
        std::_Exit(127);
    ::close(file);
}

} // namespace

ChildProcess::ChildProcess(const Setup& setup)
{
    // Everything the child needs is built before the fork: after it only system calls run.
    std::vector<QByteArray> arguments;
    for (const QString& argument : setup.command)
        arguments.push_back(argument.toLocal8Bit());
    std::vector<QByteArray> environment = environmentOf(setup);
    std::vector<char*> argumentPointers = pointersTo(arguments);
    std::vector<char*> environmentPointers = pointersTo(environment);
    pid_ = ::fork();
    if (pid_ == 0) {
        redirect(STDOUT_FILENO, setup.standardOutput);
        redirect(STDERR_FILENO, setup.standardError);
        ::execvpe(argumentPointers[0], argumentPointers.data(), environmentPointers.data());
        std::_Exit(127);
    }
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0)
        terminate();
}

long ChildProcess::residentKilobytes() const
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid_));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const auto match = QRegularExpression(QStringLiteral("VmRSS:\\s+(\\d+)")).match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLong() : -1;
}

ChildProcess::Outcome ChildProcess::wait()
{
    Outcome outcome;
    int status = 0;
    rusage usage{};
    pid_t waited = -1;
    if (pid_ > 0) {
        do {
            waited = ::wait4(pid_, &status, 0, &usage);
        } while (waited < 0 && errno == EINTR);
    }
    if (waited == pid_) {
        outcome.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.peakResidentKilobytes = usage.ru_maxrss;
    }
    pid_ = -1;
    return outcome;
}

ChildProcess::Outcome ChildProcess::terminate()
{
    if (pid_ > 0)
        ::kill(pid_, SIGTERM);
    return wait();
}

ChildProcess::Outcome runToEnd(const ChildProcess::Setup& setup)
{
    ChildProcess process(setup);
    return process.wait();
}
