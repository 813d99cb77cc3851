#pragma once

#include <QString>

#include <array>
#include <vector>

namespace brezmor {

// The display fields the handlers update. Windows observe them; headless,
// nobody listens and no text is formatted at all.
enum class Display {
    OutdoorTemp, IndoorTemp, DewPoint, HeatIndex, WindChill, CloudBase, AverageTemp,
    OutdoorHumidity, IndoorHumidity,
    Pressure, PressureTrend, PressureTrendText, BarometerCaption, Forecast, TempTrend,
    Bearing, BearingCompass, LatestWind, WindGust, WindAverage, AverageBearing,
    AverageBearingCompass, WindCaption, WindRunToday, WindRunYesterday,
    RainToday, RainRate, RainLastHour, RainMonth, RainYear, RainYesterday,
    Evapotranspiration, UvIndex, SolarRadiation, ConsoleBattery, TransmitterBattery,
    StatusPanel, Heading,
    TodayHighGust, TodayHighGustTime, TodayHighGustBearing, TodayHighGustCompass,
    TodayHighWind, TodayHighWindTime, TodayHighTemp, TodayHighTempTime, TodayLowTemp,
    TodayLowTempTime, TodayHighPressure, TodayHighPressureTime, TodayLowPressure,
    TodayLowPressureTime, TodayHighRainRate, TodayHighRainRateTime,
    YesterdayColumn,
};

class ConditionsObserver {
public:
    virtual ~ConditionsObserver() = default;
    virtual void displayChanged(Display field, const QString& text) = 0;
    // The sixteen wind-rose sector totals, north first, clockwise.
    virtual void windRoseChanged(const std::array<float, 16>& sectorTotals) { static_cast<void>(sectorTotals); }
};

class DisplayNotifier {
public:
    void addObserver(ConditionsObserver* observer) { m_observers.push_back(observer); }
    void removeObserver(ConditionsObserver* observer) { std::erase(m_observers, observer); }
    [[nodiscard]] bool watched() const { return !m_observers.empty(); }

    // `makeText` runs only when someone listens.
    template <typename MakeText>
    void show(Display field, MakeText&& makeText) const
    {
        if (m_observers.empty())
            return;
        const QString text = makeText();
        for (ConditionsObserver* observer : m_observers)
            observer->displayChanged(field, text);
    }

    void showWindRose(const std::array<float, 16>& totals) const
    {
        for (ConditionsObserver* observer : m_observers)
            observer->windRoseChanged(totals);
    }

private:
    std::vector<ConditionsObserver*> m_observers;
};

}  // namespace brezmor
