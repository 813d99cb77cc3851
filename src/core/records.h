#pragma once

#include "platform/datetime.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace brezmor {

class Clock;
struct Diagnostics;

// The thirteen all-time records, in file order.
enum RecordIndex : int {
    HighTempRecord = 0,
    LowTempRecord = 1,
    HighGustRecord = 2,
    HighWindRecord = 3,
    LowWindChillRecord = 4,
    HighRainRateRecord = 5,
    HighDailyRainRecord = 6,
    HighHourlyRainRecord = 7,
    LowPressureRecord = 8,
    HighPressureRecord = 9,
    HighMonthlyRainRecord = 10,
    HighMinTempRecord = 11,
    LowMaxTempRecord = 12,
};
inline constexpr int kRecordCount = 13;

// One record as held in memory and in data/alltime.rec (16 little-endian
// bytes: 32-bit index, single value, double time).
struct TAllTimeRecord {
    std::int32_t index = 0;
    float value = 0.0f;
    TDateTime time = 0.0;
};

// A record was set. `signalled` is false for the monthly-rain record when it
// was already announced this month: it is saved and shown, but the lamps and
// the tray stay as they are.
struct RecordEvent {
    int index;
    bool signalled;
};

class AllTimeRecords {
public:
    using Observer = std::function<void(const RecordEvent&)>;

    AllTimeRecords(QString filePath, const Clock& clock, Diagnostics& diagnostics);

    [[nodiscard]] static float defaultValue(int index);

    // A missing file gives the defaults dated now, and so does every record
    // a short or unreadable file lacks. A value that is not a finite number
    // takes its default but keeps its time; a record is always the one its
    // position says, whatever index it carries. A note of anything wrong
    // with an existing file goes to the program log.
    void ReadAllTimeRecords();
    // Stores the record, rewrites the file and announces it.
    void NewRecord(int index, TDateTime time, float value);
    // Rewrites the whole file through a temporary file, so that a power cut
    // leaves either the old or the new records. False when it failed (logged).
    bool WriteAllTimeRecords();

    [[nodiscard]] const TAllTimeRecord& record(int index) const { return m_records[index]; }
    // The records editor changes values directly, then writes the file.
    void setRecord(int index, float value, TDateTime time);

    // The rollover clears the monthly-rain alert on the first day of a month.
    void clearMonthlyRainAlert() { m_monthlyRainAlerted = false; }

    void addObserver(Observer observer) { m_observers.push_back(std::move(observer)); }

private:
    QString m_filePath;
    const Clock& m_clock;
    Diagnostics& m_diagnostics;
    std::array<TAllTimeRecord, kRecordCount> m_records{};
    bool m_monthlyRainAlerted = false;
    std::vector<Observer> m_observers;
};

}  // namespace brezmor
