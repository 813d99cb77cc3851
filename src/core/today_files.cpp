#include "core/today_files.h"

#include "core/diagnostics.h"
#include "core/text_format.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "platform/windows1252.h"
#include "settings/ini_text.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>

namespace brezmor {
namespace {

const QString kTodayFileName = QStringLiteral("today.ini");
const QString kYesterdayFileName = QStringLiteral("yesterday.ini");
const QString kNoDate = QStringLiteral("00/00/00");
const QString kNoTime = QStringLiteral("00:00");

// The regional short date and long time; midnight shows the date alone.
QString DateTimeText(TDateTime moment, const RegionalSettings& regional)
{
    const QString date = regional.locale.toString(DateOf(moment), regional.shortDateFormat);
    const QTime time = TimeOf(moment);
    if (time == QTime(0, 0))
        return date;
    return date + u' ' + regional.locale.toString(time, regional.longTimeFormat);
}

// Reads what DateTimeText writes. The date format itself may contain spaces,
// so every space from the right is tried as the split before the time.
std::optional<TDateTime> ParseDateTime(const QString& text, const RegionalSettings& regional)
{
    const QString trimmed = text.trimmed();
    const QDate dateOnly = regional.locale.toDate(trimmed, regional.shortDateFormat);
    if (dateOnly.isValid())
        return ToDateTime(dateOnly);
    for (qsizetype split = trimmed.lastIndexOf(u' '); split > 0; split = trimmed.lastIndexOf(u' ', split - 1)) {
        const QDate date = regional.locale.toDate(trimmed.left(split).trimmed(), regional.shortDateFormat);
        const QTime time = regional.locale.toTime(trimmed.mid(split + 1), regional.longTimeFormat);
        if (date.isValid() && time.isValid())
            return ToDateTime(date, time);
    }
    return std::nullopt;
}

// Our files never carry group separators, so "1.013" in a comma-decimal
// locale is not a thousand and thirteen but a value from elsewhere.
QLocale NumberLocale(const RegionalSettings& regional)
{
    QLocale locale = regional.locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    return locale;
}

// One settings-style file being written: sections in the order first used,
// keys in the order given.
class IniWriter {
public:
    void add(const char* section, const char* key, QString value)
    {
        if (m_section != section) {
            m_section = section;
            m_text += u'[' + QString::fromLatin1(section) + QStringLiteral("]\r\n");
        }
        // A line break would end the value early and start a line of its own.
        value.replace(u'\r', u' ').replace(u'\n', u' ');
        m_text += QString::fromLatin1(key) + u'=' + value + QStringLiteral("\r\n");
    }

    [[nodiscard]] QByteArray bytes() const { return toWindows1252(m_text); }

private:
    QByteArray m_section;
    QString m_text;
};

// One settings-style file being read: every value that is missing or does
// not parse gets its read default and a program-log line saying why.
class IniReader {
public:
    enum class Status { Read, Missing, Unreadable };

    IniReader(QString fileName, const RegionalSettings& regional, ProgramLog& log)
        : m_fileName(std::move(fileName)), m_regional(regional), m_numbers(NumberLocale(regional)), m_log(log)
    {
    }

    Status load(const QString& path)
    {
        QFile file(path);
        if (!file.exists()) {
            m_status = Status::Missing;
            m_log.LogMessage(m_fileName + QStringLiteral(": not found, nothing to restore"));
            return m_status;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            m_status = Status::Unreadable;
            m_log.LogMessage(m_fileName + QStringLiteral(": cannot be read: ") + file.errorString());
            return m_status;
        }
        if (!m_ini.parse(file.readAll())) {
            m_status = Status::Unreadable;
            m_log.LogMessage(m_fileName + QStringLiteral(": cannot be read as a settings file"));
            return m_status;
        }
        m_status = Status::Read;
        return m_status;
    }

    [[nodiscard]] std::optional<QString> value(const char* section, const char* key)
    {
        if (m_status != Status::Read)
            return std::nullopt;
        const std::optional<QByteArray> raw = m_ini.value(section, key);
        if (!raw) {
            m_missing.append(QString::fromLatin1(section) + u'/' + QString::fromLatin1(key));
            return std::nullopt;
        }
        return fromWindows1252(*raw);
    }

    [[nodiscard]] QString text(const char* section, const char* key, const QString& fallback)
    {
        return value(section, key).value_or(fallback);
    }

    [[nodiscard]] float number(const char* section, const char* key, float fallback)
    {
        const std::optional<QString> stored = value(section, key);
        if (!stored)
            return fallback;
        bool ok = false;
        const float parsed = m_numbers.toFloat(stored->trimmed(), &ok);
        if (ok && std::isfinite(parsed))
            return parsed;
        reportUnreadable(section, key, QStringLiteral("is not a number"), *stored);
        return fallback;
    }

    [[nodiscard]] int integer(const char* section, const char* key, int fallback)
    {
        const std::optional<QString> stored = value(section, key);
        if (!stored)
            return fallback;
        bool ok = false;
        const int parsed = stored->trimmed().toInt(&ok);
        if (ok)
            return parsed;
        reportUnreadable(section, key, QStringLiteral("is not a whole number"), *stored);
        return fallback;
    }

    [[nodiscard]] std::optional<TDateTime> dateTime(const char* section, const char* key)
    {
        const std::optional<QString> stored = value(section, key);
        if (!stored)
            return std::nullopt;
        const std::optional<TDateTime> parsed = ParseDateTime(*stored, m_regional);
        if (!parsed)
            reportUnreadable(section, key, QStringLiteral("is not a date and time"), *stored);
        return parsed;
    }

    // One line for all missing keys, so an empty file does not flood the log.
    void reportMissing()
    {
        if (!m_missing.isEmpty())
            m_log.LogMessage(m_fileName + QStringLiteral(": missing, read as defaults: ")
                             + m_missing.join(QStringLiteral(", ")));
        m_missing.clear();
    }

private:
    void reportUnreadable(const char* section, const char* key, const QString& problem, const QString& stored)
    {
        m_log.LogMessage(m_fileName + QStringLiteral(": ") + QString::fromLatin1(section) + u'/'
                         + QString::fromLatin1(key) + u' ' + problem + QStringLiteral(": ") + stored);
    }

    QString m_fileName;
    const RegionalSettings& m_regional;
    QLocale m_numbers;
    ProgramLog& m_log;
    IniValues m_ini;
    Status m_status = Status::Missing;
    QStringList m_missing;
};

// A failed write keeps the previous file whole and says so in the program log.
bool SaveAtomically(const QString& path, const QByteArray& bytes, ProgramLog& log)
{
    const std::optional<QString> problem = WriteFileAtomically(path, bytes);
    if (!problem)
        return true;
    log.LogMessage(QStringLiteral("Could not write ") + QDir::toNativeSeparators(path) + QStringLiteral(": ")
                   + *problem + QStringLiteral("; the previous file is kept"));
    return false;
}

}  // namespace

int RolloverHourAt(TDateTime moment, int rolloverHour, const Clock& clock)
{
    if (rolloverHour == 0)
        return 0;
    return clock.isDaylightTime(moment) ? rolloverHour + 1 : rolloverHour;
}

QDate LogDate(TDateTime moment, int rolloverHour, const Clock& clock)
{
    if (rolloverHour == 0)
        return DateOf(moment);
    return DateOf(moment - RolloverHourAt(moment, rolloverHour, clock) * kOneHour);
}

QString LogDateText(TDateTime moment, int rolloverHour, const Clock& clock, const RegionalSettings& regional)
{
    return regional.locale.toString(LogDate(moment, rolloverHour, clock), regional.shortDateFormat);
}

TodayFiles::TodayFiles(QString dataFolder, const Clock& clock, const RegionalSettings& regional,
                       Diagnostics& diagnostics)
    : m_dataFolder(std::move(dataFolder)), m_clock(clock), m_regional(regional), m_diagnostics(diagnostics)
{
}

QString TodayFiles::LogDateText(TDateTime moment) const
{
    return brezmor::LogDateText(moment, m_rolloverHour, m_clock, m_regional);
}

QString TodayFiles::todayPath() const
{
    return QDir(m_dataFolder).filePath(kTodayFileName);
}

QString TodayFiles::yesterdayPath() const
{
    return QDir(m_dataFolder).filePath(kYesterdayFileName);
}

void TodayFiles::WriteTodayfile(const CurrentConditions& conditions)
{
    const QChar decimal = m_regional.decimalSeparator;
    const TodayExtremes& today = conditions.today;
    IniWriter ini;
    ini.add("General", "Date", LogDateText(m_clock.now()));
    ini.add("General", "Timestamp", DateTimeText(conditions.lastUpdateTime, m_regional));
    ini.add("Wind", "Speed", ShortestNumberText(today.highWind, decimal));
    ini.add("Wind", "SpTime", today.highWindTime);
    ini.add("Wind", "Gust", ShortestNumberText(today.highGust, decimal));
    ini.add("Wind", "Time", today.highGustTime);
    ini.add("Wind", "Bearing", QString::number(today.highGustBearing));
    ini.add("Wind", "Direction", CompassPoint(today.highGustBearing));
    ini.add("Wind", "Windrun", ShortestNumberText(conditions.windRunToday, decimal));
    ini.add("Temp", "Low", ShortestNumberText(today.lowTemp, decimal));
    ini.add("Temp", "LTime", today.lowTempTime);
    ini.add("Temp", "High", ShortestNumberText(today.highTemp, decimal));
    ini.add("Temp", "HTime", today.highTempTime);
    ini.add("Temp", "Total", ShortestNumberText(conditions.tempTotal, decimal));
    ini.add("Temp", "Samples", QString::number(conditions.tempSamples));
    ini.add("Pressure", "Low", ShortestNumberText(today.lowPressure, decimal));
    ini.add("Pressure", "LTime", today.lowPressureTime);
    ini.add("Pressure", "High", ShortestNumberText(today.highPressure, decimal));
    ini.add("Pressure", "HTime", today.highPressureTime);
    ini.add("Rain", "High", ShortestNumberText(today.highRainRate, decimal));
    ini.add("Rain", "HTime", today.highRainRateTime);
    ini.add("Rain", "Start", ShortestNumberText(conditions.rainCounterDayStart, decimal));
    ini.add("Rain", "Yesterday", ShortestNumberText(conditions.rainYesterday, decimal));

    if (!SaveAtomically(todayPath(), ini.bytes(), m_diagnostics.program))
        return;
    m_diagnostics.program.LogMessage(QStringLiteral("Writing todayfile, LastUpdateTime = ")
                                     + DateTimeText(conditions.lastUpdateTime, m_regional)
                                     + QStringLiteral(" raindaystart = ")
                                     + ShortestNumberText(conditions.rainCounterDayStart, decimal));
}

bool TodayFiles::ReadTodayfile(CurrentConditions& conditions)
{
    ProgramLog& log = m_diagnostics.program;
    IniReader ini(kTodayFileName, m_regional, log);
    const TDateTime now = m_clock.now();
    const bool exists = ini.load(todayPath()) != IniReader::Status::Missing;

    TodayFileSnapshot snapshot;
    snapshot.date = ini.text("General", "Date", kNoDate);
    snapshot.timestamp = ini.dateTime("General", "Timestamp").value_or(exists ? now : 0.0);
    if (snapshot.timestamp == 0.0)
        snapshot.timestamp = now;
    conditions.lastUpdateTime = snapshot.timestamp;
    log.LogMessage(QStringLiteral("Read today file: Date = ") + snapshot.date + QStringLiteral(", LastUpdateTime = ")
                   + DateTimeText(snapshot.timestamp, m_regional));

    TodayExtremes& extremes = snapshot.extremes;
    extremes.highWind = ini.number("Wind", "Speed", 0.0f);
    extremes.highWindTime = ini.text("Wind", "SpTime", kNoTime);
    extremes.highGust = ini.number("Wind", "Gust", 0.0f);
    extremes.highGustTime = ini.text("Wind", "Time", kNoTime);
    extremes.highGustBearing = ini.integer("Wind", "Bearing", 0);
    snapshot.windRun = ini.number("Wind", "Windrun", 0.0f);
    extremes.lowTemp = ini.number("Temp", "Low", 0.0f);
    extremes.lowTempTime = ini.text("Temp", "LTime", kNoTime);
    extremes.highTemp = ini.number("Temp", "High", 0.0f);
    extremes.highTempTime = ini.text("Temp", "HTime", kNoTime);
    snapshot.tempTotal = ini.number("Temp", "Total", 0.0f);
    snapshot.tempSamples = ini.integer("Temp", "Samples", 1);
    extremes.lowPressure = ini.number("Pressure", "Low", 0.0f);
    extremes.lowPressureTime = ini.text("Pressure", "LTime", kNoTime);
    extremes.highPressure = ini.number("Pressure", "High", 0.0f);
    extremes.highPressureTime = ini.text("Pressure", "HTime", kNoTime);
    extremes.highRainRate = ini.number("Rain", "High", 0.0f);
    extremes.highRainRateTime = ini.text("Rain", "HTime", kNoTime);
    snapshot.rainStart = ini.number("Rain", "Start", -1.0f);
    snapshot.rainYesterday = ini.number("Rain", "Yesterday", 0.0f);
    ini.reportMissing();
    m_snapshot = snapshot;
    log.LogMessage(QStringLiteral("Todayfileraindaystart = ")
                   + ShortestNumberText(snapshot.rainStart, m_regional.decimalSeparator));

    if (snapshot.date != LogDateText(now))
        return false;
    log.LogMessage(QStringLiteral("Todayfile is for today"));
    restoreSnapshot(conditions);
    conditions.rainYesterday = m_snapshot.rainYesterday;
    if (conditions.rainCounterDayStart > 0.0f)
        log.LogMessage(QStringLiteral("ReadTodayfile: set notraininit false"));
    return true;
}

void TodayFiles::restoreSnapshot(CurrentConditions& conditions) const
{
    conditions.today = m_snapshot.extremes;
    conditions.windRunToday = m_snapshot.windRun;
    conditions.tempTotal = m_snapshot.tempTotal;
    conditions.tempSamples = m_snapshot.tempSamples;
    conditions.rainCounterDayStart = m_snapshot.rainStart;
    if (conditions.rainCounterDayStart > 0.0f)
        conditions.rainNotInitialised = false;
}

bool TodayFiles::ReadYesterdayfile(CurrentConditions& conditions)
{
    ProgramLog& log = m_diagnostics.program;
    IniReader ini(kYesterdayFileName, m_regional, log);
    ini.load(yesterdayPath());
    const QString date = ini.text("General", "Date", kNoDate);
    log.LogMessage(QStringLiteral("Read yesterday file: Date = ") + date);

    YesterdayTexts texts;
    texts.highWind = ini.text("Wind", "Speed", QStringLiteral("0"));
    texts.highWindTime = ini.text("Wind", "SpTime", kNoTime);
    texts.highGust = ini.text("Wind", "Gust", QStringLiteral("0"));
    texts.highGustTime = ini.text("Wind", "Time", kNoTime);
    texts.highGustBearing = ini.text("Wind", "Bearing", QStringLiteral("000"));
    texts.highGustDirection = ini.text("Wind", "Direction", QStringLiteral("---"));
    const float windRun = ini.number("Wind", "Windrun", 0.0f);
    texts.lowTemp = ini.text("Temp", "Low", QStringLiteral("0.0"));
    texts.lowTempTime = ini.text("Temp", "LTime", kNoTime);
    texts.highTemp = ini.text("Temp", "High", QStringLiteral("0.0"));
    texts.highTempTime = ini.text("Temp", "HTime", kNoTime);
    texts.lowPressure = ini.text("Pressure", "Low", QStringLiteral("0"));
    texts.lowPressureTime = ini.text("Pressure", "LTime", kNoTime);
    texts.highPressure = ini.text("Pressure", "High", QStringLiteral("0"));
    texts.highPressureTime = ini.text("Pressure", "HTime", kNoTime);
    texts.highRainRate = ini.text("Rain", "High", QStringLiteral("0"));
    texts.highRainRateTime = ini.text("Rain", "HTime", kNoTime);
    ini.reportMissing();

    if (date != LogDateText(m_clock.now()))
        return false;
    log.LogMessage(QStringLiteral("Yesterday file is valid"));
    conditions.yesterday = texts;
    conditions.windRunYesterday = windRun;
    return true;
}

void TodayFiles::WriteYesterdayfile(const CurrentConditions& conditions)
{
    const YesterdayTexts& texts = conditions.yesterday;
    IniWriter ini;
    ini.add("General", "Date", LogDateText(m_clock.now()));
    ini.add("Wind", "Speed", texts.highWind);
    ini.add("Wind", "SpTime", texts.highWindTime);
    ini.add("Wind", "Gust", texts.highGust);
    ini.add("Wind", "Time", texts.highGustTime);
    ini.add("Wind", "Bearing", texts.highGustBearing);
    ini.add("Wind", "Direction", texts.highGustDirection);
    ini.add("Wind", "Windrun", ShortestNumberText(conditions.windRunYesterday, m_regional.decimalSeparator));
    ini.add("Temp", "Low", texts.lowTemp);
    ini.add("Temp", "LTime", texts.lowTempTime);
    ini.add("Temp", "High", texts.highTemp);
    ini.add("Temp", "HTime", texts.highTempTime);
    ini.add("Pressure", "Low", texts.lowPressure);
    ini.add("Pressure", "LTime", texts.lowPressureTime);
    ini.add("Pressure", "High", texts.highPressure);
    ini.add("Pressure", "HTime", texts.highPressureTime);
    ini.add("Rain", "High", texts.highRainRate);
    ini.add("Rain", "HTime", texts.highRainRateTime);
    SaveAtomically(yesterdayPath(), ini.bytes(), m_diagnostics.program);
}

}  // namespace brezmor
