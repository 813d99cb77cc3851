#include "logging/rain_totals.h"

#include "logging/day_rollover.h"
#include "logging_fixture.h"

#include <optional>

namespace brezmor {
namespace {

// A summary line of the given date with the given rain today (field 14).
QByteArray DayLine(const char* date, const char* rain)
{
    return QByteArray(date) + ",12.5,240,14:32,-1.6,06:47,7.2,13:05,1015.3,03:10,1024.1,23:58,4.8,16:20," + rain
           + ",3.5,153.4\r\n";
}

const QByteArray kTwoMonths = DayLine("30/12/08", "10.0")  // last year
                              + DayLine("01/02/09", "2.0") + DayLine("15/02/09", "3.0")
                              + DayLine("01/03/09", "4.0")
                              + "02/03/09,12.5,240\r\n"      // too few fields
                              + DayLine("03/03/09", "x")     // text where the rain belongs
                              + DayLine("14/03/09", "5.5")
                              + "15/03/0";                   // half written at a power cut

const QByteArray kFebruaryOnly = DayLine("30/12/08", "10.0") + DayLine("01/02/09", "2.0") + DayLine("27/02/09", "3.0");

struct RainTotalsCase {
    const char* why;
    std::optional<QByteArray> dayfile;
    TDateTime now;
    int rolloverHour;
    int ytdRainYear;
    float month;
    float year;
};

class RainTotalsTest : public LoggingTest {};

TEST_F(RainTotalsTest, SumsTheLogDaysMonthAndYear)
{
    const TDateTime midMarch = EncodeDateTime(2009, 3, 15, 12, 0);
    const RainTotalsCase cases[] = {
        {"other years add nothing, the year and the month add up, bad lines cost only themselves", kTwoMonths,
         midMarch, 0, 0, 9.5f, 14.5f},
        {"YTDrain of this year joins the year total", kTwoMonths, midMarch, 0, 2009, 9.5f, 114.5f},
        {"YTDrain of another year is ignored", kTwoMonths, midMarch, 0, 2008, 9.5f, 14.5f},
        {"LF line ends read the same", QByteArray(kTwoMonths).replace("\r\n", "\n"), midMarch, 0, 0, 9.5f, 14.5f},
        {"no summary file yet", std::nullopt, midMarch, 0, 0, 0.0f, 0.0f},
        {"before the 9 am rollover on the 1st the log day is still February's", kFebruaryOnly,
         EncodeDateTime(2009, 3, 1, 5, 0), 9, 0, 5.0f, 5.0f},
        {"from the 9 am rollover on the 1st it is March", kFebruaryOnly, EncodeDateTime(2009, 3, 1, 9, 0), 9, 0,
         0.0f, 5.0f},
        {"before the 9 am rollover on New Year's Day the year is the old one", kFebruaryOnly,
         EncodeDateTime(2009, 1, 1, 5, 0), 9, 2008, 10.0f, 110.0f},
    };
    for (const RainTotalsCase& c : cases) {
        SCOPED_TRACE(c.why);
        start();
        m_clock.setNow(c.now);
        settings().setInteger(Setting::RolloverHour, c.rolloverHour);
        settings().setInteger(Setting::YTDrainyear, c.ytdRainYear);
        settings().setSingle(Setting::YTDrain, 100.0f);
        if (c.dayfile)
            writeDataFile(QStringLiteral("dayfile.txt"), *c.dayfile);
        conditions().rainMonth = 999.0f;
        conditions().rainYear = 999.0f;

        LoadRainTotals(core(), dataFolder());

        EXPECT_FLOAT_EQ(conditions().rainMonth, c.month);
        EXPECT_FLOAT_EQ(conditions().rainYear, c.year);
    }
}

TEST_F(RainTotalsTest, LogsTheMonthAndEachSkippedLine)
{
    start();
    m_clock.setNow(EncodeDateTime(2009, 3, 15, 12, 0));
    writeDataFile(QStringLiteral("dayfile.txt"), kTwoMonths);

    LoadRainTotals(core(), dataFolder());

    EXPECT_EQ(programLogLines(), QStringList{QStringLiteral("Rainthismonth from dayfile.txt: 9.5")});
    const QString debug = debugLogText();
    EXPECT_EQ(debug.count(QStringLiteral(" Skipped unreadable line ")), 3);
    EXPECT_TRUE(debug.contains(QStringLiteral("line 5 of ")));
    EXPECT_TRUE(debug.contains(QStringLiteral("line 6 of ")));
    EXPECT_TRUE(debug.contains(QStringLiteral("line 8 of ")));
}

TEST_F(RainTotalsTest, UnreadableFileLeavesZeroTotalsAndSaysWhy)
{
    start();
    m_clock.setNow(EncodeDateTime(2009, 3, 15, 12, 0));
    QDir(dataFolder()).mkdir(QStringLiteral("dayfile.txt"));

    LoadRainTotals(core(), dataFolder());

    EXPECT_EQ(conditions().rainMonth, 0.0f);
    EXPECT_EQ(conditions().rainYear, 0.0f);
    EXPECT_TRUE(debugLogText().contains(QStringLiteral("15/03/2009 12:00:00 Error reading Dayfile: ")));
    EXPECT_TRUE(programLogLines().isEmpty());
}

TEST_F(RainTotalsTest, CommaDecimalSummaryReadsBack)
{
    start(QLocale(QLocale::German, QLocale::Germany));
    conditions().rainNotInitialised = false;
    conditions().rainCounterDayStart = 10.0f;
    conditions().rainCounter = 12.5f;
    conditions().rainToday = 2.5f;
    m_clock.setNow(EncodeDateTime(2009, 3, 15));
    DayRollover(core(), dataFolder()).DayReset(m_clock.now());
    conditions().rainCounter = 13.75f;
    conditions().rainToday = 1.25f;
    m_clock.setNow(EncodeDateTime(2009, 3, 16));
    DayRollover(core(), dataFolder()).DayReset(m_clock.now());
    ASSERT_TRUE(ReadBytes(dataPath(QStringLiteral("dayfile.txt"))).startsWith("14.03.09;"));

    LoadRainTotals(core(), dataFolder());

    EXPECT_FLOAT_EQ(conditions().rainMonth, 3.8f) << "2,5 + 1,3 as written";
    EXPECT_FLOAT_EQ(conditions().rainYear, 3.8f);
}

}  // namespace
}  // namespace brezmor
