#include "MessageBoxWatcher.h"

#include <QApplication>
#include <QPushButton>

MessageBoxWatcher::MessageBoxWatcher()
{
    connect(&timer_, &QTimer::timeout, this, &MessageBoxWatcher::answerOpenBox);
    timer_.start(5);
}

void MessageBoxWatcher::answerOpenBox()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible())
        return;
    shown_.push_back({box->windowTitle(), box->text(), box->icon()});
    box->button(QMessageBox::Ok)->click();
}
