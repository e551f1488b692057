#include "Headless.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>

namespace {

bool hasUnattendedSwitch(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "/executa") == 0)
            return true;
    }
    return false;
}

} // namespace

void chooseOffscreenPlatformWhenHeadless(int argc, char** argv)
{
    const bool displayAvailable = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (hasUnattendedSwitch(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !displayAvailable)
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

bool isHeadlessRun(int argc, char** argv)
{
    const QString platform = QGuiApplication::platformName();
    return hasUnattendedSwitch(argc, argv) && (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"));
}

namespace {

void writeLines(std::FILE* stream, const QString& lines)
{
    const QByteArray text = lines.toLocal8Bit() + (lines.endsWith(u'\n') ? "" : "\n");
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stream);
    std::fflush(stream);
}

} // namespace

void writeToStandardOutput(const QString& lines)
{
    writeLines(stdout, lines);
}

void writeToStandardError(const QString& message)
{
    writeLines(stderr, message);
}
