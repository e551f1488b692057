#include "DatabaseLocations.h"
#include "ImportDatabases.h"
#include "MainWindowFixture.h"
#include "OrderDocument.h"
#include "SideConnection.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

class WindowLogFile : public MainWindow {
protected:
    void SetUp() override
    {
        saveDatabaseLocations(folder.path(), {databases.backOfficePath(), databases.ordersPath()});
        window = create();
    }

    // Imports one order from a file typed into "Arquivo", as the operator would.
    void runOn(const QDateTime& moment, const char* purchaseOrder)
    {
        clock.set(moment);
        const QString number = QLatin1String(purchaseOrder);
        control<QLineEdit>(*window, "EdtArquivo")
            ->setText(writeDocument(number + QStringLiteral(".xml"),
                                    orderDocument(QString::fromLatin1(ImportDatabases::kCustomerCnpj),
                                                  {{number, QString(), {{QStringLiteral("123"), QStringLiteral("1"),
                                                                         QStringLiteral("10")}}}})));
        control<QPushButton>(*window, "Button1")->click();
    }

    QStringList logFiles() const { return QDir(folder.filePath(QStringLiteral("logs"))).entryList(QDir::Files); }

    QStringList linesOf(const QString& name) const
    {
        QFile file(folder.filePath(QStringLiteral("logs/") + name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    // The lines the pane holds after the ones it held before, blank lines left out.
    static QStringList newLines(const QString& pane, const QString& before)
    {
        return pane.mid(before.size()).split(u'\n', Qt::SkipEmptyParts);
    }

    std::vector<SideRow> recordedOrders() const
    {
        return SideConnection(databases.ordersPath())
            .rows(QStringLiteral("SELECT PED_NROORDEMCOMPRA FROM PEDIDOS ORDER BY 1"));
    }

    const ImportDatabases databases;
    std::unique_ptr<TForm1> window;
};

} // namespace

// Every line of a run made from the window also goes to the file of its day, and the files
// of the last 30 days are kept: on 15 March the one of 14 February goes, on 16 March the one
// of 15 February.
TEST_F(WindowLogFile, EveryLineGoesToTheFileOfItsDayKeptThirtyDays)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("logs")));
    for (const char* name : {"2024-02-14.log", "2024-02-15.log", "leia-me.txt"}) {
        QFile file(folder.filePath(QStringLiteral("logs/") + QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    runOn(QDateTime(QDate(2024, 3, 15), QTime(23, 59, 50)), "4501");
    const QString afterFirstRun = pane(*window);
    ASSERT_TRUE(afterFirstRun.contains(QStringLiteral("\nPedido: 4501 (1)\n")));
    EXPECT_EQ(logFiles(), QStringList({"2024-02-15.log", "2024-03-15.log", "leia-me.txt"}));
    EXPECT_EQ(linesOf(QStringLiteral("2024-03-15.log")), newLines(afterFirstRun, QStringLiteral("Memo1")));

    runOn(QDateTime(QDate(2024, 3, 16), QTime(8, 0)), "4502");
    ASSERT_TRUE(pane(*window).contains(QStringLiteral("\nPedido: 4502 (1)\n")));
    EXPECT_EQ(logFiles(), QStringList({"2024-03-15.log", "2024-03-16.log", "leia-me.txt"}));
    EXPECT_EQ(linesOf(QStringLiteral("2024-03-15.log")), newLines(afterFirstRun, QStringLiteral("Memo1")));
    EXPECT_EQ(linesOf(QStringLiteral("2024-03-16.log")), newLines(pane(*window), afterFirstRun));
}

TEST_F(WindowLogFile, ALogThatCannotBeWrittenIsToldOnceAndTheRunsGoOn)
{
    // A file where the folder should be: no one, the administrator included, can write there.
    QFile blocker(folder.filePath(QStringLiteral("logs")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    runOn(QDateTime(QDate(2024, 3, 15), QTime(14, 30, 7)), "4501");
    runOn(QDateTime(QDate(2024, 3, 16), QTime(8, 0)), "4502");
    EXPECT_EQ(recordedOrders(), (std::vector<SideRow>{{"4501"}, {"4502"}}));
    EXPECT_EQ(pane(*window).count(QStringLiteral("-Não foi possível gravar o log em ")), 1);
    EXPECT_TRUE(pane(*window).contains(QStringLiteral("15/03/2024 14:30:07-Não foi possível gravar o log em %1: Invalid filename\n")
                                           .arg(folder.filePath(QStringLiteral("logs/2024-03-15.log")))));
}
