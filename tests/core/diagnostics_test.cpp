#include "core/diagnostics.h"

#include "platform/clock.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace brezmor {
namespace {

class DiagnosticsTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    SimulatedClock clock{EncodeDateTime(2026, 3, 1, 8, 30, 15)};
};

TEST_F(DiagnosticsTest, ProgramLogExpandsNowAndKeepsNineGenerations)
{
    for (int run = 0; run < 12; ++run) {
        clock.setNow(EncodeDateTime(2026, 3, 1, 8, 30, run));
        ProgramLog log(folder.filePath(QStringLiteral("Diags")), clock);
        log.LogMessage(QStringLiteral("run %1").arg(run));
    }
    const QDir diags(folder.filePath(QStringLiteral("Diags")));
    const QStringList files = diags.entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 9);
    const QStringList newest = FileLines(diags.filePath(files.back()));
    EXPECT_EQ(newest, QStringList{QStringLiteral("2026-03-01 08:30:11: run 11")});
    EXPECT_EQ(FileLines(diags.filePath(files.front())), QStringList{QStringLiteral("2026-03-01 08:30:03: run 3")});
}

TEST_F(DiagnosticsTest, ProgramLogExpandsTheSystemVersionTag)
{
    ProgramLog log(folder.filePath(QStringLiteral("Diags")), clock);
    log.write(QStringLiteral("OS: {OSVI}"));
    const QStringList lines = FileLines(log.filePath());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_FALSE(lines.front().contains(QStringLiteral("{OSVI}")));
    EXPECT_GT(lines.front().size(), 5);
}

TEST_F(DiagnosticsTest, DebugLogDiscardsLinesWhileOffAndWritesOnFlush)
{
    Diagnostics diagnostics(folder.path(), clock);
    const QString path = folder.filePath(QStringLiteral("debug.log"));
    diagnostics.debug.writeLine(QStringLiteral("discarded"));
    diagnostics.debug.setEnabled(true);
    diagnostics.debug.writeLine(QStringLiteral("kept"));
    EXPECT_TRUE(FileLines(path).isEmpty()) << "lines wait for a flush";
    diagnostics.debug.flush();
    EXPECT_EQ(FileLines(path), (QStringList{QStringLiteral("Brezmor debug log"), QStringLiteral("kept")}));
}

TEST_F(DiagnosticsTest, ForcedLineReachesTheFileWithTheLogOffAndLeavesItOff)
{
    Diagnostics diagnostics(folder.path(), clock);
    diagnostics.debug.writeLineForced(QStringLiteral("***Error in average bearing calc: X = 0 Y = 0"));
    EXPECT_FALSE(diagnostics.debug.enabled());
    EXPECT_EQ(FileLines(folder.filePath(QStringLiteral("debug.log"))).size(), 2);
}

TEST_F(DiagnosticsTest, ToggleTwiceRestoresTheStateAndLogsBoth)
{
    Diagnostics diagnostics(folder.path(), clock);
    diagnostics.toggleDebugLog();
    EXPECT_TRUE(diagnostics.debug.enabled());
    diagnostics.toggleDebugLog();
    EXPECT_FALSE(diagnostics.debug.enabled());
    const QStringList lines = FileLines(diagnostics.program.filePath());
    EXPECT_EQ(lines, QStringList(2, QStringLiteral("2026-03-01 08:30:15: Logging switched")));
}

TEST_F(DiagnosticsTest, DebugLinesFromManyThreadsStayWhole)
{
    Diagnostics diagnostics(folder.path(), clock);
    diagnostics.debug.setEnabled(true);
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&, t] {
            for (int i = 0; i < 500; ++i)
                diagnostics.debug.writeLine(QStringLiteral("thread %1 line %2 end").arg(t).arg(i));
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    diagnostics.debug.flush();
    const QStringList lines = FileLines(folder.filePath(QStringLiteral("debug.log")));
    ASSERT_EQ(lines.size(), 2001);
    for (int i = 1; i < lines.size(); ++i)
        ASSERT_TRUE(lines[i].startsWith(QStringLiteral("thread ")) && lines[i].endsWith(QStringLiteral(" end")));
}

TEST_F(DiagnosticsTest, ErrorLogKeepsTheNewest256AndLightsTheLamp)
{
    ErrorLog errors(clock);
    int notifications = 0;
    errors.addObserver([&] { ++notifications; });
    for (int i = 1; i <= 257; ++i)
        errors.LogMessage(QStringLiteral("upload failed %1").arg(i));
    const QStringList lines = errors.lines();
    ASSERT_EQ(lines.size(), 256);
    EXPECT_EQ(lines.front(), QStringLiteral("01/03/2026 08:30:15 : upload failed 2"));
    EXPECT_TRUE(lines.back().endsWith(QStringLiteral("upload failed 257")));
    EXPECT_TRUE(errors.lampOn());
    errors.acknowledge();
    EXPECT_FALSE(errors.lampOn());
    EXPECT_EQ(notifications, 258);
}

}  // namespace
}  // namespace brezmor
