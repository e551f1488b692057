#include "TerminationSignals.h"

#include <csignal>

#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t terminationSignals()
{
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&blocked, signal);
    return blocked;
}

} // namespace

void TerminationSignals::blockInEveryThread()
{
    const sigset_t blocked = terminationSignals();
    pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
}

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent)
{
    const sigset_t blocked = terminationSignals();
    descriptor_ = FileDescriptor(::signalfd(-1, &blocked, SFD_NONBLOCK | SFD_CLOEXEC));
    if (!descriptor_.isOpen())
        return;
    notifier_ = std::make_unique<QSocketNotifier>(descriptor_.get(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::deliverPending);
}

void TerminationSignals::deliverPending()
{
    signalfd_siginfo info{};
    while (::read(descriptor_.get(), &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        emit received(static_cast<int>(info.ssi_signo));
}
