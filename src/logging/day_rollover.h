#pragma once

#include "platform/datetime.h"

#include <QDate>
#include <QString>

#include <functional>
#include <vector>

namespace brezmor {

class WeatherCore;

// data folder + "dayfile.txt": one summary line per completed day.
[[nodiscard]] QString DayfilePath(const QString& dataFolder);

// A day that has just ended, as the daily charts show it.
struct FinishedDay {
    QDate date;
    float lowTemp = 0.0f;
    float highTemp = 0.0f;
    float averageTemp = 0.0f;  // 0 when the day had no sample
    float rainToday = 0.0f;
};

// The end of the meteorological day: the summary line, today's extremes
// moved to yesterday's column and restarted from the current readings, the
// rain totals carried forward. Called by the hour clock at the rollover hour
// with the current time, and by the history catch-ups with the time of the
// record that crosses the rollover.
class DayRollover {
public:
    using Observer = std::function<void(const FinishedDay&)>;

    DayRollover(WeatherCore& core, QString dataFolder);

    void DayReset(TDateTime resetTime);
    // Appends the summary line of the day ending at `resetTime` and tells the
    // observers about the day, even when the line could not be written.
    void WriteDailySummary(TDateTime resetTime);

    void addObserver(Observer observer) { m_observers.push_back(std::move(observer)); }

private:
    void carryRainForward(TDateTime resetTime);
    void restartWind(TDateTime resetTime);
    void restartTemperature(TDateTime resetTime);
    void restartPressure(TDateTime resetTime);
    void restartRainRate(TDateTime resetTime);
    void restartWindRun();
    void logMessage(const QString& text);

    WeatherCore& m_core;
    QString m_dataFolder;
    std::vector<Observer> m_observers;
};

}  // namespace brezmor
