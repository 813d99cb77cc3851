#include "platform/datetime.h"

#include <cmath>

namespace brezmor {
namespace {

// A function, not a global: other files' constants may need it before
// globals of this file are built.
QDate Epoch()
{
    static const QDate epoch(1899, 12, 30);
    return epoch;
}

// Milliseconds since the epoch, rounded, so that a moment read back from a
// double lands on the millisecond it was made from.
qint64 TotalMilliseconds(TDateTime moment)
{
    return std::llround(moment * kSecondsPerDay * 1000.0);
}

}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond)
{
    return ToDateTime(QDate(year, month, day), QTime(hour, minute, second, millisecond));
}

TDateTime ToDateTime(const QDate& date, const QTime& time)
{
    const double days = static_cast<double>(Epoch().daysTo(date));
    return days + time.msecsSinceStartOfDay() / (kSecondsPerDay * 1000.0);
}

TDateTime ToDateTime(const QDateTime& local)
{
    return ToDateTime(local.date(), local.time());
}

QDate DateOf(TDateTime moment)
{
    const qint64 ms = TotalMilliseconds(moment);
    const qint64 msPerDay = 86'400'000;
    qint64 days = ms / msPerDay;
    if (ms % msPerDay < 0)
        --days;
    return Epoch().addDays(days);
}

QTime TimeOf(TDateTime moment)
{
    const qint64 msPerDay = 86'400'000;
    qint64 rest = TotalMilliseconds(moment) % msPerDay;
    if (rest < 0)
        rest += msPerDay;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(rest));
}

QDateTime ToQDateTime(TDateTime moment)
{
    return QDateTime(DateOf(moment), TimeOf(moment));
}

int MinuteOfDay(TDateTime moment)
{
    return TimeOf(moment).msecsSinceStartOfDay() / 60'000;
}

int DayNumber(TDateTime moment)
{
    return static_cast<int>(Epoch().daysTo(DateOf(moment)));
}

}  // namespace brezmor
