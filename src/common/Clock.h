#pragma once

#include <QDateTime>

#include <limits>

// Source of the local date and time, passed in so that runs can be replayed at a fixed moment.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

// The system's local date and time. Every log line reads it, and asking the system for the
// local time costs far more than a line may (the C library looks at the time zone's file
// each time). A time zone changes its offset from UTC only at the start of a minute, so the
// offset is asked once a minute and the local time is UTC moved by it.
class SystemClock final : public Clock {
public:
    QDateTime now() const override
    {
        const QDateTime utc = QDateTime::currentDateTimeUtc();
        const qint64 minute = utc.toSecsSinceEpoch() / 60;
        if (minute != minute_) {
            minute_ = minute;
            offsetSeconds_ = utc.toLocalTime().offsetFromUtc();
        }
        return utc.toOffsetFromUtc(offsetSeconds_);
    }

private:
    mutable qint64 minute_ = std::numeric_limits<qint64>::min();
    mutable int offsetSeconds_ = 0;
};
