#pragma once

#include "platform/datetime.h"

#include <QString>

namespace brezmor {

// Today's highs and lows. Each time exists only as its display text "hh:nn".
struct TodayExtremes {
    float highGust = 0.0f;
    QString highGustTime = QStringLiteral("00:00");
    int highGustBearing = 0;
    float highWind = 0.0f;  // highest average speed
    QString highWindTime = QStringLiteral("00:00");
    float highTemp = -500.0f;
    QString highTempTime = QStringLiteral("00:00");
    float lowTemp = 999.0f;
    QString lowTempTime = QStringLiteral("00:00");
    float highPressure = 0.0f;
    QString highPressureTime = QStringLiteral("00:00");
    float lowPressure = 9999.0f;
    QString lowPressureTime = QStringLiteral("00:00");
    float highRainRate = 0.0f;
    QString highRainRateTime = QStringLiteral("00:00");
};

// Yesterday's column, held as the texts shown.
struct YesterdayTexts {
    QString highWind = QStringLiteral("0");
    QString highWindTime = QStringLiteral("00:00");
    QString highGust = QStringLiteral("0");
    QString highGustTime = QStringLiteral("00:00");
    QString highGustBearing = QStringLiteral("000");
    QString highGustDirection = QStringLiteral("---");
    QString lowTemp = QStringLiteral("0.0");
    QString lowTempTime = QStringLiteral("00:00");
    QString highTemp = QStringLiteral("0.0");
    QString highTempTime = QStringLiteral("00:00");
    QString lowPressure = QStringLiteral("0");
    QString lowPressureTime = QStringLiteral("00:00");
    QString highPressure = QStringLiteral("0");
    QString highPressureTime = QStringLiteral("00:00");
    QString highRainRate = QStringLiteral("0");
    QString highRainRateTime = QStringLiteral("00:00");
};

// The one store of current readings and everything derived from them, in the
// configured units. Written on the main thread only.
struct CurrentConditions {
    // Temperature
    float outdoorTemp = 0.0f;  // calibrated
    float indoorTemp = 0.0f;
    double dewPoint = 0.0;
    float heatIndex = 0.0f;
    float windChill = 0.0f;
    int cloudBase = 0;  // whole feet or metres
    float tempTotal = 0.0f;  // today's average temperature: running total
    int tempSamples = 0;

    // Humidity
    int outdoorHumidity = 0;  // calibrated, 0-100
    int indoorHumidity = 0;

    // Pressure
    float pressure = 0.0f;  // sea level, calibrated
    float pressureTrend = 0.0f;  // change per hour
    QString pressureTrendText = QStringLiteral("Steady");
    QString forecast = QStringLiteral("Not available");

    // Wind
    int bearing = 0;  // 1-360, 0 only for calm
    float rawWindSpeed = 0.0f;
    float latestWindSpeed = 0.0f;  // raw x gust multiplier
    float windGust = 0.0f;  // ten-minute gust
    float windAverage = 0.0f;
    int averageBearing = 0;
    float windRunToday = 0.0f;
    float windRunYesterday = 0.0f;

    // Rain
    float rainCounter = 0.0f;  // station counter, uncalibrated
    float rainCounterDayStart = -1.0f;
    float rainToday = 0.0f;
    float rainRate = 0.0f;
    float rainLastHour = 0.0f;
    float rainMonth = 0.0f;  // up to yesterday
    float rainYear = 0.0f;  // up to yesterday
    float rainYesterday = 0.0f;  // uncalibrated counter units

    // Solar
    float evapotranspiration = 0.0f;
    float uvIndex = 0.0f;
    int solarRadiation = 0;

    // Console
    float consoleBatteryVolts = 0.0f;
    QString transmitterBattery;

    // Flags
    bool windReceived = false;
    bool rainReceived = false;
    bool outdoorTempReceived = false;
    bool indoorTempReceived = false;
    bool pressureReceived = false;
    // While set, the minute clock adds nothing to today's average temperature.
    bool noOutdoorTempYet = true;
    // The next rain reading sets the day-start counter.
    bool rainNotInitialised = true;

    TodayExtremes today;
    YesterdayTexts yesterday;
    // When the data log was last written.
    TDateTime lastUpdateTime = 0.0;
};

}  // namespace brezmor
