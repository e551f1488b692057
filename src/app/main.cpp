#include "ApplicationTitle.h"
#include "Clock.h"
#include "Error.h"
#include "Headless.h"
#include "RegionalSettings.h"
#include "UPrincipal.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>

#include <optional>

int main(int argc, char* argv[])
{
    chooseOffscreenPlatformWhenHeadless(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);

    const SystemClock clock;
    std::optional<TForm1> window;
    try {
        window.emplace(ShellEnvironment{QApplication::arguments().mid(1), QApplication::applicationDirPath(), &clock,
                                        RegionalSettings::fromLocale(QLocale::system()),
                                        isHeadlessRun(argc, argv)});
    } catch (const Error& failure) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"),
                        QStringLiteral("The main window could not be created.\n\n%1").arg(failure.message()),
                        QMessageBox::Ok);
        box.exec();
        return 1;
    }
    if (window->quitRequested())
        return 0;
    window->show();
    return QApplication::exec();
}
