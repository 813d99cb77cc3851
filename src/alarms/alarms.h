#pragma once

#include "settings/setting_table.h"

#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace brezmor {

class Settings;

// The eight threshold alarms, numbered as the settings number them
// (alarmThreshold(n) and friends), which also supply kAlarmCount.
enum class AlarmId { LowTemp, HighTemp, LowPress, HighPress, HighRainToday, HighRainRate, HighGust, HighWind };

enum class AlarmDirection { High, Low };

// Run-time state of one alarm; the numbers are the caption colours' states.
enum class AlarmState { Idle = 0, Cleared = 1, Raised = 2 };

// The main-window captions whose click acknowledges alarms: "Temp" both
// temperature alarms, "Pressure" both pressure alarms, "Today" rain today,
// "Rate" rain rate, "Latest" or "Gust" the gust alarm, "Average" or "Wind Run"
// the wind alarm.
enum class AlarmCaption { Temp, Pressure, RainToday, RainRate, Gust, Wind };

// A change of one alarm, for the main window to colour its caption (red when
// raised, blue when cleared, black when acknowledged) and to play the sound.
struct AlarmEvent {
    AlarmId alarm;
    AlarmState state;
    bool playSound = false;
    QString soundFile;
};

// The evaluation step for one alarm: returns the new state. A reading equal
// to the threshold changes nothing in either direction.
[[nodiscard]] AlarmState CheckAlarm(bool enabled, AlarmDirection direction, AlarmState state, float threshold,
                                    float reading);

class Alarms {
public:
    using Observer = std::function<void(const AlarmEvent&)>;

    explicit Alarms(const Settings& settings);

    // Evaluates one alarm against a new reading of its quantity, with the
    // threshold, switch and sound of the settings at this moment.
    void CheckAlarm(AlarmId alarm, float reading);
    void acknowledge(AlarmCaption caption);

    [[nodiscard]] AlarmState state(AlarmId alarm) const { return m_states[static_cast<int>(alarm)]; }
    [[nodiscard]] static AlarmDirection direction(AlarmId alarm);

    void addObserver(Observer observer) { m_observers.push_back(std::move(observer)); }

private:
    void setState(AlarmId alarm, AlarmState state, bool playSound);

    const Settings& m_settings;
    std::array<AlarmState, kAlarmCount> m_states{};
    std::vector<Observer> m_observers;
};

}  // namespace brezmor
