#include "logging/rain_totals.h"

#include "core/diagnostics.h"
#include "core/today_files.h"
#include "core/text_format.h"
#include "core/weather_core.h"
#include "logging/data_log.h"
#include "logging/day_rollover.h"
#include "platform/clock.h"
#include "settings/settings.h"

#include <optional>

namespace brezmor {

void LoadRainTotals(WeatherCore& core, const QString& dataFolder)
{
    CurrentConditions& c = core.conditions();
    Settings& settings = core.settings();
    const RegionalSettings& regional = core.units().regional();
    // The totals are those of the log day now running: before the 9 am
    // rollover on the 1st, the day still belongs to the month that is ending.
    const QDate today = LogDate(core.clock().now(), settings.integer(Setting::RolloverHour), core.clock());
    c.rainMonth = 0.0f;
    c.rainYear = 0.0f;

    const DataFileRead result = DataFileReader(core).read(DayfilePath(dataFolder), [&](const DataLine& line) {
        const QDate date = line.date();
        if (!date.isValid())
            return LineUse::Unreadable;
        if (date.year() != today.year())
            return LineUse::Used;
        const std::optional<float> rain = line.number(14);
        if (!rain)
            return LineUse::Unreadable;
        c.rainYear += *rain;
        if (date.month() == today.month())
            c.rainMonth += *rain;
        return LineUse::Used;
    });
    switch (result.status) {
    case DataFileRead::Status::Read:
        core.diagnostics().program.LogMessage(QStringLiteral("Rainthismonth from dayfile.txt: ")
                                              + ShortestNumberText(c.rainMonth, regional.decimalSeparator));
        break;
    case DataFileRead::Status::Failed:
        core.diagnostics().debug.writeLine(DateTimeLogText(core.clock().now(), regional)
                                           + QStringLiteral(" Error reading Dayfile: ") + result.error);
        break;
    case DataFileRead::Status::Missing:
        break;
    }

    if (settings.integer(Setting::YTDrainyear) == today.year())
        c.rainYear += settings.single(Setting::YTDrain);
}

}  // namespace brezmor
