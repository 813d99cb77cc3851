#include "alarms/alarms.h"

#include "settings/settings.h"

#include <vector>

namespace brezmor {
namespace {

int Number(AlarmId alarm)
{
    return static_cast<int>(alarm);
}

std::vector<AlarmId> AcknowledgedBy(AlarmCaption caption)
{
    switch (caption) {
    case AlarmCaption::Temp:
        return {AlarmId::LowTemp, AlarmId::HighTemp};
    case AlarmCaption::Pressure:
        return {AlarmId::LowPress, AlarmId::HighPress};
    case AlarmCaption::RainToday:
        return {AlarmId::HighRainToday};
    case AlarmCaption::RainRate:
        return {AlarmId::HighRainRate};
    case AlarmCaption::Gust:
        return {AlarmId::HighGust};
    case AlarmCaption::Wind:
        return {AlarmId::HighWind};
    }
    return {};
}

}  // namespace

AlarmState CheckAlarm(bool enabled, AlarmDirection direction, AlarmState state, float threshold, float reading)
{
    if (!enabled)
        return state;
    const bool beyond = direction == AlarmDirection::High ? reading > threshold : reading < threshold;
    const bool back = direction == AlarmDirection::High ? reading < threshold : reading > threshold;
    if (state == AlarmState::Raised)
        return back ? AlarmState::Cleared : state;
    return beyond ? AlarmState::Raised : state;
}

Alarms::Alarms(const Settings& settings) : m_settings(settings) {}

AlarmDirection Alarms::direction(AlarmId alarm)
{
    const bool low = alarm == AlarmId::LowTemp || alarm == AlarmId::LowPress;
    return low ? AlarmDirection::Low : AlarmDirection::High;
}

void Alarms::CheckAlarm(AlarmId alarm, float reading)
{
    const int n = Number(alarm);
    const AlarmState before = m_states[n];
    // Read at every check: the dialog may have changed them since the last reading.
    const AlarmState after = brezmor::CheckAlarm(m_settings.boolean(alarmSet(n)), direction(alarm), before,
                                                 m_settings.single(alarmThreshold(n)), reading);
    if (after == before)
        return;
    setState(alarm, after, after == AlarmState::Raised && m_settings.boolean(alarmSound(n)));
}

void Alarms::acknowledge(AlarmCaption caption)
{
    for (const AlarmId alarm : AcknowledgedBy(caption))
        setState(alarm, AlarmState::Idle, false);
}

void Alarms::setState(AlarmId alarm, AlarmState state, bool playSound)
{
    m_states[Number(alarm)] = state;
    AlarmEvent event{alarm, state, playSound, QString()};
    if (playSound)
        event.soundFile = m_settings.text(alarmSoundFile(Number(alarm)));
    for (const Observer& observer : m_observers)
        observer(event);
}

}  // namespace brezmor
