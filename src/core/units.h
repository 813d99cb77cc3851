#pragma once

#include "platform/regional.h"

#include <QString>

namespace brezmor {

// The codes stored under [Station] in the settings file.
enum class WindUnit { MetresPerSecond, MilesPerHour, KilometresPerHour, Knots };
enum class TempUnit { Celsius, Fahrenheit };
enum class PressureUnit { Millibar, Hectopascal, InchesOfMercury };
enum class RainUnit { Millimetres, Inches };

// The unit codes exactly as read from the settings file. A hand-edited file
// may hold any number, so nothing here is trusted to be in range.
struct UnitChoice {
    int wind = 0;
    int temperature = 0;
    int pressure = 0;
    int rain = 0;
    // Vantage Pro (0) and Vantage Pro2 (1) report pressure finely enough to
    // earn one more displayed decimal.
    int stationType = -1;
};

// The units every stored value, file, page and display uses, chosen once at
// start-up. A plain value: it reads no settings itself, so anything holding a
// copy sees the same units for its whole life.
//
// An unknown wind code turns every wind speed into 0. Any other unknown code
// behaves as the metric unit for conversions and decimals; unknown codes of
// any kind have an empty label, since the text would claim a unit nobody chose.
class Units {
public:
    explicit Units(UnitChoice choice = {}, RegionalSettings regional = {});

    [[nodiscard]] const UnitChoice& choice() const { return m_choice; }
    [[nodiscard]] const RegionalSettings& regional() const { return m_regional; }

    [[nodiscard]] QString windLabel() const;
    [[nodiscard]] QString windRunLabel() const;
    [[nodiscard]] QString tempLabel() const;
    [[nodiscard]] QString pressLabel() const;
    [[nodiscard]] QString rainLabel() const;
    [[nodiscard]] QString tempRateLabel() const;
    [[nodiscard]] QString pressRateLabel() const;
    [[nodiscard]] QString rainRateLabel() const;

    [[nodiscard]] int windDecimals() const { return m_windDecimals; }
    [[nodiscard]] int tempDecimals() const { return m_tempDecimals; }
    [[nodiscard]] int pressDecimals() const { return m_pressDecimals; }
    [[nodiscard]] int rainDecimals() const { return m_rainDecimals; }

    // Metric into the configured unit.
    [[nodiscard]] float WindMSToUser(float windMs) const;
    [[nodiscard]] float RainMMToUser(float rainMm) const;
    [[nodiscard]] float TempCToUser(float tempC) const;
    [[nodiscard]] float PressMBToUser(float pressureMb) const;

    // The configured unit into a fixed one.
    [[nodiscard]] float UserWindToMPH(float wind) const;
    [[nodiscard]] float UserWindToKPH(float wind) const;
    [[nodiscard]] float UserTempToC(float temp) const;
    [[nodiscard]] float UserTempToF(float temp) const;
    [[nodiscard]] float UserRainToInches(float rain) const;
    [[nodiscard]] float UserPressToInHg(float pressure) const;
    [[nodiscard]] float PressureInMB(float pressure) const;

    // Display texts with the regional decimal separator.
    [[nodiscard]] QString FormatWind(float wind) const;
    [[nodiscard]] QString FormatTemp(float temp) const;
    [[nodiscard]] QString FormatPress(float pressure) const;
    [[nodiscard]] QString FormatRain(float rain) const;
    [[nodiscard]] QString FormatET(float evapotranspiration) const;
    [[nodiscard]] QString FormatUV(float uvIndex) const;
    [[nodiscard]] QString FormatVolts(float volts) const;
    [[nodiscard]] QString FormatWindRun(float windRun) const;

private:
    UnitChoice m_choice;
    RegionalSettings m_regional;
    int m_windDecimals;
    int m_tempDecimals;
    int m_pressDecimals;
    int m_rainDecimals;
};

// Calibration as the quantity handlers apply it, before anything is derived
// from the reading.
[[nodiscard]] float CalibrateTemperature(float value, float mult, float offset);

// 98 % is the ceiling some sensors stick at, hence the optional fix before
// the multiplier and offset. The result is cut towards zero, then held
// within 0..100.
[[nodiscard]] int CalibrateHumidity(int raw, bool humidity98Fix, float mult, int offset);

// Into 1..360: north is 360, never 0.
[[nodiscard]] int CalibrateBearing(int stationBearing, int offset);

}  // namespace brezmor
