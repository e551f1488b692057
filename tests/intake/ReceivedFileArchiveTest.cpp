#include "ReceivedFileArchive.h"

#include "FixedClock.h"
#include "RecordingRunLog.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QString kFolderExistsLine = QStringLiteral("raw:pasta já existe");
const QString kEvents = QStringLiteral("events");

class Archive : public testing::Test {
protected:
    void receive(const QByteArray& content) const
    {
        QFile file(receivedFilePath(folder.path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QString archiveFolder() const { return folder.filePath(QStringLiteral("xmlrecebidos")); }

    QStringList copies() const { return QDir(archiveFolder()).entryList(QDir::Files); }

    QByteArray copy(const QString& name) const
    {
        QFile file(QDir(archiveFolder()).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir folder;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(14, 30, 7, 412))};
    RecordingRunLog log;
};

} // namespace

TEST_F(Archive, FirstCopyCreatesTheFolderAndEveryLaterOneReportsIt)
{
    receive("<pedidos>primeiro</pedidos>");
    arquivarecebido(folder.path(), clock, log);
    EXPECT_EQ(log.entries, QStringList{kEvents});
    EXPECT_EQ(copy(QStringLiteral("20240315_143007.xml")), QByteArray("<pedidos>primeiro</pedidos>"));

    receive("<pedidos>segundo</pedidos>");
    clock.set(QDateTime(QDate(2024, 3, 15), QTime(14, 31, 0)));
    arquivarecebido(folder.path(), clock, log);
    EXPECT_EQ(log.entries, (QStringList{kEvents, kFolderExistsLine, kEvents}));
    EXPECT_EQ(copies(), (QStringList{QStringLiteral("20240315_143007.xml"), QStringLiteral("20240315_143100.xml")}));
    EXPECT_EQ(copy(QStringLiteral("20240315_143100.xml")), QByteArray("<pedidos>segundo</pedidos>"));
}

TEST_F(Archive, SecondCopyInTheSameSecondReplacesTheFirst)
{
    receive("<pedidos>primeiro, mais longo</pedidos>");
    arquivarecebido(folder.path(), clock, log);
    receive("<pedidos>segundo</pedidos>");
    clock.set(QDateTime(QDate(2024, 3, 15), QTime(14, 30, 7, 999)));
    arquivarecebido(folder.path(), clock, log);

    EXPECT_EQ(copies(), QStringList{QStringLiteral("20240315_143007.xml")});
    EXPECT_EQ(copy(QStringLiteral("20240315_143007.xml")), QByteArray("<pedidos>segundo</pedidos>"));
}

TEST_F(Archive, NameCarriesDateAndTimeWhateverTheRegionalSettings)
{
    struct Case {
        QDateTime moment;
        const char* name;
    };
    const Case cases[] = {
        {QDateTime(QDate(2024, 3, 15), QTime(0, 0, 0, 250)), "20240315_000000.xml"},
        {QDateTime(QDate(2024, 1, 5), QTime(9, 5, 3)), "20240105_090503.xml"},
        {QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 999)), "20231231_235959.xml"},
    };
    // A locale with its own digits and a 12-hour clock must not reach the name.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    receive("");
    for (const Case& expected : cases) {
        clock.set(expected.moment);
        arquivarecebido(folder.path(), clock, log);
        EXPECT_EQ(copy(QString::fromLatin1(expected.name)), QByteArray()) << expected.name;
    }
    QLocale::setDefault(previous);
    EXPECT_EQ(copies().size(), 3);
}

TEST_F(Archive, FolderThatCannotBeCreatedGivesTheLineAndNoCopy)
{
    receive("<pedidos/>");
    QFile fileInItsPlace(archiveFolder());
    ASSERT_TRUE(fileInItsPlace.open(QIODevice::WriteOnly));
    fileInItsPlace.close();

    arquivarecebido(folder.path(), clock, log);

    EXPECT_EQ(log.entries, (QStringList{kFolderExistsLine, kEvents}));
    EXPECT_TRUE(QFileInfo(archiveFolder()).isFile());
    EXPECT_EQ(QFileInfo(archiveFolder()).size(), 0);
}

TEST_F(Archive, OnlyOneFolderLevelIsEverCreated)
{
    const QString missingProgramFolder = folder.filePath(QStringLiteral("ausente"));

    arquivarecebido(missingProgramFolder, clock, log);

    EXPECT_EQ(log.entries, (QStringList{kFolderExistsLine, kEvents}));
    EXPECT_FALSE(QFileInfo::exists(missingProgramFolder));
}
