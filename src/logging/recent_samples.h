#pragma once

#include <QString>

namespace brezmor {

class WeatherCore;

// `LoadRecentSamples`: appends the data-log lines of the last hour and of the
// last three hours (both ends included) to the trend sample lists, so the
// trends are right as soon as a station reader starts. The files of each
// window's first month and the two months after it are read; reading ends
// at the first line at or after now. The dew point takes the value of the
// last line of the hour.
void LoadRecentSamples(WeatherCore& core, const QString& dataFolder);

}  // namespace brezmor
