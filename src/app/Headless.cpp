#include "Headless.h"

#include <QDir>
#include <QFile>
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

bool isHeadlessPlatform(const QString& platform)
{
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

} // namespace

HeadlessEnvironment::HeadlessEnvironment(int argc, char** argv)
{
    if (!hasUnattendedSwitch(argc, argv))
        return;
    const bool displayAvailable = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !displayAvailable)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (isHeadlessPlatform(qEnvironmentVariable("QT_QPA_PLATFORM")) && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // Created with access for this user only, as a runtime directory must be.
        runtimeDirectory_.emplace(QDir::tempPath() + QStringLiteral("/integracao-tarvelo-runtime-XXXXXX"));
        if (runtimeDirectory_->isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDirectory_->path()));
    }
}

bool isHeadlessRun(int argc, char** argv)
{
    return hasUnattendedSwitch(argc, argv) && isHeadlessPlatform(QGuiApplication::platformName());
}

namespace {

void writeLines(std::FILE* stream, const QString& lines)
{
    const QByteArray text = lines.toLocal8Bit() + (lines.endsWith(u'\n') ? "" : "\n");
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stream);
}

} // namespace

void writeToStandardOutput(const QString& lines)
{
    writeLines(stdout, lines);
}

void flushStandardOutput()
{
    std::fflush(stdout);
}

void writeToStandardError(const QString& message)
{
    flushStandardOutput();
    writeLines(stderr, message);
    std::fflush(stderr);
}
