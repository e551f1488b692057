#include "DatabaseLocations.h"
#include "Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/resource.h>
#include <csignal>
#include <unistd.h>

namespace {

class SettingsFile : public testing::Test {
protected:
    QByteArray content() const
    {
        QFile file(settingsFilePath(folder.path()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void write(const QByteArray& bytes) const
    {
        QFile file(settingsFilePath(folder.path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir folder;
};

} // namespace

TEST_F(SettingsFile, NoFileLoadsNothingAndTheFirstSaveCreatesBothKeysInOrder)
{
    EXPECT_FALSE(loadDatabaseLocations(folder.path()));
    EXPECT_EQ(content(), QByteArray("<missing>"));

    saveDatabaseLocations(folder.path(), {QString(), QString()});
    EXPECT_EQ(content(), QByteArray("[BASE]\r\nKELMORA=\r\nPEDIDOS=\r\n"));
    const auto loaded = loadDatabaseLocations(folder.path());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->backOffice, QString());
    EXPECT_EQ(loaded->orders, QString());
}

TEST_F(SettingsFile, ValuesAreStoredTrimmedAndReadBack)
{
    saveDatabaseLocations(folder.path(), {QStringLiteral("  server:/dados/kelmora.fdb \t"), QStringLiteral(" /dados/São Paulo.fdb ")});
    EXPECT_EQ(content(), QByteArray("[BASE]\r\nKELMORA=server:/dados/kelmora.fdb\r\nPEDIDOS=/dados/S\xe3o Paulo.fdb\r\n"));
    const auto loaded = loadDatabaseLocations(folder.path());
    EXPECT_EQ(loaded->backOffice, QStringLiteral("server:/dados/kelmora.fdb"));
    EXPECT_EQ(loaded->orders, QStringLiteral("/dados/São Paulo.fdb"));
}

TEST_F(SettingsFile, ReadingFollowsTheProfileRules)
{
    struct Case {
        const char* file;
        const char* backOffice;
        const char* orders;
    };
    const Case cases[] = {
        {"[BASE]\r\nPEDIDOS=p.fdb\r\n", "", "p.fdb"},
        {"[BASE]\r\nKELMORA=k.fdb\r\n", "k.fdb", ""},
        {"[base]\nkelmora = k.fdb \nPedidos=\"p.fdb\"\n", "k.fdb", "p.fdb"},
        {"[OUTRA]\r\nKELMORA=x\r\n[BASE]\r\n;KELMORA=comentado\r\nKELMORA=k\r\nKELMORA=segunda\r\n", "k", ""},
        {"KELMORA=sem secao\r\n", "", ""},
        {"[BASE]\r\n[OUTRA]\r\nKELMORA=x\r\n", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        write(c.file);
        const auto loaded = loadDatabaseLocations(folder.path());
        ASSERT_TRUE(loaded) << c.file;
        EXPECT_EQ(loaded->backOffice, QString::fromLatin1(c.backOffice)) << c.file;
        EXPECT_EQ(loaded->orders, QString::fromLatin1(c.orders)) << c.file;
    }
}

TEST_F(SettingsFile, AtMost2047CharactersOfAValueAreRead)
{
    write("[BASE]\r\nKELMORA=" + QByteArray(3000, 'k') + "\r\nPEDIDOS=" + QByteArray(2047, 'p') + "\r\n");
    const auto loaded = loadDatabaseLocations(folder.path());
    EXPECT_EQ(loaded->backOffice, QString(2047, u'k'));
    EXPECT_EQ(loaded->orders, QString(2047, u'p'));
}

TEST_F(SettingsFile, EveryOtherLineSurvivesASave)
{
    const QByteArray before = "; configuração da estação\r\n"
                              "[GERAL]\r\nTEMA=escuro\r\n\r\n"
                              "[base]\r\nkelmora = antigo.fdb\r\nOUTRA=1\r\n\r\n"
                              "[FIM]\nX=1";
    write(before);
    saveDatabaseLocations(folder.path(), {QStringLiteral("k.fdb"), QStringLiteral("p.fdb")});
    EXPECT_EQ(content(), QByteArray("; configuração da estação\r\n"
                                    "[GERAL]\r\nTEMA=escuro\r\n\r\n"
                                    "[base]\r\nKELMORA=k.fdb\r\nOUTRA=1\r\nPEDIDOS=p.fdb\r\n\r\n"
                                    "[FIM]\nX=1"));

    const QByteArray once = content();
    saveDatabaseLocations(folder.path(), {QStringLiteral("k.fdb"), QStringLiteral("p.fdb")});
    EXPECT_EQ(content(), once);
}

TEST_F(SettingsFile, ASectionIsAddedAfterALastLineWithoutLineBreak)
{
    write("[GERAL]\r\nTEMA=escuro");
    saveDatabaseLocations(folder.path(), {QStringLiteral("k"), QStringLiteral("p")});
    EXPECT_EQ(content(), QByteArray("[GERAL]\r\nTEMA=escuro\r\n[BASE]\r\nKELMORA=k\r\nPEDIDOS=p\r\n"));
}

TEST_F(SettingsFile, AFileThatCannotBeWrittenFailsWithItsPathAndKeepsItsContent)
{
    write("[BASE]\r\nKELMORA=k\r\n");
    const QString path = settingsFilePath(folder.path());
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    try {
        saveDatabaseLocations(folder.path(), {QStringLiteral("novo"), QString()});
        ADD_FAILURE() << "saved into a write-protected file";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to write to %1").arg(path));
    }
    EXPECT_EQ(content(), QByteArray("[BASE]\r\nKELMORA=k\r\n"));

    // A program folder that is not a folder at all.
    const QString notAFolder = folder.filePath(QStringLiteral("arquivo"));
    QFile(notAFolder).open(QIODevice::WriteOnly);
    EXPECT_THROW(saveDatabaseLocations(notAFolder, {}), Error);
}

TEST_F(SettingsFile, AFolderNamedLikeTheFileIsNoSettingsFile)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("ConfigTarveloTarvelo.ini")));
    EXPECT_FALSE(loadDatabaseLocations(folder.path()));
    EXPECT_THROW(saveDatabaseLocations(folder.path(), {}), Error);
}

TEST_F(SettingsFile, ALocationTheFileCannotHoldIsRefusedAndNothingIsWritten)
{
    const QString polish = QStringLiteral("/dados/\u0141\u00f3d\u017a/kelmora.fdb");
    for (const bool fileExists : {false, true}) {
        if (fileExists)
            write("; locais\r\n[BASE]\r\nKELMORA=k\r\nPEDIDOS=p\r\n");
        const QByteArray before = content();
        for (const DatabaseLocations& locations : {DatabaseLocations{polish, QStringLiteral("p2")},
                                                   DatabaseLocations{QStringLiteral("k2"), QStringLiteral(" ") + polish}}) {
            try {
                saveDatabaseLocations(folder.path(), locations);
                ADD_FAILURE() << "stored a location the file cannot hold";
            } catch (const Error& error) {
                EXPECT_EQ(error.message(), QStringLiteral("The location '%1' cannot be saved: the settings file holds "
                                                          "only Windows-1252 characters")
                                               .arg(polish));
            }
            EXPECT_EQ(content(), before);
        }
    }
}

namespace {

// Runs as a user without the administrator's right to write anywhere, in a child
// process; the outcome is the child's exit status.
template <typename Action>
[[noreturn]] void exitAsOrdinaryUser(Action action)
{
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
        std::_Exit(2);
    std::_Exit(action() ? 0 : 1);
}

bool saves(const QString& folder, const DatabaseLocations& locations)
{
    try {
        saveDatabaseLocations(folder, locations);
        return true;
    } catch (const Error&) {
        return false;
    }
}

} // namespace

// A service account may be given its settings file but not the folder it stands in.
TEST_F(SettingsFile, AWritableFileInAFolderThatIsNotWritableIsSavedAndAFullDiskKeepsIt)
{
    write("; locais\r\n[BASE]\r\nKELMORA=k\r\nPEDIDOS=p\r\n");
    const QString path = settingsFilePath(folder.path());
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::WriteGroup
                                                | QFile::ReadOther | QFile::WriteOther));
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::ReadUser | QFile::ExeUser | QFile::ReadGroup
                                                         | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    const DatabaseLocations longer{QStringLiteral("servidor:/dados/kelmora-%1.fdb").arg(QString(200, u'x')),
                                   QStringLiteral("servidor:/dados/pedidos.fdb")};

    // Not even the room for the new content: the file keeps every byte it had.
    EXPECT_EXIT(exitAsOrdinaryUser([&] {
                    std::signal(SIGXFSZ, SIG_IGN);
                    const rlimit full{static_cast<rlim_t>(content().size()), static_cast<rlim_t>(content().size())};
                    return ::setrlimit(RLIMIT_FSIZE, &full) == 0 && !saves(folder.path(), longer);
                }),
                testing::ExitedWithCode(0), "");
    EXPECT_EQ(content(), QByteArray("; locais\r\n[BASE]\r\nKELMORA=k\r\nPEDIDOS=p\r\n"));

    EXPECT_EXIT(exitAsOrdinaryUser([&] { return saves(folder.path(), longer) && saves(folder.path(), {}); }),
                testing::ExitedWithCode(0), "");
    EXPECT_EQ(content(), QByteArray("; locais\r\n[BASE]\r\nKELMORA=\r\nPEDIDOS=\r\n"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("ConfigTarveloTarvelo.ini")});
    QFile::setPermissions(folder.path(), QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}

// The installed program's settings file is a link to the configuration file in /etc.
TEST_F(SettingsFile, ALinkedFileIsReadAndSavedWhereTheLinkPointsAndStaysALink)
{
    const QString target = folder.filePath(QStringLiteral("etc.ini"));
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("; comentario\n[BASE]\nKELMORA=k\nPEDIDOS=p\n");
    file.close();
    ASSERT_TRUE(QFile::link(target, settingsFilePath(folder.path())));

    const auto loaded = loadDatabaseLocations(folder.path());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->backOffice, QStringLiteral("k"));
    saveDatabaseLocations(folder.path(), {QStringLiteral("novo"), QStringLiteral("p")});
    EXPECT_TRUE(QFileInfo(settingsFilePath(folder.path())).isSymLink());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("; comentario\n[BASE]\nKELMORA=novo\nPEDIDOS=p\n"));
}
