#pragma once

#include <QPoint>
#include <QRect>

// Where a window whose frame would cover `frame` goes on a screen whose free area (without
// panels and task bars) is `available`: where it is, when it fits there; otherwise moved
// just enough to lie wholly on the screen, or to the screen's top left corner when it is
// larger than the screen, so that its title bar can be reached. Without a screen area it
// stays where it is.
QPoint placedOnScreen(const QRect& frame, const QRect& available);

// The free area of the screen that shows the point, or of the primary screen.
QRect availableScreenAreaAt(const QPoint& point);
