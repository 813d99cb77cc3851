#include "logging/day_rollover.h"

#include "core/weather_core_fixture.h"
#include "logging/rain_totals.h"
#include "logging_fixture.h"

#include <vector>

namespace brezmor {
namespace {

class DayRolloverTest : public LoggingTest {
protected:
    void SetUp() override
    {
        start();
        settings().setInteger(Setting::RolloverHour, 9);
        core().applyUnitSettings();
    }

    void resetAt(TDateTime moment)
    {
        m_clock.setNow(moment);
        DayRollover(core(), dataFolder()).DayReset(moment);
    }

    const TDateTime m_resetTime = EncodeDateTime(2009, 3, 1, 9, 0);
};

struct RecordCase {
    const char* why;
    float highTemp;
    float lowTemp;
    float lowestMaximum;   // record 12 before
    float highestMinimum;  // record 11 before
    float lowestMaximumAfter;
    float highestMinimumAfter;
};

TEST_F(DayRolloverTest, HighAndLowOfTheDayOfferedToRecordsDatedAnHourBefore)
{
    const RecordCase cases[] = {
        {"a cold day beats the lowest maximum", 2.0f, -3.0f, 5.0f, 10.0f, 2.0f, 10.0f},
        {"a warm night beats the highest minimum", 25.0f, 12.0f, 5.0f, 10.0f, 5.0f, 12.0f},
        {"equal values are no record", 5.0f, 10.0f, 5.0f, 10.0f, 5.0f, 10.0f},
    };
    const TDateTime before = EncodeDateTime(2008, 1, 6, 15, 0);
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.why);
        start();
        core().records().setRecord(LowMaxTempRecord, c.lowestMaximum, before);
        core().records().setRecord(HighMinTempRecord, c.highestMinimum, before);
        conditions().today.highTemp = c.highTemp;
        conditions().today.lowTemp = c.lowTemp;

        resetAt(m_resetTime);

        const TAllTimeRecord& lowestMaximum = core().records().record(LowMaxTempRecord);
        const TAllTimeRecord& highestMinimum = core().records().record(HighMinTempRecord);
        EXPECT_EQ(lowestMaximum.value, c.lowestMaximumAfter);
        EXPECT_EQ(highestMinimum.value, c.highestMinimumAfter);
        const QDateTime anHourBefore(QDate(2009, 3, 1), QTime(8, 0));
        const QDateTime unchanged = ToQDateTime(before);
        EXPECT_EQ(ToQDateTime(lowestMaximum.time),
                  c.lowestMaximumAfter != c.lowestMaximum ? anHourBefore : unchanged);
        EXPECT_EQ(ToQDateTime(highestMinimum.time),
                  c.highestMinimumAfter != c.highestMinimum ? anHourBefore : unchanged);
    }
}

TEST_F(DayRolloverTest, MonthlyRainRecordAnnouncedAgainOnlyAfterTheMonthTurns)
{
    std::vector<bool> signalled;
    core().records().addObserver([&](const RecordEvent& event) {
        if (event.index == HighMonthlyRainRecord)
            signalled.push_back(event.signalled);
    });
    AllTimeRecords& records = core().records();
    records.NewRecord(HighMonthlyRainRecord, m_resetTime, 100.0f);
    records.NewRecord(HighMonthlyRainRecord, m_resetTime, 101.0f);
    resetAt(EncodeDateTime(2009, 2, 28, 9, 0));
    records.NewRecord(HighMonthlyRainRecord, m_resetTime, 102.0f);
    resetAt(m_resetTime);
    records.NewRecord(HighMonthlyRainRecord, m_resetTime, 103.0f);

    EXPECT_EQ(signalled, (std::vector<bool>{true, false, false, true}));
}

TEST_F(DayRolloverTest, FinishedDayReachesObserversEvenWhenTheSummaryCannotBeWritten)
{
    QDir(dataFolder()).mkdir(QStringLiteral("dayfile.txt"));
    conditions().today.lowTemp = -1.5f;
    conditions().today.highTemp = 8.5f;
    conditions().tempTotal = 4320.0f;
    conditions().tempSamples = 1440;
    conditions().rainToday = 2.5f;
    conditions().outdoorTemp = 4.0f;
    std::vector<FinishedDay> days;
    DayRollover rollover(core(), dataFolder());
    rollover.addObserver([&](const FinishedDay& day) { days.push_back(day); });

    m_clock.setNow(m_resetTime);
    rollover.DayReset(m_resetTime);

    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days[0].date, QDate(2009, 2, 28));
    EXPECT_EQ(days[0].lowTemp, -1.5f);
    EXPECT_EQ(days[0].highTemp, 8.5f);
    EXPECT_EQ(days[0].averageTemp, 3.0f);
    EXPECT_EQ(days[0].rainToday, 2.5f);
    EXPECT_TRUE(debugLogText().contains(QStringLiteral("01/03/2009 09:00:00 Error writing Dayfile: ")));
    // The rest of the reset went on: the new day started and its files were saved.
    EXPECT_EQ(conditions().today.highTemp, 4.0f);
    EXPECT_EQ(conditions().today.lowTempTime, QStringLiteral("09:00"));
    EXPECT_TRUE(ReadBytes(dataPath(QStringLiteral("today.ini"))).contains("Date=01/03/2009"));
    EXPECT_TRUE(ReadBytes(dataPath(QStringLiteral("yesterday.ini"))).contains("Low=-1.5"));
    EXPECT_EQ(programLogLines().back(), QStringLiteral("=== Day reset complete"));
}

// The totals kept across rollovers must equal what start-up rebuilds from the
// summary file, whatever the rain multiplier: otherwise a restart changes the
// month's rain.
TEST_F(DayRolloverTest, TotalsAgreeWithTheSummaryFileAfterARestart)
{
    settings().setInteger(Setting::RolloverHour, 0);
    settings().setSingle(Setting::RainMult, 1.25f);
    core().applyUnitSettings();
    conditions().rainNotInitialised = false;
    conditions().rainCounter = 40.0f;
    conditions().rainCounterDayStart = 40.0f;

    const float dailyCounts[] = {2.0f, 4.0f, 0.8f};
    TDateTime reset = EncodeDateTime(2009, 3, 2);
    for (const float count : dailyCounts) {
        conditions().rainCounter += count;
        conditions().rainToday = (conditions().rainCounter - conditions().rainCounterDayStart) * 1.25f;
        resetAt(reset);
        reset += 1.0;
    }
    const float month = conditions().rainMonth;
    const float year = conditions().rainYear;
    EXPECT_FLOAT_EQ(month, 8.5f);

    m_clock.setNow(reset - 1.0 + kOneHour);
    LoadRainTotals(core(), dataFolder());
    EXPECT_FLOAT_EQ(conditions().rainMonth, month);
    EXPECT_FLOAT_EQ(conditions().rainYear, year);
}

// A window showing today's column sees every extreme start again from the
// current readings at the rollover time.
TEST_F(DayRolloverTest, AWatchingWindowSeesTodaysColumnStartAgain)
{
    CurrentConditions& c = conditions();
    c.outdoorTemp = 7.5f;
    c.pressure = 1012.3f;
    c.windAverage = 3.1f;
    c.latestWindSpeed = 5.2f;
    c.bearing = 90;
    c.rainRate = 0.4f;
    c.windRunToday = 12.0f;
    c.today.highTemp = 11.0f;
    c.today.highGust = 20.0f;
    RecordingObserver observer;
    core().display().addObserver(&observer);
    resetAt(m_resetTime);
    core().display().removeObserver(&observer);

    const Units& units = core().units();
    const std::map<Display, QString> expected = {
        {Display::TodayHighTemp, units.FormatTemp(7.5f)},
        {Display::TodayHighTempTime, QStringLiteral("09:00")},
        {Display::TodayLowTemp, units.FormatTemp(7.5f)},
        {Display::TodayLowTempTime, QStringLiteral("09:00")},
        {Display::TodayHighPressure, units.FormatPress(1012.3f)},
        {Display::TodayLowPressureTime, QStringLiteral("09:00")},
        {Display::TodayHighGust, units.FormatWind(5.2f)},
        {Display::TodayHighGustBearing, QStringLiteral("90")},
        {Display::TodayHighGustCompass, QStringLiteral("E")},
        {Display::TodayHighWind, units.FormatWind(3.1f)},
        {Display::TodayHighRainRate, units.FormatRain(0.4f)},
        {Display::TodayHighRainRateTime, QStringLiteral("09:00")},
        {Display::WindRunToday, units.FormatWindRun(0.0f)},
        {Display::WindRunYesterday, units.FormatWindRun(12.0f)},
        {Display::AverageTemp, units.FormatTemp(7.5f)},
    };
    for (const auto& [field, text] : expected)
        EXPECT_EQ(observer.text(field), text) << static_cast<int>(field);
}

}  // namespace
}  // namespace brezmor
