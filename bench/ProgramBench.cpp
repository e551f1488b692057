// Prints what the installed program costs on one large order document, beside the run
// alone: the run in this process with a host that nobody watches, the program headless
// ("/executa" without a display, its log on standard output into a file), and the
// program in its window on a virtual display (Xvfb), started with "Executar Rotina". Each
// imports the same document into fresh databases, the received document read after a
// download that fails at once; the times are the best of some rounds, as other programs
// on the machine only ever make a round slower. The run alone and the window then import
// a second document of as many new orders, to show what their resident memory grows by
// from one run to the next. Last, pane_bench shows what the log pane keeps per line of
// what the headless program wrote.
// Needs Xvfb and xdotool (scripts/setup xvfb xdotool).
// Usage: program_bench [orders] [items per order] [rounds]
#include "BenchSupport.h"
#include "ChildProcess.h"
#include "FileDescriptor.h"
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
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

const QString kUnreachableService = QStringLiteral("http://127.0.0.1:9/servico/oc/download");
const QString kLockFileName = QStringLiteral("integracao-tarvelo.lock");

// The benchmark cannot go on. Thrown rather than exiting, so that the programs it started
// (Xvfb, the program in its window) end with the objects that own them.
[[noreturn]] void fail(const char* reason)
{
    throw std::runtime_error(reason);
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
    long growthKilobytes = -1;   // in the second run; only the run alone and the window have one
};

// In a process of its own, which writes its figures into the pipe for this one.
Figures runAlone(const QByteArray& document, const QByteArray& secondDocument)
{
    int ends[2];
    if (::pipe(ends) != 0)
        fail("no pipe");
    const FileDescriptor readEnd(ends[0]);
    FileDescriptor writeEnd(ends[1]);
    runApart([&] {
        // A failure here leaves the pipe empty, which tells the benchmark.
        try {
            const ProgramFolder folder(document);
            SilentHost host(folder.databases.backOfficePath(), folder.databases.ordersPath(), QString());
            const SystemClock clock;
            const RegionalSettings regional;
            ImportRun run(host, RunSetup{QFileInfo(folder.program()).path(), kUnreachableService}, clock, regional);
            Figures figures;
            QElapsedTimer timer;
            timer.start();
            run.execute();
            figures.seconds = secondsSince(timer);
            const long afterFirstRun = residentKilobytes();
            folder.setReceivedDocument(secondDocument);
            run.execute();
            figures.growthKilobytes = residentKilobytes() - afterFirstRun;
            figures.peakKilobytes = peakResidentKilobytes();
            if (::write(writeEnd.get(), &figures, sizeof figures) != static_cast<ssize_t>(sizeof figures))
                fail("the figures of the run alone were lost");
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "program_bench: %s\n", failure.what());
        }
    });
    writeEnd.close();   // so that a child that wrote nothing reads as the end of the pipe
    Figures figures;
    if (::read(readEnd.get(), &figures, sizeof figures) != static_cast<ssize_t>(sizeof figures))
        fail("the run alone gave no figures");
    return figures;
}

ChildProcess::Setup programSetup(const ProgramFolder& folder, QStringList arguments, QStringList environment)
{
    environment << QStringLiteral("LANG=pt_BR.UTF-8");
    return {QStringList{folder.program()} << arguments, environment,
            {QStringLiteral("LC_ALL"), QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("QT_QPA_PLATFORM")},
            folder.path(QStringLiteral("saida.log")), folder.path(QStringLiteral("erros.log"))};
}

struct HeadlessFigures : Figures {
    QString output;   // the file of what the program wrote on standard output
};

HeadlessFigures runHeadless(const QByteArray& document, const QTemporaryDir& outputs)
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
    figures.output = QDir(outputs.path()).filePath(QStringLiteral("saida.log"));
    QFile::remove(figures.output);
    QFile::copy(folder.path(QStringLiteral("saida.log")), figures.output);
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

Figures runInWindow(const QByteArray& document, const QByteArray& secondDocument)
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

    Figures figures;
    figures.seconds = runFromTheButton(display.name(), window, folder, program.pid());
    const long afterFirstRun = program.residentKilobytes();
    folder.setReceivedDocument(secondDocument);
    runFromTheButton(display.name(), window, folder, program.pid());
    figures.growthKilobytes = program.residentKilobytes() - afterFirstRun;
    figures.peakKilobytes = program.terminate().peakResidentKilobytes;
    return figures;
}

// The best time of the rounds, with the memory figures of the last round.
template <typename Measure>
auto bestOf(int rounds, Measure measure)
{
    auto best = measure();
    for (int round = 1; round < rounds; ++round) {
        const auto figures = measure();
        const double seconds = std::min(best.seconds, figures.seconds);
        best = figures;
        best.seconds = seconds;
    }
    return best;
}

int measureAll(int argc, char** argv)
{
    const int orders = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int items = argc > 2 ? std::atoi(argv[2]) : 5;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    const QByteArray document = largeOrderDocument(orders, items);
    const QByteArray secondDocument = largeOrderDocument(orders, items, QStringLiteral("SEGUNDO"));

    std::printf("%d orders x %d items, best of %d rounds\n", orders, items, rounds);
    const Figures alone = bestOf(rounds, [&] { return runAlone(document, secondDocument); });
    std::printf("run alone:         %7.2f s          peak resident %7ld kB\n", alone.seconds, alone.peakKilobytes);
    std::fflush(stdout);
    const QTemporaryDir outputs;
    const HeadlessFigures headless = bestOf(rounds, [&] { return runHeadless(document, outputs); });
    std::printf("program, headless: %7.2f s = %5.2fx  peak resident %7ld kB\n", headless.seconds,
                headless.seconds / alone.seconds, headless.peakKilobytes);
    std::fflush(stdout);
    const Figures window = bestOf(rounds, [&] { return runInWindow(document, secondDocument); });
    std::printf("program, window:   %7.2f s = %5.2fx  peak resident %7ld kB\n", window.seconds,
                window.seconds / alone.seconds, window.peakKilobytes);
    std::printf("resident memory in a second run of as many orders: %+ld kB in the window, %+ld kB alone\n",
                window.growthKilobytes, alone.growthKilobytes);
    std::fflush(stdout);
    runToEnd({{QStringLiteral(PANE_BENCH_FILE), headless.output}, {}, {}, QString()});
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return measureAll(argc, argv);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "program_bench: %s\n", failure.what());
        return 1;
    }
}
