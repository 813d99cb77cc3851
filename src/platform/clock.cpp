#include "platform/clock.h"

#include <QDateTime>
#include <QTimeZone>

namespace brezmor {
namespace {

QDateTime SystemZoneMoment(TDateTime local)
{
    return QDateTime(DateOf(local), TimeOf(local), QTimeZone::systemTimeZone());
}

}  // namespace

bool Clock::isDaylightTime(TDateTime local) const
{
    return SystemZoneMoment(local).isDaylightTime();
}

int Clock::utcOffsetSeconds(TDateTime local) const
{
    return SystemZoneMoment(local).offsetFromUtc();
}

TDateTime Clock::utcNow() const
{
    const TDateTime local = now();
    return local - utcOffsetSeconds(local) / kSecondsPerDay;
}

TDateTime LiveClock::now() const
{
    return ToDateTime(QDateTime::currentDateTime());
}

}  // namespace brezmor
