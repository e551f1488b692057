#include "InstalledProgram.h"

#include <QDir>
#include <QFile>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kUsageStart = "Usage: integracao-tarvelo [/executa]...\n";
const QByteArray kVersion = "integracao-tarvelo " PROGRAM_VERSION "\n";
const QByteArray kMissingLibraryEnd = "Please install InterBase to use this functionality\n"
                                      "Install the Debian package libfbclient2.\n";

// Every exit status that a run without a display can end with, as the usage lists it.
const QByteArray kStatusLines[] = {
    "\n  0      every order read is recorded",
    "\n  1      the program could not start",
    "\n  2      a database could not be opened",
    "\n  3      an order or a document could not be recorded",
    "\n  4      another run was in progress",
    "\n  5      the order service could not be reached",
    "\n  128+n  ended by signal n",
};

} // namespace

// "--help" and "--version" answer on a server as bare as can be: no display, no network,
// no Firebird client library. Any other argument starts the program as before, which
// there ends with the missing library.
TEST(HelpAndVersion, AnswerWithoutDisplayOrClientLibraryAndEveryOtherArgumentStartsTheProgram)
{
    struct Case {
        QStringList arguments;
        int exitStatus;
        QByteArray outputStart;
        QByteArray errorEnd;
    };
    const Case cases[] = {
        {{"--help"}, 0, kUsageStart, ""},
        {{"--version"}, 0, kVersion, ""},
        {{"/executa", "--help"}, 0, kUsageStart, ""},
        {{"--version", "--help"}, 0, kVersion, ""},
        {{"/executa"}, 1, "", kMissingLibraryEnd},
        {{"-h", "--HELP", "-version", "/executa"}, 1, "", kMissingLibraryEnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const InstalledProgram program(QStringLiteral("/nao/existe/kelmora.fdb"), QStringLiteral("/nao/existe/pedidos.fdb"));
        const auto outcome = program.runWithoutClientLibrary(c.arguments);
        EXPECT_EQ(outcome.exitStatus, c.exitStatus) << outcome.standardError.toStdString();
        EXPECT_TRUE(outcome.standardOutput.startsWith(c.outputStart)) << outcome.standardOutput.toStdString();
        EXPECT_TRUE(outcome.standardError.endsWith(c.errorEnd)) << outcome.standardError.toStdString();
        EXPECT_EQ(c.errorEnd.isEmpty(), outcome.standardError.isEmpty()) << outcome.standardError.toStdString();
        EXPECT_FALSE(QFile::exists(QDir(program.folder()).filePath(QStringLiteral("ToDp.xtr")))) << "no run began";
    }
}

TEST(HelpAndVersion, TheUsageNamesTheUnattendedSwitchAndEveryExitStatusAndNothingElseIsPrinted)
{
    const InstalledProgram program(QStringLiteral("/nao/existe/kelmora.fdb"), QStringLiteral("/nao/existe/pedidos.fdb"));
    const auto help = program.run({QStringLiteral("--help")});
    EXPECT_EQ(help.exitStatus, 0);
    for (const QByteArray& line : kStatusLines)
        EXPECT_TRUE(help.standardOutput.contains(line)) << line.toStdString();
    EXPECT_TRUE(help.standardOutput.contains("  --version  show the version and exit\n"));
    EXPECT_EQ(help.standardError, QByteArray());

    const auto version = program.run({QStringLiteral("--version")});
    EXPECT_EQ(version.standardOutput, kVersion);
    EXPECT_EQ(version.standardError, QByteArray());
}
