#include "core/wind.h"

#include "core/diagnostics.h"
#include "core/text_format.h"
#include "core/weather_core.h"
#include "settings/settings.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace brezmor {
namespace {

struct BeaufortRow {
    int tenthsMsBelow;
    const char16_t* description;
};

// The upper limit of each force in tenths of a metre per second; force 12
// has none.
constexpr std::array<BeaufortRow, 13> kBeaufort = {{
    {3, u"Calm"},
    {16, u"Light Air"},
    {34, u"Light breeze"},
    {55, u"Gentle breeze"},
    {80, u"Moderate breeze"},
    {108, u"Fresh breeze"},
    {139, u"Strong breeze"},
    {172, u"Near gale"},
    {208, u"Gale"},
    {245, u"Strong gale"},
    {285, u"Storm"},
    {327, u"Violent storm"},
    {0, u"Hurricane"},
}};

// One metre per second, in thousandths of each wind unit.
constexpr std::array<int, 4> kThousandthsPerMs = {1000, 2237, 3600, 1944};

constexpr int kHurricane = 12;

bool IsKnownWindUnit(WindUnit unit)
{
    const int code = static_cast<int>(unit);
    return code >= 0 && code < static_cast<int>(kThousandthsPerMs.size());
}

double Radians(int degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

// The rose holds calibrated bearings, 0 to 360; a table spares the 3600
// divisions of each recount.
constexpr std::array<std::uint8_t, 361> kSectorOfBearing = [] {
    std::array<std::uint8_t, 361> sectors{};
    for (int bearing = 0; bearing <= 360; ++bearing)
        sectors[static_cast<std::size_t>(bearing)] = static_cast<std::uint8_t>((bearing * 100 + 1125) % 36000 / 2250);
    return sectors;
}();

int RoseSector(int bearing)
{
    return bearing >= 0 && bearing <= 360 ? kSectorOfBearing[static_cast<std::size_t>(bearing)] : WindRoseSector(bearing);
}

}  // namespace

WindHistory::RecentSpeeds WindHistory::recentSpeeds(TDateTime now) const
{
    const int newest = (speedIndex + kRingSize - 1) % kRingSize;
    double total = 0.0;
    int count = 0;
    float highest = 0.0f;
    for (int i = 0; i < kRingSize; ++i) {
        const SpeedEntry& entry = speeds[static_cast<std::size_t>(i)];
        const bool recent = inWindow(entry.time, now);
        if (recent || i == newest) {
            total += entry.speed;
            ++count;
        }
        if (recent && entry.speed > highest)
            highest = entry.speed;
    }
    return {static_cast<float>(total / count), highest};
}

WindHistory::VectorSums WindHistory::recentVectorSums(TDateTime now) const
{
    VectorSums sums;
    for (const VectorEntry& entry : vectors) {
        if (inWindow(entry.time, now)) {
            sums.x += static_cast<float>(entry.x);
            sums.y += static_cast<float>(entry.y);
        }
    }
    return sums;
}

int WindRoseSector(int bearing)
{
    const std::int64_t centred = (static_cast<std::int64_t>(bearing) * 100 + 1125) % 36000;
    return static_cast<int>((centred < 0 ? centred + 36000 : centred) / 2250);
}

int BeaufortNumber(float speed, WindUnit unit)
{
    if (!IsKnownWindUnit(unit))
        return 0;
    const double tenths = std::round(static_cast<double>(speed) * 10.0);
    if (!(tenths > 0.0))
        return 0;
    // Far beyond any force limit, and small enough for exact integer steps.
    if (tenths >= 1e9)
        return kHurricane;
    const std::int64_t tenthsMs =
        static_cast<std::int64_t>(tenths) * 1000 / kThousandthsPerMs[static_cast<std::size_t>(unit)];
    for (int force = 0; force < kHurricane; ++force) {
        if (tenthsMs < kBeaufort[static_cast<std::size_t>(force)].tenthsMsBelow)
            return force;
    }
    return kHurricane;
}

QString BeaufortForce(float speed, WindUnit unit)
{
    return QString::number(BeaufortNumber(speed, unit));
}

QString BeaufortDescription(float speed, WindUnit unit)
{
    return QString::fromUtf16(kBeaufort[static_cast<std::size_t>(BeaufortNumber(speed, unit))].description);
}

float WindRunIncrement(float average, WindUnit unit, int minutes)
{
    const double factor = unit == WindUnit::MetresPerSecond ? 3.6 : 1.0;
    return static_cast<float>(average * factor * minutes / 60.0);
}

void WeatherCore::DoWind(int bearing, float speed, float average, TDateTime time)
{
    const bool zeroBearing = m_settings.boolean(Setting::UseZeroBearing);
    const float gustMult = m_settings.single(Setting::WindGustMult);

    int b = CalibrateBearing(bearing, m_settings.integer(Setting::WindDirOffset));
    if (speed == 0.0f && zeroBearing)
        b = 0;
    m_conditions.bearing = b;
    m_display.show(Display::Bearing, [&] { return QString::number(b); });
    m_display.show(Display::BearingCompass, [&] { return CompassPoint(b); });

    m_conditions.rawWindSpeed = speed;
    const float latest = speed * gustMult;
    m_conditions.latestWindSpeed = latest;
    m_display.show(Display::LatestWind, [&] { return m_units.FormatWind(latest); });

    updateWindRose(b, speed);
    checkLatestGust(latest, b, time);
    const float windAverage = updateSpeedHistory(speed, average, gustMult, time);
    updateAverageBearing(b, latest, time);
    if (windAverage == 0.0f && zeroBearing)
        m_conditions.averageBearing = 0;
    const int averageBearing = m_conditions.averageBearing;
    m_display.show(Display::AverageBearing, [&] { return QString::number(averageBearing); });
    m_display.show(Display::AverageBearingCompass, [&] { return CompassPoint(averageBearing); });
    checkAverageSpeed(windAverage, time);
    m_conditions.windReceived = true;
}

void WeatherCore::checkLatestGust(float latest, int bearing, TDateTime time)
{
    if (beatsHigh(latest, m_records.record(HighGustRecord).value))
        m_records.NewRecord(HighGustRecord, time, latest);
    m_alarms.CheckAlarm(AlarmId::HighGust, latest);
    TodayExtremes& today = m_conditions.today;
    if (beatsHigh(latest, today.highGust)) {
        today.highGustBearing = bearing;
        m_display.show(Display::TodayHighGustBearing, [&] { return QString::number(bearing); });
        m_display.show(Display::TodayHighGustCompass, [&] { return CompassPoint(bearing); });
        setTodayExtreme(today.highGust, today.highGustTime, latest, time, Display::TodayHighGust,
                        Display::TodayHighGustTime, &Units::FormatWind);
    }
}

float WeatherCore::updateSpeedHistory(float speed, float stationAverage, float gustMult, TDateTime time)
{
    m_wind.speeds[static_cast<std::size_t>(m_wind.speedIndex)] = {speed, time};
    m_wind.speedIndex = (m_wind.speedIndex + 1) % WindHistory::kRingSize;

    const WindHistory::RecentSpeeds recent = m_wind.recentSpeeds(time);
    const float uncorrected = m_settings.boolean(Setting::Wind10MinAverage) ? recent.mean : stationAverage;
    const auto windAverage = static_cast<float>(uncorrected * m_settings.real(Setting::WindComp)
                                                * m_settings.single(Setting::WindSpeedMult));
    m_conditions.windAverage = windAverage;

    m_conditions.windGust = recent.highest * gustMult;
    m_display.show(Display::WindGust, [&] { return m_units.FormatWind(m_conditions.windGust); });

    TodayExtremes& today = m_conditions.today;
    if (beatsHigh(windAverage, today.highWind))
        setTodayExtreme(today.highWind, today.highWindTime, windAverage, time, Display::TodayHighWind,
                        Display::TodayHighWindTime, &Units::FormatWind);
    return windAverage;
}

void WeatherCore::checkAverageSpeed(float windAverage, TDateTime time)
{
    m_alarms.CheckAlarm(AlarmId::HighWind, windAverage);

    m_display.show(Display::WindAverage, [&] { return m_units.FormatWind(windAverage); });
    m_display.show(Display::WindCaption, [&] {
        const auto unit = static_cast<WindUnit>(m_units.choice().wind);
        return QStringLiteral("Wind - F") + BeaufortForce(windAverage, unit) + u' '
               + BeaufortDescription(windAverage, unit);
    });

    if (beatsHigh(windAverage, m_records.record(HighWindRecord).value))
        m_records.NewRecord(HighWindRecord, time, windAverage);
}

void WeatherCore::updateWindRose(int bearing, float rawSpeed)
{
    const auto index = static_cast<std::size_t>(m_wind.roseIndex);
    m_wind.roseSpeeds[index] = rawSpeed;
    m_wind.roseBearings[index] = bearing;
    // Only a spider graph needs the sector totals; nobody pays for them headless.
    if (m_display.watched())
        m_display.showWindRose(windRoseTotals());
    if (m_wind.roseFill < WindHistory::kRoseSize - 1)
        ++m_wind.roseFill;
    m_wind.roseIndex = (m_wind.roseIndex + 1) % WindHistory::kRoseSize;
}

std::array<float, 16> WeatherCore::windRoseTotals() const
{
    std::array<float, WindHistory::kRoseSectors> totals{};
    for (int i = 0; i <= m_wind.roseFill; ++i) {
        const auto entry = static_cast<std::size_t>(i);
        totals[static_cast<std::size_t>(RoseSector(m_wind.roseBearings[entry]))] += m_wind.roseSpeeds[entry];
    }
    return totals;
}

void WeatherCore::updateAverageBearing(int bearing, float latest, TDateTime time)
{
    const double radians = Radians(bearing);
    m_wind.vectors[static_cast<std::size_t>(m_wind.vectorIndex)] = {std::sin(radians) * latest,
                                                                    std::cos(radians) * latest, time};
    m_wind.vectorIndex = (m_wind.vectorIndex + 1) % WindHistory::kRingSize;

    const WindHistory::VectorSums sums = m_wind.recentVectorSums(time);
    if (!std::isfinite(sums.x) || !std::isfinite(sums.y)) {
        m_diagnostics.debug.writeLineForced(QStringLiteral("***Error in average bearing calc: X = ")
                                            + QString::number(sums.x) + QStringLiteral(" Y = ")
                                            + QString::number(sums.y));
        m_display.show(Display::Heading, [] { return QStringLiteral("Error!"); });
        return;
    }
    if (sums.x == 0.0f) {
        m_conditions.averageBearing = 0;
        return;
    }
    const double degrees = std::atan(static_cast<double>(sums.y) / sums.x) * 180.0 / std::numbers::pi;
    // The angle is cut to whole degrees, but single sums carry noise of about
    // 1e-5 degrees either way: a steady wind from 3 degrees may come out at
    // 86.99999 and read as 4, and one from north as 359. Allowing a
    // thousandth of a degree before the cut keeps whole bearings whole.
    constexpr double kSumNoiseDegrees = 1e-3;
    const int a = static_cast<int>(std::trunc(degrees + std::copysign(kSumNoiseDegrees, degrees)));
    const int averageBearing = sums.x > 0.0f ? 90 - a : 270 - a;
    m_conditions.averageBearing = averageBearing == 0 ? 360 : averageBearing;
}

void WeatherCore::addWindRun(int minutes)
{
    const float increment =
        WindRunIncrement(m_conditions.windAverage, static_cast<WindUnit>(m_units.choice().wind), minutes);
    // One bad reading must not spoil the whole day's run.
    if (std::isfinite(increment))
        m_conditions.windRunToday += increment;
    m_display.show(Display::WindRunToday, [&] { return m_units.FormatWindRun(m_conditions.windRunToday); });
}

}  // namespace brezmor
