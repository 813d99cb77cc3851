#include "core/weather_core.h"

#include "core/diagnostics.h"
#include "core/text_format.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "settings/settings.h"

#include <QDir>

namespace brezmor {

WeatherCore::WeatherCore(Settings& settings, const Clock& clock, const RegionalSettings& regional,
                         Diagnostics& diagnostics, QString dataFolder)
    : m_settings(settings),
      m_clock(clock),
      m_regional(regional),
      m_diagnostics(diagnostics),
      m_units(UnitChoice{}, regional),
      m_records(QDir(dataFolder).filePath(QStringLiteral("alltime.rec")), clock, diagnostics),
      m_alarms(settings),
      m_todayFiles(dataFolder, clock, regional, diagnostics)
{
    applyUnitSettings();
}

void WeatherCore::applyUnitSettings()
{
    m_units = Units(UnitChoice{m_settings.integer(Setting::WindUnit), m_settings.integer(Setting::TempUnit),
                               m_settings.integer(Setting::PressureUnit), m_settings.integer(Setting::RainUnit),
                               m_settings.integer(Setting::Type)},
                    m_regional);
    m_todayFiles.setRolloverHour(m_settings.integer(Setting::RolloverHour));
}

void WeatherCore::DoInsideHumidity(int humidity)
{
    m_conditions.indoorHumidity = humidity;
    m_display.show(Display::IndoorHumidity, [&] { return QString::number(humidity); });
}

void WeatherCore::DoInsideTemp(float temperature)
{
    m_conditions.indoorTemp = temperature;
    m_display.show(Display::IndoorTemp, [&] { return m_units.FormatTemp(temperature); });
    m_conditions.indoorTempReceived = true;
}

void WeatherCore::DoConsoleBattery(float volts)
{
    m_conditions.consoleBatteryVolts = volts;
    m_display.show(Display::ConsoleBattery, [&] { return m_units.FormatVolts(volts) + u'v'; });
}

void WeatherCore::DoTransmitterBattery(const QString& text)
{
    m_conditions.transmitterBattery = text;
    m_display.show(Display::TransmitterBattery, [&] { return text; });
}

void WeatherCore::DoET(float value)
{
    m_conditions.evapotranspiration = value;
    m_display.show(Display::Evapotranspiration, [&] { return m_units.FormatET(value); });
}

void WeatherCore::DoUV(float value)
{
    m_conditions.uvIndex = value;
    m_display.show(Display::UvIndex, [&] { return m_units.FormatUV(value); });
}

void WeatherCore::DoSolarRad(int value)
{
    m_conditions.solarRadiation = value;
    m_display.show(Display::SolarRadiation, [&] { return QString::number(value); });
}

void WeatherCore::DoStatusPanel()
{
    m_display.show(Display::StatusPanel, [&] {
        return QStringLiteral("Last data read at ") + FormatDateTime(u"hh:nn:ss", m_clock.now(), m_regional)
               + QStringLiteral("        ");
    });
}

void WeatherCore::setTodayExtreme(float& extreme, QString& extremeTime, float reading, TDateTime time, Display field,
                                  Display timeField, QString (Units::*format)(float) const)
{
    extreme = reading;
    extremeTime = FormatTimeHM(time, m_regional);
    m_display.show(field, [&] { return (m_units.*format)(reading); });
    m_display.show(timeField, [&] { return extremeTime; });
    WriteTodayfile();
}

void WeatherCore::showTodayExtremes() const
{
    if (!m_display.watched())
        return;
    const TodayExtremes& t = m_conditions.today;
    const auto text = [this](Display field, const QString& value) { m_display.show(field, [&] { return value; }); };
    text(Display::TodayHighGust, m_units.FormatWind(t.highGust));
    text(Display::TodayHighGustTime, t.highGustTime);
    text(Display::TodayHighGustBearing, QString::number(t.highGustBearing));
    text(Display::TodayHighGustCompass, CompassPoint(t.highGustBearing));
    text(Display::TodayHighWind, m_units.FormatWind(t.highWind));
    text(Display::TodayHighWindTime, t.highWindTime);
    text(Display::TodayHighTemp, m_units.FormatTemp(t.highTemp));
    text(Display::TodayHighTempTime, t.highTempTime);
    text(Display::TodayLowTemp, m_units.FormatTemp(t.lowTemp));
    text(Display::TodayLowTempTime, t.lowTempTime);
    text(Display::TodayHighPressure, m_units.FormatPress(t.highPressure));
    text(Display::TodayHighPressureTime, t.highPressureTime);
    text(Display::TodayLowPressure, m_units.FormatPress(t.lowPressure));
    text(Display::TodayLowPressureTime, t.lowPressureTime);
    text(Display::TodayHighRainRate, m_units.FormatRain(t.highRainRate));
    text(Display::TodayHighRainRateTime, t.highRainRateTime);
    text(Display::WindRunToday, m_units.FormatWindRun(m_conditions.windRunToday));
}

}  // namespace brezmor
