#include "core/trends.h"

namespace brezmor {
namespace {

// Moments are day fractions: a sample taken exactly an hour before now may
// come out a hair earlier than now - 1 hour. Only a sample older by more
// than a millisecond has left the window.
constexpr TDateTime kTolerance = 0.001 / kSecondsPerDay;

template <typename List>
void TrimOlderThan(List& list, TDateTime limit)
{
    while (!list.empty() && list.front().time < limit - kTolerance)
        list.pop_front();
}

}  // namespace

void TrendSamples::AddLastHourSample(TDateTime time, float rainCounter)
{
    m_lastHour.push_back({time, rainCounter});
}

void TrendSamples::TrimLastHour(TDateTime now)
{
    TrimOlderThan(m_lastHour, now - kOneHour);
}

void TrendSamples::AddLast3HourSample(TDateTime time, float temperature, float pressure)
{
    m_last3Hours.push_back({time, pressure, temperature});
}

void TrendSamples::TrimLast3Hours(TDateTime now)
{
    TrimOlderThan(m_last3Hours, now - 3.0 * kOneHour);
}

}  // namespace brezmor
