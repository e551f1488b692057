#pragma once

#include "RegionalSettings.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// The time stamp that begins a log line, "15/03/2024 14:30:07-" as the regional settings
// write it. A run logs thousands of lines a second, which share their stamp: it is built
// once for each second.
class LineStamp {
public:
    explicit LineStamp(const RegionalSettings& regional)
        : regional_(regional)
    {
    }

    const QString& of(const QDateTime& moment);
    // The regional settings changed: the next stamp is built anew.
    void forget() { day_ = QDate(); }

private:
    const RegionalSettings& regional_;
    QDate day_;
    QTime second_;
    QString text_;
};
