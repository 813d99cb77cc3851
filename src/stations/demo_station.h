#pragma once

#include <QObject>
#include <QTimer>

#include <random>

namespace brezmor {

class Clock;
class Settings;
class WeatherCore;

// A built-in simulated station for demonstrations: every ten seconds a full
// reading cycle of plausible weather (a daily temperature swing, drifting
// pressure, gusty wind, the odd shower) goes to the handlers on the main
// thread, in metric units converted to the configured ones.
class DemoStation final : public QObject {
    Q_OBJECT
public:
    DemoStation(WeatherCore& core, const Clock& clock, unsigned seed = 20261211);

    void start();
    void stop();
    // One reading cycle; tests call it directly.
    void readOnce();

private:
    WeatherCore& m_core;
    const Clock& m_clock;
    QTimer m_timer;
    std::mt19937 m_random;
    double m_pressureHpa = 1013.0;
    double m_windMs = 3.0;
    int m_bearing = 225;
    double m_rainMm = 0.0;
    int m_showerCycles = 0;
};

// A demo folder logs a line every minute, so that files appear at once.
// Settings a user has already saved are left alone.
void PrepareDemoSettings(Settings& settings);

}  // namespace brezmor
