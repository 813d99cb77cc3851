#include "stations/easyweather.h"
#include "platform/windows1252.h"

#include "core/diagnostics.h"
#include "core/messages.h"
#include "platform/clock.h"
#include "settings/setting_values.h"
#include "settings/settings.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace brezmor {
namespace {

// The last line is searched for in growing windows from the end of the file.
constexpr qint64 kFirstWindow = 4096;

// QTimer takes whole milliseconds in an int.
constexpr int kMaxIntervalMinutes = std::numeric_limits<int>::max() / 60000;

// The item numbers of the quantities used.
enum Field {
    InsideHumidityField = 6,
    InsideTempField = 7,
    OutsideHumidityField = 8,
    OutsideTempField = 9,
    DewpointField = 10,
    WindChillField = 11,
    PressureField = 13,
    AverageWindField = 14,
    GustField = 16,
    DirectionField = 19,
    RainRateField = 23,
    RainCounterField = 27,
};

struct CompassBearing {
    const char16_t* text;
    int bearing;
};

// The file spells east-north-east "NEE" rather than "ENE", and so on.
constexpr std::array<CompassBearing, 16> kCompassBearings = {{
    {u"N", 360},
    {u"NNE", 22},
    {u"NE", 45},
    {u"NEE", 67},
    {u"E", 90},
    {u"SEE", 112},
    {u"SE", 135},
    {u"SSE", 157},
    {u"S", 180},
    {u"SSW", 202},
    {u"SW", 225},
    {u"SWW", 247},
    {u"W", 270},
    {u"NWW", 292},
    {u"NW", 315},
    {u"NNW", 337},
}};

// Spaces and every control character separate items.
bool IsBlank(QChar c)
{
    return c.unicode() <= u' ';
}

// `position` is at the opening quote; leaves it after the closing one. A quote
// that is never closed takes the rest of the line.
QString TakeQuoted(QStringView line, qsizetype& position)
{
    QString item;
    ++position;
    while (position < line.size()) {
        const QChar c = line[position];
        ++position;
        if (c != u'"') {
            item += c;
        } else if (position < line.size() && line[position] == u'"') {
            item += c;
            ++position;
        } else {
            break;
        }
    }
    return item;
}

QString TakeUnquoted(QStringView line, qsizetype& position, QChar separator)
{
    const qsizetype start = position;
    while (position < line.size() && !IsBlank(line[position]) && line[position] != separator)
        ++position;
    return line.sliced(start, position - start).toString();
}

EasyWeatherError Failure(EasyWeatherError::Kind kind, QString subject = {}, int field = -1)
{
    return EasyWeatherError{kind, std::move(subject), field};
}

enum class NumberKind { Decimal, Whole };

struct NumberField {
    Field field;
    NumberKind kind;
};

// In item order, so the first bad item is the one reported.
constexpr std::array<NumberField, 11> kNumberFields = {{
    {InsideHumidityField, NumberKind::Whole},
    {InsideTempField, NumberKind::Decimal},
    {OutsideHumidityField, NumberKind::Whole},
    {OutsideTempField, NumberKind::Decimal},
    {DewpointField, NumberKind::Decimal},
    {WindChillField, NumberKind::Decimal},
    {PressureField, NumberKind::Decimal},
    {AverageWindField, NumberKind::Decimal},
    {GustField, NumberKind::Decimal},
    {RainRateField, NumberKind::Decimal},
    {RainCounterField, NumberKind::Decimal},
}};

// The regional decimal separator; a point is read as one too, since it can
// mean nothing else in a number.
std::optional<double> ParseDecimal(const QString& text, QChar decimalSeparator)
{
    QString normalised = text;
    normalised.replace(decimalSeparator, u'.');
    bool ok = false;
    const float value = normalised.toFloat(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> ParseWhole(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// The line end that closes the last record, if any.
qsizetype WithoutFinalLineEnd(const QByteArray& tail)
{
    qsizetype end = tail.size();
    if (end > 0 && tail[end - 1] == '\n')
        --end;
    if (end > 0 && tail[end - 1] == '\r')
        --end;
    return end;
}

qsizetype LastLineEnd(const QByteArray& tail, qsizetype end)
{
    for (qsizetype i = end - 1; i >= 0; --i) {
        if (tail[i] == '\n' || tail[i] == '\r')
            return i;
    }
    return -1;
}

}  // namespace

QStringList SplitEasyWeatherLine(QStringView line, QChar separator)
{
    QStringList items;
    qsizetype position = 0;
    const auto skipBlanks = [&] {
        while (position < line.size() && IsBlank(line[position]))
            ++position;
    };
    skipBlanks();
    while (position < line.size()) {
        items.append(line[position] == u'"' ? TakeQuoted(line, position)
                                            : TakeUnquoted(line, position, separator));
        skipBlanks();
        if (position < line.size() && line[position] == separator) {
            ++position;
            skipBlanks();
            if (position == line.size())
                items.append(QString());
        }
    }
    return items;
}

int EasyWeatherBearing(QStringView direction)
{
    const auto* const match = std::find_if(kCompassBearings.begin(), kCompassBearings.end(),
                                           [&](const CompassBearing& entry) { return direction == entry.text; });
    return match == kCompassBearings.end() ? 0 : match->bearing;
}

QString EasyWeatherError::message() const
{
    switch (kind) {
    case Kind::FileMissing:
        return QStringLiteral("file not found: ") + subject;
    case Kind::FileUnreadable:
        return QStringLiteral("cannot read the file: ") + subject;
    case Kind::FileEmpty:
        return QStringLiteral("the file is empty");
    case Kind::LastLineEmpty:
        return QStringLiteral("the last line is empty");
    case Kind::LineTooLong:
        return QStringLiteral("the last line is longer than %1 characters").arg(kEasyWeatherMaxLineLength);
    case Kind::TooFewFields:
        return QStringLiteral("line has %1 fields, %2 needed").arg(subject).arg(kEasyWeatherFieldsNeeded);
    case Kind::NotANumber:
        return QStringLiteral("field %1 is not a number: %2").arg(field).arg(subject);
    case Kind::NotAWholeNumber:
        return QStringLiteral("field %1 is not a whole number: %2").arg(field).arg(subject);
    }
    return subject;
}

EasyWeatherLine ReadEasyWeatherLastLine(QIODevice& device)
{
    const qint64 size = device.size();
    if (size == 0)
        return Failure(EasyWeatherError::Kind::FileEmpty);
    for (qint64 window = kFirstWindow;; window *= 2) {
        const qint64 start = std::max<qint64>(0, size - window);
        if (!device.seek(start))
            return Failure(EasyWeatherError::Kind::FileUnreadable, device.errorString());
        const QByteArray tail = device.read(size - start);
        if (tail.size() != size - start)
            return Failure(EasyWeatherError::Kind::FileUnreadable, device.errorString());
        const qsizetype end = WithoutFinalLineEnd(tail);
        const qsizetype lineEnd = LastLineEnd(tail, end);
        if (lineEnd >= 0 || start == 0) {
            const qsizetype length = end - lineEnd - 1;
            if (length > kEasyWeatherMaxLineLength)
                return Failure(EasyWeatherError::Kind::LineTooLong);
            return fromWindows1252(tail.sliced(lineEnd + 1, length));
        }
        if (end > kEasyWeatherMaxLineLength)
            return Failure(EasyWeatherError::Kind::LineTooLong);
    }
}

EasyWeatherDecode DecodeEasyWeatherLine(QStringView line, const Units& units)
{
    if (line.trimmed().isEmpty())
        return Failure(EasyWeatherError::Kind::LastLineEmpty);
    const RegionalSettings& regional = units.regional();
    const QStringList items = SplitEasyWeatherLine(line, regional.listSeparator);
    if (items.size() < kEasyWeatherFieldsNeeded)
        return Failure(EasyWeatherError::Kind::TooFewFields, QString::number(items.size()));

    std::array<double, kEasyWeatherFieldsNeeded> values{};
    for (const NumberField& number : kNumberFields) {
        const QString& text = items.at(number.field);
        const bool whole = number.kind == NumberKind::Whole;
        const std::optional<double> value = whole ? ParseWhole(text) : ParseDecimal(text, regional.decimalSeparator);
        if (!value) {
            return Failure(whole ? EasyWeatherError::Kind::NotAWholeNumber : EasyWeatherError::Kind::NotANumber, text,
                           number.field);
        }
        values[static_cast<std::size_t>(number.field)] = *value;
    }
    const auto number = [&](Field field) { return static_cast<float>(values[static_cast<std::size_t>(field)]); };
    const auto whole = [&](Field field) { return static_cast<int>(values[static_cast<std::size_t>(field)]); };

    EasyWeatherReadings readings;
    readings.bearing = EasyWeatherBearing(items.at(DirectionField));
    readings.gust = units.WindMSToUser(number(GustField));
    readings.average = units.WindMSToUser(number(AverageWindField));
    readings.windChill = units.TempCToUser(number(WindChillField));
    readings.insideHumidity = whole(InsideHumidityField);
    readings.outsideHumidity = whole(OutsideHumidityField);
    readings.dewpoint = units.TempCToUser(number(DewpointField));
    readings.pressure = units.PressMBToUser(number(PressureField));
    readings.insideTemp = units.TempCToUser(number(InsideTempField));
    readings.outsideTemp = units.TempCToUser(number(OutsideTempField));
    readings.rainCounter = units.RainMMToUser(number(RainCounterField));
    readings.rainRate = units.RainMMToUser(number(RainRateField));
    return readings;
}

EasyWeatherReader::EasyWeatherReader(QuantityHandlers& handlers, std::function<void()> pressureTrendText,
                                     const Units& units, const Settings& settings, const Clock& clock,
                                     DebugLog& debugLog, QObject* parent)
    : QObject(parent),
      m_handlers(handlers),
      m_pressureTrendText(std::move(pressureTrendText)),
      m_units(units),
      m_settings(settings),
      m_clock(clock),
      m_debugLog(debugLog),
      m_timer(this)
{
    m_timer.setObjectName(QStringLiteral("EWTimer"));
    connect(&m_timer, &QTimer::timeout, this, &EasyWeatherReader::readOnce);
}

void EasyWeatherReader::start()
{
    const int minutes = m_settings.integer(Setting::EWInterval);
    if (minutes <= 0) {
        stop();
        return;
    }
    m_timer.start(std::min(minutes, kMaxIntervalMinutes) * 60000);
}

void EasyWeatherReader::stop()
{
    m_timer.stop();
}

void EasyWeatherReader::readOnce()
{
    if (m_reading) {
        logError(QStringLiteral("EasyWeather file still being read from the last tick; this tick is skipped"));
        return;
    }
    m_reading = true;
    if (m_worker.joinable())
        m_worker.join();
    // The worker gets its own copies: the settings and units may change on
    // the main thread while it reads.
    m_worker = std::jthread([this, path = m_settings.text(Setting::EWFile), units = m_units] {
        FileRead read = readFile(path, units);
        {
            const std::lock_guard lock(m_resultMutex);
            m_result = std::move(read);
        }
        QMetaObject::invokeMethod(this, &EasyWeatherReader::readFinished, Qt::QueuedConnection);
    });
}

void EasyWeatherReader::readFinished()
{
    FileRead read;
    {
        const std::lock_guard lock(m_resultMutex);
        read = std::move(m_result);
    }
    m_reading = false;
    if (!read.closeError.isEmpty())
        logError(QStringLiteral("Error closing EasyWeather file: ") + read.closeError);
    if (const auto* error = std::get_if<EasyWeatherError>(&read.decode)) {
        logError(QStringLiteral("Error processing EasyWeather file: ") + error->message());
        return;
    }
    handOver(std::get<EasyWeatherReadings>(read.decode));
}

EasyWeatherReader::FileRead EasyWeatherReader::readFile(const QString& filePath, const Units& units)
{
    if (filePath.isEmpty() || !QFileInfo::exists(filePath))
        return {Failure(EasyWeatherError::Kind::FileMissing, filePath), {}};
    // Read-only: the other program keeps appending to the file meanwhile.
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {Failure(EasyWeatherError::Kind::FileUnreadable, filePath + QStringLiteral(": ") + file.errorString()),
                {}};
    const EasyWeatherLine line = ReadEasyWeatherLastLine(file);
    file.close();
    const QString closeError = file.error() != QFileDevice::NoError ? file.errorString() : QString();
    if (const auto* error = std::get_if<EasyWeatherError>(&line))
        return {*error, closeError};
    return {DecodeEasyWeatherLine(std::get<QString>(line), units), closeError};
}

void EasyWeatherReader::handOver(const EasyWeatherReadings& readings)
{
    const TDateTime now = m_clock.now();
    m_handlers.DoWind(readings.bearing, readings.gust, readings.average, now);
    m_handlers.DoWindChill(readings.windChill, now);
    m_handlers.DoInsideHumidity(readings.insideHumidity);
    m_handlers.DoOutsideHumidity(readings.outsideHumidity);
    m_handlers.DoOutsideDewpoint(readings.dewpoint);
    m_handlers.DoPressure(readings.pressure, now);
    m_pressureTrendText();
    m_handlers.DoInsideTemp(readings.insideTemp);
    m_handlers.DoOutsideTemp(readings.outsideTemp, now);
    m_handlers.DoRain(readings.rainCounter, readings.rainRate, now);
    if (m_settings.boolean(Setting::UseBrezmorForecast))
        m_handlers.DoForecast(QString());
    m_handlers.DoStatusPanel();
}

void EasyWeatherReader::logError(const QString& text) const
{
    m_debugLog.writeLine(ToQDateTime(m_clock.now()).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss: ")) + text);
}

}  // namespace brezmor
