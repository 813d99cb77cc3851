#include "core/units.h"

#include "core/text_format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <utility>

namespace brezmor {
namespace {

constexpr double kInchesPerMm = 0.0393700787;
constexpr double kInHgPerMb = 0.0295333727;

// Wind factors indexed by the wind unit code.
constexpr std::array<double, 4> kWindMsToUser = {1.0, 2.23693629, 3.6, 1.94384449};
constexpr std::array<double, 4> kUserWindToMph = {2.23693629, 1.0, 0.621371192, 1.15077945};
constexpr std::array<double, 4> kUserWindToKph = {3.6, 1.609344, 1.0, 1.852};

constexpr std::array<const char16_t*, 4> kWindLabels = {u"m/s", u"mph", u"km/h", u"kts"};
constexpr std::array<const char16_t*, 4> kWindRunLabels = {u"km", u"miles", u"km", u"nm"};
constexpr std::array<const char16_t*, 2> kTempLabels = {u"°C", u"°F"};
constexpr std::array<const char16_t*, 3> kPressLabels = {u"mb", u"hPa", u"in"};
constexpr std::array<const char16_t*, 2> kRainLabels = {u"mm", u"in"};

constexpr std::array<int, 3> kPressDecimals = {1, 1, 2};
constexpr std::array<int, 2> kRainDecimals = {1, 2};

bool InRange(int code, std::size_t count)
{
    return code >= 0 && static_cast<std::size_t>(code) < count;
}

QString LabelFor(std::span<const char16_t* const> labels, int code)
{
    return InRange(code, labels.size()) ? QString::fromUtf16(labels[static_cast<std::size_t>(code)]) : QString();
}

QString RateLabel(const QString& label)
{
    return label.isEmpty() ? label : label + QStringLiteral("/hr");
}

// Unknown codes take the first entry, the metric unit.
int DecimalsFor(std::span<const int> decimals, int code)
{
    return InRange(code, decimals.size()) ? decimals[static_cast<std::size_t>(code)] : decimals.front();
}

float ScaleWind(float value, int code, const std::array<double, 4>& factors)
{
    if (!InRange(code, factors.size()))
        return 0.0f;
    return static_cast<float>(value * factors[static_cast<std::size_t>(code)]);
}

float Scale(float value, double factor)
{
    return static_cast<float>(value * factor);
}

bool IsFahrenheit(const UnitChoice& choice)
{
    return choice.temperature == static_cast<int>(TempUnit::Fahrenheit);
}

bool IsInHg(const UnitChoice& choice)
{
    return choice.pressure == static_cast<int>(PressureUnit::InchesOfMercury);
}

bool IsInches(const UnitChoice& choice)
{
    return choice.rain == static_cast<int>(RainUnit::Inches);
}

bool IsDavisStation(int stationType)
{
    return stationType == 0 || stationType == 1;
}

}  // namespace

Units::Units(UnitChoice choice, RegionalSettings regional)
    : m_choice(choice)
    , m_regional(std::move(regional))
    , m_windDecimals(1)
    , m_tempDecimals(1)
    , m_pressDecimals(DecimalsFor(kPressDecimals, choice.pressure) + (IsDavisStation(choice.stationType) ? 1 : 0))
    , m_rainDecimals(DecimalsFor(kRainDecimals, choice.rain))
{
}

QString Units::windLabel() const
{
    return LabelFor(kWindLabels, m_choice.wind);
}

QString Units::windRunLabel() const
{
    return LabelFor(kWindRunLabels, m_choice.wind);
}

QString Units::tempLabel() const
{
    return LabelFor(kTempLabels, m_choice.temperature);
}

QString Units::pressLabel() const
{
    return LabelFor(kPressLabels, m_choice.pressure);
}

QString Units::rainLabel() const
{
    return LabelFor(kRainLabels, m_choice.rain);
}

QString Units::tempRateLabel() const
{
    return RateLabel(tempLabel());
}

QString Units::pressRateLabel() const
{
    return RateLabel(pressLabel());
}

QString Units::rainRateLabel() const
{
    return RateLabel(rainLabel());
}

float Units::WindMSToUser(float windMs) const
{
    return ScaleWind(windMs, m_choice.wind, kWindMsToUser);
}

float Units::RainMMToUser(float rainMm) const
{
    return IsInches(m_choice) ? Scale(rainMm, kInchesPerMm) : rainMm;
}

float Units::TempCToUser(float tempC) const
{
    return IsFahrenheit(m_choice) ? static_cast<float>(tempC * 1.8 + 32.0) : tempC;
}

float Units::PressMBToUser(float pressureMb) const
{
    return IsInHg(m_choice) ? Scale(pressureMb, kInHgPerMb) : pressureMb;
}

float Units::UserWindToMPH(float wind) const
{
    return ScaleWind(wind, m_choice.wind, kUserWindToMph);
}

float Units::UserWindToKPH(float wind) const
{
    return ScaleWind(wind, m_choice.wind, kUserWindToKph);
}

float Units::UserTempToC(float temp) const
{
    return IsFahrenheit(m_choice) ? static_cast<float>((temp - 32.0) / 1.8) : temp;
}

float Units::UserTempToF(float temp) const
{
    return IsFahrenheit(m_choice) ? temp : static_cast<float>(temp * 1.8 + 32.0);
}

float Units::UserRainToInches(float rain) const
{
    return IsInches(m_choice) ? rain : Scale(rain, kInchesPerMm);
}

float Units::UserPressToInHg(float pressure) const
{
    return IsInHg(m_choice) ? pressure : Scale(pressure, kInHgPerMb);
}

float Units::PressureInMB(float pressure) const
{
    return IsInHg(m_choice) ? static_cast<float>(pressure / kInHgPerMb) : pressure;
}

QString Units::FormatWind(float wind) const
{
    return FormatSignificant(wind, 3, m_windDecimals, m_regional.decimalSeparator);
}

QString Units::FormatTemp(float temp) const
{
    return FormatSignificant(temp, 4, m_tempDecimals, m_regional.decimalSeparator);
}

QString Units::FormatPress(float pressure) const
{
    return FormatSignificant(pressure, 6, m_pressDecimals, m_regional.decimalSeparator);
}

QString Units::FormatRain(float rain) const
{
    return FormatSignificant(rain, 5, m_rainDecimals, m_regional.decimalSeparator);
}

QString Units::FormatET(float evapotranspiration) const
{
    return FormatSignificant(evapotranspiration, 5, m_rainDecimals + 1, m_regional.decimalSeparator);
}

QString Units::FormatUV(float uvIndex) const
{
    return FormatSignificant(uvIndex, 3, 1, m_regional.decimalSeparator);
}

QString Units::FormatVolts(float volts) const
{
    return FormatSignificant(volts, 3, 2, m_regional.decimalSeparator);
}

QString Units::FormatWindRun(float windRun) const
{
    return FormatSignificant(windRun, 5, 1, m_regional.decimalSeparator);
}

float CalibrateTemperature(float value, float mult, float offset)
{
    return value * mult + offset;
}

int CalibrateHumidity(int raw, bool humidity98Fix, float mult, int offset)
{
    const int fixed = (humidity98Fix && raw == 98) ? 100 : raw;
    const double calibrated = static_cast<double>(fixed) * mult + offset;
    if (!std::isfinite(calibrated))
        return calibrated > 0 ? 100 : 0;
    // A multiplier typed as 0.9 is stored as 0.899999976, which would cut
    // 50 % down to 44; a nudge far below a whole percent keeps 45 while
    // 49.5 still cuts to 49.
    constexpr double kBinaryNoise = 1e-4;
    const double cut = std::trunc(calibrated + std::copysign(kBinaryNoise, calibrated));
    return static_cast<int>(std::clamp(cut, 0.0, 100.0));
}

int CalibrateBearing(int stationBearing, int offset)
{
    // Summed wide so a corrupt reading cannot overflow.
    std::int64_t bearing = (static_cast<std::int64_t>(stationBearing) + offset) % 360;
    if (bearing < 0)
        bearing += 360;
    return bearing == 0 ? 360 : static_cast<int>(bearing);
}

}  // namespace brezmor
