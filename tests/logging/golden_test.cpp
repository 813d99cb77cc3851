// Golden cases for the data-file writers. Each file under data/logging/ named
// *.case holds a small fixed state, the writes to run and the exact lines
// expected afterwards in the data files and the program log; a new case is a
// new file.
//
// Before the first "== " line, one directive a line ('#' starts a comment):
//   locale NAME                    regional settings of that locale (first line only)
//   setting KEY VALUE              a settings-file key, e.g. "setting RolloverHour 9"
//   set FIELD VALUE                a CurrentConditions field, "today.x" for today's extremes
//   last-update yyyy-MM-dd HH:mm   the last data-log time
//   record INDEX VALUE yyyy-MM-dd HH:mm
//   clock yyyy-MM-dd HH:mm
//   run WriteDataLogLine|DayReset yyyy-MM-dd HH:mm
// Then sections, each running to the next "== " line:
//   == file NAME                   the lines of that file in the data folder
//   == program log                 the program log without its time stamps
//   == values                      "FIELD VALUE" or "record INDEX VALUE yyyy-MM-dd HH:mm"

#include "logging/data_log.h"
#include "logging/day_rollover.h"
#include "logging_fixture.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace brezmor {
namespace {

const QString kCaseFolder = QStringLiteral(BREZMOR_TEST_DATA "/logging");

struct Section {
    QString title;
    QStringList lines;
};

struct GoldenCase {
    QStringList directives;
    std::vector<Section> sections;
};

GoldenCase ReadCase(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << path.toStdString();
    GoldenCase golden;
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        if (line.startsWith(QStringLiteral("== "))) {
            golden.sections.push_back({line.mid(3).trimmed(), {}});
        } else if (!golden.sections.empty()) {
            golden.sections.back().lines.append(line);
        } else if (!line.trimmed().isEmpty() && !line.startsWith(u'#')) {
            golden.directives.append(line.trimmed());
        }
    }
    for (Section& section : golden.sections) {
        while (!section.lines.isEmpty() && section.lines.back().trimmed().isEmpty())
            section.lines.removeLast();
    }
    return golden;
}

TDateTime ParseMoment(const QString& text)
{
    const QDateTime moment = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
    EXPECT_TRUE(moment.isValid()) << text.toStdString();
    return ToDateTime(moment);
}

// One CurrentConditions field by name: how to set it from case text and,
// for numbers, how to read it back.
struct FieldAccess {
    std::function<void(CurrentConditions&, const QString&)> set;
    std::function<double(const CurrentConditions&)> get;
};

template <typename T>
T ParseValue(const QString& text)
{
    if constexpr (std::is_same_v<T, QString>)
        return text;
    else if constexpr (std::is_same_v<T, bool>)
        return text == QStringLiteral("true");
    else if constexpr (std::is_same_v<T, int>)
        return text.toInt();
    else
        return static_cast<T>(text.toDouble());
}

template <typename T>
double AsNumber(const T& value)
{
    if constexpr (std::is_same_v<T, QString>)
        return std::nan("");
    else
        return static_cast<double>(value);
}

template <typename T>
FieldAccess Field(T CurrentConditions::*member)
{
    return {[member](CurrentConditions& c, const QString& text) { c.*member = ParseValue<T>(text); },
            [member](const CurrentConditions& c) { return AsNumber(c.*member); }};
}

template <typename T>
FieldAccess TodayField(T TodayExtremes::*member)
{
    return {[member](CurrentConditions& c, const QString& text) { c.today.*member = ParseValue<T>(text); },
            [member](const CurrentConditions& c) { return AsNumber(c.today.*member); }};
}

const std::map<QString, FieldAccess>& Fields()
{
    using C = CurrentConditions;
    using T = TodayExtremes;
    static const std::map<QString, FieldAccess> fields = {
        {QStringLiteral("outdoorTemp"), Field(&C::outdoorTemp)},
        {QStringLiteral("indoorTemp"), Field(&C::indoorTemp)},
        {QStringLiteral("dewPoint"), Field(&C::dewPoint)},
        {QStringLiteral("tempTotal"), Field(&C::tempTotal)},
        {QStringLiteral("tempSamples"), Field(&C::tempSamples)},
        {QStringLiteral("outdoorHumidity"), Field(&C::outdoorHumidity)},
        {QStringLiteral("indoorHumidity"), Field(&C::indoorHumidity)},
        {QStringLiteral("pressure"), Field(&C::pressure)},
        {QStringLiteral("bearing"), Field(&C::bearing)},
        {QStringLiteral("latestWindSpeed"), Field(&C::latestWindSpeed)},
        {QStringLiteral("windGust"), Field(&C::windGust)},
        {QStringLiteral("windAverage"), Field(&C::windAverage)},
        {QStringLiteral("averageBearing"), Field(&C::averageBearing)},
        {QStringLiteral("windRunToday"), Field(&C::windRunToday)},
        {QStringLiteral("windRunYesterday"), Field(&C::windRunYesterday)},
        {QStringLiteral("rainCounter"), Field(&C::rainCounter)},
        {QStringLiteral("rainCounterDayStart"), Field(&C::rainCounterDayStart)},
        {QStringLiteral("rainToday"), Field(&C::rainToday)},
        {QStringLiteral("rainRate"), Field(&C::rainRate)},
        {QStringLiteral("rainMonth"), Field(&C::rainMonth)},
        {QStringLiteral("rainYear"), Field(&C::rainYear)},
        {QStringLiteral("rainYesterday"), Field(&C::rainYesterday)},
        {QStringLiteral("rainNotInitialised"), Field(&C::rainNotInitialised)},
        {QStringLiteral("today.highGust"), TodayField(&T::highGust)},
        {QStringLiteral("today.highGustTime"), TodayField(&T::highGustTime)},
        {QStringLiteral("today.highGustBearing"), TodayField(&T::highGustBearing)},
        {QStringLiteral("today.highWind"), TodayField(&T::highWind)},
        {QStringLiteral("today.highWindTime"), TodayField(&T::highWindTime)},
        {QStringLiteral("today.highTemp"), TodayField(&T::highTemp)},
        {QStringLiteral("today.highTempTime"), TodayField(&T::highTempTime)},
        {QStringLiteral("today.lowTemp"), TodayField(&T::lowTemp)},
        {QStringLiteral("today.lowTempTime"), TodayField(&T::lowTempTime)},
        {QStringLiteral("today.highPressure"), TodayField(&T::highPressure)},
        {QStringLiteral("today.highPressureTime"), TodayField(&T::highPressureTime)},
        {QStringLiteral("today.lowPressure"), TodayField(&T::lowPressure)},
        {QStringLiteral("today.lowPressureTime"), TodayField(&T::lowPressureTime)},
        {QStringLiteral("today.highRainRate"), TodayField(&T::highRainRate)},
        {QStringLiteral("today.highRainRateTime"), TodayField(&T::highRainRateTime)},
    };
    return fields;
}

const FieldAccess* FindField(const QString& name)
{
    const auto found = Fields().find(name);
    EXPECT_NE(found, Fields().end()) << "unknown field " << name.toStdString();
    return found == Fields().end() ? nullptr : &found->second;
}

std::string Joined(const QStringList& lines)
{
    return lines.join(u'\n').toStdString();
}

std::vector<std::string> CaseNames()
{
    std::vector<std::string> names;
    const QStringList files = QDir(kCaseFolder).entryList({QStringLiteral("*.case")}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        names.push_back(QFileInfo(file).completeBaseName().toStdString());
    return names;
}

class GoldenTest : public LoggingTest, public ::testing::WithParamInterface<std::string> {
protected:
    void applyDirective(const QString& directive)
    {
        const QStringList words = directive.split(u' ', Qt::SkipEmptyParts);
        const QString& verb = words.front();
        const QString rest = directive.section(u' ', 1).trimmed();
        if (verb == QStringLiteral("setting")) {
            setSetting(words.value(1), words.value(2));
        } else if (verb == QStringLiteral("set")) {
            if (const FieldAccess* field = FindField(words.value(1)))
                field->set(conditions(), directive.section(u' ', 2).trimmed());
        } else if (verb == QStringLiteral("last-update")) {
            conditions().lastUpdateTime = ParseMoment(rest);
        } else if (verb == QStringLiteral("record")) {
            core().records().setRecord(words.value(1).toInt(), words.value(2).toFloat(),
                                       ParseMoment(directive.section(u' ', 3).trimmed()));
        } else if (verb == QStringLiteral("clock")) {
            m_clock.setNow(ParseMoment(rest));
        } else if (verb == QStringLiteral("run")) {
            const TDateTime moment = ParseMoment(directive.section(u' ', 2).trimmed());
            if (words.value(1) == QStringLiteral("WriteDataLogLine"))
                DataLog(core(), dataFolder()).WriteDataLogLine(moment);
            else if (words.value(1) == QStringLiteral("DayReset"))
                DayRollover(core(), dataFolder()).DayReset(moment);
            else
                ADD_FAILURE() << "unknown run " << directive.toStdString();
        } else {
            ADD_FAILURE() << "unknown directive " << directive.toStdString();
        }
    }

    void setSetting(const QString& key, const QString& value)
    {
        for (const SettingDefinition& definition : settingTable()) {
            if (QString::fromLatin1(definition.key) != key)
                continue;
            switch (definition.type) {
            case SettingType::Int:
                settings().setInteger(definition.id, value.toInt());
                break;
            case SettingType::Bool:
                settings().setBoolean(definition.id, value == QStringLiteral("true"));
                break;
            case SettingType::Single:
                settings().setSingle(definition.id, value.toFloat());
                break;
            default:
                ADD_FAILURE() << "setting of unsupported type " << key.toStdString();
            }
            core().applyUnitSettings();
            return;
        }
        ADD_FAILURE() << "unknown setting " << key.toStdString();
    }

    void checkValue(const QString& line)
    {
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        if (words.front() == QStringLiteral("record")) {
            const TAllTimeRecord& record = core().records().record(words.value(1).toInt());
            EXPECT_FLOAT_EQ(record.value, words.value(2).toFloat()) << line.toStdString();
            EXPECT_EQ(ToQDateTime(record.time), ToQDateTime(ParseMoment(line.section(u' ', 3).trimmed())))
                << line.toStdString();
            return;
        }
        if (const FieldAccess* field = FindField(words.value(0))) {
            EXPECT_NEAR(field->get(conditions()), words.value(1).toDouble(), 1e-4) << line.toStdString();
        }
    }
};

TEST_P(GoldenTest, FilesMatch)
{
    const GoldenCase golden = ReadCase(QDir(kCaseFolder).filePath(QString::fromStdString(GetParam()) + ".case"));
    ASSERT_FALSE(golden.directives.isEmpty());
    ASSERT_FALSE(golden.sections.empty());

    QStringList directives = golden.directives;
    if (directives.front().startsWith(QStringLiteral("locale ")))
        start(QLocale(directives.takeFirst().section(u' ', 1).trimmed()));
    else
        start();
    for (const QString& directive : directives)
        applyDirective(directive);

    for (const Section& section : golden.sections) {
        SCOPED_TRACE(section.title.toStdString());
        if (section.title.startsWith(QStringLiteral("file "))) {
            const QString name = section.title.mid(5).trimmed();
            ASSERT_TRUE(QFileInfo::exists(dataPath(name))) << name.toStdString();
            EXPECT_EQ(Joined(dataFileLines(name)), Joined(section.lines));
        } else if (section.title == QStringLiteral("program log")) {
            EXPECT_EQ(Joined(programLogLines()), Joined(section.lines));
        } else if (section.title == QStringLiteral("values")) {
            for (const QString& line : section.lines)
                checkValue(line);
        } else {
            ADD_FAILURE() << "unknown section";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace brezmor
