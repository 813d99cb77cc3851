#include "logging/data_log.h"

#include "core/diagnostics.h"
#include "core/text_format.h"
#include "core/today_files.h"
#include "core/units.h"
#include "core/weather_core.h"
#include "platform/clock.h"
#include "platform/windows1252.h"
#include "settings/settings.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

namespace brezmor {
namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Whether the file holds something whose last line has no line end.
bool EndsMidLine(QFile& file)
{
    const qint64 size = file.size();
    if (size == 0 || !file.seek(size - 1))
        return false;
    char last = '\n';
    return file.getChar(&last) && last != '\n';
}

// Two digits at a fixed position, -1 unless both are digits.
int TwoDigitsAt(QStringView text, qsizetype index)
{
    if (text.size() < index + 2)
        return -1;
    const QChar tens = text[index];
    const QChar units = text[index + 1];
    if (tens < u'0' || tens > u'9' || units < u'0' || units > u'9')
        return -1;
    return (tens.unicode() - u'0') * 10 + (units.unicode() - u'0');
}

// "hh:mm" with any one-character separator.
QTime TimeFromLogText(QStringView hhmm)
{
    const int hour = TwoDigitsAt(hhmm, 0);
    const int minute = TwoDigitsAt(hhmm, 3);
    if (hour < 0 || minute < 0)
        return {};
    return QTime(hour, minute);
}

// Optional sign, digits, the decimal separator and digits, an optional
// exponent: what the number formats write, and nothing else.
std::optional<float> ParseNumber(QStringView text, QChar decimalSeparator)
{
    text = text.trimmed();
    if (!text.isEmpty() && text.front() == u'+')
        text = text.mid(1);
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (c == decimalSeparator)
            ascii += '.';
        else if ((c >= u'0' && c <= u'9') || c == u'-' || c == u'e' || c == u'E' || c == u'+')
            ascii += static_cast<char>(c.unicode());
        else
            return std::nullopt;
    }
    float value = 0.0f;
    const char* const end = ascii.data() + ascii.size();
    const auto [ptr, error] = std::from_chars(ascii.data(), end, value);
    if (error != std::errc() || ptr != end || ascii.empty())
        return std::nullopt;
    return value;
}

}  // namespace

QString DataLogMonthName(int month, const QLocale& locale)
{
    QString name = locale.monthName(month, QLocale::ShortFormat);
    name.removeIf([](QChar c) { return !c.isLetterOrNumber(); });
    if (name.isEmpty())
        return QStringLiteral("%1").arg(month, 2, 10, QChar(u'0'));
    return name;
}

QString DataLogFileName(const QString& dataFolder, TDateTime lineTime, int rolloverHour, const Clock& clock,
                        const QLocale& locale)
{
    const QDate logDate = LogDate(lineTime, rolloverHour, clock);
    const QString name = DataLogMonthName(logDate.month(), locale)
                         + QStringLiteral("%1").arg(logDate.year() % 100, 2, 10, QChar(u'0'))
                         + QStringLiteral("log.txt");
    return QDir(dataFolder).filePath(name);
}

QString DateTimeLogText(TDateTime moment, const RegionalSettings& regional)
{
    return regional.locale.toString(DateOf(moment), regional.shortDateFormat) + u' '
           + regional.locale.toString(TimeOf(moment), regional.longTimeFormat);
}

DataLineWriter::DataLineWriter(const Units& units) : m_units(units) {}

DataLineWriter& DataLineWriter::date(TDateTime moment)
{
    m_fields.append(FormatDateTime(u"dd/mm/yy", moment, m_units.regional()));
    return *this;
}

DataLineWriter& DataLineWriter::time(TDateTime moment)
{
    m_fields.append(FormatDateTime(u"hh:nn", moment, m_units.regional()));
    return *this;
}

DataLineWriter& DataLineWriter::text(const QString& text)
{
    m_fields.append(text);
    return *this;
}

DataLineWriter& DataLineWriter::integer(int value)
{
    m_fields.append(QString::number(value));
    return *this;
}

DataLineWriter& DataLineWriter::temperature(float value)
{
    m_fields.append(m_units.FormatTemp(value));
    return *this;
}

DataLineWriter& DataLineWriter::wind(float value)
{
    m_fields.append(m_units.FormatWind(value));
    return *this;
}

DataLineWriter& DataLineWriter::rain(float value)
{
    m_fields.append(m_units.FormatRain(value));
    return *this;
}

DataLineWriter& DataLineWriter::pressure(float value)
{
    m_fields.append(m_units.FormatPress(value));
    return *this;
}

DataLineWriter& DataLineWriter::windRun(float value)
{
    m_fields.append(m_units.FormatWindRun(value));
    return *this;
}

QString DataLineWriter::line() const
{
    return m_fields.join(m_units.regional().listSeparator);
}

QString AppendDataLine(const QString& path, const QString& line)
{
    QFile file(path);
    // Unbuffered, so that looking at the last byte leaves no read buffer
    // between the position and the appended line.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return file.errorString();
    const QString text = EndsMidLine(file) ? kLineEnd + line + kLineEnd : line + kLineEnd;
    const QByteArray bytes = toWindows1252(text);
    if (file.write(bytes) != bytes.size() || !file.flush())
        return file.errorString();
    file.close();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return {};
}

DataLine::DataLine(QString text, int lineNumber, const RegionalSettings& regional)
    : m_text(std::move(text)),
      m_lineNumber(lineNumber),
      m_decimalSeparator(regional.decimalSeparator),
      m_fields(QStringView(m_text).split(regional.listSeparator))
{
}

QStringView DataLine::field(int index) const
{
    if (index < 0 || index >= fieldCount())
        return {};
    return m_fields[index];
}

QDate DataLine::date() const
{
    return DateFromLogText(field(0));
}

std::optional<TDateTime> DataLine::dateTime() const
{
    const QDate day = date();
    const QTime time = TimeFromLogText(field(1));
    if (!day.isValid() || !time.isValid())
        return std::nullopt;
    return ToDateTime(day, time);
}

std::optional<float> DataLine::number(int index) const
{
    if (index < 0 || index >= fieldCount())
        return std::nullopt;
    return ParseNumber(field(index), m_decimalSeparator);
}

std::optional<int> DataLine::integer(int index) const
{
    if (index < 0 || index >= fieldCount())
        return std::nullopt;
    bool ok = false;
    const int value = field(index).trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

DataFileReader::DataFileReader(const RegionalSettings& regional, const Clock& clock, Diagnostics& diagnostics)
    : m_regional(regional), m_clock(clock), m_diagnostics(diagnostics)
{
}

DataFileReader::DataFileReader(WeatherCore& core)
    : DataFileReader(core.units().regional(), core.clock(), core.diagnostics())
{
}

DataFileRead DataFileReader::read(const QString& path, const LineHandler& handle) const
{
    QFile file(path);
    if (!file.exists())
        return {DataFileRead::Status::Missing, {}};
    if (!file.open(QIODevice::ReadOnly))
        return {DataFileRead::Status::Failed, file.errorString()};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {DataFileRead::Status::Failed, file.errorString()};

    const QString content = fromWindows1252(bytes);
    int lineNumber = 0;
    for (QStringView text : QStringView(content).split(u'\n')) {
        ++lineNumber;
        if (text.endsWith(u'\r'))
            text.chop(1);
        if (text.trimmed().isEmpty())
            continue;
        const DataLine line(text.toString(), lineNumber, m_regional);
        const LineUse use = handle(line);
        if (use == LineUse::Stop)
            break;
        if (use == LineUse::Unreadable)
            m_diagnostics.debug.writeLine(DateTimeLogText(m_clock.now(), m_regional)
                                          + QStringLiteral(" Skipped unreadable line %1 of ").arg(lineNumber)
                                          + path + QStringLiteral(": ") + line.text());
    }
    return {DataFileRead::Status::Read, {}};
}

DataLog::DataLog(WeatherCore& core, QString dataFolder) : m_core(core), m_dataFolder(std::move(dataFolder)) {}

QString DataLog::DataLogFileName(TDateTime lineTime) const
{
    return brezmor::DataLogFileName(m_dataFolder, lineTime, m_core.settings().integer(Setting::RolloverHour),
                                    m_core.clock(), m_core.units().regional().locale);
}

QString DataLog::specialLogPath() const
{
    return QDir(m_dataFolder).filePath(QStringLiteral("speciallog.txt"));
}

void DataLog::WriteDataLogLine(TDateTime lineTime)
{
    const CurrentConditions& c = m_core.conditions();
    const QString line = DataLineWriter(m_core.units())
                             .date(lineTime)
                             .time(lineTime)
                             .temperature(c.outdoorTemp)
                             .integer(c.outdoorHumidity)
                             .temperature(static_cast<float>(c.dewPoint))
                             .wind(c.windAverage)
                             .wind(c.windGust)
                             .integer(c.averageBearing)
                             .rain(c.rainRate)
                             // A counter reset can leave rain today below zero for a while.
                             .rain(std::max(c.rainToday, 0.0f))
                             .pressure(c.pressure)
                             .rain(c.rainCounter)
                             .temperature(c.indoorTemp)
                             .integer(c.indoorHumidity)
                             .wind(c.latestWindSpeed)
                             .line();
    const QString path = DataLogFileName(lineTime);
    if (const QString error = AppendDataLine(path, line); !error.isEmpty())
        reportWriteError(path, error);

    if (m_core.settings().boolean(Setting::SpecialLog))
        writeSpecialLogLine(lineTime);

    m_core.conditions().lastUpdateTime = lineTime;
    m_core.WriteTodayfile();
}

void DataLog::writeSpecialLogLine(TDateTime lineTime)
{
    const CurrentConditions& c = m_core.conditions();
    const QString line = DataLineWriter(m_core.units())
                             .date(lineTime)
                             .time(lineTime)
                             .temperature(c.indoorTemp)
                             .integer(c.indoorHumidity)
                             .temperature(0.0f)
                             .temperature(c.outdoorTemp)
                             .integer(c.outdoorHumidity)
                             .temperature(static_cast<float>(c.dewPoint))
                             .line();
    const QString path = specialLogPath();
    if (const QString error = AppendDataLine(path, line); !error.isEmpty())
        reportWriteError(path, error);
}

void DataLog::reportWriteError(const QString& path, const QString& error)
{
    m_core.diagnostics().debug.writeLine(DateTimeLogText(m_core.clock().now(), m_core.units().regional())
                                         + QStringLiteral(" Error writing to data file: ") + path
                                         + QStringLiteral(". ") + error);
}

}  // namespace brezmor
