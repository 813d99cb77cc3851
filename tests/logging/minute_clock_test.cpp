#include "logging/minute_clock.h"

#include "platform/clock.h"
#include "support/run_events.h"

#include <gtest/gtest.h>

namespace brezmor {
namespace {

TEST(MinuteHourClock, RaisesTheHourBeforeMinuteZeroAndOnlyOnChanges)
{
    SimulatedClock clock(EncodeDateTime(2026, 1, 15, 9, 58, 30));
    QStringList events;
    MinuteHourClock minuteClock(
        clock, [&](int hour) { events << QStringLiteral("h%1").arg(hour); },
        [&](int minute) { events << QStringLiteral("m%1").arg(minute); });
    minuteClock.tick();
    EXPECT_TRUE(events.isEmpty()) << "inactive";
    minuteClock.activate(false);
    minuteClock.tick();
    EXPECT_TRUE(events.isEmpty()) << "activation notes the time without events";
    for (const int minute : {59, 59, 60, 61}) {
        clock.setNow(EncodeDateTime(2026, 1, 15, 9, 0) + minute * kOneMinute);
        minuteClock.tick();
    }
    EXPECT_EQ(events, (QStringList{"m59", "h10", "m0", "m1"}));
}

TEST(MinuteHourClock, LiveItSleepsUntilJustAfterTheNextMinuteForTenSecondsAtMost)
{
    struct Case {
        const char* why;
        TDateTime now;
        int expected;
    };
    const Case cases[] = {
        {"just before a change: wakes 20 ms after it", EncodeDateTime(2026, 1, 15, 8, 59, 59, 990), 30},
        {"at the change itself", EncodeDateTime(2026, 1, 15, 9, 0), 10'000},
        {"mid-minute: the wait is capped", EncodeDateTime(2026, 1, 15, 9, 0, 30), 10'000},
        {"eight seconds before", EncodeDateTime(2026, 1, 15, 9, 0, 52), 8'020},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MillisecondsToNextLook(c.now), c.expected) << c.why;
}

TEST(MinuteHourClock, LiveItLooksAgainOnItsOwnTimer)
{
    SimulatedClock clock(EncodeDateTime(2026, 1, 15, 9, 59, 59, 990));
    QStringList events;
    MinuteHourClock minuteClock(
        clock, [&](int hour) { events << QStringLiteral("h%1").arg(hour); },
        [&](int minute) { events << QStringLiteral("m%1").arg(minute); });
    minuteClock.activate(true);
    clock.setNow(EncodeDateTime(2026, 1, 15, 10, 0, 0, 20));
    RunEventsUntil([&] { return events.size() == 2; });
    EXPECT_EQ(events, (QStringList{"h10", "m0"}));
    minuteClock.deactivate();
}

}  // namespace
}  // namespace brezmor
