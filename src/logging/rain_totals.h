#pragma once

#include <QString>

namespace brezmor {

class WeatherCore;

// `LoadRainTotals` (start-up): this month's and this year's rain before
// today, summed from the daily summary file's rain today of the current log
// day's month and year, plus [Station] YTDrain when YTDrainyear is that
// year.
void LoadRainTotals(WeatherCore& core, const QString& dataFolder);

}  // namespace brezmor
