#include "Clock.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// Runs the test with the process in another time zone, as the system's settings would put it.
class InTimeZone {
public:
    explicit InTimeZone(const QByteArray& zone)
        : earlier_(qgetenv("TZ"))
        , hadZone_(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~InTimeZone()
    {
        if (hadZone_)
            qputenv("TZ", earlier_);
        else
            qunsetenv("TZ");
        tzset();
    }
    InTimeZone(const InTimeZone&) = delete;
    InTimeZone& operator=(const InTimeZone&) = delete;

private:
    QByteArray earlier_;
    bool hadZone_;
};

} // namespace

TEST(SystemClock, TellsTheLocalDateAndTimeOfTheSystemsTimeZone)
{
    for (const char* zone : {"UTC", "America/Sao_Paulo", "Asia/Kolkata", "Pacific/Chatham", "America/St_Johns"}) {
        const InTimeZone inZone(zone);
        const SystemClock clock;
        for (int reading = 0; reading < 2; ++reading) {
            const QDateTime expected = QDateTime::currentDateTime();
            const QDateTime now = clock.now();
            EXPECT_EQ(now.offsetFromUtc(), expected.offsetFromUtc()) << zone;
            EXPECT_LE(std::abs(QDateTime(now.date(), now.time()).secsTo(QDateTime(expected.date(), expected.time()))), 1)
                << zone << ": " << now.toString(Qt::ISODate).toStdString() << " for "
                << expected.toString(Qt::ISODate).toStdString();
        }
    }
}
