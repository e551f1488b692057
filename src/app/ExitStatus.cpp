#include "ExitStatus.h"

namespace {

constexpr int kSignalBase = 128;

int severity(int status)
{
    if (status >= kSignalBase)
        return 4;
    switch (status) {
    case kExitCompleted: return 0;
    case kExitAnotherRunInProgress: return 1;
    case kExitNoDatabaseConnection: return 2;
    default: return 3;
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
