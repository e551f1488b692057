#pragma once

#include "LogText.h"

#include <QAbstractScrollArea>

#include <vector>

// The log pane: keeps every line of the log and shows the newest ones, wrapped at its
// width, without scroll bars. A line costs its storage only: the pane lays out just the
// lines it shows, when it paints them (how often the window repaints during a run is the
// window's RepaintPacer's). The mouse wheel and the arrow, page, Ctrl+Home and Ctrl+End
// keys scroll (at the end the pane follows new lines again); the mouse selects lines,
// Ctrl+A all of them, and Ctrl+C copies the selected lines.
class LogPane final : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit LogPane(QWidget* parent = nullptr);

    // Appends the text as the new last line (see LogText::appendLine).
    void appendLine(const QString& text);
    QString toPlainText() const { return text_.toPlainText(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct ShownLine {
        qsizetype index;
        int bottom;
    };

    // The scroll position is the line shown at the top; the last position shows the last
    // line, and the pane stays there as lines come.
    void followNewLines();
    qsizetype topOfLastPage() const;
    QRect textArea() const;
    qsizetype lineAt(int y) const;
    bool isSelected(qsizetype index) const;
    void copySelection() const;

    LogText text_;
    std::vector<ShownLine> shown_;   // the lines the last paint showed, and where each ends
    qsizetype selectionAnchor_ = -1;
    qsizetype selectionEnd_ = -1;
};
