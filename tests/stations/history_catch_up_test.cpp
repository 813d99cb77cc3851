#include "stations/history_catch_up.h"

#include "logging/data_log.h"
#include "logging/day_rollover.h"
#include "logging/logging_fixture.h"
#include "support/run_events.h"


namespace brezmor {
namespace {

// Records every ten minutes from `from`, for `count` records.
std::vector<THistoryData> Records(TDateTime from, int count, float rainFrom = 10.0f)
{
    std::vector<THistoryData> records;
    for (int i = 0; i < count; ++i) {
        THistoryData record;
        record.time = from + i * 10 * kOneMinute;
        record.intervalMinutes = 10;
        record.outdoorHumidity = 80;
        record.outdoorTemp = 5.0f + static_cast<float>(i % 7);
        record.wind = THistoryData::Wind{4.0f, 2.0f, 180};
        record.rain = THistoryData::Rain{rainFrom + 0.2f * static_cast<float>(i), -1.0f};
        record.pressure = 1010.0f;
        records.push_back(record);
    }
    return records;
}

class HistoryCatchUpTest : public LoggingTest {
protected:
    void SetUp() override
    {
        m_clock.setNow(EncodeDateTime(2026, 1, 16, 12, 0));
        start();
        m_dataLog = std::make_unique<DataLog>(core(), dataFolder());
        m_rollover = std::make_unique<DayRollover>(core(), dataFolder());
    }

    HistoryCatchUp makeCatchUp()
    {
        return HistoryCatchUp(core(), *m_dataLog, *m_rollover, QStringLiteral("EWUSB"),
                              {[this](int percent) { m_progress.push_back(percent); }, [this] { ++m_finished; }});
    }

    [[nodiscard]] QStringList rollovers() const { return programLogLines().filter(QStringLiteral("=== Day reset for ")); }

    std::unique_ptr<DataLog> m_dataLog;
    std::unique_ptr<DayRollover> m_rollover;
    std::vector<int> m_progress;
    int m_finished = 0;
};

TEST_F(HistoryCatchUpTest, ReplaysOnlyRecordsAfterTheLastDataLogTimeAndRollsEachDayOnce)
{
    conditions().lastUpdateTime = EncodeDateTime(2026, 1, 14, 23, 0);
    // From 22:00 on the 14th for about 18 hours: the records up to 23:00 are already logged.
    HistoryCatchUp catchUp = makeCatchUp();
    catchUp.runToEnd(Records(EncodeDateTime(2026, 1, 14, 22, 0), 107));

    const QStringList lines = dataFileLines(QStringLiteral("Jan26log.txt"));
    ASSERT_EQ(lines.size(), 100);
    EXPECT_TRUE(lines.front().startsWith(QStringLiteral("14/01/26,23:10,"))) << lines.front().toStdString();
    // Midnight rollover: one reset, at the first record of the 00 hour.
    const QStringList resets = rollovers();
    ASSERT_EQ(resets.size(), 1);
    EXPECT_TRUE(resets.front().contains(QStringLiteral("15/01/2026 00:00:00"))) << resets.front().toStdString();
    EXPECT_EQ(programLogLines().filter(QStringLiteral("EWUSB: Day rollover ")).size(), 1);
    EXPECT_EQ(m_finished, 1);
    ASSERT_EQ(m_progress.size(), 100u);
    EXPECT_EQ(m_progress.front(), 0);
    EXPECT_EQ(m_progress.back(), 99);
    EXPECT_TRUE(conditions().noOutdoorTempYet) << "live readings start a fresh average";
}

TEST_F(HistoryCatchUpTest, RestoresTheTodayFileWhenTheFirstRecordIsOnItsDay)
{
    // The today file says 40 mm at the day start and a high of 12.5.
    conditions().today.highTemp = 12.5f;
    conditions().today.highTempTime = QStringLiteral("11:20");
    conditions().rainCounterDayStart = 40.0f;
    conditions().lastUpdateTime = EncodeDateTime(2026, 1, 16, 11, 0);
    core().WriteTodayfile();
    conditions() = CurrentConditions{};
    core().todayFiles().ReadTodayfile(conditions());
    conditions() = CurrentConditions{};
    conditions().lastUpdateTime = EncodeDateTime(2026, 1, 16, 11, 0);

    HistoryCatchUp catchUp = makeCatchUp();
    catchUp.runToEnd(Records(EncodeDateTime(2026, 1, 16, 11, 10), 3, 41.0f));
    EXPECT_FLOAT_EQ(conditions().today.highTemp, 12.5f) << "restored, then not beaten by 5..7";
    EXPECT_FLOAT_EQ(conditions().rainCounterDayStart, 40.0f);
    EXPECT_NEAR(conditions().rainToday, 1.4f, 1e-4f);
    EXPECT_TRUE(rollovers().isEmpty());
}

TEST_F(HistoryCatchUpTest, ALastUpdateInTheRolloverHourMeansTheDayIsAlreadyRolled)
{
    settings().setInteger(Setting::RolloverHour, 9);
    conditions().lastUpdateTime = EncodeDateTime(2026, 1, 16, 9, 0);
    HistoryCatchUp catchUp = makeCatchUp();
    catchUp.runToEnd(Records(EncodeDateTime(2026, 1, 16, 9, 10), 4));
    EXPECT_TRUE(rollovers().isEmpty());
}

TEST_F(HistoryCatchUpTest, NothingIsReplayedWithTheDataLoggerSwitchedOff)
{
    settings().setBoolean(Setting::UseDataLogger, false);
    HistoryCatchUp catchUp = makeCatchUp();
    catchUp.runToEnd(Records(EncodeDateTime(2026, 1, 16, 9, 0), 5));
    EXPECT_FALSE(QFile::exists(dataPath(QStringLiteral("Jan26log.txt"))));
    EXPECT_EQ(m_finished, 1) << "live reading still starts";
}

TEST_F(HistoryCatchUpTest, RunsInSlicesOnTheEventLoop)
{
    HistoryCatchUp catchUp = makeCatchUp();
    catchUp.start(Records(EncodeDateTime(2026, 1, 16, 9, 0), 12), 5);
    EXPECT_TRUE(catchUp.running());
    EXPECT_TRUE(m_progress.empty()) << "nothing replays before the event loop runs";
    RunEventsUntil([&] { return !catchUp.running(); });
    EXPECT_FALSE(catchUp.running());
    EXPECT_EQ(m_finished, 1);
    EXPECT_EQ(dataFileLines(QStringLiteral("Jan26log.txt")).size(), 12);
}

}  // namespace
}  // namespace brezmor
