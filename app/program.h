#pragma once

#include "platform/datetime.h"
#include "platform/regional.h"
#include "stations/station_thread.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace brezmor {

class Clock;
class DataLog;
class DayRollover;
struct Diagnostics;
class EasyWeatherReader;
class GraphData;
class MinuteHourClock;
class Settings;
class ThreadToVCL;
class TimedWork;
class WeatherCore;

// Where the minutes come from: the live clock's own tick timer, or the
// replay, which steps the simulated clock and ticks the minute clock itself.
enum class ClockDrive { Live, Replay };

// The reader group of a station type, which decides how the station starts.
enum class ReaderGroup { Davis = 0, Oregon = 1, FileOrUsb = 2, Ws2300 = 3 };
[[nodiscard]] ReaderGroup ReaderGroupOf(int stationType);

// The program without its windows: start-up in its fixed order, the timed
// work once the station has started, and the shutdown that saves everything.
// The desktop program attaches its windows to the points noted below.
class Program final : public QObject {
    Q_OBJECT
public:
    Program(QString programFolder, const Clock& clock, RegionalSettings regional, ClockDrive drive);
    ~Program() override;

    // The start-up sequence (the main window attaches after the records are
    // read). Returns false when the program folder cannot be used.
    bool FormCreate();
    // The station start-up at the end of start-up: starts the reader of the
    // configured type. `withReader` false starts no reader (the replay).
    void startStation(bool withReader = true);
    // Activates the minute and hour clock and the publishing timers; once per
    // successful station start.
    void StartTimedWork();
    // Stops every source of timed work, then writes the today file and the
    // settings. Safe to call twice.
    void FormClose();

    // Keeps the last ten backup folders and copies the data files into a new one.
    void BackupDataFiles();

    [[nodiscard]] WeatherCore& core() { return *m_core; }
    [[nodiscard]] Settings& settings() { return *m_settings; }
    [[nodiscard]] Diagnostics& diagnostics() { return *m_diagnostics; }
    [[nodiscard]] MinuteHourClock& minuteClock() { return *m_minuteClock; }
    [[nodiscard]] TimedWork& timedWork() { return *m_timedWork; }
    [[nodiscard]] GraphData& graphs() { return *m_graphs; }
    [[nodiscard]] DataLog& dataLog() { return *m_dataLog; }
    [[nodiscard]] DayRollover& rollover() { return *m_rollover; }
    // Where the worker-thread readers post their readings; the main thread
    // hands each to its handler.
    [[nodiscard]] ThreadToVCL& threadToVcl() { return *m_threadToVcl; }
    [[nodiscard]] StationThreads& stationThreads() { return m_stationThreads; }
    [[nodiscard]] QString dataFolder() const { return m_dataFolder; }
    [[nodiscard]] QString backupFolder() const { return m_backupFolder; }
    [[nodiscard]] bool timedWorkStarted() const { return m_timedWorkStarted; }

    // The publishing timers, enabled and timed by StartTimedWork from the
    // settings; each cycle attaches to its timer.
    struct PublishingTimers {
        QTimer weatherUnderground;
        QTimer pwsWeather;
        QTimer aprs;
        QTimer web;
    };
    [[nodiscard]] PublishingTimers& publishingTimers() { return m_publishing; }

    [[nodiscard]] static QString versionText();

private:
    void startEasyWeather();

    QString m_programFolder;
    QString m_dataFolder;
    QString m_backupFolder;
    const Clock& m_clock;
    RegionalSettings m_regional;
    ClockDrive m_drive;
    std::unique_ptr<Diagnostics> m_diagnostics;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<WeatherCore> m_core;
    std::unique_ptr<GraphData> m_graphs;
    std::unique_ptr<DataLog> m_dataLog;
    std::unique_ptr<DayRollover> m_rollover;
    std::unique_ptr<TimedWork> m_timedWork;
    std::unique_ptr<MinuteHourClock> m_minuteClock;
    std::unique_ptr<ThreadToVCL> m_threadToVcl;
    std::unique_ptr<EasyWeatherReader> m_easyWeather;
    StationThreads m_stationThreads;
    PublishingTimers m_publishing;
    bool m_timedWorkStarted = false;
    bool m_closed = false;
};

}  // namespace brezmor
