#include "logging/data_log.h"

#include "logging_fixture.h"

#include <QFileInfo>

#include <optional>
#include <vector>

namespace brezmor {
namespace {

struct MonthNameCase {
    const char* why;
    QLocale locale;
    int month;
    const char* expected;
};

TEST(DataLogMonthNameTest, RegionalShortNameWithoutPunctuation)
{
    const MonthNameCase cases[] = {
        {"plain three-letter name", QLocale(QLocale::English, QLocale::UnitedKingdom), 12, "Dec"},
        {"four-letter name stays whole", QLocale(QLocale::English, QLocale::UnitedKingdom), 9, "Sept"},
        {"trailing dot dropped", QLocale(QLocale::German, QLocale::Germany), 1, "Jan"},
        {"non-ASCII letters kept", QLocale(QLocale::German, QLocale::Germany), 3, "M\u00e4rz"},
        {"dot inside a French abbreviation dropped", QLocale(QLocale::French, QLocale::France), 2, "f\u00e9vr"},
        {"digits and letters of a CJK name kept", QLocale(QLocale::Japanese, QLocale::Japan), 11, "11\u6708"},
    };
    for (const MonthNameCase& c : cases)
        EXPECT_EQ(DataLogMonthName(c.month, c.locale).toStdString(), QString::fromUtf8(c.expected).toStdString())
            << c.why;
}

struct FileNameCase {
    const char* why;
    int rolloverHour;
    TDateTime lineTime;
    const char* expected;
};

TEST(DataLogFileNameTest, MonthOfTheLogDay)
{
    const SimulatedClock clock;
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    const FileNameCase cases[] = {
        {"midnight rollover: calendar month", 0, EncodeDateTime(2009, 3, 1, 0, 0), "Mar09log.txt"},
        {"9 am rollover: 08:59 on the 1st is February's", 9, EncodeDateTime(2009, 3, 1, 8, 59), "Feb09log.txt"},
        {"9 am rollover: 09:00 starts March", 9, EncodeDateTime(2009, 3, 1, 9, 0), "Mar09log.txt"},
        {"summer: 09:59 on 1 July is June's", 9, EncodeDateTime(2009, 7, 1, 9, 59), "Jun09log.txt"},
        {"summer: 10:00 starts July", 9, EncodeDateTime(2009, 7, 1, 10, 0), "Jul09log.txt"},
        {"before 09:00 on New Year's Day: last year's December", 9, EncodeDateTime(2009, 1, 1, 8, 0),
         "Dec08log.txt"},
        {"two-digit year of 2000", 0, EncodeDateTime(2000, 5, 17, 12, 0), "May00log.txt"},
    };
    for (const FileNameCase& c : cases) {
        const QString path = DataLogFileName(QStringLiteral("/data"), c.lineTime, c.rolloverHour, clock, british);
        EXPECT_EQ(path.toStdString(), std::string("/data/") + c.expected) << c.why;
    }
}

struct NumberCase {
    const char* why;
    const char* text;
    std::optional<float> expected;
};

TEST(DataLineTest, NumbersUseOnlyTheRegionalDecimalSeparator)
{
    const RegionalSettings german = RegionalSettings::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    const NumberCase cases[] = {
        {"comma decimal", "5,3", 5.3f},
        {"negative", "-0,5", -0.5f},
        {"integer", "270", 270.0f},
        {"exponent form of a huge value", "1,23E+03", 1230.0f},
        {"a point is no decimal separator here (nor a thousands one)", "1.013", std::nullopt},
        {"empty field", "", std::nullopt},
        {"not a number", "NAN", std::nullopt},
        {"text", "abc", std::nullopt},
        {"trailing garbage", "5,3x", std::nullopt},
    };
    for (const NumberCase& c : cases) {
        const DataLine line(QStringLiteral("24.12.08;10:20;") + QString::fromLatin1(c.text), 1, german);
        const std::optional<float> parsed = line.number(2);
        ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << c.why;
        if (parsed) {
            EXPECT_FLOAT_EQ(*parsed, *c.expected) << c.why;
        }
    }
}

TEST(DataLineTest, DateAndTimeFromFixedPositionsWithAnySeparator)
{
    const RegionalSettings british = RegionalSettings::fromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(DataLine(QStringLiteral("24-12-08,10.20,1"), 1, british).dateTime(),
              std::optional(EncodeDateTime(2008, 12, 24, 10, 20)));
    EXPECT_EQ(DataLine(QStringLiteral("01/03/51,00:00"), 1, british).dateTime(),
              std::optional(EncodeDateTime(1951, 3, 1)));
    EXPECT_FALSE(DataLine(QStringLiteral("24/12/08,10:2"), 1, british).dateTime()) << "half-written time";
    EXPECT_FALSE(DataLine(QStringLiteral("24/12/08,25:00"), 1, british).dateTime()) << "no such hour";
    EXPECT_FALSE(DataLine(QStringLiteral("31/02/09,10:00"), 1, british).dateTime()) << "no such date";
    EXPECT_FALSE(DataLine(QStringLiteral("24/12/08"), 1, british).dateTime()) << "no time field";
}

class DataFileReaderTest : public LoggingTest {
protected:
    void SetUp() override { start(); }

    // The line numbers handed over, with every line reported readable.
    std::vector<int> readLineNumbers(const QString& name, DataFileRead* result = nullptr)
    {
        std::vector<int> numbers;
        const DataFileRead read = DataFileReader(core()).read(dataPath(name), [&](const DataLine& line) {
            numbers.push_back(line.lineNumber());
            return line.dateTime() ? LineUse::Used : LineUse::Unreadable;
        });
        if (result)
            *result = read;
        return numbers;
    }
};

TEST_F(DataFileReaderTest, AcceptsBothLineEndsAndAnUnendedLastLine)
{
    writeDataFile(QStringLiteral("mixed.txt"), "01/03/09,00:00\r\n01/03/09,00:01\n\r\n01/03/09,00:02");
    DataFileRead result;
    EXPECT_EQ(readLineNumbers(QStringLiteral("mixed.txt"), &result), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(result.status, DataFileRead::Status::Read);
    EXPECT_FALSE(debugLogText().contains(QStringLiteral("Skipped")));
}

TEST_F(DataFileReaderTest, AnUnreadableLineIsSkippedAndNoted)
{
    writeDataFile(QStringLiteral("bad.txt"), "01/03/09,00:00\r\ngarbage\r\n01/03/09,00:02\r\n");
    EXPECT_EQ(readLineNumbers(QStringLiteral("bad.txt")), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(debugLogText().contains(QStringLiteral(" Skipped unreadable line 2 of ")
                                        + dataPath(QStringLiteral("bad.txt")) + QStringLiteral(": garbage")));
}

TEST_F(DataFileReaderTest, MissingFileIsNoError)
{
    DataFileRead result;
    EXPECT_TRUE(readLineNumbers(QStringLiteral("none.txt"), &result).empty());
    EXPECT_EQ(result.status, DataFileRead::Status::Missing);
}

TEST_F(DataFileReaderTest, FileThatCannotBeOpenedIsAFailure)
{
    QDir(dataFolder()).mkdir(QStringLiteral("folder.txt"));
    DataFileRead result;
    EXPECT_TRUE(readLineNumbers(QStringLiteral("folder.txt"), &result).empty());
    EXPECT_EQ(result.status, DataFileRead::Status::Failed);
    EXPECT_FALSE(result.error.isEmpty());
}

class DataLogTest : public LoggingTest {
protected:
    void SetUp() override
    {
        start();
        m_clock.setNow(m_lineTime);
        conditions().outdoorTemp = 5.3f;
        conditions().rainCounter = 123.4f;
    }

    const TDateTime m_lineTime = EncodeDateTime(2009, 3, 15, 14, 20);
};

TEST_F(DataLogTest, WriteFailureIsLoggedAndTheRestStillRuns)
{
    settings().setBoolean(Setting::SpecialLog, true);
    const DataLog log(core(), dataFolder());
    ASSERT_EQ(QFileInfo(log.DataLogFileName(m_lineTime)).fileName(), QStringLiteral("Mar09log.txt"));
    QDir(dataFolder()).mkdir(QStringLiteral("Mar09log.txt"));

    DataLog(core(), dataFolder()).WriteDataLogLine(m_lineTime);

    EXPECT_TRUE(debugLogText().contains(QStringLiteral("15/03/2009 14:20:00 Error writing to data file: ")
                                        + dataPath(QStringLiteral("Mar09log.txt")) + QStringLiteral(". ")));
    EXPECT_EQ(dataFileLines(QStringLiteral("speciallog.txt")).size(), 1);
    EXPECT_EQ(conditions().lastUpdateTime, m_lineTime);
    EXPECT_TRUE(programLogLines().contains(
        QStringLiteral("Writing todayfile, LastUpdateTime = 15/03/2009 14:20:00 raindaystart = -1")));
}

TEST_F(DataLogTest, SpecialLogFailureDoesNotStopTheLine)
{
    settings().setBoolean(Setting::SpecialLog, true);
    QDir(dataFolder()).mkdir(QStringLiteral("speciallog.txt"));

    DataLog(core(), dataFolder()).WriteDataLogLine(m_lineTime);

    EXPECT_TRUE(debugLogText().contains(QStringLiteral(" Error writing to data file: ")
                                        + dataPath(QStringLiteral("speciallog.txt"))));
    EXPECT_EQ(dataFileLines(QStringLiteral("Mar09log.txt")).size(), 1);
    EXPECT_EQ(conditions().lastUpdateTime, m_lineTime);
}

TEST_F(DataLogTest, AppendsAfterAnUnfinishedLineWithoutTouchingIt)
{
    writeDataFile(QStringLiteral("Mar09log.txt"), "15/03/09,14:10,5.1,88\r\n15/03/09,14:1");

    DataLog(core(), dataFolder()).WriteDataLogLine(m_lineTime);

    const QStringList lines = dataFileLines(QStringLiteral("Mar09log.txt"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("15/03/09,14:10,5.1,88"));
    EXPECT_EQ(lines[1], QStringLiteral("15/03/09,14:1"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("15/03/09,14:20,5.3,"))) << lines[2].toStdString();
}

TEST_F(DataLogTest, CommaDecimalLinesReadBackOnTheSameComputer)
{
    start(QLocale(QLocale::German, QLocale::Germany));
    conditions().outdoorTemp = -3.5f;
    conditions().dewPoint = -4.4;
    conditions().pressure = 1013.2f;
    conditions().rainCounter = 123.4f;
    conditions().latestWindSpeed = 3.9f;
    DataLog(core(), dataFolder()).WriteDataLogLine(m_lineTime);

    int lines = 0;
    const QString path = DataLog(core(), dataFolder()).DataLogFileName(m_lineTime);
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    const DataFileRead result = DataFileReader(core()).read(path, [&](const DataLine& line) {
        ++lines;
        EXPECT_EQ(line.fieldCount(), 15);
        EXPECT_EQ(line.dateTime(), std::optional(m_lineTime));
        EXPECT_EQ(line.number(2), std::optional(-3.5f));
        EXPECT_EQ(line.number(4), std::optional(-4.4f));
        EXPECT_EQ(line.number(10), std::optional(1013.2f));
        EXPECT_EQ(line.number(11), std::optional(123.4f));
        EXPECT_EQ(line.number(14), std::optional(3.9f));
        return LineUse::Used;
    });
    EXPECT_EQ(result.status, DataFileRead::Status::Read);
    EXPECT_EQ(lines, 1);
}

}  // namespace
}  // namespace brezmor
