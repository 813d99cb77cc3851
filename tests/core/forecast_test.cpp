#include "core/forecast.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace brezmor {
namespace {

constexpr double kLow = 950.0;
constexpr double kHigh = 1050.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct ForecastCase {
    const char* why;
    int month;
    const char16_t* wind;
    PressureTendency trend;
    double low;
    double high;
    Hemisphere hemisphere;
    double pressureMb;
    const char* expected;
};

class ZambrettiForecastTest : public ::testing::TestWithParam<ForecastCase> {};

TEST_P(ZambrettiForecastTest, GivesTheTextOfTheAdjustedStep)
{
    const ForecastCase& c = GetParam();
    EXPECT_EQ(ZambrettiForecast(c.month, QStringView(c.wind), c.trend, c.low, c.high, c.hemisphere, c.pressureMb),
              QString::fromUtf8(c.expected))
        << c.why;
}

using enum PressureTendency;
using enum Hemisphere;

// January is winter in the north, so the season leaves these alone; 1013 mb
// calm and steady is step 13 of the default range (63 / 4.545).
INSTANTIATE_TEST_SUITE_P(
    Steps, ZambrettiForecastTest,
    ::testing::Values(
        ForecastCase{"default range, steady and calm at 1013 is step 13", 1, u"calm", Steady, kLow, kHigh, Northern,
                     1013.0, "Fine, possible showers"},
        ForecastCase{"the high end is held at high - 1: the top step without the prefix", 1, u"calm", Steady, kLow,
                     kHigh, Northern, 1050.0, "Settled fine"},
        ForecastCase{"far above the range is still held at high - 1", 1, u"calm", Steady, kLow, kHigh, Northern,
                     1085.0, "Settled fine"},
        ForecastCase{"just inside the low end is step 0 without the prefix", 1, u"calm", Steady, kLow, kHigh,
                     Northern, 950.5, "Stormy, much precipitation"},
        ForecastCase{"below the low end gives the prefix and step 0", 1, u"calm", Steady, kLow, kHigh, Northern,
                     949.0, "Exceptional Weather, Stormy, much precipitation"},
        ForecastCase{"a southerly in the north takes 12 % of the range and falls below the range", 1, u"S", Steady,
                     kLow, kHigh, Northern, 955.0, "Exceptional Weather, Stormy, much precipitation"},
        ForecastCase{"a wind text that is no compass point makes no adjustment", 1, u"---", Steady, kLow, kHigh,
                     Northern, 1013.0, "Fine, possible showers"}),
    [](const ::testing::TestParamInfo<ForecastCase>& info) { return std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Wind, ZambrettiForecastTest,
    ::testing::Values(
        ForecastCase{"a northerly in the north adds 6 %: 1019 is step 15", 1, u"N", Steady, kLow, kHigh, Northern,
                     1013.0, "Fine weather"},
        ForecastCase{"a south-south-easterly in the north takes 8.5 %: 1004.5 is step 11", 1, u"SSE", Steady, kLow,
                     kHigh, Northern, 1013.0, "Showery, bright intervals"},
        ForecastCase{"a southerly in the south is the northerly of the north", 1, u"S", Steady, kLow, kHigh,
                     Southern, 1013.0, "Fine weather"},
        ForecastCase{"a northerly in the south takes 12 %: 1001 is step 11", 1, u"N", Steady, kLow, kHigh, Southern,
                     1013.0, "Showery, bright intervals"},
        ForecastCase{"a north-north-westerly in the south is the south-south-easterly of the north", 1, u"NNW",
                     Steady, kLow, kHigh, Southern, 1013.0, "Showery, bright intervals"}),
    [](const ::testing::TestParamInfo<ForecastCase>& info) { return std::to_string(info.index); });

// Rising 1013 is step 13 (2, "Becoming fine") in winter and step 15 (1,
// "Fine weather") with the summer's 7 %; falling is step 13 (14) in winter
// and step 12 (17) in summer.
INSTANTIATE_TEST_SUITE_P(
    Season, ZambrettiForecastTest,
    ::testing::Values(
        ForecastCase{"July is summer in the north: rising adds 7 %", 7, u"calm", Rising, kLow, kHigh, Northern,
                     1013.0, "Fine weather"},
        ForecastCase{"January is winter in the north: no season adjustment", 1, u"calm", Rising, kLow, kHigh,
                     Northern, 1013.0, "Becoming fine"},
        ForecastCase{"April starts the northern summer", 4, u"calm", Rising, kLow, kHigh, Northern, 1013.0,
                     "Fine weather"},
        ForecastCase{"March is still northern winter", 3, u"calm", Rising, kLow, kHigh, Northern, 1013.0,
                     "Becoming fine"},
        ForecastCase{"July is summer in the north: falling takes 7 %", 7, u"calm", Falling, kLow, kHigh, Northern,
                     1013.0, "Unsettled, precipitation later"},
        ForecastCase{"January is winter in the north for a falling trend too", 1, u"calm", Falling, kLow, kHigh,
                     Northern, 1013.0, "Showery, becoming less settled"},
        ForecastCase{"January is summer in the south", 1, u"calm", Rising, kLow, kHigh, Southern, 1013.0,
                     "Fine weather"},
        ForecastCase{"July is winter in the south", 7, u"calm", Rising, kLow, kHigh, Southern, 1013.0,
                     "Becoming fine"},
        ForecastCase{"October starts the southern summer", 10, u"calm", Falling, kLow, kHigh, Southern, 1013.0,
                     "Unsettled, precipitation later"},
        ForecastCase{"September is still southern winter", 9, u"calm", Falling, kLow, kHigh, Southern, 1013.0,
                     "Showery, becoming less settled"},
        ForecastCase{"a steady trend has no season adjustment", 7, u"calm", Steady, kLow, kHigh, Northern, 1013.0,
                     "Fine, possible showers"}),
    [](const ::testing::TestParamInfo<ForecastCase>& info) { return std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    OddInput, ZambrettiForecastTest,
    ::testing::Values(
        ForecastCase{"no range at all puts every pressure below it", 1, u"calm", Steady, 1000.0, 1000.0, Northern,
                     1013.0, "Exceptional Weather, Stormy, much precipitation"},
        ForecastCase{"no range at all, below it as well", 1, u"calm", Steady, 1000.0, 1000.0, Northern, 990.0,
                     "Exceptional Weather, Stormy, much precipitation"},
        ForecastCase{"a range given the wrong way round stays inside the tables", 1, u"calm", Steady, kHigh, kLow,
                     Northern, 1013.0, "Exceptional Weather, Settled fine"},
        ForecastCase{"a pressure that is not a number has no forecast", 1, u"calm", Steady, kLow, kHigh, Northern,
                     kNaN, "Not available"},
        ForecastCase{"a range end that is not a number has no forecast", 1, u"N", Rising, kNaN, kHigh, Northern,
                     1013.0, "Not available"},
        ForecastCase{"an infinite pressure is held at high - 1", 1, u"calm", Steady, kLow, kHigh, Northern, kInf,
                     "Settled fine"},
        ForecastCase{"minus infinity is below the range", 1, u"calm", Steady, kLow, kHigh, Northern, -kInf,
                     "Exceptional Weather, Stormy, much precipitation"}),
    [](const ::testing::TestParamInfo<ForecastCase>& info) { return std::to_string(info.index); });

// Every step of each trend's list, at the middle of the step: the 22 x 3
// table and the 26 texts as published, written out here independently.
TEST(ZambrettiForecastTables, EveryStepOfEachTrendGivesItsText)
{
    const std::array<const char*, 26> texts = {
        "Settled fine", "Fine weather", "Becoming fine", "Fine, becoming less settled", "Fine, possible showers",
        "Fairly fine, improving", "Fairly fine, possible showers early", "Fairly fine, showery later",
        "Showery early, improving", "Changeable, mending", "Fairly fine, showers likely",
        "Rather unsettled clearing later", "Unsettled, probably improving", "Showery, bright intervals",
        "Showery, becoming less settled", "Changeable, some precipitation", "Unsettled, short fine intervals",
        "Unsettled, precipitation later", "Unsettled, some precipitation", "Mostly very unsettled",
        "Occasional precipitation, worsening", "Precipitation at times, very unsettled",
        "Precipitation at frequent intervals", "Precipitation, very unsettled", "Stormy, may improve",
        "Stormy, much precipitation"};
    struct Row {
        PressureTendency trend;
        std::array<int, 22> indices;
    };
    const std::array<Row, 3> rows = {{
        {Rising, {25, 25, 25, 24, 24, 19, 16, 12, 11, 9, 8, 6, 5, 2, 1, 1, 0, 0, 0, 0, 0, 0}},
        {Steady, {25, 25, 25, 25, 25, 25, 23, 23, 22, 18, 15, 13, 10, 4, 1, 1, 0, 0, 0, 0, 0, 0}},
        {Falling, {25, 25, 25, 25, 25, 25, 25, 25, 23, 23, 21, 20, 17, 14, 7, 3, 1, 1, 1, 0, 0, 0}},
    }};
    const double step = (kHigh - kLow) / 22.0;
    for (const Row& row : rows) {
        for (int z = 0; z < 22; ++z) {
            const double pressure = kLow + (z + 0.5) * step;
            EXPECT_EQ(ZambrettiForecast(1, u"calm", row.trend, kLow, kHigh, Northern, pressure),
                      QString::fromUtf8(texts[static_cast<std::size_t>(row.indices[static_cast<std::size_t>(z)])]))
                << "trend " << static_cast<int>(row.trend) << ", step " << z;
        }
    }
}

struct TendencyTextCase {
    const char* why;
    double changeMb;
    const char* expected;
};

class PressureTendencyTextTest : public ::testing::TestWithParam<TendencyTextCase> {};

TEST_P(PressureTendencyTextTest, FirstRowWhoseLimitIsExceeded)
{
    EXPECT_EQ(PressureTendencyText(GetParam().changeMb), QString::fromUtf8(GetParam().expected)) << GetParam().why;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, PressureTendencyTextTest,
    ::testing::Values(
        TendencyTextCase{"above 6 rises very rapidly", 6.01, "Rising very rapidly"},
        TendencyTextCase{"exactly 6 only rises quickly", 6.0, "Rising quickly"},
        TendencyTextCase{"just above 3.5 rises quickly", 3.51, "Rising quickly"},
        TendencyTextCase{"exactly 3.5 only rises", 3.5, "Rising"},
        TendencyTextCase{"just above 1.5 rises", 1.51, "Rising"},
        TendencyTextCase{"exactly 1.5 only rises slowly", 1.5, "Rising slowly"},
        TendencyTextCase{"just above 0.1 rises slowly", 0.11, "Rising slowly"},
        TendencyTextCase{"exactly 0.1 is steady", 0.1, "Steady"},
        TendencyTextCase{"0.1 held as a single is steady", 0.1f, "Steady"},
        TendencyTextCase{"no change is steady", 0.0, "Steady"},
        TendencyTextCase{"exactly -0.1 is steady, as +0.1 is", -0.1, "Steady"},
        TendencyTextCase{"just beyond -0.1 falls slowly", -0.11, "Falling slowly"},
        TendencyTextCase{"exactly -1.5 only falls slowly", -1.5, "Falling slowly"},
        TendencyTextCase{"just beyond -1.5 falls", -1.51, "Falling"},
        TendencyTextCase{"exactly -3.5 only falls", -3.5, "Falling"},
        TendencyTextCase{"just beyond -3.5 falls quickly", -3.51, "Falling quickly"},
        TendencyTextCase{"exactly -6 only falls quickly", -6.0, "Falling quickly"},
        TendencyTextCase{"just beyond -6 falls very rapidly", -6.01, "Falling very rapidly"},
        TendencyTextCase{"a change that is not a number says steady", kNaN, "Steady"},
        TendencyTextCase{"an infinite rise", kInf, "Rising very rapidly"}),
    [](const ::testing::TestParamInfo<TendencyTextCase>& info) { return std::to_string(info.index); });

TEST(TendencyOfTrend, StoredLimitsOfPointOneAreSteady)
{
    EXPECT_EQ(TendencyOfTrend(0.1f), Steady);
    EXPECT_EQ(TendencyOfTrend(-0.1f), Steady);
    EXPECT_EQ(TendencyOfTrend(0.0f), Steady);
    EXPECT_EQ(TendencyOfTrend(0.11f), Rising);
    EXPECT_EQ(TendencyOfTrend(-0.11f), Falling);
    EXPECT_EQ(TendencyOfTrend(std::numeric_limits<float>::quiet_NaN()), Steady);
}

}  // namespace
}  // namespace brezmor
