#pragma once

#include "platform/datetime.h"

namespace brezmor {

// The one source of "now". The live clock reads the computer's; the simulated
// clock is set by tests and by the replay mode, so that a whole day can pass
// in milliseconds with the same hour and minute events as real time.
class Clock {
public:
    virtual ~Clock() = default;

    // Local time.
    [[nodiscard]] virtual TDateTime now() const = 0;

    // Whether daylight-saving time is in force at a local moment, and the
    // offset of local time from UTC there (local = UTC + offset), both from
    // the system time zone (TZ).
    [[nodiscard]] bool isDaylightTime(TDateTime local) const;
    [[nodiscard]] int utcOffsetSeconds(TDateTime local) const;

    [[nodiscard]] bool isDaylightTimeNow() const { return isDaylightTime(now()); }
    // Now in UTC, as a moment of the same kind as now().
    [[nodiscard]] TDateTime utcNow() const;
};

class LiveClock final : public Clock {
public:
    [[nodiscard]] TDateTime now() const override;
};

class SimulatedClock final : public Clock {
public:
    explicit SimulatedClock(TDateTime start = 0.0) : m_now(start) {}

    [[nodiscard]] TDateTime now() const override { return m_now; }
    void setNow(TDateTime moment) { m_now = moment; }

private:
    TDateTime m_now;
};

}  // namespace brezmor
