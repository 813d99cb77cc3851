#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace brezmor {

// Moments are kept as the station software has always kept them: days since
// 1899-12-30 in local time, the fraction being the time of day. The records
// file stores them in this form, and the ten-minute windows are plain
// subtractions of them.
using TDateTime = double;

inline constexpr double kMinutesPerDay = 1440.0;
inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr TDateTime kOneMinute = 1.0 / kMinutesPerDay;
inline constexpr TDateTime kOneHour = 1.0 / 24.0;

[[nodiscard]] TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                                       int second = 0, int millisecond = 0);
[[nodiscard]] TDateTime ToDateTime(const QDate& date, const QTime& time = QTime(0, 0));
[[nodiscard]] TDateTime ToDateTime(const QDateTime& local);

// The wall-clock fields of a moment; no time-zone conversion takes place.
[[nodiscard]] QDate DateOf(TDateTime moment);
[[nodiscard]] QTime TimeOf(TDateTime moment);
[[nodiscard]] QDateTime ToQDateTime(TDateTime moment);

// Whole minutes since midnight and whole days since the epoch, robust against
// the rounding noise of the fraction (12:00 may be stored as 0.49999999999).
[[nodiscard]] int MinuteOfDay(TDateTime moment);
[[nodiscard]] int DayNumber(TDateTime moment);

}  // namespace brezmor
