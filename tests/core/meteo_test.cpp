#include "core/meteo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace brezmor {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct ChillCase {
    const char* why;
    float tempC;
    float windKph;
    float expectedC;
};

TEST(WindChillC, AppliesOnlyBelowTheTemperatureAndWindLimits)
{
    const ChillCase cases[] = {
        {"at 10 degrees the air temperature is the chill", 10.0f, 20.0f, 10.0f},
        {"at walking pace the air temperature is the chill", 0.0f, 4.8f, 0.0f},
        {"a calm frost stays the frost", -12.0f, 0.0f, -12.0f},
        {"cold and windy uses the formula", -5.0f, 20.0f, -11.5514f},
        {"just inside both limits uses the formula", 9.9f, 4.9f, 9.6728f},
    };
    for (const ChillCase& c : cases)
        EXPECT_NEAR(WindChillC(c.tempC, c.windKph), c.expectedC, 0.001f) << c.why;
}

TEST(WindChillC, NonFiniteInputGivesNonFiniteChillInsteadOfAValue)
{
    EXPECT_TRUE(std::isnan(WindChillC(kNaN, 20.0f)));
    EXPECT_TRUE(std::isnan(WindChillC(-5.0f, kNaN)));
}

TEST(VapourPressure, FollowsTheMagnusFormula)
{
    EXPECT_DOUBLE_EQ(SaturationVapourPressure(0.0), 6.112);
    EXPECT_NEAR(SaturationVapourPressure(30.0), 42.3372, 1e-4);
    EXPECT_NEAR(VapourPressure(50.0, 30.0), 21.1686, 1e-4);
    EXPECT_DOUBLE_EQ(VapourPressure(100.0, 12.0), SaturationVapourPressure(12.0));
    EXPECT_NEAR(Humidex(50.0, 30.0), 36.2048, 1e-4);
    // At 10 hPa of vapour the humidex adds nothing to the temperature.
    const double saturated = SaturationVapourPressure(20.0);
    EXPECT_NEAR(Humidex(1000.0 / saturated, 20.0), 20.0, 1e-12);
}

TEST(DewPointC, TwentyDegreesAtHalfHumidity)
{
    EXPECT_NEAR(DewPointC(20.0, 50.0), 8.7710, 1e-4);
    EXPECT_DOUBLE_EQ(DewPointC(15.0, 100.0), 15.0);
}

struct HeatIndexCase {
    const char* why;
    double tempF;
    double humidityPct;
    double expectedF;
};

TEST(HeatIndexF, RegressionFrom68FahrenheitUp)
{
    const HeatIndexCase cases[] = {
        {"exactly 68 F already uses the regression", 68.0, 0.0, 65.33591},
        {"68 F at half humidity", 68.0, 50.0, 77.35084},
        {"just below 68 F is the temperature itself", 67.9, 50.0, 67.9},
        {"hot and humid", 90.0, 50.0, 94.59694},
        {"cold air is the temperature itself", 14.0, 90.0, 14.0},
    };
    for (const HeatIndexCase& c : cases)
        EXPECT_NEAR(HeatIndexF(c.tempF, c.humidityPct), c.expectedF, 1e-4) << c.why;
}

struct CloudBaseCase {
    const char* why;
    double tempF;
    double dewPointF;
    HeightUnit unit;
    int expected;
};

TEST(CloudBase, ThousandFeetPerFourPointFourDegreesOfSpread)
{
    const CloudBaseCase cases[] = {
        {"4.4 F of spread is 1000 ft", 4.4, 0.0, HeightUnit::Feet, 1000},
        {"the same spread in metres is cut, not rounded", 4.4, 0.0, HeightUnit::Metres, 304},
        {"saturated air has its base at the ground", 50.0, 50.0, HeightUnit::Feet, 0},
        {"a station dew point above the temperature gives a negative base", 0.0, 4.4, HeightUnit::Feet, -1000},
        {"a height cut towards zero", 10.0, 0.0, HeightUnit::Feet, 2272},
        {"no temperature gives no height", kNaN, 40.0, HeightUnit::Feet, 0},
        {"an infinite spread gives no height", kInf, 40.0, HeightUnit::Metres, 0},
        {"an absurd finite spread is held at the int range", 1e30, 0.0, HeightUnit::Feet,
         std::numeric_limits<int>::max()},
        {"and below it", -1e30, 0.0, HeightUnit::Metres, std::numeric_limits<int>::min()},
    };
    for (const CloudBaseCase& c : cases)
        EXPECT_EQ(CloudBase(c.tempF, c.dewPointF, c.unit), c.expected) << c.why;
}

}  // namespace
}  // namespace brezmor
