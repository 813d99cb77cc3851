#pragma once

#include "platform/datetime.h"

#include <QByteArray>

#include <mutex>

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

private:
    struct ZonePeriod {
        QByteArray zoneId;
        // Local moments well inside one period of the zone, away from the
        // gap or overlap of either transition: all of them share the answer.
        TDateTime from = 0.0;
        TDateTime to = -1.0;
        bool daylight = false;
        int offsetSeconds = 0;
    };
    [[nodiscard]] ZonePeriod lookUp(TDateTime local) const;
    // The period of `local`, looked up unless the kept one holds it; with
    // the mutex held.
    [[nodiscard]] const ZonePeriod& periodAt(TDateTime local) const;

    // The zone look-up costs more than most of the work that asks for it, and
    // the day rollover asks at every today-file write, so the last period
    // found is kept.
    mutable std::mutex m_periodMutex;
    mutable ZonePeriod m_period;
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
