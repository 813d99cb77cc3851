#pragma once

#include "core/conditions.h"
#include "platform/datetime.h"

#include <QDate>
#include <QString>

namespace brezmor {

class Clock;
struct Diagnostics;
struct RegionalSettings;

// The clock hour at which the day rolls over at a moment: 0 for midnight;
// a 9 am day starts at 9 standard time all year, so at 10 on the clock while
// daylight-saving time is in force.
[[nodiscard]] int RolloverHourAt(TDateTime moment, int rolloverHour, const Clock& clock);

// The log day a moment belongs to: with the rollover at 9 it starts at 09:00,
// which is 10:00 while daylight-saving time is in force; with the rollover at
// midnight it is the calendar date.
[[nodiscard]] QDate LogDate(TDateTime moment, int rolloverHour, const Clock& clock);
// `LogDateText`: that date in the regional short date format.
[[nodiscard]] QString LogDateText(TDateTime moment, int rolloverHour, const Clock& clock,
                                  const RegionalSettings& regional);

// Every value of data/today.ini as read at start-up, kept so that a history
// catch-up can restore it later.
struct TodayFileSnapshot {
    QString date = QStringLiteral("00/00/00");
    TDateTime timestamp = 0.0;
    TodayExtremes extremes;
    float windRun = 0.0f;
    float tempTotal = 0.0f;
    int tempSamples = 1;
    float rainStart = -1.0f;
    float rainYesterday = 0.0f;
};

// When the today file follows today's values. Live, every change is written
// at once, so that a crash loses nothing. A replay can always be run again
// from its input, and rewriting the file a few hundred times a simulated day
// would cost most of its time; there the file is written when the log day
// ends and when the program closes.
enum class TodayFileWrites { EveryChange, DayEndAndClose };

// data/today.ini and data/yesterday.ini: today's extremes survive a restart,
// and yesterday's column is shown again after one.
class TodayFiles {
public:
    TodayFiles(QString dataFolder, const Clock& clock, const RegionalSettings& regional, Diagnostics& diagnostics);

    void setRolloverHour(int hour) { m_rolloverHour = hour; }
    [[nodiscard]] QString LogDateText(TDateTime moment) const;

    // Reads the snapshot and, when the file is for the current log day,
    // restores today's extremes into `conditions`. True when restored.
    bool ReadTodayfile(CurrentConditions& conditions);
    // Rewrites the file through a temporary file and a rename, so that a
    // power cut never leaves a truncated today file.
    void WriteTodayfile(const CurrentConditions& conditions);
    // True when the file was for the current log day and was restored.
    bool ReadYesterdayfile(CurrentConditions& conditions);
    void WriteYesterdayfile(const CurrentConditions& conditions);

    [[nodiscard]] const TodayFileSnapshot& snapshot() const { return m_snapshot; }
    // A history catch-up that starts on the snapshot's log day restores it.
    void restoreSnapshot(CurrentConditions& conditions) const;

    [[nodiscard]] QString todayPath() const;
    [[nodiscard]] QString yesterdayPath() const;

private:
    QString m_dataFolder;
    const Clock& m_clock;
    const RegionalSettings& m_regional;
    Diagnostics& m_diagnostics;
    int m_rolloverHour = 0;
    TodayFileSnapshot m_snapshot;
};

}  // namespace brezmor
