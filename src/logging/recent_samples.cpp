#include "logging/recent_samples.h"

#include "core/diagnostics.h"
#include "core/weather_core.h"
#include "logging/data_log.h"
#include "platform/clock.h"
#include "settings/settings.h"

#include <QStringList>

#include <cmath>
#include <functional>
#include <optional>

namespace brezmor {
namespace {

// Moments compared to the millisecond: a line of 23:30 must count as inside
// a window that starts at 00:30 less one hour, whatever the rounding of the
// day fractions.
qint64 Milliseconds(TDateTime moment)
{
    return std::llround(moment * kSecondsPerDay * 1000.0);
}

// Takes one line inside the window; false when a field it needs is unreadable.
using SampleTaker = std::function<bool(const DataLine& line, TDateTime time)>;

void ReadWindow(WeatherCore& core, const QString& dataFolder, TDateTime start, TDateTime now, const SampleTaker& take)
{
    const int rolloverHour = core.settings().integer(Setting::RolloverHour);
    const RegionalSettings& regional = core.units().regional();
    const DataFileReader reader(core);
    const qint64 first = Milliseconds(start);
    const qint64 last = Milliseconds(now);
    bool reachedNow = false;
    QStringList pathsRead;
    for (int months = 0; months <= 2 && !reachedNow; ++months) {
        const TDateTime moment = ToDateTime(DateOf(start).addMonths(months), TimeOf(start));
        const QString path = DataLogFileName(dataFolder, moment, rolloverHour, core.clock(), regional.locale);
        if (pathsRead.contains(path))
            continue;
        pathsRead.append(path);
        const DataFileRead result = reader.read(path, [&](const DataLine& line) {
            const std::optional<TDateTime> time = line.dateTime();
            if (!time)
                return LineUse::Unreadable;
            const qint64 at = Milliseconds(*time);
            const bool readable = at < first || at > last || take(line, *time);
            if (at >= last) {
                reachedNow = true;
                return LineUse::Stop;
            }
            return readable ? LineUse::Used : LineUse::Unreadable;
        });
        if (result.status == DataFileRead::Status::Failed)
            core.diagnostics().debug.writeLine(DateTimeLogText(core.clock().now(), regional)
                                               + QStringLiteral(" Error reading ") + path + result.error);
    }
}

}  // namespace

void LoadRecentSamples(WeatherCore& core, const QString& dataFolder)
{
    const TDateTime now = core.clock().now();
    CurrentConditions& conditions = core.conditions();
    TrendSamples& trends = core.trends();

    ReadWindow(core, dataFolder, now - kOneHour, now, [&](const DataLine& line, TDateTime time) {
        const std::optional<float> dewPoint = line.number(4);
        // Lines from before the rain counter was logged have no field 11.
        const std::optional<float> counter = line.fieldCount() < 12 ? -1.0f : line.number(11);
        if (!dewPoint || !counter)
            return false;
        conditions.dewPoint = *dewPoint;
        trends.AddLastHourSample(time, *counter);
        return true;
    });

    ReadWindow(core, dataFolder, now - 3.0 * kOneHour, now, [&](const DataLine& line, TDateTime time) {
        const std::optional<float> temperature = line.number(2);
        const std::optional<float> pressure = line.number(10);
        if (!temperature || !pressure)
            return false;
        trends.AddLast3HourSample(time, *temperature, *pressure);
        return true;
    });
}

}  // namespace brezmor
