#include "core/trends.h"

#include <gtest/gtest.h>

namespace brezmor {
namespace {

// Moments on 2026-01-15, built the way the minute clock's are.
TDateTime Moment(int hour, int minute, int second = 0)
{
    return EncodeDateTime(2026, 1, 15, hour, minute, second);
}

TEST(TrendSamples, SamplesKeepTheirValuesInOrderOfArrival)
{
    TrendSamples samples;
    samples.AddLastHourSample(Moment(11, 0), 12.5f);
    samples.AddLastHourSample(Moment(11, 1), -1.0f);
    samples.AddLast3HourSample(Moment(11, 0), 4.5f, 1013.2f);
    samples.AddLast3HourSample(Moment(11, 1), 4.7f, 1013.1f);

    ASSERT_EQ(samples.lastHour().size(), 2u);
    EXPECT_FLOAT_EQ(samples.lastHour().front().rainCounter, 12.5f);
    EXPECT_FLOAT_EQ(samples.lastHour().back().rainCounter, -1.0f);
    ASSERT_EQ(samples.last3Hours().size(), 2u);
    EXPECT_DOUBLE_EQ(samples.last3Hours().front().time, Moment(11, 0));
    EXPECT_FLOAT_EQ(samples.last3Hours().front().temperature, 4.5f);
    EXPECT_FLOAT_EQ(samples.last3Hours().front().pressure, 1013.2f);
    EXPECT_FLOAT_EQ(samples.last3Hours().back().temperature, 4.7f);
}

TEST(TrendSamples, TrimmingRemovesOnlySamplesOlderThanTheWindow)
{
    struct Case {
        const char* why;
        TDateTime now;
        TDateTime expectedOldestHour;
        TDateTime expectedOldest3Hours;
    };
    const Case cases[] = {
        {"a sample exactly an hour or three hours old stays", Moment(12, 0), Moment(11, 0), Moment(9, 0)},
        {"a sample a second too old goes", Moment(12, 0, 1), Moment(11, 1), Moment(9, 1)},
        {"later still, every sample before the window goes", Moment(12, 30), Moment(11, 30), Moment(9, 30)},
    };
    for (const Case& c : cases) {
        TrendSamples samples;
        for (int minute = 0; minute <= 180; ++minute) {
            const TDateTime time = Moment(9 + minute / 60, minute % 60);
            samples.AddLastHourSample(time, static_cast<float>(minute));
            samples.AddLast3HourSample(time, 0.0f, 1000.0f);
        }
        samples.TrimLastHour(c.now);
        samples.TrimLast3Hours(c.now);
        ASSERT_FALSE(samples.lastHour().empty()) << c.why;
        EXPECT_DOUBLE_EQ(samples.lastHour().front().time, c.expectedOldestHour) << c.why;
        EXPECT_DOUBLE_EQ(samples.last3Hours().front().time, c.expectedOldest3Hours) << c.why;
        EXPECT_DOUBLE_EQ(samples.lastHour().back().time, Moment(12, 0)) << c.why;
    }
}

TEST(TrendSamples, TrimmingAfterAGapEmptiesTheLists)
{
    TrendSamples samples;
    samples.AddLastHourSample(Moment(9, 0), 1.0f);
    samples.AddLast3HourSample(Moment(9, 0), 1.0f, 1000.0f);
    samples.TrimLastHour(Moment(13, 0));
    samples.TrimLast3Hours(Moment(13, 0));
    EXPECT_TRUE(samples.lastHour().empty());
    EXPECT_TRUE(samples.last3Hours().empty());

    // Trimming an empty list is a no-op, not a read past its end.
    samples.TrimLastHour(Moment(14, 0));
    samples.TrimLast3Hours(Moment(14, 0));
    EXPECT_TRUE(samples.lastHour().empty());
}

}  // namespace
}  // namespace brezmor
