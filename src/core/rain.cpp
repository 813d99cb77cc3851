#include "core/weather_core.h"

#include "core/diagnostics.h"
#include "core/text_format.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "settings/settings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

namespace brezmor {
namespace {

// The shortest text that reads back as the same single, so a counter of
// 123.4 is logged as "123.4" and not as 123.400001525879.
QString CounterText(float value, QChar decimalSeparator)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    QString text = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    text.replace(u'.', decimalSeparator);
    return text;
}

}  // namespace

float WeatherCore::rainMultiplier() const
{
    const float mult = m_settings.single(Setting::RainMult);
    return std::isfinite(mult) ? mult : 1.0f;
}

void WeatherCore::DoRain(float counter, float rate, TDateTime time)
{
    m_conditions.rainCounter = counter;

    if (m_conditions.rainNotInitialised) {
        m_conditions.rainCounterDayStart = counter;
        m_diagnostics.program.LogMessage(QStringLiteral(" First rain data, raindaystart = ")
                                         + CounterText(counter, m_regional.decimalSeparator));
        m_conditions.rainNotInitialised = false;
        WriteTodayfile();
        return;
    }

    const float mult = rainMultiplier();
    if (counter < m_conditions.rainCounterDayStart) {
        m_diagnostics.debug.writeLine(FormatDateTime(u"tt", m_clock.now(), m_regional)
                                      + QStringLiteral(" Rain reset? raindaystart = ")
                                      + CounterText(m_conditions.rainCounterDayStart, m_regional.decimalSeparator)
                                      + QStringLiteral(", raintotal = ")
                                      + CounterText(counter, m_regional.decimalSeparator));
        // The day start moves so that rain today stays as it was. With a
        // multiplier of 0 rain today is 0 whatever the day start, and
        // dividing by it would leave no number at all.
        m_conditions.rainCounterDayStart =
            mult != 0.0f ? counter - m_conditions.rainToday / mult : counter;
    }

    if (rate > -1.0f)
        updateRainRate(rate * mult, time);

    const float rainToday = (counter - m_conditions.rainCounterDayStart) * mult;
    m_conditions.rainToday = rainToday;
    m_display.show(Display::RainToday, [&] { return m_units.FormatRain(rainToday); });

    const float rainThisMonth = m_conditions.rainMonth + rainToday;
    const float rainThisYear = m_conditions.rainYear + rainToday;
    m_display.show(Display::RainMonth, [&] { return m_units.FormatRain(rainThisMonth); });
    m_display.show(Display::RainYear, [&] { return m_units.FormatRain(rainThisYear); });

    if (beatsHigh(rainToday, m_records.record(HighDailyRainRecord).value))
        m_records.NewRecord(HighDailyRainRecord, time, rainToday);
    if (beatsHigh(rainThisMonth, m_records.record(HighMonthlyRainRecord).value))
        m_records.NewRecord(HighMonthlyRainRecord, time, rainThisMonth);

    m_alarms.CheckAlarm(AlarmId::HighRainToday, rainToday);

    m_display.show(Display::RainYesterday, [&] { return m_units.FormatRain(m_conditions.rainYesterday * mult); });

    m_conditions.rainReceived = true;
}

void WeatherCore::updateRainRate(float rate, TDateTime time)
{
    m_conditions.rainRate = rate;
    m_display.show(Display::RainRate, [&] { return m_units.FormatRain(rate); });

    if (beatsHigh(rate, m_records.record(HighRainRateRecord).value))
        m_records.NewRecord(HighRainRateRecord, time, rate);
    m_alarms.CheckAlarm(AlarmId::HighRainRate, rate);

    TodayExtremes& today = m_conditions.today;
    if (beatsHigh(rate, today.highRainRate))
        setTodayExtreme(today.highRainRate, today.highRainRateTime, rate, time, Display::TodayHighRainRate,
                        Display::TodayHighRainRateTime, &Units::FormatRain);
}

// The USB station reports no rate, so it comes from the counter's rise over
// the last five and a half minutes of samples.
void WeatherCore::updateUsbRainRate(TDateTime now)
{
    const std::deque<TLastHourData>& samples = m_trends.lastHour();
    if (samples.size() < 2)
        return;
    const TDateTime windowStart = now - 330.0 / kSecondsPerDay;
    const TLastHourData& last = samples.back();
    const auto beforeLast = std::prev(samples.end());
    const auto start = std::find_if(samples.begin(), beforeLast,
                                    [windowStart](const TLastHourData& sample) { return sample.time > windowStart; });
    if (start == beforeLast)
        return;
    // A sample from a log line without a rain field has no counter, and two
    // samples of the same moment span no time: neither gives a rate.
    if (start->rainCounter == -1.0f || last.rainCounter == -1.0f)
        return;
    const double hours = (last.time - start->time) * 24.0;
    if (!(hours > 0.0))
        return;
    const double rate = (static_cast<double>(last.rainCounter) - start->rainCounter) * rainMultiplier() / hours;
    if (std::isnan(rate))
        return;
    updateRainRate(static_cast<float>(std::clamp(rate, 0.0, static_cast<double>(std::numeric_limits<float>::max()))),
                   now);
}

}  // namespace brezmor
