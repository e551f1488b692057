// Prints what the installed program costs on one large order document, beside the run
// alone: the run in this process with a host that nobody watches, the program headless
// ("/executa" without a display, its log on standard output into a file), and the
// program in its window on a virtual display (Xvfb), started with "Executar Rotina". Each
// imports the same document into fresh databases, the received document read after a
// download that fails at once. The window imports a second document of as many new orders
// afterwards: what its memory grows by then is what the log pane keeps per line.
// Needs Xvfb and xdotool (scripts/setup xvfb xdotool).
// Usage: program_bench [orders] [items per order]
#include "BenchSupport.h"
#include "ChildProcess.h"
#include "ImportDatabases.h"
#include "ImportRun.h"
#include "LargeDocument.h"
#include "SilentHost.h"
#include "VirtualDisplay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

const QString kUnreachableService = QStringLiteral("http://127.0.0.1:9/servico/oc/download");
const QString kLockFileName = QStringLiteral("integracao-tarvelo.lock");

[[noreturn]] void fail(const char* reason)
{
    std::fprintf(stderr, "program_bench: %s\n", reason);
    std::exit(1);
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        fail("a file of the program folder could not be written");
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

double secondsSince(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// The program installed in a folder of its own beside fresh databases, with the document
// where a run takes it when the service cannot be reached.
class ProgramFolder {
public:
    explicit ProgramFolder(const QByteArray& document)
    {
        if (!QFile::copy(QStringLiteral(PROGRAM_FILE), program()))
            fail("the program could not be copied");
        writeFile(path(QStringLiteral("ConfigTarveloTarvelo.ini")),
                  QStringLiteral("[BASE]\r\nKELMORA=%1\r\nPEDIDOS=%2\r\n[SERVICO]\r\nENDERECO=%3\r\n")
                      .arg(databases.backOfficePath(), databases.ordersPath(), kUnreachableService)
                      .toLocal8Bit());
        setReceivedDocument(document);
        writeFile(path(kLockFileName), {});
    }

    QString path(const QString& name) const { return QDir(folder_.path()).filePath(name); }
    QString program() const { return path(QStringLiteral("integracao-tarvelo")); }
    void setReceivedDocument(const QByteArray& document) const { writeFile(path(QStringLiteral("recebido.xml")), document); }

    ImportDatabases databases;

private:
    QTemporaryDir folder_;
};

struct Figures {
    double seconds = 0;
    long peakKilobytes = -1;
};

Figures runAlone(const QByteArray& document)
{
    const ProgramFolder folder(document);
    SilentHost host(folder.databases.backOfficePath(), folder.databases.ordersPath(), QString());
    const SystemClock clock;
    const RegionalSettings regional;
    QElapsedTimer timer;
    timer.start();
    {
        ImportRun run(host, RunSetup{QFileInfo(folder.program()).path(), kUnreachableService}, clock, regional);
        run.execute();
    }
    return {secondsSince(timer), peakResidentKilobytes()};
}

ChildProcess::Setup programSetup(const ProgramFolder& folder, QStringList arguments, QStringList environment)
{
    environment << QStringLiteral("LANG=pt_BR.UTF-8");
    return {QStringList{folder.program()} << arguments, environment,
            {QStringLiteral("LC_ALL"), QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("QT_QPA_PLATFORM")},
            folder.path(QStringLiteral("saida.log")), folder.path(QStringLiteral("erros.log"))};
}

struct HeadlessFigures : Figures {
    long lines = 0;
    double charactersPerLine = 0;
};

HeadlessFigures runHeadless(const QByteArray& document)
{
    const ProgramFolder folder(document);
    QElapsedTimer timer;
    timer.start();
    const auto outcome = runToEnd(programSetup(folder, {QStringLiteral("/executa")},
                                               {QStringLiteral("DISPLAY=")}));
    HeadlessFigures figures;
    figures.seconds = secondsSince(timer);
    figures.peakKilobytes = outcome.peakResidentKilobytes;
    if (outcome.exitStatus != 5)   // every order recorded, the service unreachable
        fail("the headless program did not import the document");
    const QString output = QString::fromUtf8(readFile(folder.path(QStringLiteral("saida.log"))));
    figures.lines = output.count(u'\n');
    figures.charactersPerLine = static_cast<double>(output.size() - figures.lines) / static_cast<double>(figures.lines);
    return figures;
}

// True while the program holds the run lock: a run is in progress.
bool runLockHeld(const QString& lockFile, pid_t program)
{
    struct stat file{};
    if (::stat(QFile::encodeName(lockFile).constData(), &file) != 0)
        return false;
    // Lines of the form "1: FLOCK  ADVISORY  WRITE 1234 fe:00:5678 0 EOF".
    const QByteArray inode = ':' + QByteArray::number(static_cast<qulonglong>(file.st_ino)) + ' ';
    for (const QByteArray& line : readFile(QStringLiteral("/proc/locks")).split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 5 && fields[4].toLong() == program && (fields[5] + ' ').endsWith(inode))
            return true;
    }
    return false;
}

QString commandOutput(const QString& display, const QStringList& command, const QString& outputFile)
{
    const auto outcome = runToEnd({command, {QStringLiteral("DISPLAY=") + display}, {}, outputFile});
    return outcome.exitStatus == 0 ? QString::fromLatin1(readFile(outputFile)).trimmed() : QString();
}

struct WindowFigures : Figures {
    long kilobytesBefore = -1;
    long kilobytesAfterFirstRun = -1;
    long kilobytesAfterSecondRun = -1;
    double secondRunSeconds = 0;
};

// Presses "Executar Rotina" and waits for the run to end; answers the run's time.
double runFromTheButton(const QString& display, const QString& window, const ProgramFolder& folder, pid_t program)
{
    const QString lockFile = folder.path(kLockFileName);
    QElapsedTimer timer;
    timer.start();
    // "Executar Rotina" is 121 x 25 at 632,64 of the window's client area.
    runToEnd({{QStringLiteral("xdotool"), QStringLiteral("mousemove"), QStringLiteral("--window"), window,
               QStringLiteral("692"), QStringLiteral("76"), QStringLiteral("click"), QStringLiteral("1")},
              {QStringLiteral("DISPLAY=") + display}, {}});
    while (!runLockHeld(lockFile, program)) {
        if (timer.elapsed() > 60000)
            fail("the click on \"Executar Rotina\" started no run");
        QThread::msleep(1);
    }
    while (runLockHeld(lockFile, program))
        QThread::msleep(5);
    return secondsSince(timer);
}

WindowFigures runInWindow(const QByteArray& document, const QByteArray& secondDocument)
{
    const VirtualDisplay display;
    if (display.name().isEmpty())
        fail("Xvfb could not start");
    const ProgramFolder folder(document);
    ChildProcess program(programSetup(folder, {}, {QStringLiteral("DISPLAY=") + display.name(),
                                                   QStringLiteral("QT_QPA_PLATFORM=xcb")}));
    QString window;
    for (int attempt = 0; attempt < 300 && window.isEmpty(); ++attempt) {
        window = commandOutput(display.name(),
                               {QStringLiteral("xdotool"), QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                QStringLiteral("--name"), QStringLiteral("Principal")},
                               folder.path(QStringLiteral("janela")));
        if (window.isEmpty())
            QThread::msleep(100);
    }
    if (window.isEmpty())
        fail("the program's window did not appear (is xdotool installed?)");
    QThread::msleep(500);   // the window's first paint

    WindowFigures figures;
    figures.kilobytesBefore = program.residentKilobytes();
    figures.seconds = runFromTheButton(display.name(), window, folder, program.pid());
    figures.kilobytesAfterFirstRun = program.residentKilobytes();
    folder.setReceivedDocument(secondDocument);
    figures.secondRunSeconds = runFromTheButton(display.name(), window, folder, program.pid());
    figures.kilobytesAfterSecondRun = program.residentKilobytes();
    figures.peakKilobytes = program.terminate().peakResidentKilobytes;
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    const int orders = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int items = argc > 2 ? std::atoi(argv[2]) : 5;
    const QByteArray document = largeOrderDocument(orders, items);

    const Figures alone = runAlone(document);
    std::printf("%d orders x %d items\n", orders, items);
    std::printf("run alone:         %7.2f s          peak resident %7ld kB\n", alone.seconds, alone.peakKilobytes);
    std::fflush(stdout);
    const HeadlessFigures headless = runHeadless(document);
    std::printf("program, headless: %7.2f s = %5.2fx  peak resident %7ld kB  (%ld log lines of %.0f characters)\n",
                headless.seconds, headless.seconds / alone.seconds, headless.peakKilobytes, headless.lines,
                headless.charactersPerLine);
    std::fflush(stdout);
    const WindowFigures window = runInWindow(document, largeOrderDocument(orders, items, QStringLiteral("SEGUNDO")));
    std::printf("program, window:   %7.2f s = %5.2fx  peak resident %7ld kB  (second run %.2f s)\n", window.seconds,
                window.seconds / alone.seconds, window.peakKilobytes, window.secondRunSeconds);
    const long growth = window.kilobytesAfterSecondRun - window.kilobytesAfterFirstRun;
    std::printf("window resident: %ld kB before, %ld kB after the first run, %ld kB after the second: %+ld kB for "
                "%ld lines = %.0f bytes per line kept (its text: %.0f bytes)\n",
                window.kilobytesBefore, window.kilobytesAfterFirstRun, window.kilobytesAfterSecondRun, growth,
                headless.lines, growth * 1024.0 / static_cast<double>(headless.lines),
                2 * headless.charactersPerLine);
    return 0;
}
