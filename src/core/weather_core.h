#pragma once

#include "alarms/alarms.h"
#include "core/conditions.h"
#include "core/display.h"
#include "core/messages.h"
#include "core/records.h"
#include "core/today_files.h"
#include "core/trends.h"
#include "core/units.h"
#include "core/wind.h"

#include <array>
#include <cmath>

namespace brezmor {

class Clock;
struct Diagnostics;
struct RegionalSettings;
class Settings;

// The weather data core: the quantity handlers and the program-wide stores
// they keep (current conditions, today's extremes, all-time records, alarms).
// Main thread only. Handlers never touch a window: they update the stores and
// tell the display observers what changed.
class WeatherCore final : public QuantityHandlers {
public:
    WeatherCore(Settings& settings, const Clock& clock, const RegionalSettings& regional,
                Diagnostics& diagnostics, QString dataFolder);

    // Rebuilds the units and decimals from the settings (start-up and after
    // the station dialog).
    void applyUnitSettings();

    void DoWind(int bearing, float speed, float average, TDateTime time) override;
    void DoWindChill(float chill, TDateTime time) override;
    void DoInsideHumidity(int humidity) override;
    void DoOutsideHumidity(int humidity) override;
    void DoOutsideDewpoint(float dewpoint) override;
    void DoPressure(float pressure, TDateTime time) override;
    void DoPressureTrendText(const QString& text) override;
    void DoInsideTemp(float temperature) override;
    void DoOutsideTemp(float temperature, TDateTime time) override;
    void DoRain(float counter, float rate, TDateTime time) override;
    void DoConsoleBattery(float volts) override;
    void DoTransmitterBattery(const QString& text) override;
    void DoForecast(const QString& text) override;
    void DoStatusPanel() override;
    void DoET(float value) override;
    void DoUV(float value) override;
    void DoSolarRad(int value) override;

    [[nodiscard]] CurrentConditions& conditions() { return m_conditions; }
    [[nodiscard]] const CurrentConditions& conditions() const { return m_conditions; }
    [[nodiscard]] const Units& units() const { return m_units; }
    [[nodiscard]] AllTimeRecords& records() { return m_records; }
    [[nodiscard]] Alarms& alarms() { return m_alarms; }
    [[nodiscard]] TodayFiles& todayFiles() { return m_todayFiles; }
    [[nodiscard]] const WindHistory& windHistory() const { return m_wind; }
    [[nodiscard]] DisplayNotifier& display() { return m_display; }
    [[nodiscard]] TrendSamples& trends() { return m_trends; }
    [[nodiscard]] Settings& settings() { return m_settings; }
    [[nodiscard]] const Clock& clock() const { return m_clock; }
    [[nodiscard]] Diagnostics& diagnostics() { return m_diagnostics; }

    // The sixteen wind-rose sector totals over the rose entries, north first.
    [[nodiscard]] std::array<float, 16> windRoseTotals() const;

    // Minute-clock steps. The wind run adds a minute at the average speed; the
    // average temperature takes the outdoor temperature as one more sample
    // once a reading has arrived, and shows the average.
    void addWindRunMinute() { addWindRun(1); }
    void addTemperatureSample();
    // A history catch-up record covers a whole logger interval.
    void addWindRun(int minutes);

    // The program's own pressure-trend text from the trend per hour; the
    // readers without a trend text of their own call it directly.
    void PressureTrendText();
    // The minute's trends from the sample lists, for the moment `now`.
    void DoTrends(TDateTime now);
    // The current rain counter, temperature and pressure join the trend
    // lists at `time`, the lists are trimmed to the hour and the three hours
    // before it, and the trends follow: each live minute and each replayed
    // logger record.
    void sampleTrends(TDateTime time);
    // The USB station derives its rain rate in DoTrends, but only once its
    // history catch-up has ended.
    void setUsbHistoryDone(bool done) { m_usbHistoryDone = done; }
    // The temperature trend per hour as shown ("+0.3", "-1.2", "0"); the web
    // tags publish the shown text, also when no window shows it.
    [[nodiscard]] const QString& temperatureTrendText() const { return m_temperatureTrendText; }

    // A today's value changed, or a data-log line was written.
    void WriteTodayfile()
    {
        if (m_todayFileWrites == TodayFileWrites::EveryChange)
            SaveTodayfile();
    }
    // The rollover and the close write the file whatever the policy.
    void SaveTodayfile() { m_todayFiles.WriteTodayfile(m_conditions); }
    void setTodayFileWrites(TodayFileWrites writes) { m_todayFileWrites = writes; }
    // Shows every today's extreme (after a restore).
    void showTodayExtremes() const;

private:
    // The steps of a wind reading, in the order DoWind takes them.
    void updateWindRose(int bearing, float rawSpeed);
    void checkLatestGust(float latest, int bearing, TDateTime time);
    // Stores the speed, the average and the ten-minute gust; returns the average.
    [[nodiscard]] float updateSpeedHistory(float speed, float stationAverage, float gustMult, TDateTime time);
    // Stores the wind vector and the average bearing; a failed calculation
    // keeps the previous one.
    void updateAverageBearing(int bearing, float latest, TDateTime time);
    void checkAverageSpeed(float windAverage, TDateTime time);
    void updateTodayTemperature(float temp, TDateTime time);
    // Dew point, cloud base and heat index from a calibrated outdoor
    // temperature in the configured unit.
    void computeDerivedFromTemperature(float temp);
    [[nodiscard]] bool isFahrenheit() const;
    // Whether a reading beats a record or today's extreme. An infinite
    // reading (an overflowing multiplier, a garbled frame) never does: it
    // would be kept in the files for good and could never be beaten.
    [[nodiscard]] static bool beatsHigh(float reading, float mark) { return std::isfinite(reading) && reading > mark; }
    [[nodiscard]] static bool beatsLow(float reading, float mark) { return std::isfinite(reading) && reading < mark; }
    // A reading that beat one of today's extremes becomes it, with the
    // reading's time; both are shown and the today file follows.
    void setTodayExtreme(float& extreme, QString& extremeTime, float reading, TDateTime time, Display field,
                         Display timeField, QString (Units::*format)(float) const);
    // The calibration settings, neutral when not a number.
    [[nodiscard]] float pressureOffset() const;
    [[nodiscard]] float rainMultiplier() const;
    // Stores, shows and offers a calibrated rain rate to the record, the
    // alarm and today's highest.
    void updateRainRate(float rate, TDateTime time);
    void updateUsbRainRate(TDateTime now);

    Settings& m_settings;
    const Clock& m_clock;
    const RegionalSettings& m_regional;
    Diagnostics& m_diagnostics;
    Units m_units;
    CurrentConditions m_conditions;
    DisplayNotifier m_display;
    AllTimeRecords m_records;
    Alarms m_alarms;
    TodayFiles m_todayFiles;
    WindHistory m_wind;
    TrendSamples m_trends;
    TodayFileWrites m_todayFileWrites = TodayFileWrites::EveryChange;
    bool m_usbHistoryDone = false;
    QString m_temperatureTrendText = QStringLiteral("0");
};

}  // namespace brezmor
