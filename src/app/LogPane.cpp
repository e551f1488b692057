#include "LogPane.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>
#include <memory>

namespace {

constexpr int kMargin = 4;

// Breaks the line into lines of the width, at word boundaries where it can.
std::unique_ptr<QTextLayout> laidOut(const QString& line, const QFont& font, QPaintDevice* device, int width)
{
    auto layout = std::make_unique<QTextLayout>(line, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->beginLayout();
    qreal height = 0;
    for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) {
        row.setLineWidth(width);
        row.setPosition(QPointF(0, height));
        height += row.height();
    }
    layout->endLayout();
    return layout;
}

} // namespace

LogPane::LogPane(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setRange(0, 0);
}

void LogPane::appendLine(const QString& text)
{
    text_.appendLine(text);
    viewport()->update();
}

void LogPane::followNewLines()
{
    QScrollBar* position = verticalScrollBar();
    // The paint under way shows the new position: no further paint for it.
    const QSignalBlocker quiet(position);
    const bool following = position->value() == position->maximum();
    position->setMaximum(static_cast<int>(topOfLastPage()));
    if (following)
        position->setValue(position->maximum());
}

qsizetype LogPane::topOfLastPage() const
{
    const QRect area = textArea();
    qsizetype top = text_.lineCount() - 1;
    int height = 0;
    for (qsizetype index = top; index >= 0; --index) {
        height += qCeil(laidOut(text_.line(index), font(), viewport(), area.width())->boundingRect().height());
        if (height > area.height())
            break;
        top = index;
    }
    return top;
}

QRect LogPane::textArea() const
{
    return viewport()->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
}

void LogPane::paintEvent(QPaintEvent*)
{
    followNewLines();
    const QRect area = textArea();
    QPainter painter(viewport());
    shown_.clear();
    int top = area.top();
    for (qsizetype index = verticalScrollBar()->value(); index < text_.lineCount() && top <= area.bottom(); ++index) {
        const auto layout = laidOut(text_.line(index), font(), viewport(), area.width());
        const int bottom = top + qCeil(layout->boundingRect().height());
        if (isSelected(index))
            painter.fillRect(QRect(area.left(), top, area.width(), bottom - top), palette().highlight());
        painter.setPen(palette().color(isSelected(index) ? QPalette::HighlightedText : QPalette::Text));
        layout->draw(&painter, QPointF(area.left(), top));
        shown_.push_back({index, bottom});
        top = bottom;
    }
    verticalScrollBar()->setPageStep(std::max(1, static_cast<int>(shown_.size()) - 1));
}

void LogPane::scrollContentsBy(int, int)
{
    viewport()->update();
}

void LogPane::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* position = verticalScrollBar();
    if (event == QKeySequence::Copy) {
        copySelection();
    } else if (event == QKeySequence::SelectAll) {
        selectionAnchor_ = 0;
        selectionEnd_ = text_.lineCount() - 1;
        viewport()->update();
    } else if (event == QKeySequence::MoveToStartOfDocument) {
        position->setValue(position->minimum());
    } else if (event == QKeySequence::MoveToEndOfDocument) {
        position->setValue(position->maximum());
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void LogPane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    selectionAnchor_ = selectionEnd_ = lineAt(event->position().toPoint().y());
    viewport()->update();
}

void LogPane::mouseMoveEvent(QMouseEvent* event)
{
    const qsizetype index = lineAt(event->position().toPoint().y());
    if (!(event->buttons() & Qt::LeftButton) || selectionAnchor_ < 0 || index < 0) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    selectionEnd_ = index;
    viewport()->update();
}

void LogPane::mouseReleaseEvent(QMouseEvent* event)
{
    // The release ends a selection: the window behind the pane has nothing to do with it.
    if (event->button() != Qt::LeftButton)
        QAbstractScrollArea::mouseReleaseEvent(event);
}

qsizetype LogPane::lineAt(int y) const
{
    // Above the first line shown is the first line; below the last one, the last one.
    if (shown_.empty())
        return -1;
    const auto line = std::find_if(shown_.begin(), shown_.end(), [y](const ShownLine& shown) { return y < shown.bottom; });
    return line != shown_.end() ? line->index : shown_.back().index;
}

bool LogPane::isSelected(qsizetype index) const
{
    return selectionAnchor_ >= 0 && index >= std::min(selectionAnchor_, selectionEnd_)
        && index <= std::max(selectionAnchor_, selectionEnd_);
}

void LogPane::copySelection() const
{
    if (selectionAnchor_ < 0)
        return;
    QStringList lines;
    for (qsizetype index = std::min(selectionAnchor_, selectionEnd_); index <= std::max(selectionAnchor_, selectionEnd_); ++index)
        lines += text_.line(index);
    QGuiApplication::clipboard()->setText(lines.join(u'\n'));
}
