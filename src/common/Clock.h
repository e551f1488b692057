#pragma once

#include <QDateTime>

// Source of the local date and time, passed in so that runs can be replayed at a fixed moment.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
