#include "platform/clock.h"

#include <QDateTime>
#include <QTimeZone>

#include <limits>

namespace brezmor {
namespace {

// No gap or overlap at a transition lasts a day, so a local moment a day
// from one is neither skipped nor repeated.
constexpr int kMarginDays = 1;

// A transition as a local moment of the period before or after it.
TDateTime LocalMoment(const QDateTime& utc, int offsetSeconds)
{
    const QDateTime wallClock = utc.toUTC().addSecs(offsetSeconds);
    return ToDateTime(wallClock.date(), wallClock.time());
}

}  // namespace

Clock::ZonePeriod Clock::lookUp(TDateTime local) const
{
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime moment(DateOf(local), TimeOf(local), zone);
    ZonePeriod period;
    period.zoneId = zone.id();
    period.daylight = moment.isDaylightTime();
    period.offsetSeconds = moment.offsetFromUtc();
    period.from = local;
    period.to = local;
    if (!zone.hasTransitions()) {
        period.from = std::numeric_limits<double>::lowest();
        period.to = std::numeric_limits<double>::max();
        return period;
    }
    // A moment near a transition (or in its gap, or in its repeated hour)
    // stands for itself only; one well inside a period stands for all of it.
    const QDateTime instant = moment.toUTC();
    const QDateTime earliest = instant.addDays(-kMarginDays);
    const QDateTime latest = instant.addDays(kMarginDays);
    const QTimeZone::OffsetData previous = zone.previousTransition(latest);
    const QTimeZone::OffsetData next = zone.nextTransition(earliest);
    if ((previous.atUtc.isValid() && (previous.atUtc >= earliest || previous.offsetFromUtc != period.offsetSeconds))
        || (next.atUtc.isValid() && next.atUtc <= latest))
        return period;
    period.from = previous.atUtc.isValid() ? LocalMoment(previous.atUtc, period.offsetSeconds) + kMarginDays
                                           : std::numeric_limits<double>::lowest();
    period.to = next.atUtc.isValid() ? LocalMoment(next.atUtc, period.offsetSeconds) - kMarginDays
                                     : std::numeric_limits<double>::max();
    return period;
}

const Clock::ZonePeriod& Clock::periodAt(TDateTime local) const
{
    if (local < m_period.from || local > m_period.to || m_period.zoneId != QTimeZone::systemTimeZoneId())
        m_period = lookUp(local);
    return m_period;
}

bool Clock::isDaylightTime(TDateTime local) const
{
    const std::lock_guard lock(m_periodMutex);
    return periodAt(local).daylight;
}

int Clock::utcOffsetSeconds(TDateTime local) const
{
    const std::lock_guard lock(m_periodMutex);
    return periodAt(local).offsetSeconds;
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
