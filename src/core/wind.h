#pragma once

#include "core/units.h"
#include "platform/datetime.h"

#include <QString>

#include <array>

namespace brezmor {

// The wind histories behind the ten-minute average, the gust, the average
// bearing and the wind rose. Fixed-size rings: a reading allocates nothing.
struct WindHistory {
    static constexpr int kRingSize = 200;
    static constexpr int kRoseSize = 3600;
    static constexpr int kRoseSectors = 16;
    static constexpr TDateTime kWindow = 10.0 * kOneMinute;

    struct SpeedEntry {
        float speed = 0.0f;  // raw
        TDateTime time = 0.0;
    };
    struct VectorEntry {
        double x = 0.0;
        double y = 0.0;
        TDateTime time = 0.0;
    };

    std::array<SpeedEntry, kRingSize> speeds{};
    int speedIndex = 0;
    std::array<VectorEntry, kRingSize> vectors{};
    int vectorIndex = 0;

    // Web pages and images read the rose entries. The fill count stops at
    // kRoseSize - 1: entries 0 to roseFill inclusive are the ones in use,
    // which before the first wrap includes the next, still empty, slot.
    std::array<float, kRoseSize> roseSpeeds{};
    std::array<int, kRoseSize> roseBearings{};
    int roseIndex = 0;
    int roseFill = 0;

    struct RecentSpeeds {
        float mean = 0.0f;
        float highest = 0.0f;  // 0 when none is above 0
    };
    // Over the speed entries of the last ten minutes. The entry written last
    // always counts towards the mean, whatever its time says.
    [[nodiscard]] RecentSpeeds recentSpeeds(TDateTime now) const;

    // Sums of the wind vectors of the last ten minutes, in singles as they
    // have always been summed.
    struct VectorSums {
        float x = 0.0f;
        float y = 0.0f;
    };
    [[nodiscard]] VectorSums recentVectorSums(TDateTime now) const;

    // Whether a ring entry taken at `entryTime` counts for a reading at `now`.
    // An entry dated after the reading does not: when local time falls back
    // an hour in autumn, or the clock is put back, a whole hour of readings
    // would otherwise pass for recent. The minutes just before the change
    // drop out early instead, the far smaller error.
    [[nodiscard]] static bool inWindow(TDateTime entryTime, TDateTime now)
    {
        const TDateTime age = now - entryTime;
        return age >= 0.0 && age < kWindow;
    }
};

// The wind-rose sector of a bearing: 0 is north (348.75 up to 11.25 degrees),
// then clockwise in 22.5 degree steps.
[[nodiscard]] int WindRoseSector(int bearing);

// The Beaufort force 0 to 12 of a speed in the configured unit. An unknown
// unit code counts every speed as calm, as the unit conversions give 0 for it.
[[nodiscard]] int BeaufortNumber(float speed, WindUnit unit);
// `BeaufortForce`: that force as text, "0" to "12".
[[nodiscard]] QString BeaufortForce(float speed, WindUnit unit);
[[nodiscard]] QString BeaufortDescription(float speed, WindUnit unit);

// What `minutes` at `average` add to the wind run, in "km", "miles", "km" or
// "nm" by wind unit.
[[nodiscard]] float WindRunIncrement(float average, WindUnit unit, int minutes = 1);

}  // namespace brezmor
