#include "logging/minute_clock.h"

#include "platform/clock.h"

#include <algorithm>

namespace brezmor {

MinuteHourClock::MinuteHourClock(const Clock& clock, Handler hoursChanged, Handler minutesChanged)
    : m_clock(clock), m_hoursChanged(std::move(hoursChanged)), m_minutesChanged(std::move(minutesChanged))
{
    m_timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % late, a second and more after the minute.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &MinuteHourClock::lookAndWait);
}

int MillisecondsToNextLook(TDateTime now)
{
    constexpr int kMinuteMs = 60'000;
    constexpr int kLongestWaitMs = 10'000;
    // Past the change, so that the look never still sees the old minute.
    constexpr int kMarginMs = 20;
    const QTime time = TimeOf(now);
    const int intoMinute = time.second() * 1000 + time.msec();
    return std::min(kMinuteMs - intoMinute + kMarginMs, kLongestWaitMs);
}

void MinuteHourClock::lookAndWait()
{
    tick();
    if (m_active)
        m_timer.start(MillisecondsToNextLook(m_clock.now()));
}

void MinuteHourClock::activate(bool live)
{
    const QTime now = TimeOf(m_clock.now());
    m_lastHour = now.hour();
    m_lastMinute = now.minute();
    m_active = true;
    if (live)
        m_timer.start(MillisecondsToNextLook(m_clock.now()));
}

void MinuteHourClock::deactivate()
{
    m_timer.stop();
    m_active = false;
}

void MinuteHourClock::tick()
{
    if (!m_active)
        return;
    const QTime now = TimeOf(m_clock.now());
    if (now.hour() != m_lastHour) {
        m_lastHour = now.hour();
        m_hoursChanged(m_lastHour);
    }
    if (now.minute() != m_lastMinute) {
        m_lastMinute = now.minute();
        m_minutesChanged(m_lastMinute);
    }
}

}  // namespace brezmor
