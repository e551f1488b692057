#include "LineStamp.h"

#include "DateTimeText.h"

const QString& LineStamp::of(const QDateTime& moment)
{
    const QTime time = moment.time();
    const QTime second(time.hour(), time.minute(), time.second());
    if (moment.date() != day_ || second != second_) {
        day_ = moment.date();
        second_ = second;
        text_ = dateTimeText(moment, regional_) + u'-';
    }
    return text_;
}
