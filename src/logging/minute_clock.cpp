#include "logging/minute_clock.h"

#include "platform/clock.h"

namespace brezmor {

MinuteHourClock::MinuteHourClock(const Clock& clock, Handler hoursChanged, Handler minutesChanged)
    : m_clock(clock), m_hoursChanged(std::move(hoursChanged)), m_minutesChanged(std::move(minutesChanged))
{
    // Four looks a second: each change of minute is seen within a quarter second.
    m_timer.setInterval(250);
    connect(&m_timer, &QTimer::timeout, this, &MinuteHourClock::tick);
}

void MinuteHourClock::activate(bool live)
{
    const QTime now = TimeOf(m_clock.now());
    m_lastHour = now.hour();
    m_lastMinute = now.minute();
    m_active = true;
    if (live)
        m_timer.start();
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
