#pragma once

#include "core/units.h"
#include "platform/datetime.h"
#include "stations/station_thread.h"

#include <deque>
#include <random>
#include <utility>

namespace brezmor {

class Clock;
class Settings;
class ThreadToVCL;

// A built-in simulated station for demonstrations. It behaves as the serial
// stations do: a worker thread reads a full cycle of plausible weather every
// ten seconds (a daily temperature swing, drifting pressure with the
// console's own trend text, gusty wind, the odd shower) and posts it to the
// main thread, already in the configured units.
class DemoStation {
public:
    DemoStation(ThreadToVCL& buffer, Units units, const Clock& clock, unsigned seed = 20261211);

    void start();
    void stop();
    // One reading cycle, posted; tests call it directly.
    void readOnce();

private:
    void post(const char* kind, float value1, float value2 = 0.0f, int intValue = 0, QString text = {});
    [[nodiscard]] QString pressureTrendText(TDateTime now);

    ThreadToVCL& m_buffer;
    const Units m_units;
    const Clock& m_clock;
    std::mt19937 m_random;
    TDateTime m_readingTime = 0.0;
    double m_pressureHpa = 1013.0;
    // The pressure of the last three hours, oldest first, for the trend text.
    std::deque<std::pair<TDateTime, double>> m_pressureHistory;
    double m_windMs = 3.0;
    int m_bearing = 225;
    double m_rainMm = 0.0;
    int m_showerCycles = 0;
    // Last, so that the thread ends before the state it reads goes.
    StationThread m_thread;
};

// A demo folder logs a line every minute, so that files appear at once.
// Settings a user has already saved are left alone.
void PrepareDemoSettings(Settings& settings);

}  // namespace brezmor
