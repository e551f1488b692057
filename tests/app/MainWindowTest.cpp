#include "ApplicationTitle.h"
#include "CommandLine.h"
#include "DatabaseLocations.h"
#include "ImportDatabases.h"
#include "LogPane.h"
#include "MainWindowFixture.h"
#include "MessageBoxWatcher.h"
#include "OrderDocument.h"
#include "SideConnection.h"
#include "TerminationSignals.h"
#include "UPrincipal.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <csignal>

#include <pthread.h>

namespace {

QString captionOf(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QPushButton*>(widget))
        return button->text();
    return qobject_cast<const QLineEdit*>(widget)->text();
}

} // namespace

TEST_F(MainWindow, ControlsHaveTheirCaptionsAndGeometry)
{
    const auto window = create();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Formulário Principal"));
    struct Placed {
        const char* name;
        const char* caption;
        QRect geometry;
    };
    const Placed controls[] = {
        {"Label1", "Base Pedidos", {32, 8, 65, 13}},    {"EdtBasePedidos", "", {40, 24, 321, 21}},
        {"Label2", "Base Kelmora", {32, 48, 65, 13}},   {"EdtBaseKelmora", "", {40, 64, 321, 21}},
        {"Label4", "Arquivo", {32, 88, 36, 13}},        {"EdtArquivo", "", {40, 104, 321, 21}},
        {"Button2", "Salvar", {632, 24, 113, 25}},      {"Button1", "Executar Rotina", {632, 64, 121, 25}},
        {"Label3", "Cliente", {32, 144, 32, 13}},       {"DBGrid1", nullptr, {40, 160, 713, 73}},
        {"DBGrid2", nullptr, {40, 248, 713, 81}},       {"DBGrid3", nullptr, {40, 336, 713, 81}},
        {"Memo1", nullptr, {40, 424, 713, 137}},
    };
    window->show();
    window->resize(400, 300);
    for (const auto& placed : controls) {
        const auto* widget = control<QWidget>(*window, placed.name);
        if (qobject_cast<const QLabel*>(widget) != nullptr) {
            // A label keeps its place and grows to the right when the font needs more room.
            EXPECT_EQ(widget->geometry().topLeft(), placed.geometry.topLeft()) << placed.name;
            EXPECT_EQ(widget->height(), placed.geometry.height()) << placed.name;
            EXPECT_GE(widget->width(), placed.geometry.width()) << placed.name;
        } else {
            EXPECT_EQ(widget->geometry(), placed.geometry) << placed.name;
        }
        if (placed.caption != nullptr) {
            EXPECT_EQ(captionOf(widget), QString::fromUtf8(placed.caption)) << placed.name;
        }
    }
}

// The window stands at 343,138 with an outer size of 797 x 623 wherever it fits, and is
// moved just enough to lie wholly on any smaller screen.
TEST_F(MainWindow, OuterSizeAndPositionOnLargeAndSmallScreens)
{
    struct Case {
        const char* screen;
        QRect available;
        QPoint topLeft;
    };
    const Case cases[] = {
        {"large", kLargeScreen, {343, 138}},
        {"exactly wide and high enough", {0, 0, 1140, 761}, {343, 138}},
        {"1024 x 768", {0, 0, 1024, 768}, {227, 138}},
        {"1024 x 768 under a panel of 40 pixels", {0, 40, 1024, 688}, {227, 105}},
        {"second screen to the right", {1920, 0, 1280, 1024}, {1920, 138}},
        {"smaller than the window", {0, 0, 640, 480}, {0, 0}},
    };
    for (const Case& c : cases) {
        const auto window = create({}, c.available);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        EXPECT_EQ(window->frameGeometry(), QRect(c.topLeft, QSize(797, 623))) << c.screen;
    }
}

// "Executar Rotina" is disabled during a run. The keyboard focus must not pass into an edit
// box meanwhile, where the next key would replace the location that "Salvar" stores: it
// goes back to where it was, unless the operator put it somewhere during the run.
TEST_F(MainWindow, AfterARunTheFocusIsWhereItWasOrWhereTheOperatorPutIt)
{
    struct Case {
        const char* clickedDuringTheRun;
        const char* focusAfterTheRun;
    };
    const Case cases[] = {{nullptr, "Button1"}, {"EdtArquivo", "EdtArquivo"}, {"DBGrid2", "DBGrid2"}};
    for (const Case& c : cases) {
        const auto window = create();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        control<QLineEdit>(*window, "EdtBasePedidos")->setText(QStringLiteral("pedidos.fdb"));
        if (c.clickedDuringTheRun != nullptr) {
            QTimer::singleShot(0, window.get(), [&window, &c] {
                QTest::mouseClick(control<QWidget>(*window, c.clickedDuringTheRun), Qt::LeftButton);
            });
        }
        QTest::mouseClick(control<QPushButton>(*window, "Button1"), Qt::LeftButton);
        ASSERT_TRUE(pane(*window).contains(QStringLiteral("Sem conexão a base de dados do kelmora")));
        EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(*window, c.focusAfterTheRun))
            << c.focusAfterTheRun << " expected, focus in "
            << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString()).toStdString();
        EXPECT_FALSE(control<QLineEdit>(*window, "EdtBasePedidos")->hasSelectedText());
    }
}

TEST_F(MainWindow, TabCyclesThroughSalvarAndTheThreeEditBoxesStartingAtSalvar)
{
    const auto window = create();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(*window, "Button2"));
    const QStringList order = {"Button2", "Button1", "DBGrid1", "DBGrid2", "DBGrid3", "Memo1",
                               "EdtBasePedidos", "EdtBaseKelmora", "EdtArquivo"};
    // The focus chain also holds the inner parts of grids and pane; only the named controls count.
    QStringList chain;
    const QWidget* start = control<QWidget>(*window, "Button2");
    const QWidget* widget = start;
    do {
        if (order.contains(widget->objectName()))
            chain += widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != start);
    EXPECT_EQ(chain, order);
    for (const char* tabStop : {"Button2", "EdtBasePedidos", "EdtBaseKelmora", "EdtArquivo"})
        EXPECT_TRUE(control<QWidget>(*window, tabStop)->focusPolicy() & Qt::TabFocus) << tabStop;
    for (const char* noTabStop : {"Button1", "DBGrid1", "DBGrid2", "DBGrid3", "Memo1"})
        EXPECT_FALSE(control<QWidget>(*window, noTabStop)->focusPolicy() & Qt::TabFocus) << noTabStop;
}

TEST_F(MainWindow, HeaderGridShowsItsFourFieldsWhileEmptyAndTheLogPaneStartsWithMemo1)
{
    const auto window = create();
    const QAbstractItemModel* model = control<QTableView>(*window, "DBGrid1")->model();
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->columnCount(), 4);
    const char* fields[] = {"versao", "nome", "cnpj", "pedido"};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(model->headerData(column, Qt::Horizontal).toString(), QLatin1String(fields[column]));
    EXPECT_EQ(model->rowCount(), 0);

    const auto* memo = control<LogPane>(*window, "Memo1");
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("Memo1"));
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(MainWindow, CreationFillsTheDatabaseBoxesFromTheSettingsFile)
{
    {
        const auto window = create();
        EXPECT_EQ(control<QLineEdit>(*window, "EdtBaseKelmora")->text(), QString());
        EXPECT_EQ(control<QLineEdit>(*window, "EdtBasePedidos")->text(), QString());
    }
    saveDatabaseLocations(folder.path(), {QStringLiteral("k.fdb"), QStringLiteral("p.fdb")});
    const auto window = create();
    EXPECT_EQ(control<QLineEdit>(*window, "EdtBaseKelmora")->text(), QStringLiteral("k.fdb"));
    EXPECT_EQ(control<QLineEdit>(*window, "EdtBasePedidos")->text(), QStringLiteral("p.fdb"));
    EXPECT_EQ(control<QLineEdit>(*window, "EdtArquivo")->text(), QString());
}

TEST_F(MainWindow, SalvarStoresTheTrimmedBoxesAndKeepsTheirText)
{
    const auto window = create();
    control<QLineEdit>(*window, "EdtBaseKelmora")->setText(QStringLiteral(" k.fdb "));
    control<QLineEdit>(*window, "EdtBasePedidos")->setText(QStringLiteral("p.fdb"));
    control<QPushButton>(*window, "Button2")->click();
    EXPECT_EQ(loadDatabaseLocations(folder.path())->backOffice, QStringLiteral("k.fdb"));
    EXPECT_EQ(control<QLineEdit>(*window, "EdtBaseKelmora")->text(), QStringLiteral(" k.fdb "));
    EXPECT_EQ(pane(*window), QStringLiteral("Memo1"));
}

TEST_F(MainWindow, AFailedSaveShowsTheStandardErrorBox)
{
    saveDatabaseLocations(folder.path(), {});
    const QString path = settingsFilePath(folder.path());
    QFile::setPermissions(path, QFile::ReadOwner);
    const auto window = create();
    const MessageBoxWatcher watcher;
    control<QPushButton>(*window, "Button2")->click();
    ASSERT_EQ(watcher.shown().size(), 1u);
    EXPECT_EQ(watcher.shown()[0].title, kApplicationTitle);
    EXPECT_EQ(watcher.shown()[0].text, QStringLiteral("Unable to write to %1").arg(path));
    EXPECT_EQ(watcher.shown()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(MainWindow, LogStampsEveryLineAndRawLinesGoInAsTheyAre)
{
    const auto window = create();
    window->log(QStringLiteral("Iniciando tentativa de receber arquivo..."));
    clock.set(QDateTime(QDate(2024, 3, 15), QTime(0, 0, 0, 250)));
    window->log(QString());
    window->appendRaw(QStringLiteral("pasta já existe"));
    clock.set(QDateTime(QDate(2024, 3, 15), QTime(0, 0, 1)));
    window->log(QStringLiteral("erro PTAB:x - SELECT FIRST 1 A from B\r\n"));
    window->log(QStringLiteral("depois"));
    window->appendRaw(QStringLiteral("Pedido: 4501 (2)"));
    EXPECT_EQ(pane(*window), QStringLiteral("Memo1\n"
                                            "15/03/2024 14:30:07-Iniciando tentativa de receber arquivo...\n"
                                            "15/03/2024-\n"
                                            "pasta já existe\n"
                                            "15/03/2024 00:00:01-erro PTAB:x - SELECT FIRST 1 A from B\n"
                                            "15/03/2024 00:00:01-depois\n"
                                            "Pedido: 4501 (2)\n"));
}

TEST_F(MainWindow, UnattendedSwitchMustMatchExactly)
{
    struct Case {
        QStringList arguments;
        int runs;
    };
    const Case cases[] = {
        {{QStringLiteral("/executa")}, 1},
        {{QStringLiteral("/executa"), QStringLiteral("x"), QStringLiteral("/executa")}, 2},
        {{QStringLiteral("/EXECUTA"), QStringLiteral("-executa"), QStringLiteral("/executa "), QStringLiteral("executa")}, 0},
        {{}, 0},
    };
    for (const auto& c : cases) {
        int runs = 0;
        forEachUnattendedSwitch(c.arguments, [&runs] { return ++runs > 0; });
        EXPECT_EQ(runs, c.runs) << c.arguments.join(u' ').toStdString();
    }
    int runs = 0;
    forEachUnattendedSwitch({QStringLiteral("/executa"), QStringLiteral("/executa")}, [&runs] { return ++runs > 1; });
    EXPECT_EQ(runs, 1) << "a failed run stops the scan";
}

TEST_F(MainWindow, EveryUnattendedSwitchRunsAndAWindowWithoutDatabasesStaysOpen)
{
    const auto window = create({QStringLiteral("/executa"), QStringLiteral("/EXECUTA"), QStringLiteral("/executa")});
    EXPECT_EQ(pane(*window), QStringLiteral("Memo1\n15/03/2024 14:30:07-Sem conexão a base de dados do kelmora...\n"
                                            "15/03/2024 14:30:07-Sem conexão a base de dados do kelmora..."));
    EXPECT_FALSE(window->endsByItself());
    EXPECT_EQ(window->exitStatus(), kExitNoDatabaseConnection);
    EXPECT_TRUE(control<QPushButton>(*window, "Button1")->isEnabled());
}

TEST_F(MainWindow, AnUnattendedRunReportsWhatFailsAndAnErrorThatEscapesItShowsTheBox)
{
    const ImportDatabases databases;
    saveDatabaseLocations(folder.path(), {databases.backOfficePath(), databases.ordersPath()});
    {
        // The download fails and no earlier document exists: reported in the log, and the
        // window stays open for the operator.
        const MessageBoxWatcher watcher;
        const auto window = create({QStringLiteral("/executa"), QStringLiteral("/executa")});
        EXPECT_EQ(watcher.shown().size(), 0u);
        EXPECT_EQ(pane(*window).count(QStringLiteral("-Falha no documento recebido.xml: File not found")), 2);
        EXPECT_FALSE(window->endsByItself());
        EXPECT_EQ(window->exitStatus(), kExitRunFailed);
    }
    {
        // The transformation file cannot be written: the run cannot go on at all.
        QFile::remove(folder.filePath(QStringLiteral("ToDp.xtr")));
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("ToDp.xtr")));
        const MessageBoxWatcher watcher;
        const auto window = create({QStringLiteral("/executa"), QStringLiteral("/executa")});
        ASSERT_EQ(watcher.shown().size(), 1u) << "the second switch is not examined";
        EXPECT_EQ(watcher.shown()[0].title, kApplicationTitle);
        EXPECT_EQ(watcher.shown()[0].icon, QMessageBox::Critical);
        EXPECT_FALSE(window->endsByItself());
        EXPECT_EQ(window->exitStatus(), kExitRunFailed);
        ASSERT_TRUE(QDir(folder.path()).rmdir(QStringLiteral("ToDp.xtr")));
    }
    QFile received(folder.filePath(QStringLiteral("recebido.xml")));
    ASSERT_TRUE(received.open(QIODevice::WriteOnly));
    received.write(orderDocument(QString::fromLatin1(ImportDatabases::kCustomerCnpj),
                                 {{QStringLiteral("4501"), QString(), {{QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("10")}}}}));
    received.close();
    // Every order recorded; the failed download is in the log and in the status.
    const auto window = create({QStringLiteral("/executa")});
    EXPECT_TRUE(window->endsByItself());
    EXPECT_EQ(window->exitStatus(), kExitDownloadFailed);
    EXPECT_TRUE(pane(*window).contains(QStringLiteral("VALUES (57,1,66,10,'N')\nPedido: 4501 (1)\n")));
    EXPECT_EQ(control<QTableView>(*window, "DBGrid2")->model()->rowCount(), 1);
    EXPECT_EQ(control<QTableView>(*window, "DBGrid3")->model()->rowCount(), 1);
}

// "/executa" twice: the second run cannot read a document, because the one the first run
// imported is gone by then. The scheduler must see the failure, and the window stays.
// (Both downloads fail, which alone would be the milder status 5.)
TEST_F(MainWindow, TheOutcomeOfSeveralUnattendedRunsIsTheWorstOfThem)
{
    const ImportDatabases databases;
    saveDatabaseLocations(folder.path(), {databases.backOfficePath(), databases.ordersPath()});
    const QString received = folder.filePath(QStringLiteral("recebido.xml"));
    QFile file(received);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(orderDocument(QString::fromLatin1(ImportDatabases::kCustomerCnpj),
                             {{QStringLiteral("4501"), QString(), {{QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("10")}}}}));
    file.close();
    QTimer removeOnceImported;
    QObject::connect(&removeOnceImported, &QTimer::timeout, [&received] {
        for (QWidget* widget : QApplication::allWidgets()) {
            const auto* memo = qobject_cast<LogPane*>(widget);
            if (memo != nullptr && memo->toPlainText().contains(QStringLiteral("Pedido: 4501 (1)")))
                QFile::remove(received);
        }
    });
    removeOnceImported.start(0);

    const auto window = create({QStringLiteral("/executa"), QStringLiteral("/executa")});
    EXPECT_TRUE(pane(*window).contains(QStringLiteral("-Falha no documento recebido.xml: File not found")));
    EXPECT_FALSE(window->endsByItself());
    EXPECT_EQ(window->exitStatus(), kExitRunFailed);
}

TEST_F(MainWindow, DuringARunTheButtonCannotStartASecondOneAndClosingTheWindowKeepsOrdersWhole)
{
    const ImportDatabases databases;
    saveDatabaseLocations(folder.path(), {databases.backOfficePath(), databases.ordersPath()});
    const QString document = folder.filePath(QStringLiteral("pedidos.xml"));
    QFile file(document);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(orderDocument(QString::fromLatin1(ImportDatabases::kCustomerCnpj),
                             {{QStringLiteral("4501"), QString(), {{QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("10")},
                                                                    {QStringLiteral("456"), QStringLiteral("2"), QStringLiteral("5")}}},
                              {QStringLiteral("4502"), QString(), {{QStringLiteral("123"), QStringLiteral("3"), QStringLiteral("10")}}}}));
    file.close();

    const auto window = create();
    window->show();
    control<QLineEdit>(*window, "EdtArquivo")->setText(document);
    auto* button = control<QPushButton>(*window, "Button1");
    // Both happen while the run lets the window handle its events.
    QTimer::singleShot(0, button, [button] { button->click(); });
    QTimer::singleShot(0, window.get(), [&window] { window->close(); });
    button->click();

    EXPECT_EQ(pane(*window).count(QStringLiteral("-orc_codigo:")), 2) << "one run only";
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(SideConnection(databases.ordersPath())
                  .rows(QStringLiteral("SELECT P.PED_NROORDEMCOMPRA, P.PED_NROITENS, COUNT(*) FROM PEDIDOS P JOIN "
                                       "PEDIDO_ITENS I ON I.ORC_CODIGO = P.ORC_CODIGO GROUP BY 1, 2 ORDER BY 1")),
              (std::vector<SideRow>{{"4501", "2", "2"}, {"4502", "1", "1"}}));
}

// The window ends with the system's request, whatever it shows: idle after a run whose
// database client is still attached, or an error box nobody is going to answer.
TEST_F(MainWindow, ARequestToEndClosesTheWindowWithTheSignalsStatus)
{
    TerminationSignals::blockInEveryThread();
    const ImportDatabases databases;
    saveDatabaseLocations(folder.path(), {databases.backOfficePath(), databases.ordersPath()});
    const QString document = folder.filePath(QStringLiteral("pedidos.xml"));
    QFile file(document);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(orderDocument(QString::fromLatin1(ImportDatabases::kCustomerCnpj),
                             {{QStringLiteral("4501"), QString(), {{QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("10")}}}}));
    file.close();
    const auto raiseWhen = [](auto condition, int signal) {
        auto* poll = new QTimer(qApp);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, condition, signal] {
            if (!condition())
                return;
            poll->deleteLater();
            pthread_kill(pthread_self(), signal);
        });
        poll->start(10);
    };

    {
        const auto window = create();
        window->show();
        control<QLineEdit>(*window, "EdtArquivo")->setText(document);
        control<QPushButton>(*window, "Button1")->click();
        ASSERT_TRUE(pane(*window).contains(QStringLiteral("Pedido: 4501 (1)")));
        raiseWhen([] { return true; }, SIGTERM);
        EXPECT_EQ(QApplication::exec(), 128 + SIGTERM);
        EXPECT_EQ(window->exitStatus(), 128 + SIGTERM);
    }
    {
        const auto window = create();
        window->show();
        control<QLineEdit>(*window, "EdtArquivo")->setText(folder.filePath(QStringLiteral("nao-existe.xml")));
        auto* button = control<QPushButton>(*window, "Button1");
        QTimer::singleShot(0, button, [button] { button->click(); });
        raiseWhen([] { return QApplication::activeModalWidget() != nullptr; }, SIGHUP);
        EXPECT_EQ(QApplication::exec(), 128 + SIGHUP);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}
