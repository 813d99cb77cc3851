#include "../../tools/replay_year.h"

#include "core/diagnostics.h"
#include "program.h"
#include "platform/clock.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <fstream>

#include <signal.h>

namespace brezmor {
namespace {

constexpr int kReplayDays = 60;

int LineCount(const QString& path)
{
    return int(ReadBytes(path).count("\r\n"));
}

// Every line of a line file ends with its line end and has as many fields as
// the first; only the very last line may be cut short.
void ExpectWholeLines(const QString& path, bool lastMayBeCut)
{
    SCOPED_TRACE(path.toStdString());
    const QByteArray bytes = ReadBytes(path);
    ASSERT_FALSE(bytes.isEmpty());
    QList<QByteArray> lines = bytes.split('\n');
    const bool endsWhole = lines.back().isEmpty();
    lines.removeLast();
    EXPECT_TRUE(endsWhole || lastMayBeCut) << "unfinished last line: " << lines.back().toStdString();
    const qsizetype fields = lines.front().count(',');
    for (const QByteArray& line : lines) {
        ASSERT_TRUE(line.endsWith('\r')) << line.toStdString();
        EXPECT_EQ(line.count(','), fields) << line.toStdString();
    }
}

// The texts the readers log when a file is damaged.
const QRegularExpression kDamage(QStringLiteral(
    "cannot be read|is not a|missing, read as defaults|bytes instead of|longer than|carries index|could not be read"));

class TerminationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile settings(root.filePath(QStringLiteral("Brezmor.ini")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[Station]\r\nRolloverHour=9\r\nDataLogInterval=2\r\nSpecialLog=1\r\n");
        settings.close();
        std::ofstream out(root.filePath(QStringLiteral("replay.txt")).toStdString(), std::ios::binary);
        WriteReplayDays(out, QDate(2026, 3, 20), kReplayDays);
    }

    // Starts a replay of two months, and sends `signal` once a few days are
    // done. False when the run ended first, which a machine cannot do fast
    // enough.
    bool replayUntilSignal(int signal)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(BREZMOR_EXE),
                      {QStringLiteral("--replay"), root.filePath(QStringLiteral("replay.txt")), QStringLiteral("--root"),
                       root.path()});
        if (!process.waitForStarted())
            return false;
        while (LineCount(path("data/dayfile.txt")) < 3 && process.state() == QProcess::Running)
            QThread::msleep(5);
        if (process.state() != QProcess::Running)
            return false;
        ::kill(static_cast<pid_t>(process.processId()), signal);
        process.waitForFinished(60'000);
        return true;
    }

    QString path(const char* relative) const { return root.filePath(QString::fromLatin1(relative)); }

    QStringList dataLogs() const
    {
        QStringList paths;
        const QDir data(path("data"));
        for (const QString& name : data.entryList({QStringLiteral("???[0-9][0-9]log.txt")}, QDir::Files))
            paths << data.filePath(name);
        return paths;
    }

    // A restart on the folder reads every file without a complaint.
    void expectCleanRestart() const
    {
        SimulatedClock clock(EncodeDateTime(2026, 5, 30, 12, 0));
        QStringList log;
        {
            Program program(root.path(), clock, RegionalSettings::fromLocale(QLocale::c()), ClockDrive::Replay);
            ASSERT_TRUE(program.FormCreate());
            log = QString::fromLatin1(ReadBytes(program.diagnostics().program.filePath())).split(QStringLiteral("\r\n"));
        }
        EXPECT_TRUE(log.filter(kDamage).isEmpty()) << log.filter(kDamage).join(u'\n').toStdString();
    }

    QTemporaryDir root;
    QProcess process;
};

TEST_F(TerminationTest, SigtermEndsTheReplayThroughTheNormalShutdown)
{
    if (!replayUntilSignal(SIGTERM))
        GTEST_SKIP() << "the replay ended before the signal";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_LT(LineCount(path("data/dayfile.txt")), kReplayDays - 1) << "the run stopped early";
    for (const QString& log : dataLogs())
        ExpectWholeLines(log, /*lastMayBeCut=*/false);
    ExpectWholeLines(path("data/speciallog.txt"), false);
    ExpectWholeLines(path("data/dayfile.txt"), false);

    // The close wrote the today file after the last rollover did.
    const QStringList programLog = ProgramLogLines(root.path());
    qsizetype lastReset = -1;
    qsizetype lastTodayWrite = -1;
    for (qsizetype i = 0; i < programLog.size(); ++i) {
        if (programLog[i].contains(QStringLiteral("=== Day reset complete")))
            lastReset = i;
        if (programLog[i].contains(QStringLiteral("Writing todayfile")))
            lastTodayWrite = i;
    }
    EXPECT_GT(lastReset, 0);
    EXPECT_GT(lastTodayWrite, lastReset);
    expectCleanRestart();
}

TEST_F(TerminationTest, SigkillLeavesEveryFileReadable)
{
    if (!replayUntilSignal(SIGKILL))
        GTEST_SKIP() << "the replay ended before the signal";
    EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
    for (const QString& log : dataLogs())
        ExpectWholeLines(log, /*lastMayBeCut=*/true);
    ExpectWholeLines(path("data/speciallog.txt"), true);
    ExpectWholeLines(path("data/dayfile.txt"), true);
    expectCleanRestart();
}

// Live, the signal reaches the event loop through the self-pipe and the
// program closes as from its menu.
TEST(LiveTermination, SigtermClosesTheDemoNormally)
{
    QTemporaryDir root;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(BREZMOR_EXE), {QStringLiteral("--demo"), root.path()});
    ASSERT_TRUE(process.waitForStarted());
    // The first reading cycle writes the today file.
    const QString today = root.filePath(QStringLiteral("data/today.ini"));
    for (int i = 0; i < 2000 && !QFile::exists(today) && process.state() == QProcess::Running; ++i)
        QThread::msleep(5);
    ASSERT_TRUE(QFile::exists(today));
    ASSERT_FALSE(QFile::exists(root.filePath(QStringLiteral("Brezmor.ini")))) << "settings are written at the close";

    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(60'000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(ReadBytes(root.filePath(QStringLiteral("Brezmor.ini"))).contains("Brezmor demo station"));
    const QStringList log = ProgramLogLines(root.path());
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(log.back().contains(QStringLiteral("Writing todayfile"))) << log.back().toStdString();
}

}  // namespace
}  // namespace brezmor
