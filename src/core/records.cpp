#include "core/records.h"

#include "platform/atomic_file.h"

#include "core/diagnostics.h"
#include "platform/clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cmath>

namespace brezmor {
namespace {

// data/alltime.rec holds the thirteen records back to back, no header:
//   offset 0  int32   index (little-endian)
//   offset 4  float32 value (little-endian IEEE single)
//   offset 8  float64 time  (little-endian IEEE double, days since 1899-12-30)
inline constexpr qsizetype kRecordSize = 16;
inline constexpr qsizetype kFileSize = kRecordSize * kRecordCount;

constexpr std::array<float, kRecordCount> kDefaults = {
    -999.0f, 999.0f, 0.0f, 0.0f, 99.0f, 0.0f, 0.0f, 0.0f, 999999.0f, 0.0f, 0.0f, -999.0f, 99.0f,
};

TAllTimeRecord DecodeRecord(const char* bytes)
{
    TAllTimeRecord record;
    record.index = qFromLittleEndian<std::int32_t>(bytes);
    record.value = std::bit_cast<float>(qFromLittleEndian<std::uint32_t>(bytes + 4));
    record.time = std::bit_cast<double>(qFromLittleEndian<std::uint64_t>(bytes + 8));
    return record;
}

void EncodeRecord(const TAllTimeRecord& record, char* bytes)
{
    qToLittleEndian<std::int32_t>(record.index, bytes);
    qToLittleEndian<std::uint32_t>(std::bit_cast<std::uint32_t>(record.value), bytes + 4);
    qToLittleEndian<std::uint64_t>(std::bit_cast<std::uint64_t>(record.time), bytes + 8);
}

QByteArray EncodeRecords(const std::array<TAllTimeRecord, kRecordCount>& records)
{
    QByteArray bytes(kFileSize, '\0');
    for (int i = 0; i < kRecordCount; ++i)
        EncodeRecord(records[i], bytes.data() + i * kRecordSize);
    return bytes;
}

}  // namespace

AllTimeRecords::AllTimeRecords(QString filePath, const Clock& clock, Diagnostics& diagnostics)
    : m_filePath(std::move(filePath)), m_clock(clock), m_diagnostics(diagnostics)
{
    const TDateTime now = m_clock.now();
    for (int i = 0; i < kRecordCount; ++i)
        m_records[i] = {i, defaultValue(i), now};
}

float AllTimeRecords::defaultValue(int index)
{
    Q_ASSERT(index >= 0 && index < kRecordCount);
    return kDefaults[index];
}

void AllTimeRecords::ReadAllTimeRecords()
{
    const TDateTime now = m_clock.now();
    for (int i = 0; i < kRecordCount; ++i)
        m_records[i] = {i, defaultValue(i), now};

    QFile file(m_filePath);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        m_diagnostics.program.LogMessage(
            QStringLiteral("Cannot read all-time records file \"%1\" (%2); every record takes its default")
                .arg(m_filePath, file.errorString()));
        return;
    }
    const QByteArray bytes = file.read(kFileSize + 1);
    const qsizetype completeRecords = std::min<qsizetype>(bytes.size() / kRecordSize, kRecordCount);
    if (bytes.size() < kFileSize) {
        m_diagnostics.program.LogMessage(
            QStringLiteral("All-time records file \"%1\" holds %2 bytes instead of %3; records %4 to %5 take "
                           "their defaults")
                .arg(m_filePath)
                .arg(bytes.size())
                .arg(kFileSize)
                .arg(completeRecords)
                .arg(kRecordCount - 1));
    } else if (bytes.size() > kFileSize) {
        m_diagnostics.program.LogMessage(
            QStringLiteral("All-time records file \"%1\" is longer than %2 bytes; the bytes after the last "
                           "record are ignored")
                .arg(m_filePath)
                .arg(kFileSize));
    }

    for (int i = 0; i < completeRecords; ++i) {
        TAllTimeRecord record = DecodeRecord(bytes.constData() + i * kRecordSize);
        // The position decides which record it is; a stray index would
        // otherwise make two slots claim the same record.
        if (record.index != i) {
            m_diagnostics.program.LogMessage(
                QStringLiteral("All-time record %1 in \"%2\" carries index %3; it is kept as record %1")
                    .arg(i)
                    .arg(m_filePath)
                    .arg(record.index));
            record.index = i;
        }
        // An infinite value would beat or never be beaten by any reading, so
        // it is as useless as NaN.
        if (!std::isfinite(record.value)) {
            m_diagnostics.program.LogMessage(
                QStringLiteral("All-time record %1 in \"%2\" is not a number; it takes its default")
                    .arg(i)
                    .arg(m_filePath));
            record.value = defaultValue(i);
        }
        m_records[i] = record;
    }
}

void AllTimeRecords::NewRecord(int index, TDateTime time, float value)
{
    setRecord(index, value, time);
    WriteAllTimeRecords();
    // The monthly total creeps up reading by reading; announcing each step
    // would keep the lamps flashing all month.
    bool signalled = true;
    if (index == HighMonthlyRainRecord) {
        signalled = !m_monthlyRainAlerted;
        m_monthlyRainAlerted = true;
    }
    const RecordEvent event{index, signalled};
    for (const Observer& observer : m_observers)
        observer(event);
}

bool AllTimeRecords::WriteAllTimeRecords()
{
    const std::optional<QString> error = WriteFileAtomically(m_filePath, EncodeRecords(m_records));
    if (!error)
        return true;
    const QString message = QStringLiteral("Error writing all-time records file \"%1\": %2").arg(m_filePath, *error);
    m_diagnostics.debug.writeLine(message);
    m_diagnostics.program.LogMessage(message);
    return false;
}

void AllTimeRecords::setRecord(int index, float value, TDateTime time)
{
    Q_ASSERT(index >= 0 && index < kRecordCount);
    m_records[index] = {index, value, time};
}

}  // namespace brezmor
