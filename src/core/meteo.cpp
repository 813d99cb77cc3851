#include "core/meteo.h"

#include <cmath>
#include <limits>

namespace brezmor {
namespace {

constexpr float kChillTempLimitC = 10.0f;
constexpr float kChillWindLimitKph = 4.8f;
constexpr double kFeetPerMetre = 3.2808399;
constexpr double kSpreadFPerThousandFeet = 4.4;
constexpr double kHeatIndexFloorF = 68.0;

}  // namespace

float WindChillC(float tempC, float windKph)
{
    if (tempC >= kChillTempLimitC || windKph <= kChillWindLimitKph)
        return tempC;
    const double t = tempC;
    const double v016 = std::pow(static_cast<double>(windKph), 0.16);
    const auto chill = static_cast<float>(13.12 + 0.6215 * t - 11.37 * v016 + 0.3965 * t * v016);
    return chill > tempC ? tempC : chill;
}

double SaturationVapourPressure(double tempC)
{
    return 6.112 * std::exp(17.62 * tempC / (tempC + 243.12));
}

double VapourPressure(double humidityPct, double tempC)
{
    return SaturationVapourPressure(tempC) * humidityPct / 100.0;
}

double Humidex(double humidityPct, double tempC)
{
    return tempC + (VapourPressure(humidityPct, tempC) - 10.0) * 0.5555555555555556;
}

double DewPointC(double tempC, double humidityPct)
{
    return tempC + (0.13 * tempC + 13.6) * std::log(humidityPct / 100.0);
}

double HeatIndexF(double tempF, double humidityPct)
{
    if (!(tempF >= kHeatIndexFloorF))
        return tempF;
    const double t = tempF;
    const double rh = humidityPct;
    return -42.379 + 2.04901523 * t + 10.14333127 * rh - 0.22475541 * t * rh - 0.00683783 * t * t
           - 0.05481717 * rh * rh + 0.00122874 * t * t * rh + 0.00085282 * t * rh * rh
           - 0.00000199 * t * t * rh * rh;
}

int CloudBase(double tempF, double dewPointF, HeightUnit unit)
{
    double height = (tempF - dewPointF) / kSpreadFPerThousandFeet * 1000.0;
    if (unit == HeightUnit::Metres)
        height /= kFeetPerMetre;
    if (!std::isfinite(height))
        return 0;
    constexpr double kHighest = std::numeric_limits<int>::max();
    constexpr double kLowest = std::numeric_limits<int>::min();
    if (height >= kHighest)
        return std::numeric_limits<int>::max();
    if (height <= kLowest)
        return std::numeric_limits<int>::min();
    return static_cast<int>(height);
}

}  // namespace brezmor
