#include "program.h"
#include "run.h"

#include "core/weather_core.h"
#include "logging/minute_clock.h"
#include "platform/clock.h"
#include "settings/settings.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace brezmor {
namespace {

void WriteText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

ExitCode RunProgram(const QStringList& arguments)
{
    return run(QStringList{QStringLiteral("brezmor")} + arguments);
}

class ProgramTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString path(const char* relative) const { return root.filePath(QString::fromLatin1(relative)); }
};

TEST_F(ProgramTest, StartsOnAnEmptyFolderAndSavesOnClose)
{
    SimulatedClock clock(EncodeDateTime(2026, 1, 15, 8, 30));
    {
        Program program(root.path(), clock, RegionalSettings::fromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom)),
                        ClockDrive::Replay);
        ASSERT_TRUE(program.FormCreate());
        program.startStation(false);
        EXPECT_TRUE(program.timedWorkStarted());
        EXPECT_TRUE(program.minuteClock().active());
        program.FormClose();
        EXPECT_FALSE(program.minuteClock().active());
    }
    EXPECT_TRUE(QFile::exists(path("Brezmor.ini")));
    EXPECT_TRUE(QFile::exists(path("data/today.ini")));
    const QStringList log = ProgramLogLines(root.path());
    ASSERT_GE(log.size(), 2);
    EXPECT_TRUE(log[0].endsWith(QStringLiteral(" Build 0 startup"))) << log[0].toStdString();
    EXPECT_TRUE(log.filter(QStringLiteral("Showing main form")).size() == 1);
}

TEST_F(ProgramTest, BackupKeepsTheNineNewestAndAddsOne)
{
    QDir().mkpath(path("backup"));
    for (int day = 1; day <= 11; ++day)
        QDir().mkpath(path("backup") + QStringLiteral("/202601") + QString::number(day).rightJustified(2, u'0') + QStringLiteral("120000"));
    QDir().mkpath(path("data"));
    WriteText(path("data/dayfile.txt"), "01/01/26,0.0\r\n");
    SimulatedClock clock(EncodeDateTime(2026, 1, 15, 8, 30, 5));
    Program program(root.path(), clock, RegionalSettings::fromLocale(QLocale::c()), ClockDrive::Replay);
    ASSERT_TRUE(program.FormCreate());
    const QStringList entries = QDir(path("backup")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    ASSERT_EQ(entries.size(), 10);
    EXPECT_EQ(entries.front(), QStringLiteral("20260103120000"));
    EXPECT_EQ(entries.back(), QStringLiteral("20260115083005"));
    EXPECT_TRUE(QFile::exists(path("backup/20260115083005/dayfile.txt")));
}

TEST_F(ProgramTest, BadCommandLinesGiveUsageStatus)
{
    EXPECT_EQ(RunProgram({QStringLiteral("--bogus")}), ExitCode::Usage);
    EXPECT_EQ(RunProgram({QStringLiteral("--replay")}), ExitCode::Usage);
    EXPECT_EQ(RunProgram({QStringLiteral("--headless"), QStringLiteral("--replay"), QStringLiteral("x")}), ExitCode::Usage);
    EXPECT_EQ(RunProgram({QStringLiteral("stray")}), ExitCode::Usage);
    EXPECT_EQ(RunProgram({QStringLiteral("--version")}), ExitCode::Success);
    EXPECT_EQ(RunProgram({QStringLiteral("--help")}), ExitCode::Success);
}

// A day of readings every ten minutes from `start`, enough for every minute work.
QByteArray ReplayDay(const QDate& day, int fromHour, int hours, float rainStart)
{
    QByteArray text = "# a replayed station\n";
    float rain = rainStart;
    for (int minute = fromHour * 60; minute < (fromHour + hours) * 60; minute += 10) {
        const QDateTime at = QDateTime(day, QTime(0, 0)).addSecs(minute * 60);
        const QByteArray time = at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
        const float temp = 5.0f + static_cast<float>(minute % 600) / 100.0f;
        text += time + ",outhum,,,80\n";
        text += time + ",outtemp," + QByteArray::number(temp) + "\n";
        text += time + ",wind,3.0,2.0,200\n";
        rain += 0.2f;
        text += time + ",rain," + QByteArray::number(rain) + ",-1\n";
        text += time + ",pressure,1012.5\n";
        text += time + ",statuspanel\n";
    }
    return text;
}

TEST(ProgramReplay, RollsOverAtNineInWinterAndTenInSummer)
{
    struct Case {
        const char* why;
        QDate day;
        const char* resetTime;
        const char* logFile;
    };
    const Case cases[] = {
        {"standard time: 9 o'clock", QDate(2026, 1, 14), " 09:00:00", "data/Jan26log.txt"},
        {"daylight-saving time: 10 o'clock", QDate(2026, 7, 14), " 10:00:00", "data/Jul26log.txt"},
    };
    for (const Case& c : cases) {
        QTemporaryDir root;
        WriteText(root.filePath(QStringLiteral("Brezmor.ini")),
                  "[Station]\r\nType=4\r\nRolloverHour=9\r\nDataLogInterval=2\r\n");
        WriteText(root.filePath(QStringLiteral("replay.txt")), ReplayDay(c.day, 11, 24, 10.0f));
        ASSERT_EQ(RunProgram({QStringLiteral("--replay"), root.filePath(QStringLiteral("replay.txt")), QStringLiteral("--root"),
                       root.path()}),
                  ExitCode::Success)
            << c.why;
        // From 11:00 on the 14th to 10:50 on the 15th: one rollover, on the 15th.
        const QStringList resets = ProgramLogLines(root.path()).filter(QStringLiteral("=== Day reset for "));
        ASSERT_EQ(resets.size(), 1) << c.why;
        EXPECT_TRUE(resets.front().endsWith(QLatin1String(c.resetTime))) << c.why << resets.front().toStdString();
        const QStringList summary = FileLines(root.filePath(QStringLiteral("data/dayfile.txt")));
        ASSERT_EQ(summary.size(), 1) << c.why;
        EXPECT_TRUE(summary.front().startsWith(c.day.toString(QStringLiteral("dd/MM/yy")))) << c.why;
        EXPECT_TRUE(QFile::exists(root.filePath(QLatin1String(c.logFile)))) << c.why;
    }
}

TEST_F(ProgramTest, ABadReplayLineStopsWithItsNumberAfterANormalShutdown)
{
    WriteText(path("replay.txt"),
              "2026-01-15 08:59:00,outtemp,4.2\n"
              "2026-01-15 09:00:00,pressure,1013.2\n"
              "2026-01-15 08:00:00,outtemp,4.0\n");
    EXPECT_EQ(RunProgram({QStringLiteral("--replay"), path("replay.txt"), QStringLiteral("--root"), root.path()}),
              ExitCode::Usage);
    EXPECT_TRUE(QFile::exists(path("data/today.ini")));
    EXPECT_TRUE(QFile::exists(path("Brezmor.ini")));
}

}  // namespace
}  // namespace brezmor

namespace brezmor {
namespace {

// A reading every half hour from `first` to `last` (whole days).
QByteArray ReplayDays(const QDate& first, const QDate& last)
{
    QByteArray text;
    float rain = 100.0f;
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        for (int minute = 0; minute < 24 * 60; minute += 30) {
            // Wall-clock times, as the replay reads them: the autumn hour once.
            const QByteArray time = (day.toString(QStringLiteral("yyyy-MM-dd ")) + QTime(0, 0).addSecs(minute * 60).toString(QStringLiteral("HH:mm:ss"))).toLatin1();
            rain += 0.1f;
            text += time + ",outtemp," + QByteArray::number(4.0 + minute / 120.0) + "\n";
            text += time + ",rain," + QByteArray::number(rain) + ",-1\n";
            text += time + ",pressure,1008.0\n";
        }
    }
    return text;
}

// The log day of a data-log line: 9 hours back, 10 in summer time.
QDate LineLogDay(const QString& line)
{
    const QDateTime at = QDateTime::fromString(line.left(14), QStringLiteral("dd/MM/yy,HH:mm")).addYears(100);
    return at.addSecs(at.isDaylightTime() ? -10 * 3600 : -9 * 3600).date();
}

TEST(ProgramReplay, ADaylightSavingChangeAtAMonthEndGivesOneSummaryLinePerDay)
{
    struct Case {
        const char* why;
        QDate first;
        QDate last;
    };
    const Case cases[] = {
        {"clocks go forward on 29 March, then April begins in summer time", QDate(2026, 3, 27), QDate(2026, 4, 2)},
        {"clocks go back on 25 October, then November begins in winter time", QDate(2026, 10, 24), QDate(2026, 11, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        QTemporaryDir root;
        WriteText(root.filePath(QStringLiteral("Brezmor.ini")),
                  "[Station]\r\nType=4\r\nRolloverHour=9\r\nDataLogInterval=5\r\n");
        WriteText(root.filePath(QStringLiteral("replay.txt")), ReplayDays(c.first, c.last));
        ASSERT_EQ(RunProgram({QStringLiteral("--replay"), root.filePath(QStringLiteral("replay.txt")),
                              QStringLiteral("--root"), root.path()}),
                  ExitCode::Success);

        // The run starts at midnight on the log day before the first, and
        // every log day up to the one before the last ends once.
        QStringList expected;
        for (QDate day = c.first.addDays(-1); day < c.last; day = day.addDays(1))
            expected << day.toString(QStringLiteral("dd/MM/yy"));
        QStringList dates;
        for (const QString& line : FileLines(root.filePath(QStringLiteral("data/dayfile.txt"))))
            dates << line.left(8);
        EXPECT_EQ(dates, expected);

        // Each data-log line sits in the file of its log day's month.
        const QDir data(root.filePath(QStringLiteral("data")));
        int lines = 0;
        for (const QString& name : data.entryList({QStringLiteral("*log.txt")}, QDir::Files)) {
            for (const QString& line : FileLines(data.filePath(name))) {
                ++lines;
                const QDate logDay = LineLogDay(line);
                EXPECT_EQ(name.left(5), QLocale::c().monthName(logDay.month(), QLocale::ShortFormat)
                                            + logDay.toString(QStringLiteral("yy")))
                    << name.toStdString() << ": " << line.toStdString();
            }
        }
        EXPECT_GT(lines, 200);
    }
}

}  // namespace
}  // namespace brezmor

#include "replay.h"

#include <sstream>

namespace brezmor {
namespace {

TEST(ProgramReplay, AStopRequestEndsTheRunBetweenLinesWithEverythingSaved)
{
    QTemporaryDir root;
    SimulatedClock clock(EncodeDateTime(2026, 1, 15, 8, 0));
    Program program(root.path(), clock, RegionalSettings::fromLocale(QLocale::c()), ClockDrive::Replay);
    ASSERT_TRUE(program.FormCreate());
    program.startStation(false);
    std::istringstream input("2026-01-15 08:00:00,pressure,1013.0\n"
                             "2026-01-15 08:05:00,outtemp,4.0\n"
                             "2026-01-15 08:10:00,outtemp,9.0\n");
    int asked = 0;
    EXPECT_TRUE(RunReplay(input, program, clock, [&] { return ++asked > 2; }).isEmpty());
    program.FormClose();
    EXPECT_FLOAT_EQ(program.core().conditions().today.highTemp, 4.0f) << "the third line was never read";
    EXPECT_TRUE(QFile::exists(root.filePath(QStringLiteral("data/today.ini"))));
    EXPECT_FALSE(QFile::exists(root.filePath(QStringLiteral("data/Jan26log.txt")))) << "the clock never reached 08:10";
}

// A replay can be run again from its input, so it writes the today file when
// a log day ends and at the close only; live, every change is written.
TEST(ProgramReplay, WritesTheTodayFileAtTheDayEndAndAtTheCloseOnly)
{
    QTemporaryDir root;
    WriteText(root.filePath(QStringLiteral("Brezmor.ini")), "[Station]\r\nRolloverHour=9\r\nDataLogInterval=2\r\n");
    SimulatedClock clock(EncodeDateTime(2026, 1, 15, 8, 0));
    Program program(root.path(), clock, RegionalSettings::fromLocale(QLocale::c()), ClockDrive::Replay);
    ASSERT_TRUE(program.FormCreate());
    program.startStation(false);
    const QString todayPath = root.filePath(QStringLiteral("data/today.ini"));
    const auto todayWrites = [&] {
        return ProgramLogLines(root.path()).filter(QStringLiteral("Writing todayfile")).size();
    };

    std::istringstream morning("2026-01-15 08:00:00,outtemp,4.0\n"
                               "2026-01-15 08:30:00,outtemp,6.0\n");
    ASSERT_TRUE(RunReplay(morning, program, clock).isEmpty());
    EXPECT_FALSE(QFile::exists(todayPath)) << "new highs and data-log lines alone write nothing";
    EXPECT_EQ(todayWrites(), 0);

    std::istringstream afterRollover("2026-01-15 09:20:00,outtemp,7.0\n"
                                     "2026-01-15 10:00:00,outtemp,9.0\n");
    ASSERT_TRUE(RunReplay(afterRollover, program, clock).isEmpty());
    EXPECT_TRUE(QFile::exists(todayPath)) << "the 9 o'clock rollover writes it";
    EXPECT_EQ(todayWrites(), 1);

    program.FormClose();
    EXPECT_EQ(todayWrites(), 2);
    CurrentConditions restored;
    ASSERT_TRUE(program.core().todayFiles().ReadTodayfile(restored)) << "the file is for the log day of the 15th";
    EXPECT_FLOAT_EQ(restored.today.highTemp, 9.0f) << "the close writes the latest values";
}

TEST(ProgramLive, WritesTheTodayFileAtEveryNewExtreme)
{
    QTemporaryDir root;
    SimulatedClock clock(EncodeDateTime(2026, 1, 15, 8, 0));
    Program program(root.path(), clock, RegionalSettings::fromLocale(QLocale::c()), ClockDrive::Live);
    ASSERT_TRUE(program.FormCreate());
    program.core().DoOutsideTemp(4.0f, clock.now());
    CurrentConditions restored;
    ASSERT_TRUE(program.core().todayFiles().ReadTodayfile(restored));
    EXPECT_FLOAT_EQ(restored.today.highTemp, 4.0f);
}

}  // namespace
}  // namespace brezmor
