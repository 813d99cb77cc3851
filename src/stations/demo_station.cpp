#include "stations/demo_station.h"

#include "core/weather_core.h"
#include "platform/clock.h"
#include "settings/settings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace brezmor {

DemoStation::DemoStation(WeatherCore& core, const Clock& clock, unsigned seed)
    : m_core(core), m_clock(clock), m_random(seed)
{
    m_timer.setInterval(10'000);
    connect(&m_timer, &QTimer::timeout, this, &DemoStation::readOnce);
}

void DemoStation::start()
{
    readOnce();
    m_timer.start();
}

void DemoStation::stop()
{
    m_timer.stop();
}

void DemoStation::readOnce()
{
    std::normal_distribution<double> noise(0.0, 1.0);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    const TDateTime now = m_clock.now();
    const double hourOfDay = MinuteOfDay(now) / 60.0;
    const Units& units = m_core.units();

    // Warmest mid-afternoon, coolest before dawn.
    const double tempC = 9.0 + 6.0 * std::sin(2.0 * std::numbers::pi * (hourOfDay - 9.0) / 24.0) + 0.2 * noise(m_random);
    const int humidity = std::clamp(static_cast<int>(std::lround(75.0 - 2.5 * (tempC - 9.0) + noise(m_random))), 20, 99);
    m_pressureHpa = std::clamp(m_pressureHpa + 0.02 * noise(m_random), 980.0, 1040.0);
    m_windMs = std::clamp(m_windMs + 0.3 * noise(m_random), 0.0, 15.0);
    m_bearing = ((m_bearing + static_cast<int>(std::lround(8.0 * noise(m_random)))) % 360 + 360) % 360;
    const double gustMs = m_windMs * (1.0 + 0.3 * std::abs(noise(m_random)));
    if (m_showerCycles == 0 && chance(m_random) < 0.002)
        m_showerCycles = 90;
    double rateMmHr = 0.0;
    if (m_showerCycles > 0) {
        --m_showerCycles;
        rateMmHr = 2.0 + 4.0 * chance(m_random);
        m_rainMm += rateMmHr / 360.0;
    }

    WeatherCore& core = m_core;
    core.DoInsideHumidity(45);
    core.DoOutsideHumidity(humidity);
    core.DoOutsideTemp(units.TempCToUser(static_cast<float>(tempC)), now);
    core.DoWind(m_bearing == 0 ? 360 : m_bearing, units.WindMSToUser(static_cast<float>(gustMs)),
                units.WindMSToUser(static_cast<float>(m_windMs)), now);
    // Wind chill is calculated from temperature and wind (CalculatedWC).
    core.DoWindChill(0.0f, now);
    // The rain gauge counts in tenths of a millimetre, as real gauges do.
    core.DoRain(units.RainMMToUser(static_cast<float>(std::floor(m_rainMm * 10.0) / 10.0)),
                units.RainMMToUser(static_cast<float>(rateMmHr)), now);
    core.DoInsideTemp(units.TempCToUser(20.5f));
    core.DoPressure(units.PressMBToUser(static_cast<float>(m_pressureHpa)), now);
    core.PressureTrendText();
    core.DoStatusPanel();
}

void PrepareDemoSettings(Settings& settings)
{
    if (settings.integer(Setting::Type) != -1)
        return;
    settings.setInteger(Setting::DataLogInterval, 0);
    settings.setText(Setting::LocName, QStringLiteral("Brezmor demo station"));
    settings.setBoolean(Setting::CalculatedDP, true);
    settings.setBoolean(Setting::CalculatedWC, true);
    settings.setBoolean(Setting::Wind10MinAverage, true);
    settings.setBoolean(Setting::ConfirmClose, false);
}

}  // namespace brezmor
