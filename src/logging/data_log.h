#pragma once

#include "platform/datetime.h"
#include "platform/regional.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

namespace brezmor {

class Clock;
class Units;
class WeatherCore;
struct Diagnostics;

// The month part of a data-log file name: the regional short month name, as
// the date format "mmm" shows it, keeping only its letters and digits. Some
// locales end short names with a dot ("Sept.", "févr.") or could carry a
// space or a slash, none of which belongs in a file name; a name with no
// letter or digit at all becomes the two-digit month number. Every reader
// builds names through this same function, so files always read back on the
// computer that wrote them.
[[nodiscard]] QString DataLogMonthName(int month, const QLocale& locale);

// `DataLogFileName`: data folder + month name + two-digit year + "log.txt"
// ("Dec08log.txt"). Month and year are those of the log day of the line
// time, so with a 9 am rollover the lines before 09:00 (10:00 in summer) on
// the 1st still go to the previous month's file.
[[nodiscard]] QString DataLogFileName(const QString& dataFolder, TDateTime lineTime, int rolloverHour,
                                      const Clock& clock, const QLocale& locale);

// Short date, a space and long time, regional: the stamp of rollover and
// error lines.
[[nodiscard]] QString DateTimeLogText(TDateTime moment, const RegionalSettings& regional);

// Builds one line of a data file (data log, daily summary, special log):
// fields joined by the regional list separator, numbers fixed-point with the
// regional decimal separator and the decimals of the configured units.
class DataLineWriter {
public:
    explicit DataLineWriter(const Units& units);

    DataLineWriter& date(TDateTime moment);  // "dd/mm/yy", regional date separator
    DataLineWriter& time(TDateTime moment);  // "hh:mm", regional time separator
    DataLineWriter& text(const QString& text);
    DataLineWriter& integer(int value);
    DataLineWriter& temperature(float value);
    DataLineWriter& wind(float value);
    DataLineWriter& rain(float value);
    DataLineWriter& pressure(float value);
    DataLineWriter& windRun(float value);

    [[nodiscard]] QString line() const;

private:
    const Units& m_units;
    QStringList m_fields;
};

// Appends one line and its CR LF in Windows-1252, then closes the file, which
// is created when missing. A file whose last line was left unfinished (a
// power cut mid-write) gets its line ended first, so the new line stays
// readable. Returns the error text, empty on success.
[[nodiscard]] QString AppendDataLine(const QString& path, const QString& line);

// One line of a data file, split at the regional list separator. Numbers
// read back with the regional decimal separator only: no group separators,
// no "NAN", so a field that is not a plain number reads as missing.
class DataLine {
public:
    DataLine(QString text, int lineNumber, const RegionalSettings& regional);
    DataLine(const DataLine&) = delete;
    DataLine& operator=(const DataLine&) = delete;

    [[nodiscard]] const QString& text() const { return m_text; }
    [[nodiscard]] int lineNumber() const { return m_lineNumber; }
    [[nodiscard]] int fieldCount() const { return static_cast<int>(m_fields.size()); }
    [[nodiscard]] QStringView field(int index) const;

    // Field 0 by `DateFromLogText`: fixed positions, any separator; invalid
    // when garbled.
    [[nodiscard]] QDate date() const;
    // Field 0 and the "hh:mm" of field 1 (fixed positions, any separator).
    [[nodiscard]] std::optional<TDateTime> dateTime() const;
    [[nodiscard]] std::optional<float> number(int index) const;
    [[nodiscard]] std::optional<int> integer(int index) const;

private:
    QString m_text;
    int m_lineNumber;
    QChar m_decimalSeparator;
    QList<QStringView> m_fields;
};

// What a reader made of one line.
enum class LineUse {
    Used,        // taken or deliberately passed over
    Unreadable,  // skipped with a debug-log line; reading goes on
    Stop,        // taken, and nothing after it is wanted
};

struct DataFileRead {
    enum class Status { Read, Missing, Failed };
    Status status = Status::Missing;
    QString error;  // Failed only
};

// Reads data files line by line (Windows-1252, LF or CR LF; empty lines are
// passed over). One bad line, such as the half-written last line after a
// power cut, costs that line only: it is noted in the debug log and the
// reading goes on. A missing file is no error.
class DataFileReader {
public:
    using LineHandler = std::function<LineUse(const DataLine&)>;

    DataFileReader(const RegionalSettings& regional, const Clock& clock, Diagnostics& diagnostics);
    explicit DataFileReader(WeatherCore& core);

    [[nodiscard]] DataFileRead read(const QString& path, const LineHandler& handle) const;

private:
    RegionalSettings m_regional;
    const Clock& m_clock;
    Diagnostics& m_diagnostics;
};

// The monthly data log and the optional special log.
class DataLog {
public:
    DataLog(WeatherCore& core, QString dataFolder);

    [[nodiscard]] QString DataLogFileName(TDateTime lineTime) const;
    [[nodiscard]] QString specialLogPath() const;

    // Appends the line for `lineTime` from the current conditions (and the
    // special-log line when [Station] SpecialLog is on), then records it as
    // the last data-log time and rewrites the today file. A file that cannot
    // be written costs its line, noted in the debug log; the rest still runs.
    void WriteDataLogLine(TDateTime lineTime);

private:
    void writeSpecialLogLine(TDateTime lineTime);
    void reportWriteError(const QString& path, const QString& error);

    WeatherCore& m_core;
    QString m_dataFolder;
};

}  // namespace brezmor
