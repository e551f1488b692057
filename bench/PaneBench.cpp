// Prints what the log pane keeps per line for the lines of a file (a headless run's
// standard output, say), beside the lines' own size.
// Usage: pane_bench FILE
#include "BenchSupport.h"
#include "LogPane.h"

#include <QApplication>
#include <QFile>
#include <QStringList>

#include <malloc.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: pane_bench FILE\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication application(argc, argv);
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "pane_bench: %s cannot be read\n", argv[1]);
        return 1;
    }
    const QByteArray content = file.readAll();
    const QString text = QString::fromUtf8(content);
    QStringList lines = text.split(u'\n');
    lines.removeLast();   // after the last line break
    const auto count = static_cast<double>(lines.size());

    LogPane pane;
    pane.appendLine(QStringLiteral("Memo1"));
    // What was freed so far goes back to the system, so that all the pane takes shows.
    malloc_trim(0);
    const long before = residentKilobytes();
    for (const QString& line : lines)
        pane.appendLine(line);
    const long kept = residentKilobytes() - before;

    std::printf("log pane: %.0f lines kept in %ld kB = %.0f bytes per line; a line's text: %.0f characters, "
                "%.0f bytes in UTF-8\n",
                count, kept, static_cast<double>(kept) * 1024 / count, static_cast<double>(text.size()) / count - 1,
                static_cast<double>(content.size()) / count - 1);
    return 0;
}
