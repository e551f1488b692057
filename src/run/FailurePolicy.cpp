#include "FailurePolicy.h"

#include "Error.h"
#include "RunHost.h"

bool attempt(RunHost& host, const std::function<QString()>& subject, const std::function<void()>& step)
{
    if (!host.unattended()) {
        step();
        return true;
    }
    try {
        step();
        return true;
    } catch (const Error& error) {
        host.reportFailure(subject() + QStringLiteral(": ") + error.message());
        return false;
    }
}
