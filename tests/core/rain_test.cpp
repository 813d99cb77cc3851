#include "weather_core_fixture.h"

#include "core/records.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>
#include <vector>

namespace brezmor {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr int kUsbStation = 5;

QString ReadText(const QString& path)
{
    return QString::fromLatin1(ReadBytes(path));
}

class RainTest : public WeatherCoreTest {
protected:
    // Start-up makes the data folder; the today file goes there.
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(m_folder.filePath(QStringLiteral("data")))); }

    // As after a restart on the same log day: the day start is known.
    void startDayAt(float dayStart)
    {
        m_core->conditions().rainCounterDayStart = dayStart;
        m_core->conditions().rainNotInitialised = false;
    }

    void useUsbStation(bool historyDone)
    {
        m_settings.setInteger(Setting::Type, kUsbStation);
        m_core->setUsbHistoryDone(historyDone);
    }
};

TEST_F(RainTest, FirstReadingOnlySetsTheDayStart)
{
    watch();
    m_core->DoRain(123.4f, 2.0f, at(0));

    const CurrentConditions& conditions = m_core->conditions();
    EXPECT_FLOAT_EQ(conditions.rainCounterDayStart, 123.4f);
    EXPECT_FALSE(conditions.rainNotInitialised);
    EXPECT_FLOAT_EQ(conditions.rainToday, 0.0f);
    EXPECT_FLOAT_EQ(conditions.rainRate, 0.0f);
    EXPECT_TRUE(m_observer.texts.empty());
    EXPECT_TRUE(ReadText(m_diagnostics.program.filePath()).contains(" First rain data, raindaystart = 123.4"));
    EXPECT_TRUE(QFileInfo::exists(m_core->todayFiles().todayPath()));

    m_core->DoRain(124.0f, -1.0f, at(60.0));
    EXPECT_NEAR(m_core->conditions().rainToday, 0.6f, 1e-4f);
    EXPECT_TRUE(m_core->conditions().rainReceived);
}

TEST_F(RainTest, RainTodayIsTheCalibratedRiseSinceTheDayStart)
{
    m_settings.setSingle(Setting::RainMult, 1.1f);
    startDayAt(40.0f);
    m_core->conditions().rainMonth = 20.0f;
    m_core->conditions().rainYear = 300.0f;
    m_core->conditions().rainYesterday = 2.0f;
    watch();

    m_core->DoRain(50.0f, -1.0f, at(0));

    EXPECT_FLOAT_EQ(m_core->conditions().rainToday, 11.0f);
    EXPECT_EQ(m_observer.text(Display::RainToday), QStringLiteral("11.0"));
    EXPECT_EQ(m_observer.text(Display::RainMonth), QStringLiteral("31.0"));
    EXPECT_EQ(m_observer.text(Display::RainYear), QStringLiteral("311.0"));
    EXPECT_EQ(m_observer.text(Display::RainYesterday), QStringLiteral("2.2"));
    EXPECT_TRUE(m_core->conditions().rainReceived);
}

TEST_F(RainTest, CounterResetMovesTheDayStartSoRainTodayStays)
{
    m_diagnostics.debug.setEnabled(true);
    startDayAt(40.0f);
    m_core->DoRain(45.0f, -1.0f, at(0));
    ASSERT_FLOAT_EQ(m_core->conditions().rainToday, 5.0f);

    m_core->DoRain(2.0f, -1.0f, at(60.0));
    EXPECT_FLOAT_EQ(m_core->conditions().rainCounterDayStart, -3.0f);
    EXPECT_FLOAT_EQ(m_core->conditions().rainToday, 5.0f);

    m_core->DoRain(3.0f, -1.0f, at(120.0));
    EXPECT_FLOAT_EQ(m_core->conditions().rainToday, 6.0f);

    m_diagnostics.debug.flush();
    EXPECT_TRUE(ReadText(m_folder.filePath(QStringLiteral("debug.log")))
                    .contains(QStringLiteral("12:00:00 Rain reset? raindaystart = 40, raintotal = 2")));
}

TEST_F(RainTest, CounterResetKeepsRainTodayWithTheMultiplier)
{
    m_settings.setSingle(Setting::RainMult, 2.0f);
    startDayAt(40.0f);
    m_core->DoRain(45.0f, -1.0f, at(0));  // 10
    m_core->DoRain(1.0f, -1.0f, at(60.0));
    EXPECT_FLOAT_EQ(m_core->conditions().rainCounterDayStart, -4.0f);
    EXPECT_FLOAT_EQ(m_core->conditions().rainToday, 10.0f);
}

TEST_F(RainTest, CounterResetWithAZeroMultiplierLeavesNumbers)
{
    m_settings.setSingle(Setting::RainMult, 0.0f);
    startDayAt(40.0f);
    m_core->DoRain(45.0f, -1.0f, at(0));
    m_core->DoRain(2.0f, -1.0f, at(60.0));
    EXPECT_FLOAT_EQ(m_core->conditions().rainCounterDayStart, 2.0f);
    EXPECT_FLOAT_EQ(m_core->conditions().rainToday, 0.0f);
}

TEST_F(RainTest, AMultiplierThatIsNotANumberCountsAsOne)
{
    m_settings.setSingle(Setting::RainMult, kNaN);
    startDayAt(40.0f);
    m_core->DoRain(45.0f, 3.0f, at(0));
    EXPECT_FLOAT_EQ(m_core->conditions().rainToday, 5.0f);
    EXPECT_FLOAT_EQ(m_core->conditions().rainRate, 3.0f);
}

TEST_F(RainTest, OnlyARateAboveMinusOneChangesTheRainRate)
{
    struct Case {
        const char* why;
        float rate;
        float expected;
    };
    const Case cases[] = {
        {"-1 means the station has no rate", -1.0f, 7.0f},
        {"below -1 as well", -5.0f, 7.0f},
        {"a rate of 0 is a rate", 0.0f, 0.0f},
        {"a rate is calibrated", 2.0f, 2.2f},
    };
    m_settings.setSingle(Setting::RainMult, 1.1f);
    startDayAt(40.0f);
    for (const Case& c : cases) {
        m_core->conditions().rainRate = 7.0f;
        m_core->DoRain(40.0f, c.rate, at(0));
        EXPECT_FLOAT_EQ(m_core->conditions().rainRate, c.expected) << c.why;
    }
}

TEST_F(RainTest, RateGoesToRecordThenAlarmThenTodaysHighest)
{
    startDayAt(40.0f);
    m_settings.setBoolean(Setting::HighRainRateAlarmSet, true);
    m_settings.setSingle(Setting::alarmhighrainrate, 5.0f);
    std::vector<QString> events;
    m_core->records().addObserver([&events](const RecordEvent& event) {
        if (event.index == HighRainRateRecord)
            events.push_back(QStringLiteral("record"));
    });
    m_core->alarms().addObserver([&events](const AlarmEvent& event) {
        if (event.alarm == AlarmId::HighRainRate)
            events.push_back(QStringLiteral("alarm"));
    });
    class TodayWatcher final : public ConditionsObserver {
    public:
        explicit TodayWatcher(std::vector<QString>& events) : m_events(events) {}
        void displayChanged(Display field, const QString& text) override
        {
            static_cast<void>(text);
            if (field == Display::TodayHighRainRate)
                m_events.push_back(QStringLiteral("today"));
        }

    private:
        std::vector<QString>& m_events;
    } watcher(events);
    m_core->display().addObserver(&watcher);

    m_core->DoRain(40.0f, 12.0f, at(300.0));
    m_core->display().removeObserver(&watcher);

    const std::vector<QString> expected = {QStringLiteral("record"), QStringLiteral("alarm"), QStringLiteral("today")};
    EXPECT_EQ(events, expected);
    EXPECT_FLOAT_EQ(m_core->records().record(HighRainRateRecord).value, 12.0f);
    EXPECT_DOUBLE_EQ(m_core->records().record(HighRainRateRecord).time, at(300.0));
    EXPECT_FLOAT_EQ(m_core->conditions().today.highRainRate, 12.0f);
    EXPECT_EQ(m_core->conditions().today.highRainRateTime, QStringLiteral("12:05"));
}

TEST_F(RainTest, AnInfiniteRateOrCounterSetsNoRecordNorTodaysHighest)
{
    startDayAt(100.0f);
    m_core->DoRain(101.0f, 2.0f, at(0));
    const float highRate = m_core->conditions().today.highRainRate;
    const AllTimeRecords& records = m_core->records();
    const float rateRecord = records.record(HighRainRateRecord).value;
    const float dailyRecord = records.record(HighDailyRainRecord).value;
    const float monthlyRecord = records.record(HighMonthlyRainRecord).value;
    m_core->DoRain(101.0f, kInf, at(60));
    m_core->DoRain(kInf, 2.0f, at(120));
    EXPECT_EQ(m_core->conditions().today.highRainRate, highRate);
    EXPECT_EQ(records.record(HighRainRateRecord).value, rateRecord);
    EXPECT_EQ(records.record(HighDailyRainRecord).value, dailyRecord);
    EXPECT_EQ(records.record(HighMonthlyRainRecord).value, monthlyRecord);
}

TEST_F(RainTest, DailyAndMonthlyRecordsCountRainToday)
{
    struct Case {
        const char* why;
        float monthlyRecord;
        float expectedMonthly;
    };
    const Case cases[] = {
        {"month before today plus rain today beats the record", 104.0f, 105.0f},
        {"a record equal to the month's rain stays", 105.0f, 105.0f},
        {"a record above the month's rain stays", 106.0f, 106.0f},
    };
    startDayAt(40.0f);
    m_core->conditions().rainMonth = 100.0f;
    for (const Case& c : cases) {
        m_core->records().setRecord(HighMonthlyRainRecord, c.monthlyRecord, 1.0);
        m_core->records().setRecord(HighDailyRainRecord, 4.0f, 1.0);
        m_core->DoRain(45.0f, -1.0f, at(0));
        EXPECT_FLOAT_EQ(m_core->records().record(HighMonthlyRainRecord).value, c.expectedMonthly) << c.why;
        EXPECT_FLOAT_EQ(m_core->records().record(HighDailyRainRecord).value, 5.0f) << c.why;
    }
}

TEST_F(RainTest, HighRainTodayAlarmRaisesOnRainToday)
{
    m_settings.setBoolean(Setting::HighRainTodayAlarmSet, true);
    m_settings.setSingle(Setting::alarmhighraintoday, 4.0f);
    startDayAt(40.0f);
    m_core->DoRain(43.0f, -1.0f, at(0));
    EXPECT_EQ(m_core->alarms().state(AlarmId::HighRainToday), AlarmState::Idle);
    m_core->DoRain(45.0f, -1.0f, at(60.0));
    EXPECT_EQ(m_core->alarms().state(AlarmId::HighRainToday), AlarmState::Raised);
}

class UsbRainRateTest : public RainTest {
protected:
    // Counters a minute apart, the last one at now.
    void minuteSamples(const std::vector<float>& counters)
    {
        const double count = static_cast<double>(counters.size());
        for (std::size_t i = 0; i < counters.size(); ++i)
            m_core->trends().AddLastHourSample(at((static_cast<double>(i) + 1.0 - count) * 60.0), counters[i]);
    }
};

TEST_F(UsbRainRateTest, RateIsTheRiseOverTheSamplesOfTheLastFiveAndAHalfMinutes)
{
    useUsbStation(true);
    // At -6 min the sample is outside the window; -5 min is the first inside.
    minuteSamples({9.0f, 10.0f, 10.2f, 10.3f, 10.4f, 10.5f, 10.6f, 10.7f});
    m_core->DoTrends(at(0));
    EXPECT_NEAR(m_core->conditions().rainRate, 6.0f, 1e-4f);  // 0.5 in 5 minutes
    EXPECT_NEAR(m_core->records().record(HighRainRateRecord).value, 6.0f, 1e-4f);
    EXPECT_DOUBLE_EQ(m_core->records().record(HighRainRateRecord).time, at(0));
    EXPECT_EQ(m_core->conditions().today.highRainRateTime, QStringLiteral("12:00"));
}

TEST_F(UsbRainRateTest, RateIsLeftAloneWhenItCannotBeDerived)
{
    struct Case {
        const char* why;
        int stationType;
        bool historyDone;
        std::vector<float> counters;
    };
    const std::vector<Case> cases = {
        {"not while the history catch-up runs", kUsbStation, false, {10.0f, 10.2f, 10.4f}},
        {"only for the USB station", 3, true, {10.0f, 10.2f, 10.4f}},
        {"no sample in the window but the last", kUsbStation, true, {10.0f}},
        {"a sample from a log line without counter", kUsbStation, true, {-1.0f, 10.4f}},
        {"a last sample without counter", kUsbStation, true, {10.0f, -1.0f}},
    };
    for (const Case& c : cases) {
        m_settings.setInteger(Setting::Type, c.stationType);
        m_core->setUsbHistoryDone(c.historyDone);
        m_core->trends() = TrendSamples();
        m_core->trends().AddLastHourSample(at(-1800.0), 5.0f);
        minuteSamples(c.counters);
        m_core->conditions().rainRate = 7.0f;
        m_core->DoTrends(at(0));
        EXPECT_FLOAT_EQ(m_core->conditions().rainRate, 7.0f) << c.why;
    }
}

TEST_F(UsbRainRateTest, SamplesOfTheSameMomentGiveNoRate)
{
    useUsbStation(true);
    m_core->trends().AddLastHourSample(at(0), 10.0f);
    m_core->trends().AddLastHourSample(at(0), 10.4f);
    m_core->conditions().rainRate = 7.0f;
    m_core->DoTrends(at(0));
    EXPECT_FLOAT_EQ(m_core->conditions().rainRate, 7.0f);
}

TEST_F(UsbRainRateTest, ACounterThatWentBackGivesRateZero)
{
    useUsbStation(true);
    minuteSamples({10.4f, 10.2f, 2.0f});
    m_core->conditions().rainRate = 7.0f;
    m_core->DoTrends(at(0));
    EXPECT_FLOAT_EQ(m_core->conditions().rainRate, 0.0f);
}

}  // namespace
}  // namespace brezmor
