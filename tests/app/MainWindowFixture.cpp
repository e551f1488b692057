#include "MainWindowFixture.h"

#include "LogPane.h"
#include "Regional.h"

#include <QFile>

std::unique_ptr<TForm1> MainWindow::create(QStringList arguments, QRect screenArea)
{
    // The order service is a loopback port where nothing listens: downloads fail at once.
    ShellEnvironment environment{std::move(arguments), folder.path(), &clock, brazilianSettings(), false,
                                 QStringLiteral("http://127.0.0.1:9/servico/oc/download")};
    environment.availableScreenArea = [screenArea](const QPoint&) { return screenArea; };
    return std::make_unique<TForm1>(std::move(environment));
}

QString MainWindow::pane(const TForm1& window)
{
    return control<LogPane>(window, "Memo1")->toPlainText();
}

QString MainWindow::writeDocument(const QString& name, const QByteArray& content) const
{
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}
