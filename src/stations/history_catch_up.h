#pragma once

#include "platform/datetime.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace brezmor {

class DataLog;
class DayRollover;
class WeatherCore;

// One record of a station logger, in the configured units. A value the
// station marks invalid is left empty and is not handed over.
struct THistoryData {
    TDateTime time = 0.0;
    int intervalMinutes = 0;
    std::optional<int> indoorHumidity;
    std::optional<int> outdoorHumidity;
    std::optional<float> outdoorTemp;
    struct Wind {
        float gust = 0.0f;
        float average = 0.0f;
        int bearing = 0;
    };
    std::optional<Wind> wind;
    struct Rain {
        float counter = 0.0f;
        float rate = -1.0f;
    };
    std::optional<Rain> rain;
    std::optional<float> dewPoint;
    std::optional<float> windChill;
    std::optional<float> indoorTemp;
    std::optional<float> pressure;
};

// The start-up replay of a logger's stored records, shared by the readers
// that have a logger. Records newer than the last data-log time go through
// the handlers with their own times, write their data-log lines, extend the
// trend lists and roll the day over at the rollover hour, exactly as if they
// had been read live. The replay runs in slices on the event loop, so the
// program stays responsive and shows its progress.
class HistoryCatchUp final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(int percent)> progress;
        // Runs once the last record is in: the reader starts timed work and
        // its live reading.
        std::function<void()> finished;
    };

    // `prefix` and ": " start every program-log line ("WS2300", "VP2", "EWUSB").
    HistoryCatchUp(WeatherCore& core, DataLog& dataLog, DayRollover& rollover, QString prefix, Hooks hooks);

    // Selects the records to replay (strictly newer than the last data-log
    // time, oldest first; none when [Station] UseDataLogger is off), restores
    // the today file when the first of them falls on its log day, and
    // replays them `sliceSize` at a time on the event loop.
    void start(std::vector<THistoryData> records, int sliceSize = 100);
    // The same, all at once: for tests and benchmarks.
    void runToEnd(std::vector<THistoryData> records);

    [[nodiscard]] bool running() const { return m_running; }

private:
    void prepare(std::vector<THistoryData> records);
    void replaySlice(int sliceSize);
    void replay(const THistoryData& record);
    void complete();
    [[nodiscard]] int rolloverHourAt(TDateTime moment) const;
    void log(const QString& text);

    WeatherCore& m_core;
    DataLog& m_dataLog;
    DayRollover& m_rollover;
    QString m_prefix;
    Hooks m_hooks;
    std::vector<THistoryData> m_records;
    std::size_t m_next = 0;
    bool m_rolloverDone = false;
    bool m_running = false;
};

}  // namespace brezmor
