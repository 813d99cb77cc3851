#include "platform/clock.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace brezmor {
namespace {

// The zone asked afresh for every moment, as a clock that keeps nothing would.
QDateTime Fresh(TDateTime local)
{
    return QDateTime(DateOf(local), TimeOf(local), QTimeZone::systemTimeZone());
}

// One clock asked in the order a program asks: minute after minute through a
// change of the clocks, with now and then a moment far away (a last update
// time of long ago, a record date). Whatever it keeps between questions, each
// answer must be the zone's own. The tests run on Europe/London.
TEST(ClockZone, EveryAnswerAcrossBothChangesIsTheZones)
{
    struct Stretch {
        const char* why;
        TDateTime from;
        TDateTime to;
    };
    const Stretch stretches[] = {
        {"clocks go forward at 01:00 on 29 March", EncodeDateTime(2026, 3, 26), EncodeDateTime(2026, 4, 2)},
        {"clocks go back at 02:00 on 25 October", EncodeDateTime(2026, 10, 22), EncodeDateTime(2026, 10, 29)},
    };
    const TDateTime farAway[] = {0.0, EncodeDateTime(2026, 7, 1, 12), EncodeDateTime(2025, 12, 25, 9)};
    SimulatedClock clock;
    for (const Stretch& stretch : stretches) {
        SCOPED_TRACE(stretch.why);
        int step = 0;
        for (TDateTime moment = stretch.from; moment < stretch.to; moment += 5 * kOneMinute, ++step) {
            if (step % 100 == 0) {
                const TDateTime away = farAway[(step / 100) % 3];
                ASSERT_EQ(clock.isDaylightTime(away), Fresh(away).isDaylightTime());
            }
            const QDateTime expected = Fresh(moment);
            ASSERT_EQ(clock.isDaylightTime(moment), expected.isDaylightTime())
                << ToQDateTime(moment).toString(Qt::ISODate).toStdString();
            ASSERT_EQ(clock.utcOffsetSeconds(moment), expected.offsetFromUtc())
                << ToQDateTime(moment).toString(Qt::ISODate).toStdString();
        }
    }
}

}  // namespace
}  // namespace brezmor
