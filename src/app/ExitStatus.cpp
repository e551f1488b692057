#include "ExitStatus.h"

namespace {

constexpr int kSignalBase = 128;

int severity(int status)
{
    if (status >= kSignalBase)
        return 5;
    switch (status) {
    case kExitCompleted: return 0;
    case kExitAnotherRunInProgress: return 1;
    case kExitDownloadFailed: return 2;
    case kExitNoDatabaseConnection: return 3;
    default: return 4;
    }
}

} // namespace

int exitStatusOfSignal(int signal)
{
    return kSignalBase + signal;
}

int worseExitStatus(int first, int second)
{
    return severity(second) > severity(first) ? second : first;
}
