#include "logging/day_rollover.h"

#include "core/diagnostics.h"
#include "core/text_format.h"
#include "core/weather_core.h"
#include "logging/data_log.h"
#include "platform/clock.h"
#include "settings/settings.h"

#include <QDir>

namespace brezmor {

QString DayfilePath(const QString& dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("dayfile.txt"));
}

DayRollover::DayRollover(WeatherCore& core, QString dataFolder) : m_core(core), m_dataFolder(std::move(dataFolder))
{
}

void DayRollover::DayReset(TDateTime resetTime)
{
    logMessage(QStringLiteral("=== Day reset for ") + DateTimeLogText(resetTime, m_core.units().regional()));
    WriteDailySummary(resetTime);
    carryRainForward(resetTime);

    CurrentConditions& c = m_core.conditions();
    c.tempTotal = c.outdoorTemp;
    c.tempSamples = 1;
    m_core.display().show(Display::AverageTemp, [&] { return m_core.units().FormatTemp(c.outdoorTemp); });

    restartWind(resetTime);
    restartTemperature(resetTime);
    restartPressure(resetTime);
    restartRainRate(resetTime);
    restartWindRun();
    m_core.showTodayExtremes();
    // The yesterday column has no single text; its windows read the texts
    // from the conditions when told.
    m_core.display().show(Display::YesterdayColumn, [] { return QString(); });

    m_core.SaveTodayfile();
    m_core.todayFiles().WriteYesterdayfile(c);
    logMessage(QStringLiteral("=== Day reset complete"));
}

void DayRollover::WriteDailySummary(TDateTime resetTime)
{
    const CurrentConditions& c = m_core.conditions();
    const TodayExtremes& t = c.today;
    const float averageTemp = c.tempSamples < 1 ? 0.0f : c.tempTotal / static_cast<float>(c.tempSamples);
    const TDateTime dayEnded = resetTime - 1.0;
    const QString line = DataLineWriter(m_core.units())
                             .date(dayEnded)
                             .wind(t.highGust)
                             .integer(t.highGustBearing)
                             .text(t.highGustTime)
                             .temperature(t.lowTemp)
                             .text(t.lowTempTime)
                             .temperature(t.highTemp)
                             .text(t.highTempTime)
                             .pressure(t.lowPressure)
                             .text(t.lowPressureTime)
                             .pressure(t.highPressure)
                             .text(t.highPressureTime)
                             .rain(t.highRainRate)
                             .text(t.highRainRateTime)
                             .rain(c.rainToday)
                             .temperature(averageTemp)
                             .windRun(c.windRunToday)
                             .line();
    if (const QString error = AppendDataLine(DayfilePath(m_dataFolder), line); !error.isEmpty())
        m_core.diagnostics().debug.writeLine(DateTimeLogText(m_core.clock().now(), m_core.units().regional())
                                             + QStringLiteral(" Error writing Dayfile: ") + error);

    const FinishedDay day{DateOf(dayEnded), t.lowTemp, t.highTemp, averageTemp, c.rainToday};
    for (const Observer& observer : m_observers)
        observer(day);
}

void DayRollover::carryRainForward(TDateTime resetTime)
{
    CurrentConditions& c = m_core.conditions();
    const QChar decimal = m_core.units().regional().decimalSeparator;
    const QDate date = DateOf(resetTime);
    const float rainMult = m_core.settings().single(Setting::RainMult);

    logMessage(QStringLiteral("Raintotal = ") + ShortestNumberText(c.rainCounter, decimal)
               + QStringLiteral(" Raindaystart = ") + ShortestNumberText(c.rainCounterDayStart, decimal));
    // Until the first rain reading the day-start counter is only the -1 that
    // marks it unknown; the difference would be rain that never fell.
    c.rainYesterday = c.rainNotInitialised ? 0.0f : c.rainCounter - c.rainCounterDayStart;
    logMessage(QStringLiteral("Rainyesterday set to ") + ShortestNumberText(c.rainYesterday, decimal));

    // Rain yesterday stays a counter difference, but the month and year
    // totals add up calibrated days, as start-up sums them from the summary
    // file's rain today.
    const float calibratedYesterday = c.rainYesterday * rainMult;
    if (date.day() != 1) {
        c.rainMonth += calibratedYesterday;
    } else {
        logMessage(QStringLiteral(" New month starting - ") + QString::number(date.month()));
        c.rainMonth = 0.0f;
        m_core.records().clearMonthlyRainAlert();
    }
    if (date.day() != 1 || date.month() != 1) {
        c.rainYear += calibratedYesterday;
    } else {
        logMessage(QStringLiteral(" New year starting"));
        c.rainYear = 0.0f;
    }

    c.rainCounterDayStart = c.rainCounter;
    logMessage(QStringLiteral("Raindaystart set to ") + ShortestNumberText(c.rainCounter, decimal));
    // Rain today is always (counter - day-start counter) x RainMult; the data
    // log line of the rollover minute must not carry yesterday's total.
    c.rainToday = 0.0f;

    const Units& units = m_core.units();
    DisplayNotifier& display = m_core.display();
    display.show(Display::RainToday, [&] { return units.FormatRain(c.rainToday); });
    display.show(Display::RainMonth, [&] { return units.FormatRain(c.rainMonth + c.rainToday); });
    display.show(Display::RainYear, [&] { return units.FormatRain(c.rainYear + c.rainToday); });
    display.show(Display::RainYesterday, [&] { return units.FormatRain(c.rainYesterday * rainMult); });
}

void DayRollover::restartWind(TDateTime resetTime)
{
    CurrentConditions& c = m_core.conditions();
    TodayExtremes& t = c.today;
    YesterdayTexts& y = c.yesterday;
    const Units& units = m_core.units();

    y.highWind = units.FormatWind(t.highWind);
    y.highWindTime = t.highWindTime;
    y.highGust = units.FormatWind(t.highGust);
    y.highGustTime = t.highGustTime;
    y.highGustBearing = QString::number(t.highGustBearing);
    y.highGustDirection = CompassPoint(t.highGustBearing);

    const QString time = FormatTimeHM(resetTime, units.regional());
    t.highGust = c.latestWindSpeed;
    t.highGustBearing = c.bearing;
    t.highGustTime = time;
    t.highWind = c.windAverage;
    t.highWindTime = time;
}

void DayRollover::restartTemperature(TDateTime resetTime)
{
    CurrentConditions& c = m_core.conditions();
    TodayExtremes& t = c.today;
    YesterdayTexts& y = c.yesterday;
    const Units& units = m_core.units();
    AllTimeRecords& records = m_core.records();
    // The records belong to the day that ended, not to the rollover moment.
    const TDateTime recordTime = resetTime - kOneHour;
    // A day without a single temperature still holds the starting -500 and
    // 999, which are no temperatures and must never become records.
    const TodayExtremes unset;
    const QString time = FormatTimeHM(resetTime, units.regional());

    if (t.highTemp != unset.highTemp && t.highTemp < records.record(LowMaxTempRecord).value)
        records.NewRecord(LowMaxTempRecord, recordTime, t.highTemp);
    y.highTemp = units.FormatTemp(t.highTemp);
    y.highTempTime = t.highTempTime;
    t.highTemp = c.outdoorTemp;
    t.highTempTime = time;

    if (t.lowTemp != unset.lowTemp && t.lowTemp > records.record(HighMinTempRecord).value)
        records.NewRecord(HighMinTempRecord, recordTime, t.lowTemp);
    y.lowTemp = units.FormatTemp(t.lowTemp);
    y.lowTempTime = t.lowTempTime;
    t.lowTemp = c.outdoorTemp;
    t.lowTempTime = time;
}

void DayRollover::restartPressure(TDateTime resetTime)
{
    CurrentConditions& c = m_core.conditions();
    TodayExtremes& t = c.today;
    YesterdayTexts& y = c.yesterday;
    const Units& units = m_core.units();
    const QString time = FormatTimeHM(resetTime, units.regional());

    y.lowPressure = units.FormatPress(t.lowPressure);
    y.lowPressureTime = t.lowPressureTime;
    t.lowPressure = c.pressure;
    t.lowPressureTime = time;
    y.highPressure = units.FormatPress(t.highPressure);
    y.highPressureTime = t.highPressureTime;
    t.highPressure = c.pressure;
    t.highPressureTime = time;
}

void DayRollover::restartRainRate(TDateTime resetTime)
{
    CurrentConditions& c = m_core.conditions();
    TodayExtremes& t = c.today;
    const Units& units = m_core.units();

    c.yesterday.highRainRate = units.FormatRain(t.highRainRate);
    c.yesterday.highRainRateTime = t.highRainRateTime;
    t.highRainRate = c.rainRate;
    t.highRainRateTime = FormatTimeHM(resetTime, units.regional());
}

void DayRollover::restartWindRun()
{
    CurrentConditions& c = m_core.conditions();
    c.windRunYesterday = c.windRunToday;
    c.windRunToday = 0.0f;
    const Units& units = m_core.units();
    m_core.display().show(Display::WindRunYesterday, [&] { return units.FormatWindRun(c.windRunYesterday); });
}

void DayRollover::logMessage(const QString& text)
{
    m_core.diagnostics().program.LogMessage(text);
}

}  // namespace brezmor
