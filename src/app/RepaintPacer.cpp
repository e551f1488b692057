#include "RepaintPacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace {

constexpr int kRepaintIntervalMs = 40;

} // namespace

RepaintPacer::RepaintPacer(QWidget& window)
    : QObject(&window)
    , window_(window)
{
    sinceRepaint_.start();
    deferred_.setSingleShot(true);
    // A repaint request of its own, which the window handles like any other.
    connect(&deferred_, &QTimer::timeout, this, [this] {
        QCoreApplication::postEvent(&window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    });
    window_.installEventFilter(this);
}

bool RepaintPacer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &window_ || event->type() != QEvent::UpdateRequest)
        return false;
    const qint64 waited = sinceRepaint_.elapsed();
    if (!active_ || waited >= kRepaintIntervalMs) {
        sinceRepaint_.restart();
        return false;
    }
    // Too soon: the request is answered once the interval is over.
    if (!deferred_.isActive())
        deferred_.start(static_cast<int>(kRepaintIntervalMs - waited));
    return true;
}
