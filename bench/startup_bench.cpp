#include "logging/data_log.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "program.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <numbers>

namespace brezmor {
namespace {

constexpr int kYears = 10;

// Numbers and dates as the data files of `regional` carry them.
class FieldText {
public:
    explicit FieldText(const RegionalSettings& regional) : m_regional(regional) {}

    QByteArray number(double value) const
    {
        char text[32];
        const int size = std::snprintf(text, sizeof text, "%.1f", value);
        QByteArray bytes(text, size);
        bytes.replace('.', m_regional.decimalSeparator.toLatin1());
        return bytes;
    }
    QByteArray date(const QDate& day) const
    {
        char text[16];
        const char separator = m_regional.dateSeparator.toLatin1();
        const int size = std::snprintf(text, sizeof text, "%02d%c%02d%c%02d", day.day(), separator, day.month(),
                                       separator, day.year() % 100);
        return QByteArray(text, size);
    }
    QByteArray time(int minuteOfDay) const
    {
        char text[8];
        const int size = std::snprintf(text, sizeof text, "%02d%c%02d", minuteOfDay / 60,
                                       m_regional.timeSeparator.toLatin1(), minuteOfDay % 60);
        return QByteArray(text, size);
    }
    char list() const { return m_regional.listSeparator.toLatin1(); }

private:
    const RegionalSettings& m_regional;
};

// A program folder after ten years of running: a data-log file for every
// month with a line every ten minutes up to `now`, and the daily summary of
// every day before today. The first start and close write the state files,
// as the program itself left them.
class TenYearFolder {
public:
    TenYearFolder(const RegionalSettings& regional, SimulatedClock& clock)
    {
        const QString data = m_root.filePath(QStringLiteral("data"));
        QDir().mkpath(data);
        QFile settings(m_root.filePath(QStringLiteral("Brezmor.ini")));
        m_ready = settings.open(QIODevice::WriteOnly) && settings.write("[Station]\r\nDataLogInterval=2\r\n") > 0;
        settings.close();

        const FieldText field(regional);
        const char sep = field.list();
        const TDateTime now = clock.now();
        const QDate today = DateOf(now);
        QByteArray summary;
        QByteArray log;
        QString logPath;
        double rainCounter = 100.0;
        for (QDate day = today.addYears(-kYears); day <= today; day = day.addDays(1)) {
            const double season = std::sin(2.0 * std::numbers::pi * (day.dayOfYear() - 110) / 365.0);
            const QString path = DataLogFileName(data, ToDateTime(day), 0, clock, regional.locale);
            if (path != logPath) {
                m_ready = m_ready && write(logPath, log);
                log.clear();
                logPath = path;
            }
            for (int minute = 0; minute < 24 * 60; minute += 10) {
                if (ToDateTime(day) + minute * kOneMinute > now)
                    break;
                const double daily = std::sin(2.0 * std::numbers::pi * (minute - 540) / 1440.0);
                const double temp = 10.0 + 8.0 * season + 5.0 * daily;
                if (minute % 170 == 0)
                    rainCounter += 0.2;
                log += field.date(day) + sep + field.time(minute) + sep + field.number(temp) + sep + "80" + sep
                       + field.number(temp - 3.0) + sep + field.number(3.0) + sep + field.number(6.5) + sep + "225"
                       + sep + field.number(0.0) + sep + field.number(1.2) + sep
                       + field.number(1013.0 + 10.0 * daily) + sep + field.number(rainCounter) + sep
                       + field.number(20.0) + sep + "45" + sep + field.number(3.5) + "\r\n";
            }
            if (day < today)
                summary += field.date(day) + sep + field.number(12.3) + sep + "270" + sep + field.time(843) + sep
                           + field.number(5.0 + 8.0 * season) + sep + field.time(371) + sep
                           + field.number(15.0 + 8.0 * season) + sep + field.time(902) + sep + field.number(1003.1)
                           + sep + field.time(12) + sep + field.number(1023.4) + sep + field.time(1320) + sep
                           + field.number(4.2) + sep + field.time(600) + sep + field.number(1.6) + sep
                           + field.number(10.0 + 8.0 * season) + sep + field.number(250.0) + "\r\n";
        }
        m_ready = m_ready && write(logPath, log) && write(QDir(data).filePath(QStringLiteral("dayfile.txt")), summary);

        Program first(m_root.path(), clock, regional, ClockDrive::Replay);
        m_ready = m_ready && first.FormCreate();
        first.startStation(/*withReader=*/false);
        first.FormClose();
    }

    [[nodiscard]] bool ready() const { return m_ready && m_root.isValid(); }
    [[nodiscard]] QString root() const { return m_root.path(); }

private:
    static bool write(const QString& path, const QByteArray& bytes)
    {
        if (path.isEmpty())
            return true;
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    QTemporaryDir m_root;
    bool m_ready = false;
};

// From nothing to a running station and back: the program on a folder with
// ten years of data, started as the replay starts it and closed again.
void BM_StartUpOnTenYears(benchmark::State& state)
{
    const RegionalSettings regional = RegionalSettings::fromSystem();
    SimulatedClock clock(EncodeDateTime(2026, 1, 15, 12, 5));
    const TenYearFolder folder(regional, clock);
    if (!folder.ready()) {
        state.SkipWithError("cannot build the ten-year folder");
        return;
    }
    for (auto _ : state) {
        Program program(folder.root(), clock, regional, ClockDrive::Replay);
        if (!program.FormCreate()) {
            state.SkipWithError("cannot use the program folder");
            return;
        }
        program.startStation(/*withReader=*/false);
        program.FormClose();
    }
}
BENCHMARK(BM_StartUpOnTenYears)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace brezmor
