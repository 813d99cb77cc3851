#pragma once

#include "platform/datetime.h"

#include <deque>

namespace brezmor {

// One sample of the last-hour list: the station's raw rain counter, -1 when
// the sample has none.
struct TLastHourData {
    TDateTime time = 0.0;
    float rainCounter = -1.0f;
};

// One sample of the last-three-hours list.
struct TLast3HourData {
    TDateTime time = 0.0;
    float pressure = 0.0f;
    float temperature = 0.0f;
};

// The two short sample lists behind the trends, oldest first. The minute
// clock adds one sample a minute; start-up rebuilds them from the data logs.
class TrendSamples {
public:
    void AddLastHourSample(TDateTime time, float rainCounter);
    void TrimLastHour(TDateTime now);
    void AddLast3HourSample(TDateTime time, float temperature, float pressure);
    void TrimLast3Hours(TDateTime now);

    [[nodiscard]] const std::deque<TLastHourData>& lastHour() const { return m_lastHour; }
    [[nodiscard]] const std::deque<TLast3HourData>& last3Hours() const { return m_last3Hours; }

private:
    std::deque<TLastHourData> m_lastHour;
    std::deque<TLast3HourData> m_last3Hours;
};

}  // namespace brezmor
