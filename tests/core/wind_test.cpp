#include "core/wind.h"

#include "weather_core_fixture.h"

#include <QFile>

#include <cmath>
#include <limits>

namespace brezmor {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class WindTest : public WeatherCoreTest {
protected:
    // A steady wind: one reading every ten seconds from `start` on.
    void steady(int bearing, float speed, int readings, double startSeconds = 0.0)
    {
        for (int i = 0; i < readings; ++i)
            m_core->DoWind(bearing, speed, speed, at(startSeconds + i * 10.0));
    }

    [[nodiscard]] const CurrentConditions& conditions() const { return m_core->conditions(); }

    [[nodiscard]] QString debugLog() const
    {
        QFile file(m_folder.filePath(QStringLiteral("debug.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }
};

struct BearingCase {
    const char* why;
    int stationBearing;
    int offset;
    float speed;
    bool useZeroBearing;
    int expected;
    const char* compass;
};

TEST_F(WindTest, CalibratedBearingStaysWithinOneTo360)
{
    const BearingCase cases[] = {
        {"a positive offset carries past north", 355, 10, 3.0f, false, 5, "N"},
        {"a negative offset wraps below north", 5, -10, 3.0f, false, 355, "N"},
        {"north is 360, never 0", 0, 0, 3.0f, false, 360, "N"},
        {"360 stays 360", 360, 0, 3.0f, false, 360, "N"},
        {"an offset of whole turns changes nothing", 100, 720, 3.0f, false, 100, "E"},
        {"calm keeps its bearing unless told otherwise", 90, 0, 0.0f, false, 90, "E"},
        {"calm has no bearing with UseZeroBearing", 90, 0, 0.0f, true, 0, "---"},
        {"moving air keeps its bearing with UseZeroBearing", 0, 0, 0.1f, true, 360, "N"},
        {"an absurd offset cannot overflow", 359, std::numeric_limits<int>::max(), 3.0f, false, 126, "SE"},
    };
    watch();
    for (const BearingCase& c : cases) {
        m_settings.setInteger(Setting::WindDirOffset, c.offset);
        m_settings.setBoolean(Setting::UseZeroBearing, c.useZeroBearing);
        m_core->DoWind(c.stationBearing, c.speed, c.speed, at(0));
        EXPECT_EQ(conditions().bearing, c.expected) << c.why;
        EXPECT_EQ(m_observer.text(Display::Bearing), QString::number(c.expected)) << c.why;
        EXPECT_EQ(m_observer.text(Display::BearingCompass), QString::fromLatin1(c.compass)) << c.why;
    }
}

TEST_F(WindTest, SteadyWindAveragesToItsOwnBearing)
{
    // Cut whole degrees must not turn the noise of the single sums into a
    // degree too many or too few, at the cardinal points or anywhere else.
    for (int bearing = 1; bearing <= 360; ++bearing) {
        steady(bearing, 4.3f, 5, bearing * 3600.0);
        ASSERT_EQ(conditions().averageBearing, bearing) << "steady wind from " << bearing;
    }
}

TEST_F(WindTest, AverageBearingIsTheVectorMean)
{
    m_core->DoWind(80, 10.0f, 0.0f, at(0));
    m_core->DoWind(100, 10.0f, 0.0f, at(10));
    EXPECT_EQ(conditions().averageBearing, 90) << "symmetric about east";

    m_core->DoWind(30, 10.0f, 0.0f, at(3600));
    m_core->DoWind(60, 10.0f, 0.0f, at(3610));
    EXPECT_EQ(conditions().averageBearing, 45) << "symmetric about north-east, the old readings gone";

    // X = 20, Y = 10: the arctangent 26.57 is cut to 26, so 90 - 26 = 64,
    // although the true mean is 63.4.
    m_core->DoWind(360, 10.0f, 0.0f, at(7200));
    m_core->DoWind(90, 10.0f, 0.0f, at(7210));
    m_core->DoWind(90, 10.0f, 0.0f, at(7220));
    EXPECT_EQ(conditions().averageBearing, 64);

    // South-west quadrant: X < 0 gives 270 - a.
    m_core->DoWind(180, 10.0f, 0.0f, at(10800));
    m_core->DoWind(270, 20.0f, 0.0f, at(10810));
    EXPECT_EQ(conditions().averageBearing, 244) << "arctangent of 0.5 is 26.57, cut to 26";
}

TEST_F(WindTest, AverageBearingOfOpposedWindsIsZero)
{
    // Equal winds from east and west leave an X sum of exactly 0.
    m_core->DoWind(90, 5.0f, 0.0f, at(0));
    m_core->DoWind(270, 5.0f, 0.0f, at(10));
    EXPECT_EQ(conditions().averageBearing, 0);
}

TEST_F(WindTest, ZeroAverageGivesZeroAverageBearingOnlyWithUseZeroBearing)
{
    m_core->DoWind(90, 3.0f, 0.0f, at(0));
    EXPECT_EQ(conditions().averageBearing, 90) << "a station average of 0 alone changes nothing";

    m_settings.setBoolean(Setting::UseZeroBearing, true);
    watch();
    m_core->DoWind(90, 3.0f, 0.0f, at(10));
    EXPECT_EQ(conditions().bearing, 90);
    EXPECT_EQ(conditions().averageBearing, 0);
    EXPECT_EQ(m_observer.text(Display::AverageBearing), QStringLiteral("0"));
    EXPECT_EQ(m_observer.text(Display::AverageBearingCompass), QStringLiteral("---"));
}

struct AgeingCase {
    const char* why;
    double secondReadingAfter;
    float expectedAverage;
    float expectedGust;
    int expectedAverageBearing;
};

TEST_F(WindTest, ReadingsOlderThanTenMinutesDropOut)
{
    const AgeingCase cases[] = {
        {"nine minutes on, both readings count", 540.0, 6.0f, 10.0f, 90},
        {"just under ten minutes, both still count", 599.0, 6.0f, 10.0f, 90},
        {"just over ten minutes the first is out", 601.0, 2.0f, 2.0f, 270},
        {"eleven minutes on, only the new one counts", 660.0, 2.0f, 2.0f, 270},
        {"a clock put back half an hour ignores the later-dated reading", -1800.0, 2.0f, 2.0f, 270},
    };
    m_settings.setBoolean(Setting::Wind10MinAverage, true);
    for (const AgeingCase& c : cases) {
        m_core = std::make_unique<WeatherCore>(m_settings, m_clock, m_regional, m_diagnostics,
                                               m_folder.filePath(QStringLiteral("data")));
        m_core->DoWind(90, 10.0f, 0.0f, at(0));
        m_core->DoWind(270, 2.0f, 0.0f, at(c.secondReadingAfter));
        EXPECT_FLOAT_EQ(conditions().windAverage, c.expectedAverage) << c.why;
        EXPECT_FLOAT_EQ(conditions().windGust, c.expectedGust) << c.why;
        EXPECT_EQ(conditions().averageBearing, c.expectedAverageBearing) << c.why;
        EXPECT_EQ(m_core->windHistory().speeds[0].speed, 10.0f) << c.why << ": the ring still holds it";
    }
}

TEST_F(WindTest, TheRingsHoldTheLast200Readings)
{
    m_settings.setBoolean(Setting::Wind10MinAverage, true);
    // Two readings a second: 50 strong ones, then 200 light ones, all within
    // two minutes, so only the ring size pushes the strong ones out.
    for (int i = 0; i < 250; ++i)
        m_core->DoWind(i < 50 ? 180 : 90, i < 50 ? 20.0f : 1.0f, 0.0f, at(i * 0.5));
    EXPECT_FLOAT_EQ(conditions().windAverage, 1.0f);
    EXPECT_FLOAT_EQ(conditions().windGust, 1.0f);
    EXPECT_EQ(conditions().averageBearing, 90);
    EXPECT_EQ(m_core->windHistory().speedIndex, 50);
}

TEST_F(WindTest, TenMinuteAverageMultiplies)
{
    m_settings.setBoolean(Setting::Wind10MinAverage, true);
    m_settings.setReal(Setting::WindComp, 1.5);
    m_settings.setSingle(Setting::WindSpeedMult, 2.0f);
    m_settings.setSingle(Setting::WindGustMult, 1.25f);
    m_core->DoWind(90, 2.0f, 99.0f, at(0));
    m_core->DoWind(90, 4.0f, 99.0f, at(10));
    EXPECT_FLOAT_EQ(conditions().windAverage, 3.0f * 1.5f * 2.0f) << "the station average is ignored";
    EXPECT_FLOAT_EQ(conditions().windGust, 4.0f * 1.25f);
    EXPECT_FLOAT_EQ(conditions().latestWindSpeed, 4.0f * 1.25f);
    EXPECT_FLOAT_EQ(conditions().rawWindSpeed, 4.0f);
}

TEST_F(WindTest, StationAverageWhenNotAveragingItself)
{
    // A station that sends its current speed again as the average.
    m_settings.setReal(Setting::WindComp, 1.5);
    m_settings.setSingle(Setting::WindSpeedMult, 2.0f);
    m_settings.setSingle(Setting::WindGustMult, 1.25f);
    m_core->DoWind(90, 8.0f, 8.0f, at(0));
    m_core->DoWind(90, 4.0f, 4.0f, at(10));
    EXPECT_FLOAT_EQ(conditions().windAverage, 4.0f * 1.5f * 2.0f);
    EXPECT_FLOAT_EQ(conditions().latestWindSpeed, 4.0f * 1.25f);
    EXPECT_FLOAT_EQ(conditions().windGust, 8.0f * 1.25f) << "the gust still comes from the ring";
}

TEST_F(WindTest, RoseKeepsTheNewest3600Entries)
{
    m_core->DoWind(90, 100.0f, 0.0f, at(0));
    for (int i = 1; i < WindHistory::kRoseSize; ++i)
        m_core->DoWind(180, 1.0f, 0.0f, at(i));
    auto totals = m_core->windRoseTotals();
    EXPECT_FLOAT_EQ(totals[4], 100.0f) << "east";
    EXPECT_FLOAT_EQ(totals[8], 3599.0f) << "south";
    EXPECT_EQ(m_core->windHistory().roseFill, WindHistory::kRoseSize - 1);
    EXPECT_EQ(m_core->windHistory().roseIndex, 0);

    m_core->DoWind(180, 1.0f, 0.0f, at(3600));
    totals = m_core->windRoseTotals();
    EXPECT_FLOAT_EQ(totals[4], 0.0f) << "the oldest entry was overwritten";
    EXPECT_FLOAT_EQ(totals[8], 3600.0f);
    EXPECT_EQ(m_core->windHistory().roseIndex, 1);
    EXPECT_EQ(m_core->windHistory().roseBearings[0], 180);
}

TEST_F(WindTest, RoseReachesTheDisplayOnlyWhenWatched)
{
    m_core->DoWind(45, 3.0f, 0.0f, at(0));
    watch();
    m_core->DoWind(45, 2.0f, 0.0f, at(10));
    m_core->DoWind(350, 4.0f, 0.0f, at(20));
    EXPECT_EQ(m_observer.roseUpdates, 2);
    std::array<float, 16> expected{};
    expected[2] = 5.0f;  // NE, including the reading before anyone watched
    expected[0] = 4.0f;  // 350 is north
    EXPECT_EQ(m_observer.rose, expected) << "the totals include the reading just taken";
    EXPECT_EQ(m_core->windRoseTotals(), expected);
}

TEST(WindRoseSector, SixteenPointsOf22AndAHalfDegrees)
{
    const struct {
        int bearing;
        int sector;
    } cases[] = {{0, 0}, {360, 0}, {11, 0}, {12, 1}, {348, 15}, {349, 0}, {90, 4}, {180, 8}, {-10, 0}, {-90, 12}};
    for (const auto& c : cases)
        EXPECT_EQ(WindRoseSector(c.bearing), c.sector) << c.bearing;
}

TEST_F(WindTest, StepsRunInOrderRecordsBeforeAlarmsBeforeTodaysExtremes)
{
    StepRecorder recorder;
    recordSteps(recorder,
                {{Display::TodayHighGust, QStringLiteral("today gust")}, {Display::TodayHighWind, QStringLiteral("today wind")}},
                {{AlarmId::HighGust, QStringLiteral("gust")}, {AlarmId::HighWind, QStringLiteral("wind")}});
    m_settings.setBoolean(Setting::HighGustAlarmSet, true);
    m_settings.setSingle(Setting::alarmhighgust, 5.0f);
    m_settings.setBoolean(Setting::HighWindAlarmSet, true);
    m_settings.setSingle(Setting::alarmhighwind, 5.0f);
    m_clock.setNow(at(30));

    m_core->DoWind(225, 12.0f, 9.0f, at(30));
    m_core->display().removeObserver(&recorder);

    const QStringList expected = {QStringLiteral("record 2"),        QStringLiteral("alarm gust"),
                                  QStringLiteral("today gust 12.0"), QStringLiteral("today wind 9.0"),
                                  QStringLiteral("alarm wind"),      QStringLiteral("record 3")};
    EXPECT_EQ(recorder.events, expected);
    EXPECT_FLOAT_EQ(m_core->records().record(HighGustRecord).value, 12.0f);
    EXPECT_DOUBLE_EQ(m_core->records().record(HighGustRecord).time, at(30));
    EXPECT_FLOAT_EQ(m_core->records().record(HighWindRecord).value, 9.0f);
    EXPECT_TRUE(conditions().windReceived);

    const TodayExtremes& today = conditions().today;
    EXPECT_FLOAT_EQ(today.highGust, 12.0f);
    EXPECT_EQ(today.highGustBearing, 225);
    EXPECT_EQ(today.highGustTime, QStringLiteral("12:00"));
    EXPECT_FLOAT_EQ(today.highWind, 9.0f);

    TodayFiles reader(m_folder.filePath(QStringLiteral("data")), m_clock, m_regional, m_diagnostics);
    CurrentConditions restored;
    reader.ReadTodayfile(restored);
    EXPECT_FLOAT_EQ(reader.snapshot().extremes.highGust, 12.0f) << "the today file was rewritten";
    EXPECT_EQ(reader.snapshot().extremes.highGustBearing, 225);
    EXPECT_FLOAT_EQ(reader.snapshot().extremes.highWind, 9.0f);
}

TEST_F(WindTest, WeakerWindLeavesTodayAndRecordsAlone)
{
    m_core->DoWind(90, 10.0f, 6.0f, at(0));
    m_core->DoWind(180, 4.0f, 3.0f, at(120));
    EXPECT_FLOAT_EQ(conditions().today.highGust, 10.0f);
    EXPECT_EQ(conditions().today.highGustBearing, 90);
    EXPECT_FLOAT_EQ(conditions().today.highWind, 6.0f);
    EXPECT_FLOAT_EQ(m_core->records().record(HighGustRecord).value, 10.0f);
    EXPECT_FLOAT_EQ(m_core->records().record(HighWindRecord).value, 6.0f);
}

TEST_F(WindTest, DisplayShowsTheWindGroup)
{
    watch();
    m_core->DoWind(270, 5.0f, 5.5f, at(0));
    EXPECT_EQ(m_observer.text(Display::LatestWind), QStringLiteral("5.0"));
    EXPECT_EQ(m_observer.text(Display::WindGust), QStringLiteral("5.0"));
    EXPECT_EQ(m_observer.text(Display::WindAverage), QStringLiteral("5.5"));
    EXPECT_EQ(m_observer.text(Display::AverageBearing), QStringLiteral("270"));
    EXPECT_EQ(m_observer.text(Display::AverageBearingCompass), QStringLiteral("W"));
    EXPECT_EQ(m_observer.text(Display::WindCaption), QStringLiteral("Wind - F4 Moderate breeze"));
}

TEST_F(WindTest, BrokenSumsKeepThePreviousAverageBearingAndSayWhy)
{
    watch();
    m_core->DoWind(90, 5.0f, 5.0f, at(0));
    ASSERT_EQ(conditions().averageBearing, 90);

    m_settings.setSingle(Setting::WindGustMult, kNaN);
    m_core->DoWind(270, 5.0f, 5.0f, at(10));
    EXPECT_EQ(conditions().averageBearing, 90);
    EXPECT_EQ(m_observer.text(Display::Heading), QStringLiteral("Error!"));
    EXPECT_TRUE(debugLog().contains(QStringLiteral("***Error in average bearing calc: X = nan Y = nan")))
        << qPrintable(debugLog());
    EXPECT_FALSE(m_diagnostics.debug.enabled()) << "the debug log stays as it was";
    EXPECT_EQ(m_observer.text(Display::WindAverage), QStringLiteral("5.0")) << "the later steps still ran";
    EXPECT_TRUE(conditions().windReceived);
}

struct BadSettingCase {
    const char* why;
    Setting setting;
    double value;
};

TEST_F(WindTest, NonFiniteCalibrationNeverCrashes)
{
    const BadSettingCase cases[] = {
        {"gust multiplier NaN", Setting::WindGustMult, kNaN},
        {"gust multiplier infinite", Setting::WindGustMult, kInf},
        {"speed multiplier NaN", Setting::WindSpeedMult, kNaN},
        {"speed multiplier minus infinity", Setting::WindSpeedMult, -kInf},
        {"compensation NaN", Setting::WindComp, kNaN},
        {"compensation infinite", Setting::WindComp, kInf},
    };
    watch();
    for (const BadSettingCase& c : cases) {
        for (const bool ownAverage : {false, true}) {
            m_settings.setBoolean(Setting::Wind10MinAverage, ownAverage);
            if (c.setting == Setting::WindComp)
                m_settings.setReal(c.setting, c.value);
            else
                m_settings.setSingle(c.setting, static_cast<float>(c.value));
            m_core->DoWind(200, 7.0f, 6.0f, at(0));
            m_core->DoWind(200, kNaN, kInf, at(10));
            m_core->addWindRunMinute();
            EXPECT_TRUE(conditions().averageBearing >= 0 && conditions().averageBearing <= 360) << c.why;
            EXPECT_TRUE(std::isfinite(conditions().windRunToday)) << c.why;
            EXPECT_TRUE(std::isfinite(m_core->records().record(HighGustRecord).value)) << c.why;
            EXPECT_TRUE(std::isfinite(m_core->records().record(HighWindRecord).value)) << c.why;
            EXPECT_TRUE(std::isfinite(conditions().today.highGust)) << c.why;
            EXPECT_TRUE(std::isfinite(conditions().today.highWind)) << c.why;
        }
        m_settings.setSingle(Setting::WindGustMult, 1.0f);
        m_settings.setSingle(Setting::WindSpeedMult, 1.0f);
        m_settings.setReal(Setting::WindComp, 1.0);
    }
}

struct BeaufortCase {
    const char* why;
    float speed;
    WindUnit unit;
    int force;
    const char* description;
};

TEST(Beaufort, ForceFromTenthsOfMetresPerSecond)
{
    const BeaufortCase cases[] = {
        {"5.4 m/s is still a gentle breeze", 5.4f, WindUnit::MetresPerSecond, 3, "Gentle breeze"},
        {"5.5 m/s is a moderate breeze", 5.5f, WindUnit::MetresPerSecond, 4, "Moderate breeze"},
        {"12 mph is 5.3 m/s", 12.0f, WindUnit::MilesPerHour, 3, "Gentle breeze"},
        {"12.4 mph rounds to 5.5 m/s", 12.4f, WindUnit::MilesPerHour, 4, "Moderate breeze"},
        {"19.8 km/h is 5.5 m/s", 19.8f, WindUnit::KilometresPerHour, 4, "Moderate breeze"},
        {"10.7 knots is 5.5 m/s", 10.7f, WindUnit::Knots, 4, "Moderate breeze"},
        {"10.6 knots is 5.4 m/s", 10.6f, WindUnit::Knots, 3, "Gentle breeze"},
        {"calm", 0.0f, WindUnit::MetresPerSecond, 0, "Calm"},
        {"0.25 rounds up to 0.3", 0.25f, WindUnit::MetresPerSecond, 1, "Light Air"},
        {"far beyond the scale", 1e30f, WindUnit::Knots, 12, "Hurricane"},
        {"infinite wind", kInf, WindUnit::MetresPerSecond, 12, "Hurricane"},
        {"a negative speed is calm", -3.0f, WindUnit::MetresPerSecond, 0, "Calm"},
        {"no speed is calm", kNaN, WindUnit::MilesPerHour, 0, "Calm"},
        {"an unknown unit converts every speed to 0", 40.0f, static_cast<WindUnit>(7), 0, "Calm"},
    };
    for (const BeaufortCase& c : cases) {
        EXPECT_EQ(BeaufortNumber(c.speed, c.unit), c.force) << c.why;
        EXPECT_EQ(BeaufortForce(c.speed, c.unit), QString::number(c.force)) << c.why;
        EXPECT_EQ(BeaufortDescription(c.speed, c.unit), QString::fromLatin1(c.description)) << c.why;
    }
}

TEST(Beaufort, EveryLimitStartsTheNextForce)
{
    const int limits[] = {3, 16, 34, 55, 80, 108, 139, 172, 208, 245, 285, 327};
    const char* const descriptions[] = {"Calm",          "Light Air",  "Light breeze",  "Gentle breeze", "Moderate breeze",
                                        "Fresh breeze",  "Strong breeze", "Near gale", "Gale",          "Strong gale",
                                        "Storm",         "Violent storm", "Hurricane"};
    for (int force = 0; force < 12; ++force) {
        const float below = static_cast<float>(limits[force] - 1) / 10.0f;
        const float at = static_cast<float>(limits[force]) / 10.0f;
        EXPECT_EQ(BeaufortNumber(below, WindUnit::MetresPerSecond), force) << below << " m/s";
        EXPECT_EQ(BeaufortDescription(below, WindUnit::MetresPerSecond), QString::fromLatin1(descriptions[force]));
        EXPECT_EQ(BeaufortNumber(at, WindUnit::MetresPerSecond), force + 1) << at << " m/s";
        EXPECT_EQ(BeaufortDescription(at, WindUnit::MetresPerSecond), QString::fromLatin1(descriptions[force + 1]));
    }
}

TEST(WindRun, OneMinuteAtTheAverage)
{
    EXPECT_FLOAT_EQ(WindRunIncrement(10.0f, WindUnit::MetresPerSecond), 0.6f) << "km";
    EXPECT_FLOAT_EQ(WindRunIncrement(60.0f, WindUnit::MilesPerHour), 1.0f) << "miles";
    EXPECT_FLOAT_EQ(WindRunIncrement(60.0f, WindUnit::KilometresPerHour), 1.0f) << "km";
    EXPECT_FLOAT_EQ(WindRunIncrement(30.0f, WindUnit::Knots), 0.5f) << "nautical miles";
    EXPECT_FLOAT_EQ(WindRunIncrement(10.0f, WindUnit::MetresPerSecond, 30), 18.0f) << "a logger interval";
}

TEST_F(WindTest, WindRunAccumulatesEachMinute)
{
    m_core->DoWind(90, 10.0f, 10.0f, at(0));
    watch();
    m_core->addWindRunMinute();
    m_core->addWindRunMinute();
    m_core->addWindRun(10);
    EXPECT_NEAR(conditions().windRunToday, 7.2f, 1e-5f);
    EXPECT_EQ(m_observer.text(Display::WindRunToday), QStringLiteral("7.2"));

    m_settings.setSingle(Setting::WindSpeedMult, kInf);
    m_core->DoWind(90, 10.0f, 10.0f, at(10));
    m_core->addWindRunMinute();
    EXPECT_NEAR(conditions().windRunToday, 7.2f, 1e-5f) << "an infinite average adds nothing";
}

}  // namespace
}  // namespace brezmor
