#pragma once

namespace brezmor {

// Formulas of derived weather values. Each works in the one fixed unit its
// name says; callers convert from and back into the configured units.

// Wind chill, °C, from °C and km/h. The formula is only meaningful below
// 10 °C and above walking pace (4.8 km/h); elsewhere, and wherever it would
// give a chill warmer than the air, the air temperature is the chill.
[[nodiscard]] float WindChillC(float tempC, float windKph);

// hPa over water at a temperature in °C.
[[nodiscard]] double SaturationVapourPressure(double tempC);
[[nodiscard]] double VapourPressure(double humidityPct, double tempC);
// How hot humid air feels, on the °C scale.
[[nodiscard]] double Humidex(double humidityPct, double tempC);

// Dew point, °C, from °C and relative humidity above 0 %.
[[nodiscard]] double DewPointC(double tempC, double humidityPct);

// Heat index, °F. The regression only holds from 68 °F up; below, it is the
// temperature itself.
[[nodiscard]] double HeatIndexF(double tempF, double humidityPct);

enum class HeightUnit { Feet, Metres };

// Height of the cloud base from the spread between temperature and dew
// point (4.4 °F per 1000 ft), cut to whole feet or metres. A spread that
// gives no finite height yields 0; finite heights beyond the int range are
// held at its limits.
[[nodiscard]] int CloudBase(double tempF, double dewPointF, HeightUnit unit);

}  // namespace brezmor
