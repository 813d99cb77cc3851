#include "core/today_files.h"

#include "core/diagnostics.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <bit>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <limits>

namespace brezmor {
namespace {

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The program-log texts without their "{now}: " prefix.
QStringList LogTexts(const ProgramLog& log)
{
    const QString text = QString::fromLatin1(ReadBytes(log.filePath()));
    QStringList texts;
    for (const QString& line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        texts.append(line.mid(QStringLiteral("2024-01-15 14:30:00: ").size()));
    return texts;
}

// A full day of extremes whose every value differs from every default.
CurrentConditions SampleDay()
{
    CurrentConditions c;
    TodayExtremes& t = c.today;
    t.highWind = 12.1f;
    t.highWindTime = QStringLiteral("12:50");
    t.highGust = 23.4f;
    t.highGustTime = QStringLiteral("13:05");
    t.highGustBearing = 247;
    t.lowTemp = -2.3f;
    t.lowTempTime = QStringLiteral("06:45");
    t.highTemp = 18.7f;
    t.highTempTime = QStringLiteral("14:10");
    t.lowPressure = 1009.8f;
    t.lowPressureTime = QStringLiteral("23:10");
    t.highPressure = 1021.4f;
    t.highPressureTime = QStringLiteral("09:00");
    t.highRainRate = 4.2f;
    t.highRainRateTime = QStringLiteral("16:20");
    c.windRunToday = 187.35f;
    c.tempTotal = 7321.6f;
    c.tempSamples = 870;
    c.rainCounterDayStart = 152.4f;
    c.rainYesterday = 3.3f;
    c.lastUpdateTime = EncodeDateTime(2024, 1, 15, 14, 30);
    return c;
}

YesterdayTexts SampleYesterday()
{
    YesterdayTexts y;
    y.highWind = QStringLiteral("11.2");
    y.highWindTime = QStringLiteral("11:40");
    y.highGust = QStringLiteral("30.5");
    y.highGustTime = QStringLiteral("15:02");
    y.highGustBearing = QStringLiteral("315");
    y.highGustDirection = QStringLiteral("NW");
    y.lowTemp = QStringLiteral("-4.1");
    y.lowTempTime = QStringLiteral("07:12");
    y.highTemp = QStringLiteral("6.8");
    y.highTempTime = QStringLiteral("13:33");
    y.lowPressure = QStringLiteral("998.2");
    y.lowPressureTime = QStringLiteral("03:15");
    y.highPressure = QStringLiteral("1004.9");
    y.highPressureTime = QStringLiteral("22:47");
    y.highRainRate = QStringLiteral("7.6");
    y.highRainRateTime = QStringLiteral("08:05");
    return y;
}

QStringList Fields(const YesterdayTexts& y)
{
    return {y.highWind,     y.highWindTime,     y.highGust,     y.highGustTime,
            y.highGustBearing, y.highGustDirection,
            y.lowTemp,      y.lowTempTime,      y.highTemp,     y.highTempTime,
            y.lowPressure,  y.lowPressureTime,  y.highPressure, y.highPressureTime,
            y.highRainRate, y.highRainRateTime};
}

void ExpectSameExtremes(const TodayExtremes& actual, const TodayExtremes& expected)
{
    EXPECT_EQ(actual.highWind, expected.highWind);
    EXPECT_EQ(actual.highWindTime, expected.highWindTime);
    EXPECT_EQ(actual.highGust, expected.highGust);
    EXPECT_EQ(actual.highGustTime, expected.highGustTime);
    EXPECT_EQ(actual.highGustBearing, expected.highGustBearing);
    EXPECT_EQ(actual.lowTemp, expected.lowTemp);
    EXPECT_EQ(actual.lowTempTime, expected.lowTempTime);
    EXPECT_EQ(actual.highTemp, expected.highTemp);
    EXPECT_EQ(actual.highTempTime, expected.highTempTime);
    EXPECT_EQ(actual.lowPressure, expected.lowPressure);
    EXPECT_EQ(actual.lowPressureTime, expected.lowPressureTime);
    EXPECT_EQ(actual.highPressure, expected.highPressure);
    EXPECT_EQ(actual.highPressureTime, expected.highPressureTime);
    EXPECT_EQ(actual.highRainRate, expected.highRainRate);
    EXPECT_EQ(actual.highRainRateTime, expected.highRainRateTime);
}

// Everything a restore from the file carries.
void ExpectRestored(const CurrentConditions& actual, const CurrentConditions& written)
{
    ExpectSameExtremes(actual.today, written.today);
    EXPECT_EQ(actual.windRunToday, written.windRunToday);
    EXPECT_EQ(actual.tempTotal, written.tempTotal);
    EXPECT_EQ(actual.tempSamples, written.tempSamples);
    EXPECT_EQ(actual.rainCounterDayStart, written.rainCounterDayStart);
    EXPECT_EQ(actual.rainYesterday, written.rainYesterday);
}

void UseLondonTime()
{
    qputenv("TZ", "Europe/London");
    tzset();
}

struct LogDateCase {
    const char* why;
    int rolloverHour;
    TDateTime moment;
    const char* expected;
};

TEST(LogDateTextTest, ShiftsBackByTheRolloverOffset)
{
    UseLondonTime();
    const LogDateCase cases[] = {
        {"summer 09:30 is still yesterday (10 hours back)", 9, EncodeDateTime(2024, 7, 15, 9, 30), "14/07/2024"},
        {"summer 09:59 is still yesterday", 9, EncodeDateTime(2024, 7, 15, 9, 59, 59), "14/07/2024"},
        {"summer day starts at 10:00", 9, EncodeDateTime(2024, 7, 15, 10, 0), "15/07/2024"},
        {"winter 08:59 is still yesterday (9 hours back)", 9, EncodeDateTime(2024, 1, 15, 8, 59), "14/01/2024"},
        {"winter day starts at 09:00", 9, EncodeDateTime(2024, 1, 15, 9, 0), "15/01/2024"},
        {"clocks went forward overnight: 09:30 is summer time", 9, EncodeDateTime(2024, 3, 31, 9, 30), "30/03/2024"},
        {"clocks went back overnight: 09:30 is winter time", 9, EncodeDateTime(2024, 10, 27, 9, 30), "27/10/2024"},
        {"9 am rollover crosses the year", 9, EncodeDateTime(2025, 1, 1, 8, 0), "31/12/2024"},
        {"midnight rollover: last minute of the day", 0, EncodeDateTime(2024, 7, 15, 23, 59, 59), "15/07/2024"},
        {"midnight rollover: midnight is the new day", 0, EncodeDateTime(2024, 7, 16, 0, 0), "16/07/2024"},
        {"midnight rollover ignores summer time", 0, EncodeDateTime(2024, 7, 16, 0, 30), "16/07/2024"},
    };
    const SimulatedClock clock;
    const RegionalSettings regional;
    for (const LogDateCase& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(LogDateText(c.moment, c.rolloverHour, clock, regional), QString::fromLatin1(c.expected));
        EXPECT_EQ(LogDate(c.moment, c.rolloverHour, clock).toString(QStringLiteral("dd/MM/yyyy")),
                  QString::fromLatin1(c.expected));
    }
}

TEST(LogDateTextTest, UsesTheRegionalShortDateFormat)
{
    const SimulatedClock clock;
    const RegionalSettings german = RegionalSettings::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(LogDateText(EncodeDateTime(2024, 1, 15, 8, 0), 9, clock, german), QStringLiteral("14.01.2024"));
}

class TodayFilesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseLondonTime(); }

    TodayFilesTest() { QDir().mkpath(dataFolder); }

    TodayFiles filesWith(int rolloverHour)
    {
        TodayFiles files(dataFolder, clock, regional, diagnostics);
        files.setRolloverHour(rolloverHour);
        return files;
    }

    QStringList log() const { return LogTexts(diagnostics.program); }
    bool logged(const QString& text) const { return log().contains(text); }

    QTemporaryDir folder;
    QString dataFolder = folder.filePath(QStringLiteral("data"));
    SimulatedClock clock{EncodeDateTime(2024, 1, 15, 14, 30)};
    RegionalSettings regional;
    Diagnostics diagnostics{folder.path(), clock};
};

TEST_F(TodayFilesTest, WritesEveryKeyInOrderWithCrLf)
{
    filesWith(0).WriteTodayfile(SampleDay());
    const QByteArray expected =
        "[General]\r\nDate=15/01/2024\r\nTimestamp=15/01/2024 14:30:00\r\n"
        "[Wind]\r\nSpeed=12.1\r\nSpTime=12:50\r\nGust=23.4\r\nTime=13:05\r\nBearing=247\r\nDirection=WSW\r\n"
        "Windrun=187.35\r\n"
        "[Temp]\r\nLow=-2.3\r\nLTime=06:45\r\nHigh=18.7\r\nHTime=14:10\r\nTotal=7321.6\r\nSamples=870\r\n"
        "[Pressure]\r\nLow=1009.8\r\nLTime=23:10\r\nHigh=1021.4\r\nHTime=09:00\r\n"
        "[Rain]\r\nHigh=4.2\r\nHTime=16:20\r\nStart=152.4\r\nYesterday=3.3\r\n";
    EXPECT_EQ(ReadBytes(dataFolder + QStringLiteral("/today.ini")), expected);
    EXPECT_EQ(log(),
              QStringList{QStringLiteral("Writing todayfile, LastUpdateTime = 15/01/2024 14:30:00 raindaystart = 152.4")});
}

TEST_F(TodayFilesTest, WritesTheYesterdayColumnInOrder)
{
    clock.setNow(EncodeDateTime(2024, 1, 16, 9, 0));
    CurrentConditions conditions;
    conditions.yesterday = SampleYesterday();
    conditions.windRunYesterday = 201.5f;
    filesWith(9).WriteYesterdayfile(conditions);
    const QByteArray expected =
        "[General]\r\nDate=16/01/2024\r\n"
        "[Wind]\r\nSpeed=11.2\r\nSpTime=11:40\r\nGust=30.5\r\nTime=15:02\r\nBearing=315\r\nDirection=NW\r\n"
        "Windrun=201.5\r\n"
        "[Temp]\r\nLow=-4.1\r\nLTime=07:12\r\nHigh=6.8\r\nHTime=13:33\r\n"
        "[Pressure]\r\nLow=998.2\r\nLTime=03:15\r\nHigh=1004.9\r\nHTime=22:47\r\n"
        "[Rain]\r\nHigh=7.6\r\nHTime=08:05\r\n";
    EXPECT_EQ(ReadBytes(dataFolder + QStringLiteral("/yesterday.ini")), expected);
}

struct RestoreCase {
    const char* why;
    int rolloverHour;
    TDateTime written;
    TDateTime read;
    bool restored;
};

TEST_F(TodayFilesTest, RestoresOnlyOnTheSameLogDay)
{
    const TDateTime winterEvening = EncodeDateTime(2024, 1, 15, 23, 50);
    const TDateTime summerEvening = EncodeDateTime(2024, 7, 15, 23, 50);
    const RestoreCase cases[] = {
        {"midnight rollover, later that evening", 0, winterEvening, EncodeDateTime(2024, 1, 15, 23, 59), true},
        {"midnight rollover, after midnight", 0, winterEvening, EncodeDateTime(2024, 1, 16, 0, 0), false},
        {"9 am rollover, winter, next morning before 09:00", 9, winterEvening, EncodeDateTime(2024, 1, 16, 8, 59), true},
        {"9 am rollover, winter, at 09:00", 9, winterEvening, EncodeDateTime(2024, 1, 16, 9, 0), false},
        {"9 am rollover, summer, next morning at 09:59", 9, summerEvening, EncodeDateTime(2024, 7, 16, 9, 59), true},
        {"9 am rollover, summer, at 10:00", 9, summerEvening, EncodeDateTime(2024, 7, 16, 10, 0), false},
    };
    for (const RestoreCase& c : cases) {
        SCOPED_TRACE(c.why);
        TodayFiles files = filesWith(c.rolloverHour);
        CurrentConditions written = SampleDay();
        written.lastUpdateTime = c.written;
        clock.setNow(c.written);
        files.WriteTodayfile(written);

        clock.setNow(c.read);
        CurrentConditions read;
        TodayFiles reader = filesWith(c.rolloverHour);
        EXPECT_EQ(reader.ReadTodayfile(read), c.restored);
        EXPECT_EQ(read.lastUpdateTime, c.written);
        ExpectSameExtremes(reader.snapshot().extremes, written.today);
        if (c.restored) {
            ExpectRestored(read, written);
            EXPECT_FALSE(read.rainNotInitialised);
        } else {
            ExpectSameExtremes(read.today, TodayExtremes{});
            EXPECT_EQ(read.rainCounterDayStart, -1.0f);
            EXPECT_TRUE(read.rainNotInitialised);
        }
    }
}

TEST_F(TodayFilesTest, LogsWhatItReadAndRestored)
{
    filesWith(0).WriteTodayfile(SampleDay());
    CurrentConditions read;
    filesWith(0).ReadTodayfile(read);
    const QStringList expected = {
        QStringLiteral("Writing todayfile, LastUpdateTime = 15/01/2024 14:30:00 raindaystart = 152.4"),
        QStringLiteral("Read today file: Date = 15/01/2024, LastUpdateTime = 15/01/2024 14:30:00"),
        QStringLiteral("Todayfileraindaystart = 152.4"),
        QStringLiteral("Todayfile is for today"),
        QStringLiteral("ReadTodayfile: set notraininit false"),
    };
    EXPECT_EQ(log(), expected);
}

struct RainStartCase {
    const char* why;
    float start;
    bool stillUninitialised;
};

TEST_F(TodayFilesTest, OnlyAPositiveDayStartCounterEndsRainInitialisation)
{
    const RainStartCase cases[] = {
        {"never set", -1.0f, true},
        {"a zero counter may be a station that has not reported yet", 0.0f, true},
        {"a real counter", 0.2f, false},
    };
    for (const RainStartCase& c : cases) {
        SCOPED_TRACE(c.why);
        CurrentConditions written = SampleDay();
        written.rainCounterDayStart = c.start;
        filesWith(0).WriteTodayfile(written);
        CurrentConditions read;
        ASSERT_TRUE(filesWith(0).ReadTodayfile(read));
        EXPECT_EQ(read.rainCounterDayStart, c.start);
        EXPECT_EQ(read.rainNotInitialised, c.stillUninitialised);
        EXPECT_EQ(logged(QStringLiteral("ReadTodayfile: set notraininit false")), !c.stillUninitialised);

        // A catch-up restores the same way from the snapshot.
        TodayFiles files = filesWith(0);
        CurrentConditions unused;
        files.ReadTodayfile(unused);
        CurrentConditions caughtUp;
        files.restoreSnapshot(caughtUp);
        EXPECT_EQ(caughtUp.rainNotInitialised, c.stillUninitialised);
        QFile::remove(diagnostics.program.filePath());
    }
}

TEST_F(TodayFilesTest, CatchUpRestoresTheSnapshotOfAnEarlierDay)
{
    const CurrentConditions written = SampleDay();
    filesWith(0).WriteTodayfile(written);
    clock.setNow(EncodeDateTime(2024, 1, 16, 0, 5));
    TodayFiles files = filesWith(0);
    CurrentConditions conditions;
    ASSERT_FALSE(files.ReadTodayfile(conditions));
    EXPECT_EQ(files.snapshot().date, QStringLiteral("15/01/2024"));
    EXPECT_EQ(files.snapshot().timestamp, written.lastUpdateTime);

    files.restoreSnapshot(conditions);
    ExpectSameExtremes(conditions.today, written.today);
    EXPECT_EQ(conditions.windRunToday, written.windRunToday);
    EXPECT_EQ(conditions.tempTotal, written.tempTotal);
    EXPECT_EQ(conditions.tempSamples, written.tempSamples);
    EXPECT_EQ(conditions.rainCounterDayStart, written.rainCounterDayStart);
    EXPECT_FALSE(conditions.rainNotInitialised);
    // Yesterday's rain belongs to the start-up restore only.
    EXPECT_EQ(conditions.rainYesterday, 0.0f);
}

struct TimestampCase {
    const char* why;
    TDateTime written;
    const char* text;
    TDateTime read;
};

TEST_F(TodayFilesTest, TimestampReadsBackAsWritten)
{
    const TDateTime now = clock.now();
    const TimestampCase cases[] = {
        {"time of day to the second", EncodeDateTime(2024, 1, 15, 9, 5, 7), "15/01/2024 09:05:07",
         EncodeDateTime(2024, 1, 15, 9, 5, 7)},
        {"midnight is the date alone", EncodeDateTime(2024, 1, 15), "15/01/2024", EncodeDateTime(2024, 1, 15)},
        {"never written reads as now", 0.0, "30/12/1899", now},
    };
    for (const TimestampCase& c : cases) {
        SCOPED_TRACE(c.why);
        CurrentConditions written = SampleDay();
        written.lastUpdateTime = c.written;
        filesWith(0).WriteTodayfile(written);
        EXPECT_TRUE(ReadBytes(dataFolder + QStringLiteral("/today.ini"))
                        .contains(QByteArray("\r\nTimestamp=") + c.text + "\r\n"));
        CurrentConditions read;
        filesWith(0).ReadTodayfile(read);
        EXPECT_EQ(read.lastUpdateTime, c.read);
    }
}

TEST_F(TodayFilesTest, FloatsReadBackBitForBit)
{
    const float values[] = {0.1f + 0.2f, 1013.25f, -0.05f, 1e-7f, 16777217.0f, 3.4e38f,
                            std::numeric_limits<float>::min()};
    for (const float value : values) {
        SCOPED_TRACE(value);
        CurrentConditions written = SampleDay();
        written.today.highTemp = value;
        written.tempTotal = -value;
        filesWith(0).WriteTodayfile(written);
        CurrentConditions read;
        ASSERT_TRUE(filesWith(0).ReadTodayfile(read));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(read.today.highTemp), std::bit_cast<std::uint32_t>(value));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(read.tempTotal), std::bit_cast<std::uint32_t>(-value));
    }
}

TEST_F(TodayFilesTest, CommaDecimalLocaleRoundTrip)
{
    regional = RegionalSettings::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    const CurrentConditions written = SampleDay();
    filesWith(9).WriteTodayfile(written);
    const QByteArray text = ReadBytes(dataFolder + QStringLiteral("/today.ini"));
    EXPECT_TRUE(text.contains("\r\nDate=15.01.2024\r\nTimestamp=15.01.2024 14:30:00\r\n"));
    EXPECT_TRUE(text.contains("\r\nLow=-2,3\r\n"));
    EXPECT_TRUE(text.contains("\r\nWindrun=187,35\r\n"));

    CurrentConditions read;
    ASSERT_TRUE(filesWith(9).ReadTodayfile(read));
    ExpectRestored(read, written);
    EXPECT_EQ(read.lastUpdateTime, written.lastUpdateTime);

    CurrentConditions yesterday;
    yesterday.yesterday = SampleYesterday();
    yesterday.windRunYesterday = 201.5f;
    filesWith(9).WriteYesterdayfile(yesterday);
    EXPECT_TRUE(ReadBytes(dataFolder + QStringLiteral("/yesterday.ini")).contains("\r\nWindrun=201,5\r\n"));
    CurrentConditions shown;
    ASSERT_TRUE(filesWith(9).ReadYesterdayfile(shown));
    EXPECT_EQ(shown.windRunYesterday, 201.5f);
}

TEST_F(TodayFilesTest, ReadsLowerCaseNamesAndBareLineFeeds)
{
    WriteBytes(dataFolder + QStringLiteral("/today.ini"),
               "[general]\ndate=15/01/2024\ntimestamp=15/01/2024 10:00:00\n[TEMP]\nhigh=12.5\nhtime=11:11\n"
               "[rain]\nSTART=40\n");
    CurrentConditions read;
    ASSERT_TRUE(filesWith(0).ReadTodayfile(read));
    EXPECT_EQ(read.today.highTemp, 12.5f);
    EXPECT_EQ(read.today.highTempTime, QStringLiteral("11:11"));
    EXPECT_EQ(read.rainCounterDayStart, 40.0f);
    EXPECT_EQ(read.lastUpdateTime, EncodeDateTime(2024, 1, 15, 10, 0));
    // Keys the file lacks take their read defaults, not the initial values.
    EXPECT_EQ(read.today.lowTemp, 0.0f);
    EXPECT_EQ(read.tempSamples, 1);
}

struct YesterdayCase {
    const char* why;
    TDateTime read;
    bool valid;
};

TEST_F(TodayFilesTest, YesterdayFileWrittenAtTheRolloverLastsTheWholeLogDay)
{
    clock.setNow(EncodeDateTime(2024, 1, 16, 9, 0));
    CurrentConditions rollover;
    rollover.yesterday = SampleYesterday();
    rollover.windRunYesterday = 201.5f;
    filesWith(9).WriteYesterdayfile(rollover);

    const YesterdayCase cases[] = {
        {"right after the rollover", EncodeDateTime(2024, 1, 16, 9, 0), true},
        {"late that evening", EncodeDateTime(2024, 1, 16, 23, 59), true},
        {"the next morning before the rollover", EncodeDateTime(2024, 1, 17, 8, 59), true},
        {"the next rollover makes it stale", EncodeDateTime(2024, 1, 17, 9, 0), false},
    };
    for (const YesterdayCase& c : cases) {
        SCOPED_TRACE(c.why);
        clock.setNow(c.read);
        CurrentConditions shown;
        EXPECT_EQ(filesWith(9).ReadYesterdayfile(shown), c.valid);
        EXPECT_EQ(Fields(shown.yesterday), Fields(c.valid ? SampleYesterday() : YesterdayTexts{}));
        EXPECT_EQ(shown.windRunYesterday, c.valid ? 201.5f : 0.0f);
    }
    EXPECT_EQ(log().count(QStringLiteral("Read yesterday file: Date = 16/01/2024")), 4);
    EXPECT_EQ(log().count(QStringLiteral("Yesterday file is valid")), 3);
}

TEST_F(TodayFilesTest, TextsAreWindows1252AndStayOnTheirLine)
{
    CurrentConditions conditions;
    conditions.yesterday.lowTemp = QStringLiteral("1\r\n[General]\r\nDate=01/01/2000");
    conditions.yesterday.highTemp = QStringLiteral("6.8\u00b0C");
    conditions.yesterday.highRainRate = QStringLiteral("\u20ac");
    conditions.yesterday.highGustDirection = QStringLiteral("\u03a9");
    filesWith(0).WriteYesterdayfile(conditions);
    const QByteArray bytes = ReadBytes(dataFolder + QStringLiteral("/yesterday.ini"));
    EXPECT_TRUE(bytes.contains("\r\nHigh=6.8\xb0" "C\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nHigh=\x80\r\n"));
    // A character the code page lacks.
    EXPECT_TRUE(bytes.contains("\r\nDirection=?\r\n"));

    CurrentConditions shown;
    ASSERT_TRUE(filesWith(0).ReadYesterdayfile(shown));
    EXPECT_EQ(shown.yesterday.highTemp, QStringLiteral("6.8\u00b0C"));
    EXPECT_EQ(shown.yesterday.highRainRate, QStringLiteral("\u20ac"));
    EXPECT_EQ(shown.yesterday.lowTemp, QStringLiteral("1  [General]  Date=01/01/2000"));
}

TEST_F(TodayFilesTest, MissingFilesRestoreNothing)
{
    CurrentConditions conditions;
    conditions.yesterday.highTemp = QStringLiteral("shown before");
    EXPECT_FALSE(filesWith(0).ReadTodayfile(conditions));
    EXPECT_FALSE(filesWith(0).ReadYesterdayfile(conditions));
    ExpectSameExtremes(conditions.today, TodayExtremes{});
    EXPECT_EQ(conditions.lastUpdateTime, clock.now());
    EXPECT_EQ(conditions.yesterday.highTemp, QStringLiteral("shown before"));
    const QStringList expected = {
        QStringLiteral("today.ini: not found, nothing to restore"),
        QStringLiteral("Read today file: Date = 00/00/00, LastUpdateTime = 15/01/2024 14:30:00"),
        QStringLiteral("Todayfileraindaystart = -1"),
        QStringLiteral("yesterday.ini: not found, nothing to restore"),
        QStringLiteral("Read yesterday file: Date = 00/00/00"),
    };
    EXPECT_EQ(log(), expected);
}

QByteArray Junk()
{
    QByteArray bytes;
    std::uint32_t state = 12345;
    for (int i = 0; i < 4096; ++i) {
        state = state * 1103515245u + 12345u;
        bytes += static_cast<char>(state >> 24);
    }
    return bytes;
}

struct CorruptCase {
    const char* why;
    QByteArray content;
    // Null: any line that names the file will do.
    const char* logLine;
    bool timestampSurvives;
};

TEST_F(TodayFilesTest, CorruptFilesGiveDefaultsAndTheNextWriteRepairs)
{
    filesWith(0).WriteTodayfile(SampleDay());
    const QByteArray good = ReadBytes(dataFolder + QStringLiteral("/today.ini"));
    QByteArray textForNumber = good;
    textForNumber.replace("High=18.7", "High=abc");
    QByteArray badCount = good;
    badCount.replace("Samples=870", "Samples=87x");
    QByteArray badTimestamp = good;
    badTimestamp.replace("Timestamp=15/01/2024 14:30:00", "Timestamp=soon");
    const QByteArray truncated = good.left(good.indexOf("Samples=") + 3);

    const CorruptCase cases[] = {
        {"text where a number belongs", textForNumber, "today.ini: Temp/High is not a number: abc", true},
        {"a count with junk after it", badCount, "today.ini: Temp/Samples is not a whole number: 87x", true},
        {"a time that is no time", badTimestamp, "today.ini: General/Timestamp is not a date and time: soon", false},
        {"cut off in the middle of a line",
         truncated,
         "today.ini: missing, read as defaults: Temp/Samples, Pressure/Low, Pressure/LTime, Pressure/High, "
         "Pressure/HTime, Rain/High, Rain/HTime, Rain/Start, Rain/Yesterday",
         true},
        {"empty, as a power cut used to leave it",
         QByteArray(),
         "today.ini: missing, read as defaults: General/Date, General/Timestamp, Wind/Speed, Wind/SpTime, "
         "Wind/Gust, Wind/Time, Wind/Bearing, Wind/Windrun, Temp/Low, Temp/LTime, Temp/High, Temp/HTime, "
         "Temp/Total, Temp/Samples, Pressure/Low, Pressure/LTime, Pressure/High, Pressure/HTime, Rain/High, "
         "Rain/HTime, Rain/Start, Rain/Yesterday",
         false},
        {"binary junk", Junk(), nullptr, false},
    };
    for (const CorruptCase& c : cases) {
        SCOPED_TRACE(c.why);
        QFile::remove(diagnostics.program.filePath());
        WriteBytes(dataFolder + QStringLiteral("/today.ini"), c.content);
        CurrentConditions read;
        filesWith(0).ReadTodayfile(read);
        const QStringList lines = log();
        if (c.logLine != nullptr)
            EXPECT_TRUE(lines.contains(QString::fromLatin1(c.logLine))) << lines.join(u'\n').toStdString();
        else
            EXPECT_FALSE(lines.filter(QRegularExpression(QStringLiteral("^today\\.ini: "))).isEmpty())
                << lines.join(u'\n').toStdString();
        EXPECT_EQ(read.lastUpdateTime, c.timestampSurvives ? SampleDay().lastUpdateTime : clock.now());

        filesWith(0).WriteTodayfile(SampleDay());
        EXPECT_EQ(ReadBytes(dataFolder + QStringLiteral("/today.ini")), good);
    }

    // The ones whose date survived restore with the read default in place.
    WriteBytes(dataFolder + QStringLiteral("/today.ini"), textForNumber);
    CurrentConditions read;
    ASSERT_TRUE(filesWith(0).ReadTodayfile(read));
    EXPECT_EQ(read.today.highTemp, 0.0f);
    EXPECT_EQ(read.today.lowTemp, SampleDay().today.lowTemp);
    WriteBytes(dataFolder + QStringLiteral("/today.ini"), truncated);
    ASSERT_TRUE(filesWith(0).ReadTodayfile(read));
    EXPECT_EQ(read.tempSamples, 1);
    EXPECT_EQ(read.rainCounterDayStart, -1.0f);
    EXPECT_EQ(read.tempTotal, SampleDay().tempTotal);
}

TEST_F(TodayFilesTest, CorruptYesterdayFileKeepsTheColumn)
{
    WriteBytes(dataFolder + QStringLiteral("/yesterday.ini"), Junk());
    CurrentConditions conditions;
    conditions.yesterday = SampleYesterday();
    EXPECT_FALSE(filesWith(0).ReadYesterdayfile(conditions));
    EXPECT_EQ(Fields(conditions.yesterday), Fields(SampleYesterday()));

    WriteBytes(dataFolder + QStringLiteral("/yesterday.ini"),
               "[General]\r\nDate=15/01/2024\r\n[Wind]\r\nWindrun=far\r\n");
    EXPECT_TRUE(filesWith(0).ReadYesterdayfile(conditions));
    EXPECT_EQ(conditions.windRunYesterday, 0.0f);
    EXPECT_EQ(Fields(conditions.yesterday), Fields(YesterdayTexts{}));
    EXPECT_TRUE(logged(QStringLiteral("yesterday.ini: Wind/Windrun is not a number: far")));
}

// Sets the largest file this process may write, and ignores the signal that
// exceeding it would raise, for as long as it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
};

TEST_F(TodayFilesTest, FailedWriteKeepsThePreviousFileWhole)
{
    filesWith(0).WriteTodayfile(SampleDay());
    const QByteArray previous = ReadBytes(dataFolder + QStringLiteral("/today.ini"));
    CurrentConditions changed = SampleDay();
    changed.today.highTemp = 19.9f;
    {
        // Room for the program-log line but not for a whole today file.
        const FileSizeLimit limit(static_cast<rlim_t>(previous.size() - 1));
        filesWith(0).WriteTodayfile(changed);
    }
    EXPECT_EQ(ReadBytes(dataFolder + QStringLiteral("/today.ini")), previous);
    EXPECT_EQ(QDir(dataFolder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("today.ini")});
    const QStringList lines = log();
    ASSERT_EQ(lines.size(), 2);
    const QString expectedStart = QStringLiteral("Could not write ") + dataFolder + QStringLiteral("/today.ini: ");
    EXPECT_TRUE(lines.back().startsWith(expectedStart))
        << lines.back().toStdString();
    EXPECT_TRUE(lines.back().endsWith(QStringLiteral("; the previous file is kept")));
}

TEST_F(TodayFilesTest, WriteWhereNoFolderCanBeMadeIsLoggedNotThrown)
{
    // A plain file stands where the data folder should be, so even root cannot create it.
    const QString missing = folder.filePath(QStringLiteral("nowhere"));
    {
        QFile blocker(missing);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    TodayFiles files(missing, clock, regional, diagnostics);
    files.WriteTodayfile(SampleDay());
    files.WriteYesterdayfile(SampleDay());
    const QStringList lines = log();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Could not write ") + missing + QStringLiteral("/today.ini")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Could not write ") + missing + QStringLiteral("/yesterday.ini")));
    EXPECT_TRUE(QFileInfo(missing).isFile());
}

}  // namespace
}  // namespace brezmor
