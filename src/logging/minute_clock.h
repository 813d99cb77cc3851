#pragma once

#include "platform/datetime.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace brezmor {

class Clock;

// How long the live clock sleeps before its next look: until just after the
// coming change of minute, so that a station computer idles between minutes,
// but at most ten seconds, so that a clock put forward or a resume from a
// suspend is noticed soon.
[[nodiscard]] int MillisecondsToNextLook(TDateTime now);

// The minute and hour clock: on each tick it reads the clock; when the hour
// differs from the last one seen it raises the hour event, then, when the
// minute differs, the minute event. At a full hour the hour work therefore
// always runs before the minute-0 work.
class MinuteHourClock final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(int)>;

    MinuteHourClock(const Clock& clock, Handler hoursChanged, Handler minutesChanged);

    // Notes the current hour and minute without raising events; live, also
    // starts the timer that looks just after each change of minute.
    void activate(bool live);
    void deactivate();
    [[nodiscard]] bool active() const { return m_active; }

    // One look at the clock. The replay calls it after each simulated minute.
    void tick();

private:
    void lookAndWait();

    const Clock& m_clock;
    Handler m_hoursChanged;
    Handler m_minutesChanged;
    QTimer m_timer;
    bool m_active = false;
    int m_lastHour = -1;
    int m_lastMinute = -1;
};

}  // namespace brezmor
