#include "logging/timed_work.h"

#include "graphs/graph_data.h"
#include "logging/data_log.h"
#include "logging/day_rollover.h"
#include "logging/logging_fixture.h"
#include "logging/minute_clock.h"

namespace brezmor {
namespace {

class TimedWorkTest : public LoggingTest {
protected:
    void startAt(TDateTime moment)
    {
        m_clock.setNow(moment);
        start();
        m_dataLog = std::make_unique<DataLog>(core(), dataFolder());
        m_rollover = std::make_unique<DayRollover>(core(), dataFolder());
        m_work = std::make_unique<TimedWork>(core(), *m_dataLog, *m_rollover, m_graphs);
        m_minuteClock = std::make_unique<MinuteHourClock>(
            m_clock, [this](int hour) { m_work->ClockHoursChanged(hour); },
            [this](int minute) { m_work->ClockMinutesChanged(minute); });
        m_work->setStationStarted(true);
        m_minuteClock->activate(false);
    }

    // Steps the clock minute by minute, as live time would pass.
    void runMinutes(int minutes)
    {
        for (int i = 0; i < minutes; ++i) {
            m_clock.setNow(m_clock.now() + kOneMinute);
            m_minuteClock->tick();
        }
    }

    void readings(float pressure = 1012.0f)
    {
        core().DoOutsideHumidity(70);
        core().DoOutsideTemp(8.0f, m_clock.now());
        core().DoWind(200, 10.0f, 10.0f, m_clock.now());
        core().DoRain(5.0f, -1.0f, m_clock.now());
        core().DoRain(5.4f, -1.0f, m_clock.now());
        if (pressure > 0)
            core().DoPressure(pressure, m_clock.now());
    }

    GraphData m_graphs;
    std::unique_ptr<DataLog> m_dataLog;
    std::unique_ptr<DayRollover> m_rollover;
    std::unique_ptr<TimedWork> m_work;
    std::unique_ptr<MinuteHourClock> m_minuteClock;
};

TEST_F(TimedWorkTest, MidnightResetRunsBeforeTheFirstLineOfTheNewDay)
{
    startAt(EncodeDateTime(2026, 1, 15, 23, 55));
    readings();
    runMinutes(5);
    const QStringList summary = dataFileLines(QStringLiteral("dayfile.txt"));
    ASSERT_EQ(summary.size(), 1);
    EXPECT_TRUE(summary.front().startsWith(QStringLiteral("15/01/26,"))) << summary.front().toStdString();
    const QStringList lines = dataFileLines(QStringLiteral("Jan26log.txt"));
    ASSERT_EQ(lines.size(), 1);
    const QStringList fields = lines.front().split(u',');
    EXPECT_EQ(fields[0] + u' ' + fields[1], QStringLiteral("16/01/26 00:00"));
    EXPECT_EQ(fields[9], QStringLiteral("0.0")) << "rain today after the reset";
}

TEST_F(TimedWorkTest, TwentyMinuteIntervalLogsOnTheHourAndAtTwentyAndForty)
{
    startAt(EncodeDateTime(2026, 1, 15, 10, 7));
    settings().setInteger(Setting::DataLogInterval, 4);
    readings();
    runMinutes(60);
    QStringList times;
    for (const QString& line : dataFileLines(QStringLiteral("Jan26log.txt")))
        times << line.section(u',', 1, 1);
    EXPECT_EQ(times, (QStringList{"10:20", "10:40", "11:00"}));
}

TEST_F(TimedWorkTest, NoStationWorkBeforeTheFirstPressure)
{
    startAt(EncodeDateTime(2026, 1, 15, 10, 0));
    int everyMinute = 0;
    m_work->setEveryMinuteHook([&] { ++everyMinute; });
    readings(/*pressure=*/0.0f);
    runMinutes(30);
    EXPECT_FALSE(QFile::exists(dataPath(QStringLiteral("Jan26log.txt"))));
    EXPECT_FLOAT_EQ(conditions().windRunToday, 0.0f);
    EXPECT_TRUE(m_graphs.series(Chart::Temperature).points().empty());
    EXPECT_EQ(everyMinute, 30) << "the xAP hook still runs every minute";
}

TEST_F(TimedWorkTest, WindRunGrowsByTheAverageSpeedEachMinute)
{
    startAt(EncodeDateTime(2026, 1, 15, 10, 0));
    readings();
    runMinutes(1);
    EXPECT_NEAR(conditions().windRunToday, 0.6f, 1e-5f) << "10 m/s for a minute is 0.6 km";
}

TEST_F(TimedWorkTest, GraphSeriesKeepOnlyTheConfiguredHours)
{
    startAt(EncodeDateTime(2026, 1, 15, 10, 0));
    settings().setInteger(Setting::GraphHours, 1);
    readings();
    runMinutes(150);
    const auto& points = m_graphs.series(Chart::Temperature).points();
    ASSERT_FALSE(points.empty());
    EXPECT_GE(points.front().time, m_clock.now() - kOneHour - 1e-9);
    EXPECT_EQ(points.size(), 61u);
    EXPECT_EQ(m_graphs.series(Chart::SmallTemperature).points().size(), 7u);
}

TEST(TimedWorkTable, DataLogMinutesByInterval)
{
    const int expected[] = {1, 5, 10, 15, 20, 30};
    for (int index = 0; index < 6; ++index)
        EXPECT_EQ(TimedWork::dataLogMinutes(index), expected[index]);
    EXPECT_EQ(TimedWork::dataLogMinutes(9), 10) << "an unknown index logs every ten minutes";
    EXPECT_EQ(TimedWork::dataLogMinutes(-1), 10);
}

}  // namespace
}  // namespace brezmor
