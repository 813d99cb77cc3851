#include "weather_core_fixture.h"

#include "core/records.h"
#include "core/units.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <limits>
#include <vector>

namespace brezmor {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Every record, alarm change and today's-extreme display in the order they
// happen.
class EventLog final : public ConditionsObserver {
public:
    void displayChanged(Display field, const QString& text) override
    {
        static_cast<void>(text);
        if (field == Display::TodayHighPressure)
            events.push_back(QStringLiteral("today high"));
        if (field == Display::TodayLowPressure)
            events.push_back(QStringLiteral("today low"));
    }

    std::vector<QString> events;
};

class PressureTest : public WeatherCoreTest {
protected:
    void usePressureUnit(PressureUnit unit)
    {
        m_settings.setInteger(Setting::PressureUnit, static_cast<int>(unit));
        m_core->applyUnitSettings();
    }

    // A three-hour list from `first` to `last`, a minute apart, and a
    // last-hour list so that the trends run.
    void fillLists(float firstTemp, float lastTemp, float firstPressure, float lastPressure)
    {
        TrendSamples& trends = m_core->trends();
        trends.AddLast3HourSample(at(-3 * 3600.0), firstTemp, firstPressure);
        trends.AddLast3HourSample(at(-60.0), (firstTemp + lastTemp) / 2, (firstPressure + lastPressure) / 2);
        trends.AddLast3HourSample(at(0), lastTemp, lastPressure);
        trends.AddLastHourSample(at(-3600.0), 10.0f);
        trends.AddLastHourSample(at(0), 10.0f);
    }

    void useOwnForecaster(float averageWind, int averageBearing, float pressure, float trendPerHour)
    {
        m_settings.setBoolean(Setting::UseBrezmorForecast, true);
        CurrentConditions& conditions = m_core->conditions();
        conditions.windAverage = averageWind;
        conditions.averageBearing = averageBearing;
        conditions.pressure = pressure;
        conditions.pressureTrend = trendPerHour;
    }
};

TEST_F(PressureTest, OffsetIsAddedBeforeTheLowestPressureRecordCompares)
{
    struct Case {
        const char* why;
        float recordBefore;
        float recordAfter;
    };
    const Case cases[] = {
        {"a record above 1013.5 is beaten by the calibrated value", 1013.6f, 1013.5f},
        {"a record equal to the calibrated value stays", 1013.5f, 1013.5f},
        {"a record between reading and calibrated value stays", 1014.0f, 1013.5f},
        {"a record below the calibrated value stays", 1013.4f, 1013.4f},
    };
    m_settings.setSingle(Setting::PressOffset, -1.5f);
    for (const Case& c : cases) {
        m_core->records().setRecord(LowPressureRecord, c.recordBefore, 1.0);
        m_core->DoPressure(1015.0f, at(0));
        EXPECT_FLOAT_EQ(m_core->conditions().pressure, 1013.5f) << c.why;
        EXPECT_FLOAT_EQ(m_core->records().record(LowPressureRecord).value, c.recordAfter) << c.why;
    }
    EXPECT_TRUE(m_core->conditions().pressureReceived);
}

TEST_F(PressureTest, AnOffsetThatIsNotANumberCountsAsNone)
{
    m_settings.setSingle(Setting::PressOffset, kNaN);
    watch();
    m_core->DoPressure(1015.0f, at(0));
    EXPECT_FLOAT_EQ(m_core->conditions().pressure, 1015.0f);
    EXPECT_EQ(m_observer.text(Display::Pressure), QStringLiteral("1015.0"));
}

// A garbled frame or an overflowing offset can give an infinite pressure; it
// would stand in the records and the today file for good, never beaten.
TEST_F(PressureTest, AnInfinitePressureSetsNeitherARecordNorTodaysExtremes)
{
    m_core->DoPressure(1013.0f, at(0));
    const TodayExtremes before = m_core->conditions().today;
    const float highRecord = m_core->records().record(HighPressureRecord).value;
    const float lowRecord = m_core->records().record(LowPressureRecord).value;
    for (const float pressure : {kInf, -kInf}) {
        m_core->DoPressure(pressure, at(60));
        EXPECT_EQ(m_core->conditions().today.highPressure, before.highPressure) << pressure;
        EXPECT_EQ(m_core->conditions().today.lowPressure, before.lowPressure) << pressure;
        EXPECT_EQ(m_core->records().record(HighPressureRecord).value, highRecord) << pressure;
        EXPECT_EQ(m_core->records().record(LowPressureRecord).value, lowRecord) << pressure;
    }
}

TEST_F(PressureTest, RecordsThenAlarmsThenTodaysExtremesHighBeforeLow)
{
    m_core->records().setRecord(HighPressureRecord, 0.0f, 1.0);
    m_core->records().setRecord(LowPressureRecord, 9999.0f, 1.0);
    m_settings.setBoolean(Setting::HighPressAlarmSet, true);
    m_settings.setSingle(Setting::alarmhighpress, 1000.0f);
    m_settings.setBoolean(Setting::LowPressAlarmSet, true);
    m_settings.setSingle(Setting::alarmlowpress, 1020.0f);

    EventLog log;
    m_core->display().addObserver(&log);
    m_core->records().addObserver(
        [&log](const RecordEvent& event) { log.events.push_back(QStringLiteral("record %1").arg(event.index)); });
    m_core->alarms().addObserver([&log](const AlarmEvent& event) {
        log.events.push_back(event.alarm == AlarmId::HighPress ? QStringLiteral("high alarm")
                                                               : QStringLiteral("low alarm"));
    });

    m_core->DoPressure(1013.0f, at(0));
    m_core->display().removeObserver(&log);

    const std::vector<QString> expected = {QStringLiteral("record 9"), QStringLiteral("high alarm"),
                                           QStringLiteral("record 8"), QStringLiteral("low alarm"),
                                           QStringLiteral("today high"), QStringLiteral("today low")};
    EXPECT_EQ(log.events, expected);
}

TEST_F(PressureTest, TodaysExtremesKeepTheReadingsTimeAndReachTheTodayFile)
{
    watch();
    m_core->DoPressure(1013.0f, at(-3600.0 - 120.0));  // 10:58
    m_core->DoPressure(1014.2f, at(300.0));  // 12:05
    m_core->DoPressure(1013.5f, at(600.0));  // neither

    const TodayExtremes& today = m_core->conditions().today;
    EXPECT_FLOAT_EQ(today.highPressure, 1014.2f);
    EXPECT_EQ(today.highPressureTime, QStringLiteral("12:05"));
    EXPECT_FLOAT_EQ(today.lowPressure, 1013.0f);
    EXPECT_EQ(today.lowPressureTime, QStringLiteral("10:58"));
    EXPECT_EQ(m_observer.text(Display::TodayHighPressure), QStringLiteral("1014.2"));
    EXPECT_EQ(m_observer.text(Display::TodayHighPressureTime), QStringLiteral("12:05"));
    EXPECT_EQ(m_observer.text(Display::TodayLowPressureTime), QStringLiteral("10:58"));
    EXPECT_TRUE(QFileInfo::exists(m_core->todayFiles().todayPath()));
}

TEST_F(PressureTest, EmptyLastHourListLeavesEveryTrendAsItWas)
{
    m_core->trends().AddLast3HourSample(at(-3600.0), 5.0f, 1000.0f);
    m_core->trends().AddLast3HourSample(at(0), 8.0f, 1003.0f);
    m_core->conditions().pressureTrend = 0.7f;
    m_core->conditions().rainLastHour = 1.5f;
    watch();

    m_core->DoTrends(at(0));

    EXPECT_FLOAT_EQ(m_core->conditions().pressureTrend, 0.7f);
    EXPECT_FLOAT_EQ(m_core->conditions().rainLastHour, 1.5f);
    EXPECT_TRUE(m_observer.texts.empty());
    EXPECT_EQ(m_core->temperatureTrendText(), QStringLiteral("0"));
}

TEST_F(PressureTest, TemperatureTrendIsSignedWithOneDecimalAndZeroAsZero)
{
    struct Case {
        const char* why;
        float first;
        float last;
        const char* expected;
    };
    const Case cases[] = {
        {"a rise of 0.9 over the span is +0.3 an hour", 10.0f, 10.9f, "+0.3"},
        {"a fall shows its minus sign", 10.0f, 9.1f, "-0.3"},
        {"no change is a bare 0", 10.0f, 10.0f, "0"},
        {"a change that rounds to nothing is a bare 0", 10.0f, 10.1f, "0"},
        {"a half rounds away from zero upwards", 10.0f, 10.45f, "+0.2"},
        {"a half rounds away from zero downwards", 10.0f, 9.55f, "-0.2"},
        {"tens keep their digits", -5.0f, 25.0f, "+10.0"},
    };
    for (const Case& c : cases) {
        m_core->trends() = TrendSamples();
        fillLists(c.first, c.last, 1000.0f, 1000.0f);
        watch();
        m_core->DoTrends(at(0));
        EXPECT_EQ(m_observer.text(Display::TempTrend), QString::fromUtf8(c.expected)) << c.why;
        EXPECT_EQ(m_core->temperatureTrendText(), QString::fromUtf8(c.expected)) << c.why;
        m_core->display().removeObserver(&m_observer);
    }
}

TEST_F(PressureTest, TemperatureTrendUsesTheRegionalDecimalSeparator)
{
    const RegionalSettings german = RegionalSettings::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    WeatherCore core(m_settings, m_clock, german, m_diagnostics, m_folder.filePath(QStringLiteral("data")));
    core.trends().AddLast3HourSample(at(-3600.0), 10.0f, 1000.0f);
    core.trends().AddLast3HourSample(at(0), 9.1f, 1000.0f);
    core.trends().AddLastHourSample(at(0), 0.0f);
    core.DoTrends(at(0));
    EXPECT_EQ(core.temperatureTrendText(), QStringLiteral("-0,3"));
}

TEST_F(PressureTest, PressureTrendIsRoundedToThePressureDecimalsHalvesAwayFromZero)
{
    struct Case {
        const char* why;
        PressureUnit unit;
        float first;
        float last;
        float expectedTrend;
        const char* expectedText;
    };
    const Case cases[] = {
        {"a rise of 0.3 mb is +0.1 an hour", PressureUnit::Millibar, 1000.0f, 1000.3f, 0.1f, "+0.1"},
        {"a rise of 0.45 mb is a half: 0.2", PressureUnit::Millibar, 1000.0f, 1000.45f, 0.2f, "+0.2"},
        {"a fall of 0.45 mb is a half: -0.2", PressureUnit::Millibar, 1000.45f, 1000.0f, -0.2f, "-0.2"},
        {"a half the singles put just below still rounds away from zero", PressureUnit::Millibar, 1000.15f,
         1000.3f, 0.1f, "+0.1"},
        {"no change shows without a sign", PressureUnit::Millibar, 1000.0f, 1000.0f, 0.0f, "0.0"},
        {"inches keep two decimals", PressureUnit::InchesOfMercury, 30.0f, 30.09f, 0.03f, "+0.03"},
        {"a falling half in inches", PressureUnit::InchesOfMercury, 30.0f, 29.955f, -0.02f, "-0.02"},
    };
    for (const Case& c : cases) {
        usePressureUnit(c.unit);
        m_core->trends() = TrendSamples();
        fillLists(10.0f, 10.0f, c.first, c.last);
        watch();
        m_core->DoTrends(at(0));
        EXPECT_FLOAT_EQ(m_core->conditions().pressureTrend, c.expectedTrend) << c.why;
        EXPECT_EQ(m_observer.text(Display::PressureTrend), QString::fromUtf8(c.expectedText)) << c.why;
        m_core->display().removeObserver(&m_observer);
    }
}

TEST_F(PressureTest, TrendsRunOverTheSpanTheListsCoverDividedByThree)
{
    // Ten minutes after start-up: a rise of 0.6 mb still counts as 0.2 an hour.
    m_core->trends().AddLast3HourSample(at(-600.0), 10.0f, 1000.0f);
    m_core->trends().AddLast3HourSample(at(0), 10.0f, 1000.6f);
    m_core->trends().AddLastHourSample(at(0), 5.0f);
    m_core->DoTrends(at(0));
    EXPECT_FLOAT_EQ(m_core->conditions().pressureTrend, 0.2f);
}

TEST_F(PressureTest, WithoutThreeHourSamplesOnlyTheRainOfTheLastHourIsUpdated)
{
    m_core->conditions().pressureTrend = 0.7f;
    m_core->trends().AddLastHourSample(at(-3600.0), 10.0f);
    m_core->trends().AddLastHourSample(at(0), 11.0f);
    watch();
    m_core->DoTrends(at(0));
    EXPECT_FLOAT_EQ(m_core->conditions().pressureTrend, 0.7f);
    EXPECT_FALSE(m_observer.texts.contains(Display::TempTrend));
    EXPECT_FALSE(m_observer.texts.contains(Display::PressureTrend));
    EXPECT_EQ(m_observer.text(Display::RainLastHour), QStringLiteral("1.0"));
}

TEST_F(PressureTest, RainInTheLastHourIsTheCounterRiseOrNothing)
{
    struct Case {
        const char* why;
        float first;
        float last;
        float mult;
        float expected;
    };
    const Case cases[] = {
        {"the rise between first and last sample", 10.0f, 12.5f, 1.0f, 2.5f},
        {"the rise is calibrated", 10.0f, 12.0f, 1.1f, 2.2f},
        {"a first sample without counter gives nothing", -1.0f, 12.5f, 1.0f, 0.0f},
        {"a counter that went back gives nothing", 12.5f, 10.0f, 1.0f, 0.0f},
        {"a multiplier that is not a number counts as 1", 10.0f, 12.5f, kNaN, 2.5f},
    };
    for (const Case& c : cases) {
        m_settings.setSingle(Setting::RainMult, c.mult);
        m_core->trends() = TrendSamples();
        m_core->trends().AddLastHourSample(at(-3600.0), c.first);
        m_core->trends().AddLastHourSample(at(-1800.0), 99.0f);
        m_core->trends().AddLastHourSample(at(0), c.last);
        m_core->DoTrends(at(0));
        EXPECT_FLOAT_EQ(m_core->conditions().rainLastHour, c.expected) << c.why;
    }
}

TEST_F(PressureTest, RainInTheLastHourBeyondTheRecordIsRecordedAtNow)
{
    m_core->records().setRecord(HighHourlyRainRecord, 2.0f, 1.0);
    m_core->trends().AddLastHourSample(at(-3600.0), 10.0f);
    m_core->trends().AddLastHourSample(at(60.0), 12.5f);
    m_core->DoTrends(at(60.0));
    EXPECT_FLOAT_EQ(m_core->records().record(HighHourlyRainRecord).value, 2.5f);
    EXPECT_DOUBLE_EQ(m_core->records().record(HighHourlyRainRecord).time, at(60.0));

    m_core->DoTrends(at(120.0));  // same rain: not above the record
    EXPECT_DOUBLE_EQ(m_core->records().record(HighHourlyRainRecord).time, at(60.0));
}

TEST_F(PressureTest, OwnTrendTextFromTheTrendPerHour)
{
    struct Case {
        const char* why;
        PressureUnit unit;
        float trendPerHour;
        const char* expected;
    };
    const Case cases[] = {
        {"three times a third of 0.1 is steady", PressureUnit::Millibar, 0.1f / 3.0f, "Steady"},
        {"three times a third of 0.11 rises slowly", PressureUnit::Millibar, 0.11f / 3.0f, "Rising slowly"},
        {"-2 an hour is -6: falling quickly", PressureUnit::Millibar, -2.0f, "Falling quickly"},
        {"a third of -6.01 falls very rapidly", PressureUnit::Millibar, -6.01f / 3.0f, "Falling very rapidly"},
        {"hectopascals are millibars", PressureUnit::Hectopascal, 0.6f, "Rising"},
        {"6 mb in inches is not above 6", PressureUnit::InchesOfMercury, 0.0590667454f, "Rising quickly"},
        {"0.0591 inches an hour is above 6 mb", PressureUnit::InchesOfMercury, 0.0591f, "Rising very rapidly"},
        {"a fall of 0.01 inches an hour is 1.02 mb in three hours", PressureUnit::InchesOfMercury, -0.01f,
         "Falling slowly"},
    };
    for (const Case& c : cases) {
        usePressureUnit(c.unit);
        m_core->conditions().pressureTrend = c.trendPerHour;
        watch();
        m_core->PressureTrendText();
        EXPECT_EQ(m_core->conditions().pressureTrendText, QString::fromUtf8(c.expected)) << c.why;
        EXPECT_EQ(m_observer.text(Display::BarometerCaption), QStringLiteral("Barometer - ") + c.expected)
            << c.why;
        m_core->display().removeObserver(&m_observer);
    }
}

TEST_F(PressureTest, StationTrendTextIsUsedUnlessTheOwnOneIsChosen)
{
    m_core->conditions().pressureTrend = 1.0f;  // 3 mb in three hours: "Rising"
    watch();

    m_core->DoPressureTrendText(QStringLiteral("Falling"));
    EXPECT_EQ(m_core->conditions().pressureTrendText, QStringLiteral("Falling"));
    EXPECT_EQ(m_observer.text(Display::BarometerCaption), QStringLiteral("Barometer - Falling"));

    m_settings.setBoolean(Setting::UseBrezmorPresstrendstr, true);
    m_core->DoPressureTrendText(QStringLiteral("Falling"));
    EXPECT_EQ(m_core->conditions().pressureTrendText, QStringLiteral("Rising"));
    EXPECT_EQ(m_observer.text(Display::BarometerCaption), QStringLiteral("Barometer - Rising"));
}

TEST_F(PressureTest, StationForecastIsUsedUnlessTheOwnForecasterIsChosen)
{
    watch();
    m_core->DoForecast(QStringLiteral("Sunny"));
    EXPECT_EQ(m_core->conditions().forecast, QStringLiteral("Sunny"));
    EXPECT_EQ(m_observer.text(Display::Forecast), QStringLiteral("Forecast: Sunny"));

    useOwnForecaster(0.0f, 0, 1013.0f, 0.0f);
    m_core->DoForecast(QStringLiteral("Sunny"));
    EXPECT_EQ(m_core->conditions().forecast, QStringLiteral("Fine, possible showers"));
    EXPECT_EQ(m_observer.text(Display::Forecast), QStringLiteral("Forecast: Fine, possible showers"));
}

TEST_F(PressureTest, OwnForecasterReadsItsInputsFromTheStoreAndSettings)
{
    struct Case {
        const char* why;
        double latitude;
        float averageWind;
        int averageBearing;
        float trendPerHour;
        TDateTime now;
        const char* expected;
    };
    constexpr TDateTime kJuly = 46218.5;  // 2026-07-15 12:00
    const Case cases[] = {
        {"below 0.1 the wind is calm, whatever its bearing", 51.5, 0.09f, 360, 0.0f, kNoon,
         "Fine, possible showers"},
        {"a northerly north of the equator adds 6 %", 51.5, 5.0f, 360, 0.0f, kNoon, "Fine weather"},
        {"latitude 0 counts as the southern hemisphere", 0.0, 5.0f, 360, 0.0f, kNoon,
         "Showery, bright intervals"},
        {"a trend of 0.1 an hour is steady, so July adds nothing", 51.5, 0.0f, 0, 0.1f, kJuly,
         "Fine, possible showers"},
        {"a trend above 0.1 rises and July adds 7 %", 51.5, 0.0f, 0, 0.2f, kJuly, "Fine weather"},
        {"a trend below -0.1 falls and July takes 7 %", 51.5, 0.0f, 0, -0.2f, kJuly,
         "Unsettled, precipitation later"},
    };
    for (const Case& c : cases) {
        m_clock.setNow(c.now);
        m_settings.setReal(Setting::Latitude, c.latitude);
        useOwnForecaster(c.averageWind, c.averageBearing, 1013.0f, c.trendPerHour);
        m_core->DoForecast(QString());
        EXPECT_EQ(m_core->conditions().forecast, QString::fromUtf8(c.expected)) << c.why;
    }
}

TEST_F(PressureTest, OwnForecasterInInchesConvertsPressureAndRange)
{
    usePressureUnit(PressureUnit::InchesOfMercury);
    m_settings.setBoolean(Setting::FCpressinMB, false);
    m_settings.setSingle(Setting::FClowpress, 28.0567f);  // 950 mb
    m_settings.setSingle(Setting::FChighpress, 31.0100f);  // 1050 mb
    useOwnForecaster(0.0f, 0, 29.9173f, 0.0f);  // 1013 mb
    m_core->DoForecast(QString());
    EXPECT_EQ(m_core->conditions().forecast, QStringLiteral("Fine, possible showers"));
}

TEST_F(PressureTest, OwnForecasterWithAnEmptyRangeStaysInsideItsTables)
{
    m_settings.setSingle(Setting::FClowpress, 1000.0f);
    m_settings.setSingle(Setting::FChighpress, 1000.0f);
    useOwnForecaster(0.0f, 0, 1013.0f, 0.0f);
    m_core->DoForecast(QString());
    EXPECT_EQ(m_core->conditions().forecast, QStringLiteral("Exceptional Weather, Stormy, much precipitation"));
}

}  // namespace
}  // namespace brezmor
