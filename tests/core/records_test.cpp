#include "core/records.h"

#include "core/diagnostics.h"
#include "platform/clock.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <memory>

namespace brezmor {
namespace {

constexpr float kDefaults[kRecordCount] = {-999.0f, 999.0f, 0.0f, 0.0f, 99.0f, 0.0f, 0.0f,
                                           0.0f,    999999.0f, 0.0f, 0.0f, -999.0f, 99.0f};

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A record laid out by hand, independent of the code under test.
QByteArray RecordBytes(std::int32_t index, float value, double time)
{
    QByteArray bytes(16, '\0');
    qToLittleEndian(index, bytes.data());
    qToLittleEndian(std::bit_cast<std::uint32_t>(value), bytes.data() + 4);
    qToLittleEndian(std::bit_cast<std::uint64_t>(time), bytes.data() + 8);
    return bytes;
}

// Thirteen distinct records, value 10 + i, dated a day apart.
QByteArray SampleFile()
{
    QByteArray bytes;
    for (int i = 0; i < kRecordCount; ++i)
        bytes += RecordBytes(i, 10.0f + i, 46000.25 + i);
    return bytes;
}

class AllTimeRecordsTest : public ::testing::Test {
protected:
    QString recordsPath() const { return m_dir.filePath(QStringLiteral("data/alltime.rec")); }
    QString programLogText() const { return QString::fromLatin1(ReadBytes(m_diagnostics.program.filePath())); }

    std::unique_ptr<AllTimeRecords> makeRecords(const QString& path)
    {
        auto records = std::make_unique<AllTimeRecords>(path, m_clock, m_diagnostics);
        records->addObserver([this](const RecordEvent& event) { m_events.push_back(event); });
        return records;
    }
    std::unique_ptr<AllTimeRecords> readRecords()
    {
        auto records = makeRecords(recordsPath());
        records->ReadAllTimeRecords();
        return records;
    }

    QTemporaryDir m_dir;
    const TDateTime m_now = EncodeDateTime(2026, 5, 14, 16, 20);
    SimulatedClock m_clock{m_now};
    Diagnostics m_diagnostics{m_dir.path(), m_clock};
    std::vector<RecordEvent> m_events;
};

TEST_F(AllTimeRecordsTest, MissingFileGivesDefaultsDatedNowAndWritesNothing)
{
    const auto records = readRecords();
    for (int i = 0; i < kRecordCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records->record(i).index, i);
        EXPECT_EQ(records->record(i).value, kDefaults[i]);
        EXPECT_EQ(AllTimeRecords::defaultValue(i), kDefaults[i]);
        EXPECT_EQ(records->record(i).time, m_now);
    }
    EXPECT_FALSE(QFile::exists(recordsPath()));
}

TEST_F(AllTimeRecordsTest, WritesThirteenLittleEndianRecordsAndReadsThemBack)
{
    auto records = makeRecords(recordsPath());
    records->ReadAllTimeRecords();
    records->setRecord(HighGustRecord, 25.5f, 46023.5);
    records->setRecord(HighMonthlyRainRecord, 123.25f, 46054.0);
    ASSERT_TRUE(records->WriteAllTimeRecords());

    const QByteArray bytes = ReadBytes(recordsPath());
    ASSERT_EQ(bytes.size(), 208);
    EXPECT_EQ(bytes.mid(2 * 16, 16).toHex(' '), "02 00 00 00 00 00 cc 41 00 00 00 00 f0 78 e6 40");
    EXPECT_EQ(bytes.mid(10 * 16, 16).toHex(' '), "0a 00 00 00 00 80 f6 42 00 00 00 00 c0 7c e6 40");
    EXPECT_EQ(bytes.mid(8 * 16, 16), RecordBytes(8, 999999.0f, m_now));

    m_clock.setNow(m_now + 3.0);
    const auto reread = readRecords();
    for (int i = 0; i < kRecordCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(reread->record(i).index, i);
        EXPECT_EQ(reread->record(i).value, records->record(i).value);
        EXPECT_EQ(reread->record(i).time, records->record(i).time);
    }
    // Saved through a temporary file that is renamed into place: nothing else is left behind.
    EXPECT_EQ(QDir(m_dir.filePath(QStringLiteral("data"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("alltime.rec")});
}

TEST_F(AllTimeRecordsTest, ShortFileKeepsTheCompleteRecordsAndDefaultsTheRest)
{
    WriteBytes(recordsPath(), SampleFile().left(100));
    const auto records = readRecords();
    for (int i = 0; i < kRecordCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records->record(i).index, i);
        // Record 6 is only partly present (bytes 96-99), so it is lost too.
        const bool complete = i <= 5;
        EXPECT_EQ(records->record(i).value, complete ? 10.0f + i : kDefaults[i]);
        EXPECT_EQ(records->record(i).time, complete ? 46000.25 + i : m_now);
    }
    EXPECT_TRUE(programLogText().contains(QStringLiteral("holds 100 bytes instead of 208; records 6 to 12")));
}

TEST_F(AllTimeRecordsTest, UnusableValuesAndIndexesAreRepaired)
{
    struct Case {
        const char* why;
        int position;
        std::int32_t storedIndex;
        float storedValue;
        float expectedValue;
    };
    const Case cases[] = {
        {"NaN takes the default, time kept", 0, 0, std::numeric_limits<float>::quiet_NaN(), kDefaults[0]},
        {"infinity could never be beaten", 1, 1, -std::numeric_limits<float>::infinity(), kDefaults[1]},
        {"positive infinity likewise", 9, 9, std::numeric_limits<float>::infinity(), kDefaults[9]},
        {"a stray index is replaced by the position", 4, 7, -12.5f, -12.5f},
    };
    QByteArray bytes = SampleFile();
    for (const Case& c : cases)
        bytes.replace(c.position * 16, 16, RecordBytes(c.storedIndex, c.storedValue, 45000.75 + c.position));
    WriteBytes(recordsPath(), bytes);

    const auto records = readRecords();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(records->record(c.position).index, c.position);
        EXPECT_EQ(records->record(c.position).value, c.expectedValue);
        EXPECT_EQ(records->record(c.position).time, 45000.75 + c.position);
    }
    EXPECT_EQ(records->record(7).value, 17.0f);
    const QString log = programLogText();
    EXPECT_TRUE(log.contains(QStringLiteral("All-time record 0 in")));
    EXPECT_TRUE(log.contains(QStringLiteral("carries index 7; it is kept as record 4")));
}

TEST_F(AllTimeRecordsTest, NewRecordStoresSavesAndAnnouncesWhateverTheValue)
{
    auto records = readRecords();
    const TDateTime first = EncodeDateTime(2026, 5, 14, 16, 21);
    records->NewRecord(HighTempRecord, first, 30.0f);
    // Only the caller compares; a lower value handed in still replaces the record.
    records->NewRecord(HighTempRecord, first + kOneMinute, 29.5f);

    EXPECT_EQ(records->record(HighTempRecord).value, 29.5f);
    EXPECT_EQ(ReadBytes(recordsPath()).left(16), RecordBytes(0, 29.5f, first + kOneMinute));
    ASSERT_EQ(m_events.size(), 2u);
    for (const RecordEvent& event : m_events) {
        EXPECT_EQ(event.index, HighTempRecord);
        EXPECT_TRUE(event.signalled);
    }
}

TEST_F(AllTimeRecordsTest, MonthlyRainIsSignalledOnceUntilTheAlertIsCleared)
{
    auto records = readRecords();
    const float totals[] = {40.0f, 40.2f, 40.4f};
    for (const float total : totals)
        records->NewRecord(HighMonthlyRainRecord, m_now, total);
    records->NewRecord(HighDailyRainRecord, m_now, 12.0f);
    records->clearMonthlyRainAlert();
    records->NewRecord(HighMonthlyRainRecord, m_now + 20, 3.0f);

    const bool expected[] = {true, false, false, true, true};
    ASSERT_EQ(m_events.size(), std::size(expected));
    for (std::size_t i = 0; i < m_events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m_events[i].signalled, expected[i]);
    }
    EXPECT_EQ(ReadBytes(recordsPath()).mid(10 * 16, 16), RecordBytes(10, 3.0f, m_now + 20));
}

TEST_F(AllTimeRecordsTest, SetRecordNeitherAnnouncesNorWrites)
{
    auto records = readRecords();
    records->setRecord(LowPressureRecord, 950.5f, m_now - 1);
    EXPECT_EQ(records->record(LowPressureRecord).value, 950.5f);
    EXPECT_TRUE(m_events.empty());
    EXPECT_FALSE(QFile::exists(recordsPath()));
}

TEST_F(AllTimeRecordsTest, WriteFailureIsLoggedAndKeepsTheRecordInMemory)
{
    // A plain file where the folder should be: unwritable even for root.
    WriteBytes(m_dir.filePath(QStringLiteral("blocked")), "x");
    const QString path = m_dir.filePath(QStringLiteral("blocked/alltime.rec"));
    m_diagnostics.debug.setEnabled(true);
    auto records = makeRecords(path);
    records->ReadAllTimeRecords();

    EXPECT_NO_THROW(records->NewRecord(HighWindRecord, m_now, 18.0f));
    EXPECT_FALSE(records->WriteAllTimeRecords());

    EXPECT_EQ(records->record(HighWindRecord).value, 18.0f);
    ASSERT_EQ(m_events.size(), 1u);
    EXPECT_TRUE(m_events[0].signalled);
    const QString expected = QStringLiteral("Error writing all-time records file \"%1\"").arg(path);
    EXPECT_TRUE(programLogText().contains(expected)) << programLogText().toStdString();
    m_diagnostics.debug.flush();
    EXPECT_TRUE(QString::fromLatin1(ReadBytes(m_dir.filePath(QStringLiteral("debug.log")))).contains(expected));
}

}  // namespace
}  // namespace brezmor
