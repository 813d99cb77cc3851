#pragma once

#include "platform/datetime.h"

#include <array>
#include <deque>

namespace brezmor {

// A point of a chart series.
struct GraphPoint {
    TDateTime time = 0.0;
    float value = 0.0f;
};

// A chart series over time, trimmed as points are added.
class GraphSeries {
public:
    // Adds the point, then drops leading points older than `cutOff`.
    void addAndTrim(TDateTime time, float value, TDateTime cutOff);
    // Adds the point, then drops the first points while more than `maxPoints` remain.
    void addAndLimit(TDateTime time, float value, std::size_t maxPoints);
    void clear() { m_points.clear(); }

    [[nodiscard]] const std::deque<GraphPoint>& points() const { return m_points; }
    [[nodiscard]] float largest() const;
    [[nodiscard]] float smallest() const;

private:
    std::deque<GraphPoint> m_points;
};

// Every series the minute clock and the day rollover feed; the graphs window
// shows them. Large charts keep GraphHours of minute points, small charts a
// point every ten minutes, daily charts the last 31 days.
enum class Chart {
    WindGust, WindSpeed, WindBearing, WindAverageBearing, RainRate, RainToday, Temperature, DewPoint,
    IndoorTemp, IndoorHumidity, OutdoorHumidity, Pressure,
    SmallWind, SmallWindBearing, SmallRainRate, SmallRainToday, SmallTemperature, SmallIndoorTemp,
    SmallPressure, SmallIndoorHumidity, SmallOutdoorHumidity,
    DailyMinTemp, DailyMaxTemp, DailyAverageTemp, DailyRain,
    SmallDailyMinTemp, SmallDailyMaxTemp, SmallDailyAverageTemp, SmallDailyRain,
};
inline constexpr int kChartCount = static_cast<int>(Chart::SmallDailyRain) + 1;

class GraphData {
public:
    static constexpr std::size_t kDailyPoints = 31;

    [[nodiscard]] GraphSeries& series(Chart chart) { return m_series[static_cast<int>(chart)]; }
    [[nodiscard]] const GraphSeries& series(Chart chart) const { return m_series[static_cast<int>(chart)]; }

    // A finished day on the daily charts of both sizes.
    void addDay(TDateTime date, float lowTemp, float highTemp, float averageTemp, float rain);

private:
    std::array<GraphSeries, kChartCount> m_series;
};

}  // namespace brezmor
