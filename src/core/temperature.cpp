#include "core/weather_core.h"

#include "core/meteo.h"
#include "core/text_format.h"
#include "settings/settings.h"

#include <cmath>

namespace brezmor {

bool WeatherCore::isFahrenheit() const
{
    return m_units.choice().temperature == static_cast<int>(TempUnit::Fahrenheit);
}

void WeatherCore::DoOutsideTemp(float temperature, TDateTime time)
{
    const float t =
        CalibrateTemperature(temperature, m_settings.single(Setting::TempMult), m_settings.single(Setting::TempOffset));
    m_conditions.outdoorTemp = t;
    m_conditions.noOutdoorTempYet = false;
    m_display.show(Display::OutdoorTemp, [&] { return m_units.FormatTemp(t); });

    if (beatsHigh(t, m_records.record(HighTempRecord).value))
        m_records.NewRecord(HighTempRecord, time, t);
    m_alarms.CheckAlarm(AlarmId::HighTemp, t);
    if (beatsLow(t, m_records.record(LowTempRecord).value))
        m_records.NewRecord(LowTempRecord, time, t);
    m_alarms.CheckAlarm(AlarmId::LowTemp, t);

    updateTodayTemperature(t, time);
    computeDerivedFromTemperature(t);
    m_conditions.outdoorTempReceived = true;
}

void WeatherCore::updateTodayTemperature(float temp, TDateTime time)
{
    TodayExtremes& today = m_conditions.today;
    if (beatsHigh(temp, today.highTemp))
        setTodayExtreme(today.highTemp, today.highTempTime, temp, time, Display::TodayHighTemp,
                        Display::TodayHighTempTime, &Units::FormatTemp);
    if (beatsLow(temp, today.lowTemp))
        setTodayExtreme(today.lowTemp, today.lowTempTime, temp, time, Display::TodayLowTemp, Display::TodayLowTempTime,
                        &Units::FormatTemp);
}

void WeatherCore::computeDerivedFromTemperature(float temp)
{
    const int humidity = m_conditions.outdoorHumidity;
    // Humidity 0 means none has arrived yet: the dew point stays as it was.
    if (m_settings.boolean(Setting::CalculatedDP) && humidity != 0) {
        const double dewPointC = DewPointC(m_units.UserTempToC(temp), humidity);
        m_conditions.dewPoint = isFahrenheit() ? dewPointC * 1.8 + 32.0 : dewPointC;
        m_display.show(Display::DewPoint, [&] { return m_units.FormatTemp(static_cast<float>(m_conditions.dewPoint)); });
    }

    const float tempF = m_units.UserTempToF(temp);
    const float dewPointF = m_units.UserTempToF(static_cast<float>(m_conditions.dewPoint));
    const HeightUnit heightUnit = m_settings.boolean(Setting::AltitudeInFeet) ? HeightUnit::Feet : HeightUnit::Metres;
    m_conditions.cloudBase = CloudBase(tempF, dewPointF, heightUnit);
    m_display.show(Display::CloudBase, [&] { return QString::number(m_conditions.cloudBase); });

    const double heatIndexF = HeatIndexF(tempF, humidity);
    m_conditions.heatIndex = static_cast<float>(isFahrenheit() ? heatIndexF : (heatIndexF - 32.0) / 1.8);
    m_display.show(Display::HeatIndex, [&] { return m_units.FormatTemp(m_conditions.heatIndex); });
}

void WeatherCore::DoOutsideHumidity(int humidity)
{
    m_conditions.outdoorHumidity =
        CalibrateHumidity(humidity, m_settings.boolean(Setting::Humidity98Fix), m_settings.single(Setting::HumMult),
                          m_settings.integer(Setting::HumOffset));
    m_display.show(Display::OutdoorHumidity, [&] { return QString::number(m_conditions.outdoorHumidity); });
}

void WeatherCore::DoOutsideDewpoint(float dewpoint)
{
    if (m_settings.boolean(Setting::CalculatedDP))
        return;
    m_conditions.dewPoint = dewpoint;
    m_display.show(Display::DewPoint, [&] { return m_units.FormatTemp(dewpoint); });
}

void WeatherCore::DoWindChill(float chill, TDateTime time)
{
    const float windChill =
        m_settings.boolean(Setting::CalculatedWC)
            ? m_units.TempCToUser(WindChillC(m_units.UserTempToC(m_conditions.outdoorTemp),
                                             m_units.UserWindToKPH(m_conditions.windAverage)))
            : chill;
    m_conditions.windChill = windChill;
    m_display.show(Display::WindChill, [&] { return m_units.FormatTemp(windChill); });

    if (beatsLow(windChill, m_records.record(LowWindChillRecord).value))
        m_records.NewRecord(LowWindChillRecord, time, windChill);
}

void WeatherCore::addTemperatureSample()
{
    // A reading spoilt by a non-finite calibration setting would spoil the
    // whole day's average.
    if (!m_conditions.noOutdoorTempYet && std::isfinite(m_conditions.outdoorTemp)) {
        ++m_conditions.tempSamples;
        m_conditions.tempTotal += m_conditions.outdoorTemp;
    }
    if (m_conditions.tempSamples > 0) {
        m_display.show(Display::AverageTemp, [&] {
            return m_units.FormatTemp(m_conditions.tempTotal / static_cast<float>(m_conditions.tempSamples));
        });
    }
}

}  // namespace brezmor
