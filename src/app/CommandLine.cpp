#include "CommandLine.h"

void forEachUnattendedSwitch(const QStringList& arguments, const std::function<bool()>& run)
{
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("/executa") && !run())
            return;
    }
}
