#include "core/units.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brezmor {
namespace {

Units MakeUnits(UnitChoice choice)
{
    return Units(choice, RegionalSettings{});
}

UnitChoice WindCode(int code)
{
    UnitChoice choice;
    choice.wind = code;
    return choice;
}

UnitChoice TempCode(int code)
{
    UnitChoice choice;
    choice.temperature = code;
    return choice;
}

UnitChoice PressureCode(int code, int stationType = -1)
{
    UnitChoice choice;
    choice.pressure = code;
    choice.stationType = stationType;
    return choice;
}

UnitChoice RainCode(int code)
{
    UnitChoice choice;
    choice.rain = code;
    return choice;
}

using Conversion = float (Units::*)(float) const;

struct ConversionCase {
    const char* why;
    UnitChoice choice;
    Conversion convert;
    float input;
    float expected;
};

TEST(UnitsConversion, FollowsTheFactorTablePerUnitCode)
{
    const ConversionCase cases[] = {
        {"m/s stays m/s", WindCode(0), &Units::WindMSToUser, 10.0f, 10.0f},
        {"m/s into mph", WindCode(1), &Units::WindMSToUser, 10.0f, 22.3693629f},
        {"m/s into km/h", WindCode(2), &Units::WindMSToUser, 10.0f, 36.0f},
        {"m/s into knots", WindCode(3), &Units::WindMSToUser, 10.0f, 19.4384449f},
        {"unknown wind code yields no speed", WindCode(4), &Units::WindMSToUser, 10.0f, 0.0f},
        {"negative wind code yields no speed", WindCode(-1), &Units::WindMSToUser, 10.0f, 0.0f},

        {"m/s into mph for the formulas", WindCode(0), &Units::UserWindToMPH, 10.0f, 22.3693629f},
        {"mph stays mph", WindCode(1), &Units::UserWindToMPH, 10.0f, 10.0f},
        {"km/h into mph", WindCode(2), &Units::UserWindToMPH, 10.0f, 6.21371192f},
        {"knots into mph", WindCode(3), &Units::UserWindToMPH, 10.0f, 11.5077945f},
        {"unknown wind code gives no mph", WindCode(4), &Units::UserWindToMPH, 10.0f, 0.0f},

        {"m/s into km/h for the formulas", WindCode(0), &Units::UserWindToKPH, 10.0f, 36.0f},
        {"mph into km/h", WindCode(1), &Units::UserWindToKPH, 10.0f, 16.09344f},
        {"km/h stays km/h", WindCode(2), &Units::UserWindToKPH, 10.0f, 10.0f},
        {"knots into km/h", WindCode(3), &Units::UserWindToKPH, 10.0f, 18.52f},
        {"unknown wind code gives no km/h", WindCode(7), &Units::UserWindToKPH, 10.0f, 0.0f},

        {"mm stays mm", RainCode(0), &Units::RainMMToUser, 25.4f, 25.4f},
        {"mm into inches", RainCode(1), &Units::RainMMToUser, 25.4f, 1.0f},
        {"mm into inches for publishers", RainCode(0), &Units::UserRainToInches, 25.4f, 1.0f},
        {"inches stay inches", RainCode(1), &Units::UserRainToInches, 1.5f, 1.5f},
        {"unknown rain code is taken as mm", RainCode(5), &Units::RainMMToUser, 25.4f, 25.4f},

        {"Celsius stays Celsius", TempCode(0), &Units::TempCToUser, 20.0f, 20.0f},
        {"Celsius into Fahrenheit", TempCode(1), &Units::TempCToUser, -40.0f, -40.0f},
        {"body temperature into Fahrenheit", TempCode(1), &Units::TempCToUser, 37.0f, 98.6f},
        {"Celsius back to Celsius", TempCode(0), &Units::UserTempToC, 20.0f, 20.0f},
        {"Fahrenheit into Celsius", TempCode(1), &Units::UserTempToC, 212.0f, 100.0f},
        {"Celsius into Fahrenheit for the formulas", TempCode(0), &Units::UserTempToF, 100.0f, 212.0f},
        {"Fahrenheit stays Fahrenheit", TempCode(1), &Units::UserTempToF, 50.0f, 50.0f},
        {"unknown temperature code is taken as Celsius", TempCode(9), &Units::TempCToUser, 20.0f, 20.0f},

        {"mb stays mb", PressureCode(0), &Units::PressMBToUser, 1013.25f, 1013.25f},
        {"hPa is the same number as mb", PressureCode(1), &Units::PressMBToUser, 1013.25f, 1013.25f},
        {"mb into inHg", PressureCode(2), &Units::PressMBToUser, 1000.0f, 29.5333727f},
        {"mb into inHg for publishers", PressureCode(0), &Units::UserPressToInHg, 1000.0f, 29.5333727f},
        {"hPa into inHg for publishers", PressureCode(1), &Units::UserPressToInHg, 1000.0f, 29.5333727f},
        {"inHg stays inHg", PressureCode(2), &Units::UserPressToInHg, 29.92f, 29.92f},
        {"mb is already mb", PressureCode(0), &Units::PressureInMB, 1013.25f, 1013.25f},
        {"hPa is already mb", PressureCode(1), &Units::PressureInMB, 1013.25f, 1013.25f},
        {"inHg back to mb", PressureCode(2), &Units::PressureInMB, 29.5333727f, 1000.0f},
        {"unknown pressure code is taken as mb", PressureCode(3), &Units::PressMBToUser, 1000.0f, 1000.0f},
    };
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.why);
        const Units units = MakeUnits(c.choice);
        EXPECT_NEAR((units.*c.convert)(c.input), c.expected, std::fabs(c.expected) * 1e-6);
    }
}

TEST(UnitsConversion, WindFactorTablesAgreeWithEachOther)
{
    // A speed taken into the user's unit and back out to a fixed one must be
    // the same speed whatever the unit: a typo in one table breaks this.
    for (int code = 0; code <= 3; ++code) {
        SCOPED_TRACE(code);
        const Units units = MakeUnits(WindCode(code));
        const float user = units.WindMSToUser(10.0f);
        EXPECT_NEAR(units.UserWindToKPH(user), 36.0f, 1e-4f);
        EXPECT_NEAR(units.UserWindToMPH(user), 22.3693629f, 1e-4f);
    }
}

TEST(UnitsConversion, TemperatureAndPressureRoundTrip)
{
    for (int code = 0; code <= 1; ++code) {
        const Units units = MakeUnits(TempCode(code));
        EXPECT_NEAR(units.UserTempToC(units.TempCToUser(-12.3f)), -12.3f, 1e-5f) << code;
        EXPECT_NEAR(units.UserTempToF(units.TempCToUser(-12.3f)), 9.86f, 1e-4f) << code;
    }
    for (int code = 0; code <= 2; ++code) {
        const Units units = MakeUnits(PressureCode(code));
        EXPECT_NEAR(units.PressureInMB(units.PressMBToUser(987.6f)), 987.6f, 1e-3f) << code;
    }
}

struct LabelCase {
    const char* why;
    UnitChoice choice;
    const char* wind;
    const char* windRun;
    const char* temp;
    const char* press;
    const char* rain;
    int pressDecimals;
    int rainDecimals;
};

UnitChoice Choice(int wind, int temperature, int pressure, int rain, int stationType)
{
    return UnitChoice{wind, temperature, pressure, rain, stationType};
}

TEST(UnitsLabels, LabelsAndDecimalsFollowTheCodes)
{
    const LabelCase cases[] = {
        {"all metric", Choice(0, 0, 0, 0, -1), "m/s", "km", "°C", "mb", "mm", 1, 1},
        {"imperial", Choice(1, 1, 2, 1, -1), "mph", "miles", "°F", "in", "in", 2, 2},
        {"km/h runs in km and hPa", Choice(2, 0, 1, 0, -1), "km/h", "km", "°C", "hPa", "mm", 1, 1},
        {"knots run in nautical miles", Choice(3, 0, 0, 0, 2), "kts", "nm", "°C", "mb", "mm", 1, 1},
        {"Vantage Pro mb gets a second decimal", Choice(0, 0, 0, 0, 0), "m/s", "km", "°C", "mb", "mm", 2, 1},
        {"Vantage Pro2 hPa gets a second decimal", Choice(0, 0, 1, 0, 1), "m/s", "km", "°C", "hPa", "mm", 2, 1},
        {"Vantage Pro2 inHg gets a third decimal", Choice(0, 0, 2, 1, 1), "m/s", "km", "°C", "in", "in", 3, 2},
        {"codes out of range claim no unit", Choice(4, 2, 3, 2, -1), "", "", "", "", "", 1, 1},
        {"negative codes claim no unit", Choice(-1, -1, -1, -1, -1), "", "", "", "", "", 1, 1},
    };
    for (const LabelCase& c : cases) {
        SCOPED_TRACE(c.why);
        const Units units = MakeUnits(c.choice);
        EXPECT_EQ(units.windLabel(), QString::fromUtf8(c.wind));
        EXPECT_EQ(units.windRunLabel(), QString::fromUtf8(c.windRun));
        EXPECT_EQ(units.tempLabel(), QString::fromUtf8(c.temp));
        EXPECT_EQ(units.pressLabel(), QString::fromUtf8(c.press));
        EXPECT_EQ(units.rainLabel(), QString::fromUtf8(c.rain));
        EXPECT_EQ(units.windDecimals(), 1);
        EXPECT_EQ(units.tempDecimals(), 1);
        EXPECT_EQ(units.pressDecimals(), c.pressDecimals);
        EXPECT_EQ(units.rainDecimals(), c.rainDecimals);
    }
}

TEST(UnitsLabels, RateLabelsAppendPerHour)
{
    const Units metric = MakeUnits(Choice(0, 0, 0, 0, -1));
    EXPECT_EQ(metric.rainRateLabel(), QStringLiteral("mm/hr"));
    EXPECT_EQ(metric.tempRateLabel(), QString::fromUtf8("°C/hr"));
    EXPECT_EQ(metric.pressRateLabel(), QStringLiteral("mb/hr"));
    EXPECT_EQ(MakeUnits(RainCode(1)).rainRateLabel(), QStringLiteral("in/hr"));
    EXPECT_EQ(MakeUnits(RainCode(7)).rainRateLabel(), QString());
}

using Formatter = QString (Units::*)(float) const;

struct FormatCase {
    const char* why;
    UnitChoice choice;
    Formatter format;
    float value;
    const char* point;
    const char* comma;
};

TEST(UnitsFormat, SignificantDigitsThenDecimalsInTheRegionalSeparator)
{
    const FormatCase cases[] = {
        {"wind with one decimal", Choice(0, 0, 0, 0, -1), &Units::FormatWind, 12.34f, "12.3", "12,3"},
        {"wind past three digits loses its decimal", Choice(0, 0, 0, 0, -1), &Units::FormatWind, 123.45f,
         "123.0", "123,0"},
        {"wind too large for three digits", Choice(0, 0, 0, 0, -1), &Units::FormatWind, 1234.5f, "1.23E+03",
         "1,23E+03"},
        {"calm wind", Choice(0, 0, 0, 0, -1), &Units::FormatWind, 0.0f, "0.0", "0,0"},
        {"temperature half rounds away from zero", Choice(0, 0, 0, 0, -1), &Units::FormatTemp, -12.35f, "-12.4",
         "-12,4"},
        {"temperature just below zero shows no sign", Choice(0, 0, 0, 0, -1), &Units::FormatTemp, -0.04f, "0.0",
         "0,0"},
        {"Fahrenheit over a hundred keeps its decimal", Choice(0, 1, 0, 0, -1), &Units::FormatTemp, 101.25f,
         "101.3", "101,3"},
        {"mb pressure with one decimal", Choice(0, 0, 0, 0, -1), &Units::FormatPress, 1013.25f, "1013.3",
         "1013,3"},
        {"Davis mb pressure with two decimals", Choice(0, 0, 0, 0, 1), &Units::FormatPress, 1013.25f, "1013.25",
         "1013,25"},
        {"inHg pressure with two decimals", Choice(0, 0, 2, 0, -1), &Units::FormatPress, 29.921f, "29.92",
         "29,92"},
        {"Davis inHg pressure with three decimals", Choice(0, 0, 2, 0, 0), &Units::FormatPress, 29.9215f,
         "29.922", "29,922"},
        {"rain in mm", Choice(0, 0, 0, 0, -1), &Units::FormatRain, 12.25f, "12.3", "12,3"},
        {"rain in inches", Choice(0, 0, 0, 1, -1), &Units::FormatRain, 0.125f, "0.13", "0,13"},
        {"ET one decimal finer than rain", Choice(0, 0, 0, 0, -1), &Units::FormatET, 3.456f, "3.46", "3,46"},
        {"ET in inches", Choice(0, 0, 0, 1, -1), &Units::FormatET, 0.1234f, "0.123", "0,123"},
        {"UV index", Choice(0, 0, 0, 0, -1), &Units::FormatUV, 5.55f, "5.6", "5,6"},
        {"console volts", Choice(0, 0, 0, 0, -1), &Units::FormatVolts, 4.678f, "4.68", "4,68"},
        {"wind run", Choice(0, 0, 0, 0, -1), &Units::FormatWindRun, 1234.56f, "1234.6", "1234,6"},
    };
    const RegionalSettings german = RegionalSettings::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_EQ(german.decimalSeparator, QChar(u','));
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ((Units(c.choice, RegionalSettings{}).*c.format)(c.value), QString::fromUtf8(c.point));
        EXPECT_EQ((Units(c.choice, german).*c.format)(c.value), QString::fromUtf8(c.comma));
    }
}

struct HumidityCase {
    const char* why;
    int raw;
    bool fix98;
    float mult;
    int offset;
    int expected;
};

TEST(UnitsCalibration, HumidityIsFixedScaledCutAndCapped)
{
    const HumidityCase cases[] = {
        {"uncalibrated passes through", 55, false, 1.0f, 0, 55},
        {"offset pushing past 100 is capped", 97, false, 1.0f, 5, 100},
        {"offset on a dry reading", 3, false, 1.0f, 5, 8},
        {"49.5 is cut, not rounded", 50, false, 0.99f, 0, 49},
        {"a multiplier of 0.9 is not cut below the true 45", 50, false, 0.9f, 0, 45},
        {"98 becomes 100 before the offset", 98, true, 1.0f, -2, 98},
        {"98 untouched without the fix", 98, false, 1.0f, -2, 96},
        {"the fix only touches 98", 97, true, 1.0f, 0, 97},
        {"negative result is held at 0", 3, false, 1.0f, -10, 0},
        {"multiplier pushing past 100 is capped", 95, false, 1.1f, 0, 100},
    };
    for (const HumidityCase& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(CalibrateHumidity(c.raw, c.fix98, c.mult, c.offset), c.expected);
    }
}

TEST(UnitsCalibration, BearingWrapsIntoOneToThreeSixty)
{
    struct Case {
        const char* why;
        int bearing;
        int offset;
        int expected;
    };
    const Case cases[] = {
        {"no offset", 180, 0, 180},
        {"offset past north wraps", 355, 10, 5},
        {"offset below north wraps back", 5, -10, 355},
        {"north is 360, not 0", 0, 0, 360},
        {"offset landing exactly on north", 350, 10, 360},
        {"360 stays 360", 360, 0, 360},
        {"a corrupt negative reading stays within range", -370, 0, 350},
        {"extreme values do not overflow", 2147483647, 2147483647, 254},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(CalibrateBearing(c.bearing, c.offset), c.expected);
    }
}

TEST(UnitsCalibration, TemperatureIsMultipliedThenOffset)
{
    EXPECT_FLOAT_EQ(CalibrateTemperature(20.0f, 1.0f, 0.0f), 20.0f);
    EXPECT_FLOAT_EQ(CalibrateTemperature(20.0f, 1.1f, -0.5f), 21.5f);
    EXPECT_FLOAT_EQ(CalibrateTemperature(-10.0f, 1.1f, 0.5f), -10.5f);
}

}  // namespace
}  // namespace brezmor
