#include "core/forecast.h"

#include <array>
#include <cmath>
#include <limits>

namespace brezmor {
namespace {

constexpr std::array<const char16_t*, 26> kForecastTexts = {
    u"Settled fine",
    u"Fine weather",
    u"Becoming fine",
    u"Fine, becoming less settled",
    u"Fine, possible showers",
    u"Fairly fine, improving",
    u"Fairly fine, possible showers early",
    u"Fairly fine, showery later",
    u"Showery early, improving",
    u"Changeable, mending",
    u"Fairly fine, showers likely",
    u"Rather unsettled clearing later",
    u"Unsettled, probably improving",
    u"Showery, bright intervals",
    u"Showery, becoming less settled",
    u"Changeable, some precipitation",
    u"Unsettled, short fine intervals",
    u"Unsettled, precipitation later",
    u"Unsettled, some precipitation",
    u"Mostly very unsettled",
    u"Occasional precipitation, worsening",
    u"Precipitation at times, very unsettled",
    u"Precipitation at frequent intervals",
    u"Precipitation, very unsettled",
    u"Stormy, may improve",
    u"Stormy, much precipitation",
};

constexpr int kSteps = 22;
using TextIndices = std::array<int, kSteps>;

// Indexed by PressureTendency: steady, rising, falling.
constexpr std::array<TextIndices, 3> kTextIndex = {{
    {25, 25, 25, 25, 25, 25, 23, 23, 22, 18, 15, 13, 10, 4, 1, 1, 0, 0, 0, 0, 0, 0},
    {25, 25, 25, 24, 24, 19, 16, 12, 11, 9, 8, 6, 5, 2, 1, 1, 0, 0, 0, 0, 0, 0},
    {25, 25, 25, 25, 25, 25, 25, 25, 23, 23, 21, 20, 17, 14, 7, 3, 1, 1, 1, 0, 0, 0},
}};

constexpr std::array<const char16_t*, 16> kCompassPoints = {
    u"N", u"NNE", u"NE", u"ENE", u"E", u"ESE", u"SE", u"SSE",
    u"S", u"SSW", u"SW", u"WSW", u"W", u"WNW", u"NW", u"NNW"};

// Fraction of the range added for the wind from each compass point, north
// first, in the northern hemisphere. South of the equator the weather comes
// round the other way, so each fraction belongs to the opposite point.
constexpr std::array<double, 16> kWindFraction = {
    0.06, 0.05, 0.05, 0.02, -0.005, -0.02, -0.05, -0.085,
    -0.12, -0.10, -0.06, -0.045, -0.03, -0.005, 0.015, 0.03};

constexpr double kSeasonFraction = 0.07;

double WindFraction(QStringView windText, Hemisphere hemisphere)
{
    const std::size_t halfTurn = hemisphere == Hemisphere::Southern ? kCompassPoints.size() / 2 : 0;
    for (std::size_t i = 0; i < kCompassPoints.size(); ++i) {
        if (windText == QStringView(kCompassPoints[i]))
            return kWindFraction[(i + halfTurn) % kCompassPoints.size()];
    }
    return 0.0;
}

bool IsSummer(int month, Hemisphere hemisphere)
{
    const bool aprilToSeptember = month >= 4 && month <= 9;
    if (hemisphere == Hemisphere::Northern)
        return aprilToSeptember;
    return month >= 1 && month <= 12 && !aprilToSeptember;
}

double SeasonAdjustment(int month, Hemisphere hemisphere, PressureTendency trend, double range)
{
    if (!IsSummer(month, hemisphere))
        return 0.0;
    switch (trend) {
    case PressureTendency::Rising:
        return kSeasonFraction * range;
    case PressureTendency::Falling:
        return -kSeasonFraction * range;
    case PressureTendency::Steady:
        break;
    }
    return 0.0;
}

}  // namespace

PressureTendency TendencyOfTrend(float trendPerHour)
{
    if (trendPerHour > 0.1f)
        return PressureTendency::Rising;
    if (trendPerHour < -0.1f)
        return PressureTendency::Falling;
    return PressureTendency::Steady;
}

QString PressureTendencyText(double threeHourChangeMb)
{
    if (std::isnan(threeHourChangeMb))
        return QStringLiteral("Steady");
    const double x = std::round(threeHourChangeMb * 1e4) / 1e4;
    if (x > 6.0)
        return QStringLiteral("Rising very rapidly");
    if (x > 3.5)
        return QStringLiteral("Rising quickly");
    if (x > 1.5)
        return QStringLiteral("Rising");
    if (x > 0.1)
        return QStringLiteral("Rising slowly");
    // Falling mirrors rising: a limit reached exactly keeps the milder text,
    // so -6.0 is "Falling quickly" as +6.0 is "Rising quickly".
    if (x < -6.0)
        return QStringLiteral("Falling very rapidly");
    if (x < -3.5)
        return QStringLiteral("Falling quickly");
    if (x < -1.5)
        return QStringLiteral("Falling");
    if (x < -0.1)
        return QStringLiteral("Falling slowly");
    return QStringLiteral("Steady");
}

QString ZambrettiForecast(int month, QStringView windText, PressureTendency trend, double lowMb, double highMb,
                          Hemisphere hemisphere, double pressureMb)
{
    const double range = highMb - lowMb;
    const double step = range / kSteps;

    double adjusted = pressureMb + WindFraction(windText, hemisphere) * range
                      + SeasonAdjustment(month, hemisphere, trend, range);
    if (adjusted >= highMb)
        adjusted = highMb - 1.0;

    // Steps above the low end. With no range at all the pressure, held below
    // the high end just above, is below the low end as well.
    const double offset = adjusted - lowMb;
    const double position = step != 0.0 ? offset / step : offset * std::numeric_limits<double>::infinity();
    if (std::isnan(position))
        return QStringLiteral("Not available");

    QString text;
    int z = 0;
    if (position < 0.0) {
        text = QStringLiteral("Exceptional Weather, ");
    } else if (position >= kSteps) {
        text = QStringLiteral("Exceptional Weather, ");
        z = kSteps - 1;
    } else {
        z = static_cast<int>(std::floor(position));
    }
    const int index = kTextIndex[static_cast<std::size_t>(trend)][static_cast<std::size_t>(z)];
    return text + QString::fromUtf16(kForecastTexts[static_cast<std::size_t>(index)]);
}

}  // namespace brezmor
