#include "core/weather_core.h"

#include "core/forecast.h"
#include "core/text_format.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "settings/settings.h"

#include <cmath>

namespace brezmor {
namespace {

constexpr double kInHgPerMb = 0.0295333727;

// Halves away from zero. The lists hold singles, so a change of 0.15 arrives
// as 0.1500244 or as 0.1499756; a nudge away from zero far below any
// station's resolution sends such a half the same way whichever it is.
float RoundHalfAwayFromZero(double value, int decimals)
{
    constexpr double kSingleNoise = 0.005;  // of the last decimal kept
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    return static_cast<float>(std::round(scaled + std::copysign(kSingleNoise, scaled)) / scale);
}

// A trend with its sign and one decimal, "0" when it rounds to nothing.
QString SignedTrendText(double trend, QChar decimalSeparator)
{
    const float rounded = RoundHalfAwayFromZero(trend, 1);
    if (!std::isfinite(rounded))
        return FormatSignificant(rounded, 7, 1, decimalSeparator);
    if (rounded == 0.0f)
        return QStringLiteral("0");
    const QString sign = rounded > 0.0f ? QStringLiteral("+") : QStringLiteral("-");
    return sign + FormatSignificant(std::fabs(rounded), 7, 1, decimalSeparator);
}

void StorePressureTrendText(CurrentConditions& conditions, const DisplayNotifier& display, const QString& text)
{
    conditions.pressureTrendText = text;
    display.show(Display::PressureTrendText, [&] { return text; });
    display.show(Display::BarometerCaption, [&] { return QStringLiteral("Barometer - ") + text; });
}

}  // namespace

float WeatherCore::pressureOffset() const
{
    const float offset = m_settings.single(Setting::PressOffset);
    return std::isfinite(offset) ? offset : 0.0f;
}

void WeatherCore::DoPressure(float pressure, TDateTime time)
{
    const float p = pressure + pressureOffset();
    m_conditions.pressure = p;
    m_display.show(Display::Pressure, [&] { return m_units.FormatPress(p); });

    if (beatsHigh(p, m_records.record(HighPressureRecord).value))
        m_records.NewRecord(HighPressureRecord, time, p);
    m_alarms.CheckAlarm(AlarmId::HighPress, p);
    if (beatsLow(p, m_records.record(LowPressureRecord).value))
        m_records.NewRecord(LowPressureRecord, time, p);
    m_alarms.CheckAlarm(AlarmId::LowPress, p);

    TodayExtremes& today = m_conditions.today;
    if (beatsHigh(p, today.highPressure))
        setTodayExtreme(today.highPressure, today.highPressureTime, p, time, Display::TodayHighPressure,
                        Display::TodayHighPressureTime, &Units::FormatPress);
    if (beatsLow(p, today.lowPressure))
        setTodayExtreme(today.lowPressure, today.lowPressureTime, p, time, Display::TodayLowPressure,
                        Display::TodayLowPressureTime, &Units::FormatPress);

    m_conditions.pressureReceived = true;
}

void WeatherCore::PressureTrendText()
{
    const double threeHourChangeMb = m_units.PressureInMB(m_conditions.pressureTrend * 3.0f);
    StorePressureTrendText(m_conditions, m_display, PressureTendencyText(threeHourChangeMb));
}

void WeatherCore::DoPressureTrendText(const QString& text)
{
    if (m_settings.boolean(Setting::UseBrezmorPresstrendstr))
        PressureTrendText();
    else
        StorePressureTrendText(m_conditions, m_display, text);
}

void WeatherCore::DoForecast(const QString& text)
{
    QString forecast = text;
    if (m_settings.boolean(Setting::UseBrezmorForecast)) {
        const int month = DateOf(m_clock.now()).month();
        const QString windText = m_conditions.windAverage < 0.1f ? QStringLiteral("calm")
                                                                 : CompassPoint(m_conditions.averageBearing);
        double lowMb = m_settings.single(Setting::FClowpress);
        double highMb = m_settings.single(Setting::FChighpress);
        if (!m_settings.boolean(Setting::FCpressinMB)) {
            lowMb /= kInHgPerMb;
            highMb /= kInHgPerMb;
        }
        const Hemisphere hemisphere =
            m_settings.real(Setting::Latitude) > 0.0 ? Hemisphere::Northern : Hemisphere::Southern;
        forecast = ZambrettiForecast(month, windText, TendencyOfTrend(m_conditions.pressureTrend), lowMb, highMb,
                                     hemisphere, m_units.PressureInMB(m_conditions.pressure));
    }
    m_conditions.forecast = forecast;
    m_display.show(Display::Forecast, [&] { return QStringLiteral("Forecast: ") + forecast; });
}

void WeatherCore::sampleTrends(TDateTime time)
{
    m_trends.AddLastHourSample(time, m_conditions.rainCounter);
    m_trends.TrimLastHour(time);
    m_trends.AddLast3HourSample(time, m_conditions.outdoorTemp, m_conditions.pressure);
    m_trends.TrimLast3Hours(time);
    DoTrends(time);
}

void WeatherCore::DoTrends(TDateTime now)
{
    const std::deque<TLastHourData>& lastHour = m_trends.lastHour();
    if (lastHour.empty())
        return;

    // Over whatever span the list covers, divided by 3 all the same: right
    // after start-up it may be much shorter than three hours.
    const std::deque<TLast3HourData>& last3Hours = m_trends.last3Hours();
    if (!last3Hours.empty()) {
        const TLast3HourData& first = last3Hours.front();
        const TLast3HourData& last = last3Hours.back();
        const double temperatureTrend = (static_cast<double>(last.temperature) - first.temperature) / 3.0;
        m_temperatureTrendText = SignedTrendText(temperatureTrend, m_regional.decimalSeparator);
        m_display.show(Display::TempTrend, [&] { return m_temperatureTrendText; });

        const float pressureTrend = RoundHalfAwayFromZero(
            (static_cast<double>(last.pressure) - first.pressure) / 3.0, m_units.pressDecimals());
        m_conditions.pressureTrend = pressureTrend;
        m_display.show(Display::PressureTrend, [&] {
            return (pressureTrend > 0.0f ? QStringLiteral("+") : QString()) + m_units.FormatPress(pressureTrend);
        });
    }

    // A first counter of -1 comes from log lines without a rain field; a
    // counter that went down was reset, so the hour's rain is unknown.
    const float firstCounter = lastHour.front().rainCounter;
    const float lastCounter = lastHour.back().rainCounter;
    const float rainLastHour =
        firstCounter != -1.0f && firstCounter <= lastCounter ? (lastCounter - firstCounter) * rainMultiplier() : 0.0f;
    m_conditions.rainLastHour = rainLastHour;
    m_display.show(Display::RainLastHour, [&] { return m_units.FormatRain(rainLastHour); });
    if (beatsHigh(rainLastHour, m_records.record(HighHourlyRainRecord).value))
        m_records.NewRecord(HighHourlyRainRecord, now, rainLastHour);

    constexpr int kUsbStationType = 5;
    if (m_settings.integer(Setting::Type) == kUsbStationType && m_usbHistoryDone)
        updateUsbRainRate(now);
}

}  // namespace brezmor
