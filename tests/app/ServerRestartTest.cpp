#include "DatabaseLocations.h"
#include "FixedClock.h"
#include "ImportDatabases.h"
#include "LogPane.h"
#include "MessageBoxWatcher.h"
#include "OrderDocument.h"
#include "Regional.h"
#include "SideConnection.h"
#include "TestFirebirdServer.h"
#include "UPrincipal.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The window an operator leaves open between runs, on databases of a Firebird server of
// the test's own.
class ServerRestart : public testing::Test {
protected:
    ServerRestart()
    {
        window = std::make_unique<TForm1>(ShellEnvironment{{}, folder.path(), &clock, brazilianSettings(), false,
                                                           QStringLiteral("http://127.0.0.1:9/servico/oc/download")});
        window->show();
        useDatabases(databases);
    }

    void useDatabases(const ImportDatabases& pair)
    {
        box("EdtBaseKelmora")->setText(server.location(pair.backOfficePath()));
        box("EdtBasePedidos")->setText(server.location(pair.ordersPath()));
    }

    // A click on "Executar Rotina" with a document of one order of its own.
    void runWithOrder(const QString& purchaseOrder)
    {
        const QString path = folder.filePath(purchaseOrder + QStringLiteral(".xml"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(orderDocument(QString::fromLatin1(ImportDatabases::kCustomerCnpj),
                                 {{purchaseOrder, QString(), {{QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("10")}}}}));
        file.close();
        box("EdtArquivo")->setText(path);
        window->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    }

    std::vector<SideRow> purchaseOrders(const ImportDatabases& pair) const
    {
        return SideConnection(server.location(pair.ordersPath()))
            .rows(QStringLiteral("SELECT PED_NROORDEMCOMPRA FROM PEDIDOS ORDER BY 1"));
    }

    QLineEdit* box(const char* name) const { return window->findChild<QLineEdit*>(QLatin1String(name)); }
    QString pane() const { return window->findChild<LogPane*>(QStringLiteral("Memo1"))->toPlainText(); }

    ImportDatabases databases;
    TestFirebirdServer server;
    QTemporaryDir folder;
    FixedClock clock;
    std::unique_ptr<TForm1> window;
};

} // namespace

// Nightly maintenance or a crash: the next click opens the connections anew and imports.
TEST_F(ServerRestart, TheNextRunAfterARestartOrACrashImportsItsOrders)
{
    const MessageBoxWatcher watcher;
    runWithOrder(QStringLiteral("4501"));
    server.stop();
    server.start();
    runWithOrder(QStringLiteral("4502"));
    server.kill();
    server.start();
    runWithOrder(QStringLiteral("4503"));

    EXPECT_EQ(watcher.shown().size(), 0u) << watcher.shown().front().text.toStdString();
    EXPECT_FALSE(pane().contains(QStringLiteral("erro PTAB:")));
    EXPECT_EQ(purchaseOrders(databases), (std::vector<SideRow>{{"4501"}, {"4502"}, {"4503"}}));
}

// Another location typed between two runs is the one the next run uses; one that does not
// open gives the connection's line, and the old location works again afterwards.
TEST_F(ServerRestart, AChangedLocationIsUsedByTheNextRun)
{
    const ImportDatabases other;
    const MessageBoxWatcher watcher;
    runWithOrder(QStringLiteral("4501"));
    useDatabases(other);
    runWithOrder(QStringLiteral("4502"));
    box("EdtBasePedidos")->setText(server.location(folder.filePath(QStringLiteral("nao-existe.fdb"))));
    runWithOrder(QStringLiteral("4503"));
    EXPECT_TRUE(pane().trimmed().endsWith(QStringLiteral("-Sem conexão a base de dados dos pedidos...")))
        << pane().right(200).toStdString();
    useDatabases(databases);
    runWithOrder(QStringLiteral("4504"));

    EXPECT_EQ(watcher.shown().size(), 0u);
    EXPECT_EQ(purchaseOrders(databases), (std::vector<SideRow>{{"4501"}, {"4504"}}));
    EXPECT_EQ(purchaseOrders(other), std::vector<SideRow>{{"4502"}});
}
