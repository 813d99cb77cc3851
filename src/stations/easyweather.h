#pragma once

#include "core/units.h"

#include <QIODevice>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTimer>

#include <functional>
#include <mutex>
#include <thread>
#include <variant>

namespace brezmor {

class Clock;
class DebugLog;
class QuantityHandlers;
class Settings;

// The EasyWeather data file ("Easyweather.dat") is written by the program that
// talks to the station; each reading cycle appends one line. We only ever take
// the last line, as the current readings.
//
// A line as written (items separated by commas and by runs of spaces, so the
// two date-times count as four items):
//
//   1,2024-03-08 15:37:52,2024-03-08 15:37:00,30,50,22.0,59,20.0,11.8,19.4,1004.8,1015.2,2.1,2,4.5,3,6,SSE,12,0.3,0.3,0.6,1.2,3.0,10.8,123.6
//
//   item  6  indoor humidity, whole %        item 13  sea-level pressure, hPa
//   item  7  indoor temperature, °C          item 14  average wind speed, m/s
//   item  8  outdoor humidity, whole %       item 16  gust speed, m/s
//   item  9  outdoor temperature, °C         item 19  wind direction, compass text
//   item 10  dew point, °C                   item 23  rain rate, mm per hour
//   item 11  wind chill, °C                  item 27  rain counter, mm
//
// Every other item is ignored; 28 items are needed.
//
// Numbers use the regional decimal separator (a point is read too). Where the
// decimal separator is a comma, a comma cannot also separate items: items are
// then separated by the regional list separator ";" instead of ",".

inline constexpr int kEasyWeatherFieldsNeeded = 28;
// Records are a couple of hundred characters; anything much longer is not a
// record, and refusing it keeps a damaged file from being read whole per tick.
inline constexpr qint64 kEasyWeatherMaxLineLength = 65536;

// Splits one line: `separator` and runs of spaces or control characters
// separate items; an item in double quotes is taken without its quotes and may
// hold separators and spaces ("" inside quotes is one quote). Two separators
// in a row enclose an empty item, and a separator at the end adds one.
[[nodiscard]] QStringList SplitEasyWeatherLine(QStringView line, QChar separator);

// The bearing of a compass text as the file writes it ("SEE" is east-south-east);
// exact and case-sensitive, anything else is 0.
[[nodiscard]] int EasyWeatherBearing(QStringView direction);

// The readings of one line, already in the user's units.
struct EasyWeatherReadings {
    int bearing = 0;
    float gust = 0.0f;
    float average = 0.0f;
    float windChill = 0.0f;
    int insideHumidity = 0;
    int outsideHumidity = 0;
    float dewpoint = 0.0f;
    float pressure = 0.0f;
    float insideTemp = 0.0f;
    float outsideTemp = 0.0f;
    float rainCounter = 0.0f;
    float rainRate = 0.0f;
};

struct EasyWeatherError {
    enum class Kind {
        FileMissing,
        FileUnreadable,
        FileEmpty,
        LastLineEmpty,
        LineTooLong,
        TooFewFields,
        NotANumber,
        NotAWholeNumber,
    };

    Kind kind;
    // What the message names: the file, the field count or the item text.
    QString subject;
    // The field number for the two number kinds.
    int field = -1;

    // The reason as it goes into the debug log, e.g. "field 9 is not a number: abc".
    [[nodiscard]] QString message() const;
};

using EasyWeatherLine = std::variant<QString, EasyWeatherError>;
using EasyWeatherDecode = std::variant<EasyWeatherReadings, EasyWeatherError>;

// The last line of an open device, read from the end backwards so that a file
// that grows forever costs the same on every tick. One line end after the last
// record is the normal end of the file; text after it that is blank (or a
// second line end) is an empty last line.
[[nodiscard]] EasyWeatherLine ReadEasyWeatherLastLine(QIODevice& device);

// Decodes a whole line before anything is handed over, so a bad line changes
// nothing. Separators and the decimal separator come from the units' regional
// settings.
[[nodiscard]] EasyWeatherDecode DecodeEasyWeatherLine(QStringView line, const Units& units);

// Polls the data file on its timer on the main thread. The file is read on a
// worker thread, because it often lies on a network share that can hang for
// many seconds; the readings are handed over on the main thread. The main
// window creates it for station type 4 and calls start() at creation and
// after the station settings are confirmed; stop() at close.
class EasyWeatherReader final : public QObject {
    Q_OBJECT
public:
    // `pressureTrendText` computes and shows the program's own pressure-trend
    // text (the file carries none). `units` is read at every tick, so it must
    // outlive the reader and may be replaced in place when the units change.
    EasyWeatherReader(QuantityHandlers& handlers, std::function<void()> pressureTrendText, const Units& units,
                      const Settings& settings, const Clock& clock, DebugLog& debugLog, QObject* parent = nullptr);

    // Polls every `EWInterval` minutes; an interval of 0 or less stops polling.
    void start();
    void stop();
    [[nodiscard]] bool isPolling() const { return m_timer.isActive(); }
    [[nodiscard]] int intervalMs() const { return m_timer.interval(); }

    // One tick: starts reading the file's last line; once read, its readings
    // go to the handlers, or, when anything is wrong, none of them and one
    // debug-log line. A tick while the last read still runs is skipped.
    void readOnce();
    // True from a tick until its readings have been handed over.
    [[nodiscard]] bool reading() const { return m_reading; }

private:
    struct FileRead {
        EasyWeatherDecode decode;
        QString closeError;
    };
    [[nodiscard]] static FileRead readFile(const QString& filePath, const Units& units);
    // On the main thread, once the worker has left its read in m_result.
    void readFinished();
    void handOver(const EasyWeatherReadings& readings);
    void logError(const QString& text) const;

    QuantityHandlers& m_handlers;
    std::function<void()> m_pressureTrendText;
    const Units& m_units;
    const Settings& m_settings;
    const Clock& m_clock;
    DebugLog& m_debugLog;
    QTimer m_timer;
    bool m_reading = false;
    std::mutex m_resultMutex;
    FileRead m_result;
    // Last, so that a read in progress ends before anything it reports to goes.
    std::jthread m_worker;
};

}  // namespace brezmor
