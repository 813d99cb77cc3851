#pragma once

#include <functional>

namespace brezmor {

class DataLog;
class DayRollover;
class GraphData;
class WeatherCore;

// The work of the minute and hour clock: the day rollover at the rollover
// hour; each minute today's average temperature, the trend samples and
// trends, the graph points, the wind run and, at the data-log interval, the
// data-log line.
class TimedWork {
public:
    TimedWork(WeatherCore& core, DataLog& dataLog, DayRollover& rollover, GraphData& graphs);

    // Set once the station has started; until then no station work is done.
    void setStationStarted(bool started) { m_stationStarted = started; }
    [[nodiscard]] bool stationStarted() const { return m_stationStarted; }

    // Runs at the end of every minute, station or not (the xAP broadcasts).
    void setEveryMinuteHook(std::function<void()> hook) { m_everyMinute = std::move(hook); }

    void ClockHoursChanged(int hour);
    void ClockMinutesChanged(int minute);

    // The hour at which the day rolls over now: 0 for midnight; with a 9 am
    // day, 9 in standard time and 10 while daylight-saving time is in force.
    [[nodiscard]] int rolloverHourNow() const;

    // Minutes between data-log lines for a [Station] DataLogInterval index.
    [[nodiscard]] static int dataLogMinutes(int intervalIndex);

private:
    template <typename Plot>
    void plotGuarded(const Plot& plot);
    void addGraphPoints();
    void addSmallGraphPoints();

    WeatherCore& m_core;
    DataLog& m_dataLog;
    DayRollover& m_rollover;
    GraphData& m_graphs;
    bool m_stationStarted = false;
    std::function<void()> m_everyMinute;
};

}  // namespace brezmor
