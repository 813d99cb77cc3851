#include "stations/history_catch_up.h"

#include "core/diagnostics.h"
#include "core/today_files.h"
#include "core/text_format.h"
#include "core/weather_core.h"
#include "logging/data_log.h"
#include "logging/day_rollover.h"
#include "platform/clock.h"
#include "settings/settings.h"

#include <QTimer>

#include <algorithm>

namespace brezmor {

HistoryCatchUp::HistoryCatchUp(WeatherCore& core, DataLog& dataLog, DayRollover& rollover, QString prefix,
                               Hooks hooks)
    : m_core(core), m_dataLog(dataLog), m_rollover(rollover), m_prefix(std::move(prefix)), m_hooks(std::move(hooks))
{
}

int HistoryCatchUp::rolloverHourAt(TDateTime moment) const
{
    // Judged at each record's own time, so a catch-up across a change of
    // daylight-saving time rolls each day over at its own 9 or 10 o'clock.
    return RolloverHourAt(moment, m_core.settings().integer(Setting::RolloverHour), m_core.clock());
}

void HistoryCatchUp::log(const QString& text)
{
    m_core.diagnostics().program.LogMessage(m_prefix + QStringLiteral(": ") + text);
}

void HistoryCatchUp::prepare(std::vector<THistoryData> records)
{
    m_running = true;
    m_next = 0;
    m_rolloverDone = false;
    m_records.clear();
    const TDateTime lastUpdate = m_core.conditions().lastUpdateTime;
    if (m_core.settings().boolean(Setting::UseDataLogger)) {
        for (THistoryData& record : records) {
            if (record.time > lastUpdate)
                m_records.push_back(std::move(record));
        }
        std::stable_sort(m_records.begin(), m_records.end(),
                         [](const THistoryData& a, const THistoryData& b) { return a.time < b.time; });
    }
    log(QStringLiteral("%1 entries to process").arg(m_records.size()));
    if (m_records.empty())
        return;

    const RegionalSettings& regional = m_core.units().regional();
    const TDateTime first = m_records.front().time;
    log(QStringLiteral("First history time stamp: ") + DateTimeLogText(first, regional));
    log(QStringLiteral("Today file last update: ") + DateTimeLogText(lastUpdate, regional));

    const int rolloverSetting = m_core.settings().integer(Setting::RolloverHour);
    const Clock& clock = m_core.clock();
    if (LogDate(lastUpdate, rolloverSetting, clock) == LogDate(first, rolloverSetting, clock)) {
        log(QStringLiteral("Today file matches the first record's day"));
        m_core.todayFiles().restoreSnapshot(m_core.conditions());
        m_core.showTodayExtremes();
        log(QStringLiteral("Rain day start taken as ")
            + ShortestNumberText(m_core.conditions().rainCounterDayStart, regional.decimalSeparator));
        m_rolloverDone = TimeOf(lastUpdate).hour() == rolloverHourAt(lastUpdate);
    } else {
        log(QStringLiteral("Today file does not match the first record's day"));
    }
}

void HistoryCatchUp::start(std::vector<THistoryData> records, int sliceSize)
{
    prepare(std::move(records));
    QTimer::singleShot(0, this, [this, sliceSize] { replaySlice(sliceSize); });
}

void HistoryCatchUp::runToEnd(std::vector<THistoryData> records)
{
    prepare(std::move(records));
    replaySlice(static_cast<int>(m_records.size()));
}

void HistoryCatchUp::replaySlice(int sliceSize)
{
    const std::size_t end = std::min(m_records.size(), m_next + static_cast<std::size_t>(std::max(sliceSize, 1)));
    for (; m_next < end; ++m_next) {
        if (m_hooks.progress)
            m_hooks.progress(static_cast<int>(m_next * 100 / m_records.size()));
        replay(m_records[m_next]);
    }
    if (m_next < m_records.size())
        QTimer::singleShot(0, this, [this, sliceSize] { replaySlice(sliceSize); });
    else
        complete();
}

void HistoryCatchUp::replay(const THistoryData& record)
{
    const TDateTime time = record.time;
    const RegionalSettings& regional = m_core.units().regional();
    log(QStringLiteral("Processing ") + DateTimeLogText(time, regional));

    if (TimeOf(time).hour() != rolloverHourAt(time)) {
        m_rolloverDone = false;
    } else if (!m_rolloverDone) {
        log(QStringLiteral("Day rollover ") + DateTimeLogText(time, regional));
        m_rollover.DayReset(time);
        m_rolloverDone = true;
    }

    WeatherCore& core = m_core;
    if (record.indoorHumidity)
        core.DoInsideHumidity(*record.indoorHumidity);
    if (record.outdoorHumidity)
        core.DoOutsideHumidity(*record.outdoorHumidity);
    if (record.outdoorTemp)
        core.DoOutsideTemp(*record.outdoorTemp, time);
    if (record.wind)
        core.DoWind(record.wind->bearing, record.wind->gust, record.wind->average, time);
    if (record.rain)
        core.DoRain(record.rain->counter, record.rain->rate, time);
    if (record.dewPoint)
        core.DoOutsideDewpoint(*record.dewPoint);
    if (record.windChill)
        core.DoWindChill(*record.windChill, time);
    if (record.indoorTemp)
        core.DoInsideTemp(*record.indoorTemp);
    if (record.pressure)
        core.DoPressure(*record.pressure, time);

    core.addWindRun(record.intervalMinutes);
    m_dataLog.WriteDataLogLine(time);
    core.sampleTrends(time);
    core.DoStatusPanel();
}

void HistoryCatchUp::complete()
{
    m_running = false;
    m_records.clear();
    m_records.shrink_to_fit();
    m_core.DoTrends(m_core.clock().now());
    m_core.conditions().noOutdoorTempYet = true;
    log(QStringLiteral("History catch-up complete"));
    if (m_hooks.finished)
        m_hooks.finished();
}

}  // namespace brezmor
