#pragma once

#include "Clock.h"

// A clock that stays at the moment it is given, until told otherwise.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime moment = QDateTime(QDate(2024, 3, 15), QTime(14, 30, 7, 412)))
        : moment_(std::move(moment))
    {
    }
    QDateTime now() const override { return moment_; }
    void set(QDateTime moment) { moment_ = std::move(moment); }

private:
    QDateTime moment_;
};
