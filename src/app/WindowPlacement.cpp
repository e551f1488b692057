#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

int placedWithin(int start, int length, int availableStart, int availableLength)
{
    return std::max(availableStart, std::min(start, availableStart + availableLength - length));
}

} // namespace

QPoint placedOnScreen(const QRect& frame, const QRect& available)
{
    if (available.isEmpty())
        return frame.topLeft();
    return {placedWithin(frame.x(), frame.width(), available.x(), available.width()),
            placedWithin(frame.y(), frame.height(), available.y(), available.height())};
}

QRect availableScreenAreaAt(const QPoint& point)
{
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}
