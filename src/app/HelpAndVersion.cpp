#include "HelpAndVersion.h"

#include "UPrincipal.h"

#include <QStringList>

#include <cstring>

namespace {

const QString kCommandName = QStringLiteral("integracao-tarvelo");

struct ExitStatusMeaning {
    QString status;
    QString meaning;
};

// The statuses a run without a display ends with; the README's table says the same.
QList<ExitStatusMeaning> exitStatusMeanings()
{
    return {
        {QString::number(kExitCompleted),
         QStringLiteral("every order read is recorded (or was already), or nothing was new")},
        {QString::number(kExitWindowNotCreated),
         QStringLiteral("the program could not start (for example the database client library is missing)")},
        {QString::number(kExitNoDatabaseConnection), QStringLiteral("a database could not be opened")},
        {QString::number(kExitRunFailed),
         QStringLiteral("an order or a document could not be recorded; it stays pending")},
        {QString::number(kExitAnotherRunInProgress),
         QStringLiteral("another run was in progress in the same program folder; nothing was touched")},
        {QString::number(kExitDownloadFailed),
         QStringLiteral("the order service could not be reached or trusted; every order read is recorded")},
        {QStringLiteral("128+n"),
         QStringLiteral("ended by signal n (SIGTERM, SIGINT, SIGHUP) after the order in progress")},
    };
}

QString exitStatusLines()
{
    QStringList lines;
    for (const ExitStatusMeaning& line : exitStatusMeanings())
        lines << QStringLiteral("  %1 %2").arg(line.status, -6).arg(line.meaning);
    return lines.join(u'\n');
}

} // namespace

QString usageText()
{
    return QStringLiteral(
               "Usage: %1 [/executa]...\n"
               "       %1 --help | --version\n"
               "\n"
               "Imports the marketplace's new purchase orders into the orders database.\n"
               "\n"
               "Without arguments the window opens, and \"Executar Rotina\" runs one import.\n"
               "Every \"/executa\" runs one import while the program starts; when the imports\n"
               "end normally, the program ends by itself.\n"
               "\n"
               "Without a display, \"/executa\" runs without a window: the log goes to standard\n"
               "output, the message of a failure to standard error, and the exit status tells\n"
               "how the run ended:\n"
               "%2\n"
               "With a display the window tells it instead, stays open after a run that did not\n"
               "end normally, and the program ends with the status when it is closed.\n"
               "\n"
               "The settings file ConfigTarveloTarvelo.ini, the received order documents and\n"
               "the other files of a run are kept in the folder of the program's executable.\n"
               "\n"
               "  --help     show this text and exit\n"
               "  --version  show the version and exit\n")
        .arg(kCommandName, exitStatusLines());
}

QString versionText()
{
    return QStringLiteral("%1 %2\n").arg(kCommandName, QStringLiteral(PROGRAM_VERSION));
}

std::optional<QString> requestedInformation(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0)
            return usageText();
        if (std::strcmp(argv[i], "--version") == 0)
            return versionText();
    }
    return std::nullopt;
}
