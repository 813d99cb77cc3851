#include "stations/demo_station.h"

#include "core/forecast.h"
#include "core/messages.h"
#include "platform/clock.h"
#include "settings/settings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace brezmor {

DemoStation::DemoStation(ThreadToVCL& buffer, Units units, const Clock& clock, unsigned seed)
    : m_buffer(buffer),
      m_units(std::move(units)),
      m_clock(clock),
      m_random(seed),
      m_thread("demostation", std::chrono::seconds(10))
{
}

void DemoStation::start()
{
    m_thread.start([this](const std::stop_token&) { readOnce(); }, {});
}

void DemoStation::stop()
{
    m_thread.terminate();
}

void DemoStation::post(const char* kind, float value1, float value2, int intValue, QString text)
{
    m_buffer.post(std::make_unique<TThreadMessage>(
        TThreadMessage{QString::fromLatin1(kind), value1, value2, intValue, std::move(text), m_readingTime}));
}

// The console's own tendency text from the change over the last three hours.
QString DemoStation::pressureTrendText(TDateTime now)
{
    m_pressureHistory.emplace_back(now, m_pressureHpa);
    while (m_pressureHistory.front().first < now - 3 * kOneHour)
        m_pressureHistory.pop_front();
    return PressureTendencyText(m_pressureHpa - m_pressureHistory.front().second);
}

void DemoStation::readOnce()
{
    std::normal_distribution<double> noise(0.0, 1.0);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    m_readingTime = m_clock.now();
    const double hourOfDay = MinuteOfDay(m_readingTime) / 60.0;

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

    post("inhum", 0.0f, 0.0f, 45);
    post("outhum", 0.0f, 0.0f, humidity);
    post("outtemp", m_units.TempCToUser(static_cast<float>(tempC)));
    post("wind", m_units.WindMSToUser(static_cast<float>(gustMs)), m_units.WindMSToUser(static_cast<float>(m_windMs)),
         m_bearing == 0 ? 360 : m_bearing);
    // Wind chill is calculated from temperature and wind (CalculatedWC).
    post("windchill", 0.0f);
    // The rain gauge counts in tenths of a millimetre, as real gauges do.
    post("rain", m_units.RainMMToUser(static_cast<float>(std::floor(m_rainMm * 10.0) / 10.0)),
         m_units.RainMMToUser(static_cast<float>(rateMmHr)));
    post("intemp", m_units.TempCToUser(20.5f));
    post("pressure", m_units.PressMBToUser(static_cast<float>(m_pressureHpa)));
    post("presstrend", 0.0f, 0.0f, 0, pressureTrendText(m_readingTime));
    post("statuspanel", 0.0f);
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
