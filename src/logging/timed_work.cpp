#include "logging/timed_work.h"

#include "core/diagnostics.h"
#include "core/today_files.h"
#include "core/weather_core.h"
#include "graphs/graph_data.h"
#include "logging/data_log.h"
#include "logging/day_rollover.h"
#include "platform/clock.h"
#include "settings/settings.h"

#include <array>
#include <exception>

namespace brezmor {
namespace {

constexpr std::array<int, 6> kDataLogMinutes{1, 5, 10, 15, 20, 30};

}  // namespace

TimedWork::TimedWork(WeatherCore& core, DataLog& dataLog, DayRollover& rollover, GraphData& graphs)
    : m_core(core), m_dataLog(dataLog), m_rollover(rollover), m_graphs(graphs)
{
}

int TimedWork::dataLogMinutes(int intervalIndex)
{
    if (intervalIndex < 0 || intervalIndex >= static_cast<int>(kDataLogMinutes.size()))
        return kDataLogMinutes[2];
    return kDataLogMinutes[intervalIndex];
}

int TimedWork::rolloverHourNow() const
{
    const Clock& clock = m_core.clock();
    return RolloverHourAt(clock.now(), m_core.settings().integer(Setting::RolloverHour), clock);
}

void TimedWork::ClockHoursChanged(int hour)
{
    const TDateTime now = m_core.clock().now();
    DebugLog& debug = m_core.diagnostics().debug;
    if (debug.enabled())
        debug.writeLine(DateTimeLogText(now, m_core.units().regional()) + QStringLiteral(" Hour timer ")
                        + QString::number(hour));
    if (hour == rolloverHourNow())
        m_rollover.DayReset(now);
}

void TimedWork::ClockMinutesChanged(int minute)
{
    const TDateTime now = m_core.clock().now();
    Diagnostics& diagnostics = m_core.diagnostics();
    // The regional date and time text costs more than the rest of a quiet
    // minute, and with the debug log off nobody reads it.
    if (diagnostics.debug.enabled())
        diagnostics.debug.writeLine(DateTimeLogText(now, m_core.units().regional())
                                    + QStringLiteral(" Minute timer ") + QString::number(minute));

    // Until the station has started and a pressure has arrived, no station
    // work is done, and in particular no data-log line is written.
    if (m_stationStarted && m_core.conditions().pressure > 0.0f) {
        m_core.addTemperatureSample();
        m_core.sampleTrends(now);

        addGraphPoints();
        if (minute % 5 == 0)
            diagnostics.debug.flush();
        m_core.addWindRunMinute();
        if (minute % dataLogMinutes(m_core.settings().integer(Setting::DataLogInterval)) == 0)
            m_dataLog.WriteDataLogLine(now);
        if (minute % 10 == 0)
            addSmallGraphPoints();
    }
    if (m_everyMinute)
        m_everyMinute();
}

// Adds the points of one minute to the charts inside the guard the graphs
// have always had: an error costs this step only, never the minute's work.
template <typename Plot>
void TimedWork::plotGuarded(const Plot& plot)
{
    const TDateTime now = m_core.clock().now();
    const TDateTime cutOff = now - m_core.settings().integer(Setting::GraphHours) * kOneHour;
    const auto add = [&](Chart chart, float value) { m_graphs.series(chart).addAndTrim(now, value, cutOff); };
    try {
        plot(m_core.conditions(), add);
    } catch (const std::exception& error) {
        m_core.diagnostics().debug.writeLine(QStringLiteral("Error plotting graphs: ")
                                             + QString::fromLocal8Bit(error.what()));
    }
}

void TimedWork::addGraphPoints()
{
    plotGuarded([this](const CurrentConditions& c, const auto& add) {
        if (c.windReceived) {
            add(Chart::WindGust, m_core.settings().boolean(Setting::PlotLatestGust) ? c.latestWindSpeed : c.windGust);
            add(Chart::WindSpeed, c.windAverage);
            add(Chart::WindBearing, static_cast<float>(c.bearing));
            add(Chart::WindAverageBearing, static_cast<float>(c.averageBearing));
        }
        if (c.rainReceived) {
            add(Chart::RainRate, c.rainRate);
            add(Chart::RainToday, c.rainToday);
        }
        if (c.outdoorTempReceived) {
            add(Chart::Temperature, c.outdoorTemp);
            add(Chart::DewPoint, static_cast<float>(c.dewPoint));
        }
        if (c.indoorTempReceived)
            add(Chart::IndoorTemp, c.indoorTemp);
        add(Chart::IndoorHumidity, static_cast<float>(c.indoorHumidity));
        add(Chart::OutdoorHumidity, static_cast<float>(c.outdoorHumidity));
        if (c.pressureReceived)
            add(Chart::Pressure, c.pressure);
    });
}

void TimedWork::addSmallGraphPoints()
{
    plotGuarded([](const CurrentConditions& c, const auto& add) {
        if (c.windReceived) {
            add(Chart::SmallWind, c.windAverage);
            add(Chart::SmallWindBearing, static_cast<float>(c.bearing));
        }
        if (c.rainReceived) {
            add(Chart::SmallRainRate, c.rainRate);
            add(Chart::SmallRainToday, c.rainToday);
        }
        if (c.outdoorTempReceived)
            add(Chart::SmallTemperature, c.outdoorTemp);
        if (c.indoorTempReceived)
            add(Chart::SmallIndoorTemp, c.indoorTemp);
        if (c.pressureReceived)
            add(Chart::SmallPressure, c.pressure);
        add(Chart::SmallIndoorHumidity, static_cast<float>(c.indoorHumidity));
        add(Chart::SmallOutdoorHumidity, static_cast<float>(c.outdoorHumidity));
    });
}

}  // namespace brezmor
