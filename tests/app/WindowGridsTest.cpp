#include "DataGrid.h"
#include "DatabaseLocations.h"
#include "ImportDatabases.h"
#include "MainWindowFixture.h"
#include "OrderDocument.h"
#include "RecordSet.h"
#include "RecordSetModel.h"
#include "SideConnection.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// After a run over two orders, 4501 with the products 123 and 456 and 4502 with 123.
class WindowGrids : public MainWindow {
protected:
    void SetUp() override
    {
        saveDatabaseLocations(folder.path(), {databases.backOfficePath(), databases.ordersPath()});
        window = create();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        control<QLineEdit>(*window, "EdtArquivo")
            ->setText(writeDocument(
                QStringLiteral("pedidos.xml"),
                orderDocument(QString::fromLatin1(ImportDatabases::kCustomerCnpj),
                              {{QStringLiteral("4501"), QString(),
                                {{QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("10")},
                                 {QStringLiteral("456"), QStringLiteral("2"), QStringLiteral("5")}}},
                               {QStringLiteral("4502"), QString(),
                                {{QStringLiteral("123"), QStringLiteral("3"), QStringLiteral("10")}}}})));
        orders = control<QTableView>(*window, "DBGrid2");
        items = control<QTableView>(*window, "DBGrid3");
    }

    void run() const { control<QPushButton>(*window, "Button1")->click(); }

    static void clickRow(QTableView* grid, int row)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 0)).center());
    }

    static int selectedRow(const QTableView* grid)
    {
        const QModelIndexList rows = grid->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows[0].row() : -1;
    }

    // The product codes of the items the item grid shows.
    QStringList shownProducts() const
    {
        QStringList codes;
        for (int row = 0; row < items->model()->rowCount(); ++row)
            codes += items->model()->index(row, 1).data().toString();
        return codes;
    }

    std::vector<SideRow> recordedItems() const
    {
        return SideConnection(databases.ordersPath())
            .rows(QStringLiteral("SELECT P.PED_NROORDEMCOMPRA, I.ITE_PRDCODIGO FROM PEDIDOS P JOIN PEDIDO_ITENS I ON "
                                 "I.ORC_CODIGO = P.ORC_CODIGO ORDER BY 1, I.ITE_SEQU"));
    }

    const ImportDatabases databases;
    std::unique_ptr<TForm1> window;
    QTableView* orders = nullptr;
    QTableView* items = nullptr;
};

} // namespace

TEST_F(WindowGrids, TheOrderTheOperatorSelectsShowsItsItems)
{
    run();
    ASSERT_EQ(orders->model()->rowCount(), 2);
    EXPECT_EQ(selectedRow(orders), 1) << "the run ends on its last order";
    EXPECT_EQ(shownProducts(), QStringList({"123"}));

    struct Case {
        const char* selection;
        std::function<void()> select;
        int orderRow;
        QStringList products;
    };
    const Case cases[] = {
        {"a click on the first order", [this] { clickRow(orders, 0); }, 0, {"123", "456"}},
        {"the down arrow", [this] { QTest::keyClick(orders, Qt::Key_Down); }, 1, {"123"}},
        {"the up arrow", [this] { QTest::keyClick(orders, Qt::Key_Up); }, 0, {"123", "456"}},
        {"a click on the second order", [this] { clickRow(orders, 1); }, 1, {"123"}},
    };
    for (const Case& c : cases) {
        c.select();
        EXPECT_EQ(selectedRow(orders), c.orderRow) << c.selection;
        EXPECT_EQ(shownProducts(), c.products) << c.selection;
        EXPECT_EQ(selectedRow(items), 0) << c.selection << ": the first item is the current one";
    }
}

// A click on another order while the run is recording one changes nothing of what the
// run reads: the run's cursor stays where it is, and each order is recorded with its own
// items. (The selection follows the run a few dozen times a second, so it may still be on
// the order before; it is not what the run reads.)
TEST_F(WindowGrids, DuringARunTheRunsCursorWins)
{
    // The grid's data source is bound to the order record set by the run.
    const auto currentOrderRow = [this] {
        return static_cast<DataGrid*>(orders)->dataSource()->recordSet()->currentIndex();
    };
    qsizetype rowOfTheRun = -2;
    qsizetype rowAfterTheClick = -2;
    QTimer clickDuringTheSecondOrder;
    QObject::connect(&clickDuringTheSecondOrder, &QTimer::timeout, [&] {
        if (rowAfterTheClick != -2 || !pane(*window).contains(QStringLiteral("Pedido: 4501 (2)")))
            return;
        rowOfTheRun = currentOrderRow();
        clickRow(orders, rowOfTheRun == 0 ? 1 : 0);
        rowAfterTheClick = currentOrderRow();
    });
    clickDuringTheSecondOrder.start(0);
    run();

    ASSERT_NE(rowAfterTheClick, -2) << "the click came during the run";
    EXPECT_EQ(rowOfTheRun, 1);
    EXPECT_EQ(rowAfterTheClick, rowOfTheRun) << "the operator's click moves the run's cursor";
    EXPECT_EQ(recordedItems(), (std::vector<SideRow>{{"4501", "123"}, {"4501", "456"}, {"4502", "123"}}));
    EXPECT_EQ(shownProducts(), QStringList({"123"}));
    clickRow(orders, 0);
    EXPECT_EQ(shownProducts(), QStringList({"123", "456"})) << "after the run the operator's selection counts";
}

// A column is as wide as its field's declared size in characters of the grid's font, or as
// its title where that is wider: whole values and readable titles.
TEST_F(WindowGrids, ColumnsAreAsWideAsTheDeclaredSizes)
{
    run();
    clickRow(orders, 0);   // the item grid shows other rows: its columns keep their widths
    struct Case {
        const char* grid;
        int column;
        int declaredSize;
    };
    const Case cases[] = {
        {"DBGrid1", 0, 5},  {"DBGrid1", 1, 14}, {"DBGrid1", 2, 18}, {"DBGrid2", 0, 10},  {"DBGrid2", 1, 70},
        {"DBGrid2", 2, 1},  {"DBGrid2", 4, 20}, {"DBGrid3", 1, 10}, {"DBGrid3", 2, 250}, {"DBGrid3", 5, 20},
    };
    for (const Case& c : cases) {
        const auto* grid = control<QTableView>(*window, c.grid);
        const QFontMetrics metrics = grid->fontMetrics();
        // The text margins an item view leaves on either side of a cell's text.
        const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
        const auto widthOf = [&](int characters) { return metrics.horizontalAdvance(QString(characters, u'0')) + margins; };
        const int width = grid->columnWidth(c.column);
        const int title = grid->horizontalHeader()->sectionSizeHint(c.column);
        const QString name = grid->model()->headerData(c.column, Qt::Horizontal).toString();
        EXPECT_GE(width, title) << c.grid << ' ' << name.toStdString() << ": the whole title";
        EXPECT_GE(width, widthOf(c.declaredSize)) << c.grid << ' ' << name.toStdString() << ": a whole value";
        if (title < widthOf(c.declaredSize)) {
            EXPECT_LT(width, widthOf(c.declaredSize + 1)) << c.grid << ' ' << name.toStdString();
        }
    }
    const auto* header = control<QTableView>(*window, "DBGrid1");
    EXPECT_GE(header->columnWidth(2), header->fontMetrics().horizontalAdvance(QString::fromLatin1(ImportDatabases::kCustomerCnpj)))
        << "the CNPJ reads whole";
}
