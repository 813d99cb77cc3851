#include "stations/easyweather.h"

#include "core/diagnostics.h"
#include "core/messages.h"
#include "platform/clock.h"
#include "settings/settings.h"
#include "support/run_events.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace brezmor {
namespace {

const QString kDataFolder = QStringLiteral(BREZMOR_TEST_DATA "/easyweather");

// The last record of Easyweather.dat.
constexpr const char16_t* kRecord =
    u"3,2024-03-08 15:37:52,2024-03-08 15:37:00,30,50,22.0,59,20.0,11.8,19.4,1004.8,1015.2,"
    u"2.1,2,4.5,3,6,SSE,12,0.3,0.3,0.6,1.2,3.0,10.8,123.6";

std::vector<std::string> Strings(const QStringList& list)
{
    std::vector<std::string> strings;
    for (const QString& item : list)
        strings.push_back(item.toStdString());
    return strings;
}

// The record with some items replaced.
QString RecordWith(std::initializer_list<std::pair<int, QString>> changes)
{
    QStringList items = SplitEasyWeatherLine(QString::fromUtf16(kRecord), u',');
    for (const auto& [field, text] : changes)
        items[field] = text;
    return items.join(u',');
}

const RegionalSettings kGerman = RegionalSettings::fromLocale(QLocale(QLocale::German, QLocale::Germany));

Units MetricUnits(const RegionalSettings& regional = RegionalSettings{})
{
    return Units(UnitChoice{}, regional);
}

Units ImperialUnits()
{
    UnitChoice choice;
    choice.wind = static_cast<int>(WindUnit::MilesPerHour);
    choice.temperature = static_cast<int>(TempUnit::Fahrenheit);
    choice.pressure = static_cast<int>(PressureUnit::InchesOfMercury);
    choice.rain = static_cast<int>(RainUnit::Inches);
    return Units(choice, RegionalSettings{});
}

struct SplitCase {
    const char* why;
    const char16_t* line;
    char16_t separator;
    std::vector<std::string> items;
};

TEST(EasyWeatherSplit, SeparatesItemsByTheFilesRules)
{
    const SplitCase cases[] = {
        {"commas separate items", u"a,b,c", u',', {"a", "b", "c"}},
        {"a date and a time are two items", u"1,2024-03-08 15:37:52,30", u',',
         {"1", "2024-03-08", "15:37:52", "30"}},
        {"a run of spaces and tabs is one separator", u"a  \t b", u',', {"a", "b"}},
        {"control characters separate like spaces", u"a\x01" u"b", u',', {"a", "b"}},
        {"blanks around a comma add no item", u"a , b", u',', {"a", "b"}},
        {"two commas enclose an empty item", u"a,,b", u',', {"a", "", "b"}},
        {"a comma at the end adds an empty item", u"a,b,", u',', {"a", "b", ""}},
        {"blanks at both ends are ignored", u"  a,b \r", u',', {"a", "b"}},
        {"quotes are dropped and keep commas and spaces", u"\"x, y z\",b", u',', {"x, y z", "b"}},
        {"a doubled quote inside quotes is one quote", u"\"say \"\"hi\"\"\",b", u',', {"say \"hi\"", "b"}},
        {"a quote never closed takes the rest", u"a,\"b c", u',', {"a", "b c"}},
        {"an empty line has no items", u"", u',', {}},
        {"with a semicolon separator commas stay inside items", u"22,5;59 x", u';', {"22,5", "59", "x"}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(Strings(SplitEasyWeatherLine(QString::fromUtf16(c.line), c.separator)), c.items) << c.why;
    }
}

TEST(EasyWeatherBearing, FollowsTheFilesCompassTableExactly)
{
    const struct {
        const char16_t* text;
        int bearing;
    } cases[] = {
        {u"N", 360},   {u"NNE", 22},  {u"NE", 45},   {u"NEE", 67},  {u"E", 90},    {u"SEE", 112},
        {u"SE", 135},  {u"SSE", 157}, {u"S", 180},   {u"SSW", 202}, {u"SW", 225},  {u"SWW", 247},
        {u"W", 270},   {u"NWW", 292}, {u"NW", 315},  {u"NNW", 337},
        // Anything else is no bearing at all.
        {u"n", 0},     {u"sse", 0},   {u"ENE", 0},   {u"WNW", 0},   {u"", 0},      {u" N", 0},
        {u"NNEE", 0},  {u"6", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EasyWeatherBearing(QString::fromUtf16(c.text)), c.bearing) << QString::fromUtf16(c.text).toStdString();
}

EasyWeatherReadings Decoded(const QString& line, const Units& units)
{
    const EasyWeatherDecode result = DecodeEasyWeatherLine(line, units);
    if (const auto* error = std::get_if<EasyWeatherError>(&result)) {
        ADD_FAILURE() << error->message().toStdString();
        return {};
    }
    return std::get<EasyWeatherReadings>(result);
}

TEST(EasyWeatherDecode, TakesEachQuantityFromItsItemInMetricUnits)
{
    const EasyWeatherReadings r = Decoded(QString::fromUtf16(kRecord), MetricUnits());
    EXPECT_EQ(r.insideHumidity, 50);
    EXPECT_FLOAT_EQ(r.insideTemp, 22.0f);
    EXPECT_EQ(r.outsideHumidity, 59);
    EXPECT_FLOAT_EQ(r.outsideTemp, 20.0f);
    EXPECT_FLOAT_EQ(r.dewpoint, 11.8f);
    EXPECT_FLOAT_EQ(r.windChill, 19.4f);
    EXPECT_FLOAT_EQ(r.pressure, 1015.2f) << "sea-level pressure, not the absolute one before it";
    EXPECT_FLOAT_EQ(r.average, 2.1f);
    EXPECT_FLOAT_EQ(r.gust, 4.5f);
    EXPECT_EQ(r.bearing, 157);
    EXPECT_FLOAT_EQ(r.rainRate, 0.6f);
    EXPECT_FLOAT_EQ(r.rainCounter, 123.6f);
}

TEST(EasyWeatherDecode, ConvertsIntoTheUsersUnits)
{
    const EasyWeatherReadings r = Decoded(QString::fromUtf16(kRecord), ImperialUnits());
    EXPECT_NEAR(r.outsideTemp, 68.0f, 1e-4) << "the file is always Celsius";
    EXPECT_NEAR(r.insideTemp, 71.6f, 1e-4);
    EXPECT_NEAR(r.dewpoint, 53.24f, 1e-4);
    EXPECT_NEAR(r.windChill, 66.92f, 1e-4);
    EXPECT_NEAR(r.gust, 10.0662f, 1e-3);
    EXPECT_NEAR(r.average, 4.69757f, 1e-3);
    EXPECT_NEAR(r.pressure, 29.9823f, 1e-3);
    EXPECT_NEAR(r.rainCounter, 4.86614f, 1e-4);
    EXPECT_NEAR(r.rainRate, 0.023622f, 1e-5);
    EXPECT_EQ(r.insideHumidity, 50) << "humidity has no unit to convert";
    EXPECT_EQ(r.bearing, 157);
}

TEST(EasyWeatherDecode, AnUnknownDirectionGivesBearingZero)
{
    EXPECT_EQ(Decoded(RecordWith({{19, QStringLiteral("ENE")}}), MetricUnits()).bearing, 0);
    EXPECT_EQ(Decoded(RecordWith({{19, QStringLiteral("sse")}}), MetricUnits()).bearing, 0);
}

TEST(EasyWeatherDecode, ReadsTheRegionalDecimalSeparatorWithSemicolonSeparatedItems)
{
    QString line = QString::fromUtf16(kRecord);
    line.replace(u',', u';').replace(u'.', u',');
    const EasyWeatherReadings r = Decoded(line, MetricUnits(kGerman));
    EXPECT_FLOAT_EQ(r.outsideTemp, 20.0f);
    EXPECT_FLOAT_EQ(r.dewpoint, 11.8f);
    EXPECT_FLOAT_EQ(r.pressure, 1015.2f);
    EXPECT_FLOAT_EQ(r.rainCounter, 123.6f);
    EXPECT_EQ(r.bearing, 157);

    line = QString::fromUtf16(kRecord).replace(u',', u';');
    EXPECT_FLOAT_EQ(Decoded(line, MetricUnits(kGerman)).outsideTemp, 20.0f) << "a point can only be a decimal point";
}

struct DecodeFailureCase {
    const char* why;
    QString line;
    Units units;
    EasyWeatherError::Kind kind;
    const char* message;
};

TEST(EasyWeatherDecode, SaysWhatIsWrongWithABadLine)
{
    using Kind = EasyWeatherError::Kind;
    const DecodeFailureCase cases[] = {
        {"a blank line", QStringLiteral("  \t"), MetricUnits(), Kind::LastLineEmpty, "the last line is empty"},
        {"too few items", QStringLiteral("4,2024-03-08 16:07:52,2024-03-08 16:07:00,30,50,22.0,59,20.0"),
         MetricUnits(), Kind::TooFewFields, "line has 10 fields, 28 needed"},
        {"an item that is not a number", RecordWith({{9, QStringLiteral("abc")}}), MetricUnits(), Kind::NotANumber,
         "field 9 is not a number: abc"},
        {"an empty item", RecordWith({{27, QString()}}), MetricUnits(), Kind::NotANumber,
         "field 27 is not a number: "},
        {"the first bad item is reported", RecordWith({{9, QStringLiteral("x9")}, {7, QStringLiteral("x7")}}), MetricUnits(), Kind::NotANumber,
         "field 7 is not a number: x7"},
        {"humidity must be whole", RecordWith({{8, QStringLiteral("59.5")}}), MetricUnits(), Kind::NotAWholeNumber,
         "field 8 is not a whole number: 59.5"},
        {"not-a-number text is no number", RecordWith({{13, QStringLiteral("nan")}}), MetricUnits(), Kind::NotANumber,
         "field 13 is not a number: nan"},
        {"a value beyond float range is no number", RecordWith({{16, QStringLiteral("1e39")}}), MetricUnits(),
         Kind::NotANumber, "field 16 is not a number: 1e39"},
        // The settings of a comma-decimal locale list items with ";": a file
        // with commas between items cannot be told apart from decimals.
        {"a comma-separated file under a comma-decimal locale", QString::fromUtf16(kRecord), MetricUnits(kGerman),
         Kind::TooFewFields, "line has 3 fields, 28 needed"},
    };
    for (const DecodeFailureCase& c : cases) {
        const EasyWeatherDecode result = DecodeEasyWeatherLine(c.line, c.units);
        const auto* error = std::get_if<EasyWeatherError>(&result);
        ASSERT_NE(error, nullptr) << c.why;
        EXPECT_EQ(error->kind, c.kind) << c.why;
        EXPECT_EQ(error->message().toStdString(), c.message) << c.why;
    }
}

QByteArray ManyRecords(int count, const QByteArray& last)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray::number(i) + ",earlier record\r\n";
    return bytes + last;
}

struct LastLineCase {
    const char* why;
    QByteArray bytes;
    QString line;
};

TEST(EasyWeatherLastLine, TakesTheTextAfterTheLastLineEnd)
{
    const QByteArray longLine = "\"" + QByteArray(10000, 'x') + "\",last";
    const LastLineCase cases[] = {
        {"CR LF lines", "first\r\nsecond\r\nlast\r\n", QStringLiteral("last")},
        {"LF lines from another computer", "first\nsecond\nlast\n", QStringLiteral("last")},
        {"no line end after the last record", "first\r\nlast", QStringLiteral("last")},
        {"a single record", "only\r\n", QStringLiteral("only")},
        {"blank text after the final line end is the last line", "first\r\n   ", QStringLiteral("   ")},
        {"a second line end leaves an empty last line", "first\r\nsecond\r\n\r\n", QString()},
        {"a file of one line end", "\r\n", QString()},
        {"far more lines than one window", ManyRecords(5000, "last\r\n"), QStringLiteral("last")},
        {"a last line longer than the first window", ManyRecords(500, longLine + "\r\n"),
         QString::fromLatin1(longLine)},
        {"a long line that is the whole file", longLine, QString::fromLatin1(longLine)},
        {"Windows-1252 text", "first\r\n\xb0" "C\r\n", QStringLiteral("°C")},
    };
    for (const LastLineCase& c : cases) {
        QBuffer buffer;
        buffer.setData(c.bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        const EasyWeatherLine result = ReadEasyWeatherLastLine(buffer);
        const auto* line = std::get_if<QString>(&result);
        ASSERT_NE(line, nullptr) << c.why << ": " << std::get<EasyWeatherError>(result).message().toStdString();
        EXPECT_EQ(line->toStdString(), c.line.toStdString()) << c.why;
    }
}

TEST(EasyWeatherLastLine, RefusesAnEmptyFileAndAnOverlongLine)
{
    const struct {
        const char* why;
        QByteArray bytes;
        EasyWeatherError::Kind kind;
    } cases[] = {
        {"nothing in the file", QByteArray(), EasyWeatherError::Kind::FileEmpty},
        {"no line end in reach", QByteArray(kEasyWeatherMaxLineLength + 1, 'x'), EasyWeatherError::Kind::LineTooLong},
        {"an overlong last line after others", ManyRecords(3, QByteArray(kEasyWeatherMaxLineLength + 1, 'x') + "\r\n"),
         EasyWeatherError::Kind::LineTooLong},
    };
    for (const auto& c : cases) {
        QBuffer buffer;
        buffer.setData(c.bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        const EasyWeatherLine result = ReadEasyWeatherLastLine(buffer);
        const auto* error = std::get_if<EasyWeatherError>(&result);
        ASSERT_NE(error, nullptr) << c.why;
        EXPECT_EQ(error->kind, c.kind) << c.why;
    }
}

// Writes each call with its arguments, so order and values are checked at once.
class RecordingHandlers final : public QuantityHandlers {
public:
    std::vector<std::string> calls;

    void DoWind(int bearing, float speed, float average, TDateTime time) override
    {
        add("DoWind", {QString::number(bearing), number(speed), number(average), stamp(time)});
    }
    void DoWindChill(float chill, TDateTime time) override { add("DoWindChill", {number(chill), stamp(time)}); }
    void DoInsideHumidity(int humidity) override { add("DoInsideHumidity", {QString::number(humidity)}); }
    void DoOutsideHumidity(int humidity) override { add("DoOutsideHumidity", {QString::number(humidity)}); }
    void DoOutsideDewpoint(float dewpoint) override { add("DoOutsideDewpoint", {number(dewpoint)}); }
    void DoPressure(float pressure, TDateTime time) override { add("DoPressure", {number(pressure), stamp(time)}); }
    void DoPressureTrendText(const QString& text) override { add("DoPressureTrendText", {text}); }
    void DoInsideTemp(float temperature) override { add("DoInsideTemp", {number(temperature)}); }
    void DoOutsideTemp(float temperature, TDateTime time) override
    {
        add("DoOutsideTemp", {number(temperature), stamp(time)});
    }
    void DoRain(float counter, float rate, TDateTime time) override
    {
        add("DoRain", {number(counter), number(rate), stamp(time)});
    }
    void DoConsoleBattery(float volts) override { add("DoConsoleBattery", {number(volts)}); }
    void DoTransmitterBattery(const QString& text) override { add("DoTransmitterBattery", {text}); }
    void DoForecast(const QString& text) override { add("DoForecast", {QStringLiteral("\"") + text + u'"'}); }
    void DoStatusPanel() override { add("DoStatusPanel", {}); }
    void DoET(float value) override { add("DoET", {number(value)}); }
    void DoUV(float value) override { add("DoUV", {number(value)}); }
    void DoSolarRad(int value) override { add("DoSolarRad", {QString::number(value)}); }

    void add(const char* name, const QStringList& arguments)
    {
        calls.push_back(name + ("(" + arguments.join(QStringLiteral(", ")) + ")").toStdString());
    }

private:
    static QString number(float value) { return QString::number(value, 'f', 2); }
    static QString stamp(TDateTime time) { return ToQDateTime(time).toString(QStringLiteral("HH:mm:ss")); }
};

class EasyWeatherReaderTest : public ::testing::Test {
protected:
    EasyWeatherReaderTest()
    {
        debugLog.setEnabled(true);
        settings.setText(Setting::EWFile, kDataFolder + QStringLiteral("/Easyweather.dat"));
    }

    // One tick, and the event loop until its readings are handed over.
    void readAndWait()
    {
        reader.readOnce();
        RunEventsUntil([&] { return !reader.reading(); });
    }

    // The debug log's lines below its header.
    QStringList debugLines()
    {
        debugLog.flush();
        QFile file(folder.filePath(QStringLiteral("debug.log")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        lines.removeAll(QStringLiteral("Brezmor debug log"));
        return lines;
    }

    QTemporaryDir folder;
    SimulatedClock clock{EncodeDateTime(2024, 3, 8, 15, 40, 5)};
    Settings settings{folder.filePath(QStringLiteral("Brezmor.ini")), RegionalSettings{}, folder.path()};
    DebugLog debugLog{folder.filePath(QStringLiteral("debug.log"))};
    Units units = MetricUnits();
    RecordingHandlers handlers;
    EasyWeatherReader reader{handlers, [this] { handlers.add("PressureTrendText", {}); }, units, settings, clock,
                             debugLog};
};

TEST_F(EasyWeatherReaderTest, HandsTheLastRecordOverInTheFixedOrder)
{
    const struct {
        const char* why;
        bool useOwnForecast;
        std::vector<std::string> forecast;
    } cases[] = {
        {"the station's forecast box stays as it is", false, {}},
        {"the program's own forecast is asked for with an empty text", true, {"DoForecast(\"\")"}},
    };
    for (const auto& c : cases) {
        handlers.calls.clear();
        settings.setBoolean(Setting::UseBrezmorForecast, c.useOwnForecast);
        readAndWait();
        std::vector<std::string> expected = {
            "DoWind(157, 4.50, 2.10, 15:40:05)",
            "DoWindChill(19.40, 15:40:05)",
            "DoInsideHumidity(50)",
            "DoOutsideHumidity(59)",
            "DoOutsideDewpoint(11.80)",
            "DoPressure(1015.20, 15:40:05)",
            "PressureTrendText()",
            "DoInsideTemp(22.00)",
            "DoOutsideTemp(20.00, 15:40:05)",
            "DoRain(123.60, 0.60, 15:40:05)",
        };
        expected.insert(expected.end(), c.forecast.begin(), c.forecast.end());
        expected.push_back("DoStatusPanel()");
        EXPECT_EQ(handlers.calls, expected) << c.why;
    }
    EXPECT_TRUE(debugLines().isEmpty());
}

TEST_F(EasyWeatherReaderTest, ReadsACommaDecimalFileUnderTheMatchingLocale)
{
    units = MetricUnits(kGerman);
    settings.setText(Setting::EWFile, kDataFolder + QStringLiteral("/comma_decimal.dat"));
    readAndWait();
    ASSERT_EQ(handlers.calls.size(), 11u) << (debugLines().isEmpty() ? "" : debugLines().front().toStdString());
    EXPECT_EQ(handlers.calls[0], "DoWind(157, 4.50, 2.10, 15:40:05)");
    EXPECT_EQ(handlers.calls[9], "DoRain(123.60, 0.60, 15:40:05)");
}

TEST_F(EasyWeatherReaderTest, HandsNothingOverAndLogsOneLineWhenTheFileIsBad)
{
    QTemporaryDir other;
    const QString missing = other.filePath(QStringLiteral("Easyweather.dat"));
    const struct {
        const char* why;
        QString file;
        QString reason;
    } cases[] = {
        {"the file does not exist", missing, QStringLiteral("file not found: ") + missing},
        {"no file is set", QString(), QStringLiteral("file not found: ")},
        {"the file names a folder", other.path(), QStringLiteral("cannot read the file: ") + other.path()},
        {"the file is empty", kDataFolder + QStringLiteral("/empty.dat"), QStringLiteral("the file is empty")},
        {"the last line is blank", kDataFolder + QStringLiteral("/blank_last_line.dat"),
         QStringLiteral("the last line is empty")},
        {"the last line is short", kDataFolder + QStringLiteral("/short_line.dat"),
         QStringLiteral("line has 8 fields, 28 needed")},
        {"a field of the last line is no number", kDataFolder + QStringLiteral("/bad_field.dat"),
         QStringLiteral("field 9 is not a number: abc")},
    };
    for (const auto& c : cases) {
        handlers.calls.clear();
        debugLog.flush();
        QFile::remove(folder.filePath(QStringLiteral("debug.log")));
        settings.setText(Setting::EWFile, c.file);
        readAndWait();
        EXPECT_TRUE(handlers.calls.empty()) << c.why;
        const QStringList lines = debugLines();
        ASSERT_EQ(lines.size(), 1) << c.why;
        EXPECT_TRUE(lines.front().startsWith(QStringLiteral("2024-03-08 15:40:05: Error processing EasyWeather file: ")
                                             + c.reason))
            << c.why << ": " << lines.front().toStdString();
    }
}

TEST_F(EasyWeatherReaderTest, PollsOnlyWithAPositiveInterval)
{
    const struct {
        const char* why;
        int minutes;
        bool polling;
        int intervalMs;
    } cases[] = {
        {"five minutes", 5, true, 300000},
        {"zero switches polling off", 0, false, -1},
        {"one minute", 1, true, 60000},
        {"a negative interval switches polling off", -3, false, -1},
        {"an interval beyond the timer's range is held at its longest", 100000, true, 35791 * 60000},
    };
    for (const auto& c : cases) {
        settings.setInteger(Setting::EWInterval, c.minutes);
        reader.start();
        EXPECT_EQ(reader.isPolling(), c.polling) << c.why;
        if (c.polling) {
            EXPECT_EQ(reader.intervalMs(), c.intervalMs) << c.why;
        }
    }
    reader.stop();
    EXPECT_FALSE(reader.isPolling());
}

TEST_F(EasyWeatherReaderTest, ATimerTickReadsTheFile)
{
    auto* const timer = reader.findChild<QTimer*>(QStringLiteral("EWTimer"));
    ASSERT_NE(timer, nullptr);
    settings.setInteger(Setting::EWInterval, 1);
    reader.start();
    timer->setInterval(0);
    RunEventsUntil([&] { return !handlers.calls.empty(); });
    reader.stop();
    ASSERT_FALSE(handlers.calls.empty());
    EXPECT_EQ(handlers.calls.back(), "DoStatusPanel()");
}

TEST_F(EasyWeatherReaderTest, ReadsTheRecordAppendedSinceTheLastTick)
{
    const QString path = folder.filePath(QStringLiteral("Easyweather.dat"));
    ASSERT_TRUE(QFile::copy(kDataFolder + QStringLiteral("/Easyweather.dat"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    settings.setText(Setting::EWFile, path);
    readAndWait();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(RecordWith({{19, QStringLiteral("NW")}}).toLatin1() + "\r\n");
    }
    handlers.calls.clear();
    readAndWait();
    ASSERT_FALSE(handlers.calls.empty());
    EXPECT_EQ(handlers.calls.front(), "DoWind(315, 4.50, 2.10, 15:40:05)");
}

// A file on a network share that hangs must not stop the program: the read
// waits on its own thread, and ticks meanwhile are skipped, not piled up.
TEST_F(EasyWeatherReaderTest, AHangingFileBlocksNeitherTheMainThreadNorTheNextTicks)
{
    // Opening a named pipe waits until somebody writes to it, as a read
    // from a hung share waits.
    const QString pipe = folder.filePath(QStringLiteral("hanging.dat"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    settings.setText(Setting::EWFile, pipe);
    reader.readOnce();
    EXPECT_TRUE(reader.reading());
    reader.readOnce();
    EXPECT_EQ(debugLines(),
              QStringList{QStringLiteral(
                  "2024-03-08 15:40:05: EasyWeather file still being read from the last tick; this tick is skipped")});

    {
        QFile writer(pipe);
        ASSERT_TRUE(writer.open(QIODevice::WriteOnly));
    }
    RunEventsUntil([&] { return !reader.reading(); });
    EXPECT_FALSE(reader.reading());
    EXPECT_TRUE(handlers.calls.empty());
}

}  // namespace
}  // namespace brezmor
