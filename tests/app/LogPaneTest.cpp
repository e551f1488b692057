#include "LogPane.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QWheelEvent>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A pane of the main window's size.
class LogPanes : public testing::Test {
protected:
    void SetUp() override
    {
        pane.resize(713, 137);
        pane.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    }

    // New lines reach the screen at the pane's next paint.
    void append(const QString& line)
    {
        pane.appendLine(line);
        pane.viewport()->repaint();
    }

    void appendNumberedLines(int count)
    {
        for (int line = 0; line < count; ++line)
            pane.appendLine(QStringLiteral("linha %1").arg(line));
        append(QStringLiteral("linha %1").arg(count));
    }

    // Clicks the line shown at that height of the pane and copies it.
    QString copiedLineAt(int y)
    {
        pane.viewport()->repaint();   // what the operator sees
        QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, QPoint(20, y));
        return copied();
    }
    // A click above the first line shown or below the last one takes that line.
    QString topLine() { return copiedLineAt(1); }
    QString bottomLine() { return copiedLineAt(pane.viewport()->height() - 1); }
    int topNumber() { return topLine().mid(6).toInt(); }

    QString copied()
    {
        QTest::keySequence(&pane, QKeySequence::Copy);
        return QApplication::clipboard()->text();
    }

    void turnWheel(int notches)
    {
        const QPointF inside(20, 20);
        QWheelEvent wheel(inside, pane.viewport()->mapToGlobal(inside), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(pane.viewport(), &wheel);
    }

    LogPane pane;
};

} // namespace

TEST_F(LogPanes, FewLinesStartAtTheTop)
{
    append(QStringLiteral("Memo1"));
    append(QStringLiteral("15/03/2024 14:30:07-Iniciando tentativa de receber arquivo..."));
    EXPECT_EQ(topLine(), QStringLiteral("Memo1"));
    EXPECT_EQ(copiedLineAt(8 + pane.fontMetrics().lineSpacing()),
              QStringLiteral("15/03/2024 14:30:07-Iniciando tentativa de receber arquivo..."));
}

TEST_F(LogPanes, ShowsTheNewestLinesAndScrollsBackAndForth)
{
    appendNumberedLines(99);
    EXPECT_EQ(bottomLine(), QStringLiteral("linha 99"));
    const int topAtTheEnd = topNumber();

    append(QStringLiteral("linha 100"));
    EXPECT_EQ(bottomLine(), QStringLiteral("linha 100")) << "at the end the pane follows new lines";
    EXPECT_EQ(topNumber(), topAtTheEnd + 1);

    turnWheel(1);
    EXPECT_EQ(topNumber(), topAtTheEnd - 2) << "three lines back";
    append(QStringLiteral("linha 101"));
    EXPECT_EQ(topNumber(), topAtTheEnd - 2) << "scrolled back, the pane stays where the operator put it";
    turnWheel(-1);
    EXPECT_EQ(topNumber(), topAtTheEnd + 1);
    QTest::keyClick(&pane, Qt::Key_Down);
    EXPECT_EQ(bottomLine(), QStringLiteral("linha 101"));

    QTest::keySequence(&pane, QKeySequence::MoveToStartOfDocument);
    EXPECT_EQ(topLine(), QStringLiteral("linha 0"));
    const QString bottomOfTheFirstPage = bottomLine();
    QTest::keyClick(&pane, Qt::Key_PageDown);
    EXPECT_EQ(topLine(), bottomOfTheFirstPage) << "pages overlap by one line";
    QTest::keySequence(&pane, QKeySequence::MoveToEndOfDocument);
    append(QStringLiteral("linha 102"));
    EXPECT_EQ(bottomLine(), QStringLiteral("linha 102"));
}

TEST_F(LogPanes, ALongLineWrapsOverSeveralRows)
{
    const QString longLine = QStringLiteral("15/03/2024 14:30:07-") + QStringLiteral("INSERT INTO PEDIDO_ITENS ").repeated(30);
    append(longLine);
    append(QStringLiteral("linha seguinte"));
    const int rowHeight = pane.fontMetrics().lineSpacing();
    for (const int row : {0, 1, 2})
        EXPECT_EQ(copiedLineAt(4 + row * rowHeight + rowHeight / 2), longLine) << row;
    EXPECT_EQ(bottomLine(), QStringLiteral("linha seguinte"));
}

TEST_F(LogPanes, TheOperatorSelectsAndCopiesLines)
{
    appendNumberedLines(3);
    const int rowHeight = pane.fontMetrics().lineSpacing();
    QTest::mousePress(pane.viewport(), Qt::LeftButton, {}, QPoint(20, 8 + rowHeight));
    QTest::mouseMove(pane.viewport(), QPoint(20, 8 + 2 * rowHeight));
    QTest::mouseRelease(pane.viewport(), Qt::LeftButton, {}, QPoint(20, 8 + 2 * rowHeight));
    EXPECT_EQ(copied(), QStringLiteral("linha 1\nlinha 2"));

    QTest::keySequence(&pane, QKeySequence::SelectAll);
    EXPECT_EQ(copied(), QStringLiteral("linha 0\nlinha 1\nlinha 2\nlinha 3"));
    EXPECT_EQ(copied(), pane.toPlainText());
}
