#include "logging/recent_samples.h"

#include "logging/data_log.h"
#include "logging_fixture.h"

#include <map>
#include <vector>

namespace brezmor {
namespace {

// A data-log line whose values tell its time apart: temperature = minute of
// the hour / 10, dew point = temperature - 2, pressure = 1000 + minute,
// counter = 100 + minute.
QByteArray LogLine(const char* date, int hour, int minute)
{
    const QString time = QStringLiteral("%1:%2").arg(hour, 2, 10, QChar(u'0')).arg(minute, 2, 10, QChar(u'0'));
    return QStringLiteral("%1,%2,%3,80,%4,1.0,2.0,180,0.0,0.0,%5,%6,20.0,50,1.5\r\n")
        .arg(QString::fromLatin1(date), time)
        .arg(minute / 10.0, 0, 'f', 1)
        .arg(minute / 10.0 - 2.0, 0, 'f', 1)
        .arg(1000 + minute)
        .arg(100 + minute)
        .toLatin1();
}

struct Sample {
    int hour;
    int minute;
    friend bool operator==(const Sample&, const Sample&) = default;
};

std::ostream& operator<<(std::ostream& out, const Sample& sample)
{
    return out << sample.hour << ':' << sample.minute;
}

Sample SampleAt(TDateTime time)
{
    const QTime clock = TimeOf(time);
    return {clock.hour(), clock.minute()};
}

class RecentSamplesTest : public LoggingTest {
protected:
    std::vector<Sample> lastHour() const
    {
        std::vector<Sample> samples;
        for (const TLastHourData& sample : m_core->trends().lastHour())
            samples.push_back(SampleAt(sample.time));
        return samples;
    }
    std::vector<Sample> last3Hours() const
    {
        std::vector<Sample> samples;
        for (const TLast3HourData& sample : m_core->trends().last3Hours())
            samples.push_back(SampleAt(sample.time));
        return samples;
    }

    const TDateTime m_now = EncodeDateTime(2009, 3, 1, 0, 30);
};

// Lines around 00:30 on 1 March. After the line at now comes an older line
// and a file for April: reading must have stopped before either.
const QByteArray kBeforeMidnight = LogLine("28/02/09", 21, 0) + LogLine("28/02/09", 23, 0)
                                   + LogLine("28/02/09", 23, 29) + LogLine("28/02/09", 23, 30)
                                   + LogLine("28/02/09", 23, 45);
const QByteArray kAfterMidnight = LogLine("01/03/09", 0, 0) + "01/03/09,00:15,5.1,8\r\n" + LogLine("01/03/09", 0, 30)
                                  + LogLine("01/03/09", 0, 10) + LogLine("01/03/09", 0, 45);

TEST_F(RecentSamplesTest, RebuildsBothListsAcrossTheMonthBoundary)
{
    struct Layout {
        const char* why;
        int rolloverHour;
        std::map<QString, QByteArray> files;
    };
    const Layout layouts[] = {
        {"midnight rollover: the lines after midnight are in the March file",
         0,
         {{QStringLiteral("Feb09log.txt"), kBeforeMidnight},
          {QStringLiteral("Mar09log.txt"), kAfterMidnight},
          {QStringLiteral("Apr09log.txt"), LogLine("01/03/09", 0, 20)}}},
        {"9 am rollover: until 09:00 the lines are still in the February file",
         9,
         {{QStringLiteral("Feb09log.txt"), kBeforeMidnight + kAfterMidnight},
          {QStringLiteral("Mar09log.txt"), LogLine("01/03/09", 0, 20)}}},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.why);
        start();
        m_clock.setNow(m_now);
        settings().setInteger(Setting::RolloverHour, layout.rolloverHour);
        for (const auto& [name, bytes] : layout.files)
            writeDataFile(name, bytes);

        LoadRecentSamples(core(), dataFolder());

        EXPECT_EQ(lastHour(), (std::vector<Sample>{{23, 30}, {23, 45}, {0, 0}, {0, 30}}));
        EXPECT_EQ(last3Hours(), (std::vector<Sample>{{23, 0}, {23, 29}, {23, 30}, {23, 45}, {0, 0}, {0, 30}}));
        const TLastHourData& newest = core().trends().lastHour().back();
        EXPECT_FLOAT_EQ(newest.rainCounter, 130.0f);
        const TLast3HourData& oldest = core().trends().last3Hours().front();
        EXPECT_FLOAT_EQ(oldest.temperature, 0.0f);
        EXPECT_FLOAT_EQ(oldest.pressure, 1000.0f);
        EXPECT_DOUBLE_EQ(conditions().dewPoint, 1.0) << "dew point of the 00:30 line";
        EXPECT_TRUE(debugLogText().contains(QStringLiteral(": 01/03/09,00:15,5.1,8"))) << "the short 00:15 line";
    }
}

TEST_F(RecentSamplesTest, LinesWithoutTheCounterFieldGiveMinusOne)
{
    start();
    m_clock.setNow(m_now);
    writeDataFile(QStringLiteral("Mar09log.txt"), "01/03/09,00:20,5.1,80,3.1,1.0,2.0,180,0.0,0.0,1012.5\r\n");

    LoadRecentSamples(core(), dataFolder());

    ASSERT_EQ(core().trends().lastHour().size(), 1u);
    EXPECT_EQ(core().trends().lastHour().front().rainCounter, -1.0f);
    ASSERT_EQ(core().trends().last3Hours().size(), 1u);
    EXPECT_FLOAT_EQ(core().trends().last3Hours().front().pressure, 1012.5f);
}

TEST_F(RecentSamplesTest, UnreadableFileIsAbandonedAndTheNextOneRead)
{
    start();
    m_clock.setNow(m_now);
    QDir(dataFolder()).mkdir(QStringLiteral("Feb09log.txt"));
    writeDataFile(QStringLiteral("Mar09log.txt"), kAfterMidnight);

    LoadRecentSamples(core(), dataFolder());

    EXPECT_EQ(lastHour(), (std::vector<Sample>{{0, 0}, {0, 30}}));
    EXPECT_TRUE(debugLogText().contains(QStringLiteral("01/03/2009 00:30:00 Error reading ")
                                        + dataPath(QStringLiteral("Feb09log.txt"))));
}

TEST_F(RecentSamplesTest, CommaDecimalLogReadsBack)
{
    start(QLocale(QLocale::German, QLocale::Germany));
    DataLog log(core(), dataFolder());
    const int minutes[] = {0, 10, 20, 30};
    for (const int minute : minutes) {
        conditions().outdoorTemp = -1.5f + minute / 10.0f;
        conditions().pressure = 1013.2f + minute;
        conditions().rainCounter = 250.25f + minute;
        conditions().dewPoint = -3.5 + minute / 10.0;
        m_clock.setNow(m_now - kOneHour + minute * kOneMinute);
        log.WriteDataLogLine(m_clock.now());
    }
    m_clock.setNow(m_now);

    LoadRecentSamples(core(), dataFolder());

    const auto& lastHourList = core().trends().lastHour();
    const auto& threeHourList = core().trends().last3Hours();
    ASSERT_EQ(lastHourList.size(), 4u);
    ASSERT_EQ(threeHourList.size(), 4u);
    EXPECT_FLOAT_EQ(lastHourList.back().rainCounter, 280.3f) << "written with one decimal";
    EXPECT_FLOAT_EQ(threeHourList.front().temperature, -1.5f);
    EXPECT_FLOAT_EQ(threeHourList.back().pressure, 1043.2f);
    EXPECT_DOUBLE_EQ(conditions().dewPoint, static_cast<double>(-0.5f));
    EXPECT_FALSE(debugLogText().contains(QStringLiteral("Skipped")));
}

}  // namespace
}  // namespace brezmor
