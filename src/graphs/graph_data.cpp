#include "graphs/graph_data.h"

#include <algorithm>

namespace brezmor {

void GraphSeries::addAndTrim(TDateTime time, float value, TDateTime cutOff)
{
    // Moments are sums of day fractions: a point exactly at the cut-off may
    // land a hair before it, and must stay.
    constexpr TDateTime kTolerance = 0.5 / kSecondsPerDay;
    m_points.push_back({time, value});
    while (!m_points.empty() && m_points.front().time < cutOff - kTolerance)
        m_points.pop_front();
}

void GraphSeries::addAndLimit(TDateTime time, float value, std::size_t maxPoints)
{
    m_points.push_back({time, value});
    while (m_points.size() > maxPoints)
        m_points.pop_front();
}

float GraphSeries::largest() const
{
    float result = 0.0f;
    for (std::size_t i = 0; i < m_points.size(); ++i)
        result = i == 0 ? m_points[i].value : std::max(result, m_points[i].value);
    return result;
}

float GraphSeries::smallest() const
{
    float result = 0.0f;
    for (std::size_t i = 0; i < m_points.size(); ++i)
        result = i == 0 ? m_points[i].value : std::min(result, m_points[i].value);
    return result;
}

void GraphData::addDay(TDateTime date, float lowTemp, float highTemp, float averageTemp, float rain)
{
    const auto add = [&](Chart chart, float value) { series(chart).addAndLimit(date, value, kDailyPoints); };
    add(Chart::DailyMinTemp, lowTemp);
    add(Chart::DailyMaxTemp, highTemp);
    add(Chart::DailyAverageTemp, averageTemp);
    add(Chart::DailyRain, rain);
    add(Chart::SmallDailyMinTemp, lowTemp);
    add(Chart::SmallDailyMaxTemp, highTemp);
    add(Chart::SmallDailyAverageTemp, averageTemp);
    add(Chart::SmallDailyRain, rain);
}

}  // namespace brezmor
