#pragma once

#include <QDate>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <ostream>

namespace brezmor {

// Writes `days` days of a replayed station from midnight of `start`: every
// minute the eight readings a console sends, a few seconds apart. The outdoor
// temperature swings by day and by season with some noise, so today's
// extremes move now and then; the wind veers; rain falls in showers and the
// counter only ever rises. The same arguments always give the same text.
inline void WriteReplayDays(std::ostream& out, QDate start, int days)
{
    std::uint32_t seed = 12345;
    const auto noise = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / double(1u << 24) - 0.5;
    };
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    double rain = 100.0;
    double showerMinutesLeft = 0.0;
    char line[96];
    for (int day = 0; day < days; ++day) {
        const QDate date = start.addDays(day);
        const double season = std::sin(kTwoPi * (date.dayOfYear() - 110) / 365.0);
        for (int minute = 0; minute < 24 * 60; ++minute) {
            const double daily = std::sin(kTwoPi * (minute - 9 * 60) / 1440.0);
            const double temp = 10.0 + 8.0 * season + 5.0 * daily + noise();
            const int humidity = static_cast<int>(75.0 - 15.0 * daily + 4.0 * noise());
            const double pressure = 1013.0 + 12.0 * std::sin(kTwoPi * (day * 1440 + minute) / (5.0 * 1440.0));
            const double average = 3.0 + 2.0 * std::sin(kTwoPi * minute / 720.0) + noise();
            const double gust = average + 2.0 + 2.0 * std::abs(noise());
            const int bearing = (day * 37 + minute / 6 + static_cast<int>(20.0 * noise()) + 360) % 360;
            if (showerMinutesLeft <= 0.0 && noise() > 0.4997)
                showerMinutesLeft = 30.0 + 60.0 * (noise() + 0.5);
            if (showerMinutesLeft > 0.0) {
                --showerMinutesLeft;
                if (noise() > 0.0)
                    rain += 0.2;
            }
            const int h = minute / 60;
            const int m = minute % 60;
            const auto emit = [&](int second, const char* format, auto... values) {
                const int at = std::snprintf(line, sizeof line, "%04d-%02d-%02d %02d:%02d:%02d,", date.year(),
                                             date.month(), date.day(), h, m, second);
                const int rest = std::snprintf(line + at, sizeof line - at, format, values...);
                out.write(line, at + rest);
            };
            emit(0, "outhum,,,%d\n", humidity);
            emit(6, "outtemp,%.1f\n", temp);
            emit(12, "wind,%.1f,%.1f,%d\n", gust, average, bearing);
            emit(18, "rain,%.1f,-1\n", rain);
            emit(24, "pressure,%.1f\n", pressure);
            emit(30, "intemp,%.1f\n", 20.0 + 0.5 * daily);
            emit(36, "inhum,,,%d\n", 45 + static_cast<int>(3.0 * daily));
            emit(42, "statuspanel\n");
        }
    }
}

}  // namespace brezmor
