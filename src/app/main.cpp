#include "ApplicationTitle.h"
#include "Clock.h"
#include "Error.h"
#include "Headless.h"
#include "HelpAndVersion.h"
#include "RegionalSettings.h"
#include "StartSettings.h"
#include "TerminationSignals.h"
#include "UPrincipal.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>

#include <optional>

int main(int argc, char* argv[])
{
    if (const auto information = requestedInformation(argc, argv)) {
        writeToStandardOutput(*information);
        return kExitCompleted;
    }
    TerminationSignals::blockInEveryThread();
    const HeadlessEnvironment headlessEnvironment(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);

    const bool headless = isHeadlessRun(argc, argv);
    const SystemClock clock;
    const QString programFolder = QApplication::applicationDirPath();
    const StartSettings settings = readStartSettings(programFolder);
    std::optional<TForm1> window;
    try {
        window.emplace(ShellEnvironment{QApplication::arguments().mid(1), programFolder, &clock,
                                        RegionalSettings::fromLocale(QLocale::system()), headless,
                                        settings.serviceAddress, settings.databaseAccount});
    } catch (const Error& failure) {
        const QString message = QStringLiteral("The main window could not be created.\n\n%1").arg(failure.message());
        if (headless) {
            writeToStandardError(message);
        } else {
            QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"), message, QMessageBox::Ok);
            box.exec();
        }
        return kExitWindowNotCreated;
    }
    // A headless program has no one to wait for: it ends with the outcome of its runs.
    if (headless || window->endsByItself())
        return window->exitStatus();
    window->show();
    const int loopStatus = QApplication::exec();
    return loopStatus != kExitCompleted ? loopStatus : window->exitStatus();
}
