#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

// Paces the repaints of a window: while active, the window repaints at most a few dozen
// times a second, however often its contents change and events are processed (a run
// processes them after every log line). What changed in between is painted together at
// the next repaint. Uncovering the window still repaints it at once.
class RepaintPacer final : public QObject {
    Q_OBJECT

public:
    explicit RepaintPacer(QWidget& window);

    void setActive(bool active) { active_ = active; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    bool active_ = false;
    QElapsedTimer sinceRepaint_;
    QTimer deferred_;
};
