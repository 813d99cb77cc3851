#pragma once

#include <QString>
#include <QStringView>

namespace brezmor {

// Which way the pressure is going, as the forecaster reads it.
enum class PressureTendency { Steady = 0, Rising = 1, Falling = 2 };

enum class Hemisphere { Northern, Southern };

// The tendency of a pressure trend per hour in the configured unit: steady
// within ±0.1 (both included), else rising or falling. The trend is a single
// rounded to the pressure decimals, so the limits are compared as singles: a
// stored 0.1 is steady. A trend that is not a number says nothing, so it is
// steady.
[[nodiscard]] PressureTendency TendencyOfTrend(float trendPerHour);

// The program's own pressure-trend text for a three-hour change in mb, from
// "Rising very rapidly" to "Falling very rapidly". A change must go beyond a
// limit (0.1, 1.5, 3.5, 6) in either direction to take the stronger text, so
// +0.1 and -0.1 are "Steady" and -6.0 is "Falling quickly". The change is
// built from singles (trend per hour x 3, maybe converted from inches), so it
// is taken to 0.0001 mb before the limits are compared: three times a stored
// 0.0333333 is the 0.1 that means "Steady". A change that is not a number is
// "Steady".
[[nodiscard]] QString PressureTendencyText(double threeHourChangeMb);

// The pressure-and-wind forecaster: one of its 26 texts for the month
// (1-12), the wind's compass point ("calm" or any other text makes no wind
// adjustment), the tendency, the low and high ends of the pressure range and
// the sea-level pressure, all in mb. Positions outside the range carry the
// prefix "Exceptional Weather, " and take the nearest end of the tables; a
// range of zero puts every pressure below it. A pressure or range that is not
// a number gives "Not available", the text of no forecast.
[[nodiscard]] QString ZambrettiForecast(int month, QStringView windText, PressureTendency trend, double lowMb,
                                        double highMb, Hemisphere hemisphere, double pressureMb);

}  // namespace brezmor
