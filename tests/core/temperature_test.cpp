#include "core/meteo.h"

#include "weather_core_fixture.h"

#include <cmath>
#include <limits>

namespace brezmor {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class TemperatureTest : public WeatherCoreTest {
protected:
    [[nodiscard]] const CurrentConditions& conditions() const { return m_core->conditions(); }

    void useFahrenheit()
    {
        m_settings.setInteger(Setting::TempUnit, static_cast<int>(TempUnit::Fahrenheit));
        m_core->applyUnitSettings();
    }

    [[nodiscard]] TodayFileSnapshot todayFile()
    {
        TodayFiles reader(m_folder.filePath(QStringLiteral("data")), m_clock, m_regional, m_diagnostics);
        CurrentConditions restored;
        reader.ReadTodayfile(restored);
        return reader.snapshot();
    }
};

TEST_F(TemperatureTest, FirstTemperatureSetsBothRecordsAndBothExtremes)
{
    m_settings.setSingle(Setting::TempMult, 2.0f);
    m_settings.setSingle(Setting::TempOffset, 1.0f);
    m_clock.setNow(at(90));
    m_core->DoOutsideTemp(10.0f, at(90));

    EXPECT_FLOAT_EQ(conditions().outdoorTemp, 21.0f) << "calibrated first";
    EXPECT_FALSE(conditions().noOutdoorTempYet);
    EXPECT_TRUE(conditions().outdoorTempReceived);
    for (const int record : {HighTempRecord, LowTempRecord}) {
        EXPECT_FLOAT_EQ(m_core->records().record(record).value, 21.0f) << record;
        EXPECT_DOUBLE_EQ(m_core->records().record(record).time, at(90)) << record;
    }
    EXPECT_FLOAT_EQ(conditions().today.highTemp, 21.0f);
    EXPECT_FLOAT_EQ(conditions().today.lowTemp, 21.0f);
    EXPECT_EQ(conditions().today.highTempTime, QStringLiteral("12:01"));
    EXPECT_EQ(conditions().today.lowTempTime, QStringLiteral("12:01"));

    const TodayFileSnapshot file = todayFile();
    EXPECT_FLOAT_EQ(file.extremes.highTemp, 21.0f);
    EXPECT_FLOAT_EQ(file.extremes.lowTemp, 21.0f);
    EXPECT_EQ(file.extremes.lowTempTime, QStringLiteral("12:01"));
}

TEST_F(TemperatureTest, LaterReadingsMoveOnlyTheExtremeTheyPass)
{
    m_core->DoOutsideTemp(10.0f, at(0));
    m_core->DoOutsideTemp(7.5f, at(600));
    m_core->DoOutsideTemp(9.0f, at(1200));
    EXPECT_FLOAT_EQ(conditions().today.highTemp, 10.0f);
    EXPECT_EQ(conditions().today.highTempTime, QStringLiteral("12:00"));
    EXPECT_FLOAT_EQ(conditions().today.lowTemp, 7.5f);
    EXPECT_EQ(conditions().today.lowTempTime, QStringLiteral("12:10"));
    EXPECT_FLOAT_EQ(m_core->records().record(HighTempRecord).value, 10.0f);
    EXPECT_FLOAT_EQ(m_core->records().record(LowTempRecord).value, 7.5f);
    EXPECT_DOUBLE_EQ(m_core->records().record(LowTempRecord).time, at(600));
    EXPECT_FLOAT_EQ(todayFile().extremes.lowTemp, 7.5f);
}

TEST_F(TemperatureTest, StepsRunInOrderRecordsBeforeAlarmsHighBeforeLow)
{
    StepRecorder recorder;
    recordSteps(recorder,
                {{Display::TodayHighTemp, QStringLiteral("today high")}, {Display::TodayLowTemp, QStringLiteral("today low")}},
                {{AlarmId::HighTemp, QStringLiteral("high")}, {AlarmId::LowTemp, QStringLiteral("low")}});
    m_settings.setBoolean(Setting::HighTempAlarmSet, true);
    m_settings.setSingle(Setting::alarmhightemp, 20.0f);
    m_settings.setBoolean(Setting::LowTempAlarmSet, true);
    m_settings.setSingle(Setting::alarmlowtemp, 30.0f);

    m_core->DoOutsideTemp(25.0f, at(0));
    m_core->display().removeObserver(&recorder);

    const QStringList expected = {QStringLiteral("record 0"),        QStringLiteral("alarm high"),
                                  QStringLiteral("record 1"),        QStringLiteral("alarm low"),
                                  QStringLiteral("today high 25.0"), QStringLiteral("today low 25.0")};
    EXPECT_EQ(recorder.events, expected);
}

TEST_F(TemperatureTest, CalculatedDewPointUsesTheStoredHumidity)
{
    m_settings.setBoolean(Setting::CalculatedDP, true);
    watch();
    m_core->DoOutsideHumidity(50);
    m_core->DoOutsideTemp(20.0f, at(0));
    EXPECT_NEAR(conditions().dewPoint, 8.771, 1e-3);
    EXPECT_EQ(m_observer.text(Display::DewPoint), QStringLiteral("8.8"));

    useFahrenheit();
    m_core->DoOutsideTemp(68.0f, at(10));
    EXPECT_NEAR(conditions().dewPoint, 8.771 * 1.8 + 32.0, 1e-3) << "in the configured unit";

    m_core->DoOutsideDewpoint(40.0f);
    EXPECT_NEAR(conditions().dewPoint, 47.788, 1e-3) << "the station's dew point is ignored";
}

TEST_F(TemperatureTest, CalculatedDewPointWithoutHumidityKeepsThePreviousOne)
{
    m_core->DoOutsideDewpoint(5.0f);
    m_settings.setBoolean(Setting::CalculatedDP, true);
    m_core->DoOutsideTemp(10.0f, at(0));
    EXPECT_DOUBLE_EQ(conditions().dewPoint, 5.0);
    // 50 F against 41 F: 9 / 4.4 * 1000 ft, from the dew point kept.
    EXPECT_EQ(conditions().cloudBase, 2045);
}

TEST_F(TemperatureTest, StationDewPointStoredUncalibrated)
{
    m_settings.setSingle(Setting::TempOffset, 3.0f);
    watch();
    m_core->DoOutsideDewpoint(4.25f);
    EXPECT_DOUBLE_EQ(conditions().dewPoint, 4.25);
    EXPECT_EQ(m_observer.text(Display::DewPoint), QStringLiteral("4.3"));
}

struct CloudBaseCase {
    const char* why;
    bool altitudeInFeet;
    int expected;
};

TEST_F(TemperatureTest, CloudBaseFromTheSpreadInFahrenheit)
{
    const CloudBaseCase cases[] = {
        {"a 4.4 F spread is 1000 ft", true, 1000},
        {"and 304 m, cut", false, 304},
    };
    useFahrenheit();
    m_core->DoOutsideDewpoint(45.6f);
    for (const CloudBaseCase& c : cases) {
        m_settings.setBoolean(Setting::AltitudeInFeet, c.altitudeInFeet);
        m_core->DoOutsideTemp(50.0f, at(0));
        EXPECT_EQ(conditions().cloudBase, c.expected) << c.why;
    }
}

struct HeatIndexCase {
    const char* why;
    TempUnit unit;
    int humidity;
    float temperature;
    float expected;
};

TEST_F(TemperatureTest, HeatIndexInTheConfiguredUnit)
{
    const HeatIndexCase cases[] = {
        {"68 F uses the regression", TempUnit::Fahrenheit, 50, 68.0f, 77.3508f},
        {"67.9 F is the temperature", TempUnit::Fahrenheit, 50, 67.9f, 67.9f},
        {"20 C is 68 F, the result back in Celsius", TempUnit::Celsius, 50, 20.0f, 25.1949f},
        {"cool Celsius stays the temperature", TempUnit::Celsius, 50, 12.5f, 12.5f},
        {"no humidity yet still gives the regression, with 0 %", TempUnit::Fahrenheit, 0, 68.0f, 65.3359f},
    };
    for (const HeatIndexCase& c : cases) {
        m_settings.setInteger(Setting::TempUnit, static_cast<int>(c.unit));
        m_core->applyUnitSettings();
        m_core->conditions().outdoorHumidity = c.humidity;
        m_core->DoOutsideTemp(c.temperature, at(0));
        EXPECT_NEAR(conditions().heatIndex, c.expected, 1e-3f) << c.why;
    }
}

TEST_F(TemperatureTest, TemperatureBeforeHumidityGivesNoCalculatedDewPoint)
{
    m_settings.setBoolean(Setting::CalculatedDP, true);
    m_core->DoOutsideTemp(20.0f, at(0));
    EXPECT_DOUBLE_EQ(conditions().dewPoint, 0.0);
    EXPECT_NEAR(conditions().heatIndex, (65.3359f - 32.0f) / 1.8f, 1e-3f);
}

struct HumidityCase {
    const char* why;
    int raw;
    bool fix98;
    float mult;
    int offset;
    int expected;
};

TEST_F(TemperatureTest, OutdoorHumidityCalibration)
{
    const HumidityCase cases[] = {
        {"98 becomes 100 with the fix", 98, true, 1.0f, 0, 100},
        {"98 stays without it", 98, false, 1.0f, 0, 98},
        {"97 passes the fix unchanged", 97, true, 1.0f, 0, 97},
        {"99 passes the fix unchanged", 99, true, 1.0f, 0, 99},
        {"the offset is capped at 100", 97, false, 1.0f, 5, 100},
        {"a low reading takes the offset", 3, false, 1.0f, 5, 8},
        {"the multiplied value is cut, not rounded", 50, false, 0.99f, 0, 49},
        {"the fix comes before the offset", 98, true, 1.0f, -2, 98},
        {"never below 0", 2, false, 1.0f, -5, 0},
        {"a NaN multiplier gives 0 instead of garbage", 60, false, kNaN, 0, 0},
    };
    watch();
    for (const HumidityCase& c : cases) {
        m_settings.setBoolean(Setting::Humidity98Fix, c.fix98);
        m_settings.setSingle(Setting::HumMult, c.mult);
        m_settings.setInteger(Setting::HumOffset, c.offset);
        m_core->DoOutsideHumidity(c.raw);
        EXPECT_EQ(conditions().outdoorHumidity, c.expected) << c.why;
        EXPECT_EQ(m_observer.text(Display::OutdoorHumidity), QString::number(c.expected)) << c.why;
    }
}

TEST_F(TemperatureTest, StationWindChillIsStoredAsSentAndMaySetTheRecord)
{
    m_settings.setSingle(Setting::TempOffset, 3.0f);
    m_core->DoWindChill(-4.5f, at(60));
    EXPECT_FLOAT_EQ(conditions().windChill, -4.5f);
    EXPECT_FLOAT_EQ(m_core->records().record(LowWindChillRecord).value, -4.5f);
    EXPECT_DOUBLE_EQ(m_core->records().record(LowWindChillRecord).time, at(60));

    m_core->DoWindChill(2.0f, at(120));
    EXPECT_FLOAT_EQ(conditions().windChill, 2.0f);
    EXPECT_FLOAT_EQ(m_core->records().record(LowWindChillRecord).value, -4.5f) << "only lower chills are records";
}

struct ChillCase {
    const char* why;
    TempUnit tempUnit;
    WindUnit windUnit;
    float temperature;
    float average;
    float expected;
};

TEST_F(TemperatureTest, CalculatedWindChillFromTheStoredTemperatureAndAverage)
{
    const ChillCase cases[] = {
        {"Celsius and km/h", TempUnit::Celsius, WindUnit::KilometresPerHour, -5.0f, 20.0f, -11.5514f},
        {"Celsius and m/s", TempUnit::Celsius, WindUnit::MetresPerSecond, -5.0f, 20.0f / 3.6f, -11.5514f},
        {"Fahrenheit and mph", TempUnit::Fahrenheit, WindUnit::MilesPerHour, 23.0f, 20.0f / 1.609344f,
         -11.5514f * 1.8f + 32.0f},
        {"too warm for a chill", TempUnit::Celsius, WindUnit::KilometresPerHour, 10.0f, 20.0f, 10.0f},
    };
    m_settings.setBoolean(Setting::CalculatedWC, true);
    for (const ChillCase& c : cases) {
        m_settings.setInteger(Setting::TempUnit, static_cast<int>(c.tempUnit));
        m_settings.setInteger(Setting::WindUnit, static_cast<int>(c.windUnit));
        m_core->applyUnitSettings();
        m_core->DoOutsideTemp(c.temperature, at(0));
        m_core->DoWind(90, c.average, c.average, at(0));
        m_core->DoWindChill(99.0f, at(0));
        EXPECT_NEAR(conditions().windChill, c.expected, 1e-3f) << c.why;
    }
    EXPECT_NEAR(m_core->records().record(LowWindChillRecord).value, -11.5514f, 1e-3f);
}

TEST_F(TemperatureTest, AverageTemperatureCountsOnlyOnceATemperatureHasArrived)
{
    watch();
    m_core->addTemperatureSample();
    EXPECT_EQ(conditions().tempSamples, 0);
    EXPECT_EQ(m_observer.text(Display::AverageTemp), QString()) << "nothing to show yet";

    m_core->DoOutsideTemp(10.0f, at(0));
    m_core->addTemperatureSample();
    m_core->DoOutsideTemp(15.0f, at(60));
    m_core->addTemperatureSample();
    EXPECT_EQ(conditions().tempSamples, 2);
    EXPECT_FLOAT_EQ(conditions().tempTotal, 25.0f);
    EXPECT_EQ(m_observer.text(Display::AverageTemp), QStringLiteral("12.5"));

    // After a history catch-up the readers set the flag again.
    m_core->conditions().noOutdoorTempYet = true;
    m_core->addTemperatureSample();
    EXPECT_EQ(conditions().tempSamples, 2);
}

TEST_F(TemperatureTest, AverageTemperatureShowsARestoredAverageWithoutAReading)
{
    m_core->conditions().tempTotal = 30.0f;
    m_core->conditions().tempSamples = 4;
    watch();
    m_core->addTemperatureSample();
    EXPECT_EQ(m_observer.text(Display::AverageTemp), QStringLiteral("7.5"));
}

struct BadTemperatureSetting {
    const char* why;
    Setting setting;
    float value;
};

TEST_F(TemperatureTest, NonFiniteCalibrationNeverCrashesNorSpoilsTheDay)
{
    const BadTemperatureSetting cases[] = {
        {"multiplier NaN", Setting::TempMult, kNaN},
        {"multiplier infinite", Setting::TempMult, kInf},
        {"offset minus infinity", Setting::TempOffset, -kInf},
        {"a finite multiplier that overflows", Setting::TempMult, 1e38f},
    };
    m_settings.setBoolean(Setting::CalculatedDP, true);
    m_settings.setBoolean(Setting::CalculatedWC, true);
    m_core->DoOutsideHumidity(60);
    m_core->DoOutsideTemp(12.0f, at(0));
    m_core->DoWindChill(0.0f, at(0));
    m_core->addTemperatureSample();
    watch();
    for (const BadTemperatureSetting& c : cases) {
        m_settings.setSingle(c.setting, c.value);
        m_core->DoOutsideTemp(12.0f, at(60));
        m_core->DoWindChill(0.0f, at(60));
        m_core->addTemperatureSample();
        EXPECT_EQ(conditions().tempSamples, 1) << c.why << ": the day's average keeps its good samples";
        EXPECT_FLOAT_EQ(conditions().tempTotal, 12.0f) << c.why;
        EXPECT_EQ(conditions().cloudBase, 0) << c.why;
        EXPECT_FLOAT_EQ(m_core->records().record(HighTempRecord).value, 12.0f) << c.why;
        EXPECT_FLOAT_EQ(m_core->records().record(LowTempRecord).value, 12.0f) << c.why;
        EXPECT_FLOAT_EQ(m_core->records().record(LowWindChillRecord).value, 12.0f) << c.why;
        EXPECT_FLOAT_EQ(conditions().today.highTemp, 12.0f) << c.why;
        EXPECT_FLOAT_EQ(conditions().today.lowTemp, 12.0f) << c.why;
        m_settings.setSingle(Setting::TempMult, 1.0f);
        m_settings.setSingle(Setting::TempOffset, 0.0f);
    }
}

}  // namespace
}  // namespace brezmor
