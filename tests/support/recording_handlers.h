#pragma once

#include "core/messages.h"

#include <QStringList>

#include <stdexcept>
#include <thread>
#include <vector>

namespace brezmor {

// Records each call as "Handler:value" so tests can check routing and order.
class RecordingHandlers final : public QuantityHandlers {
public:
    QStringList calls;
    // The thread of each call, in the same order.
    std::vector<std::thread::id> threads;
    bool throwOnOutdoorTemp = false;

    void DoWind(int b, float s, float a, TDateTime t) override { add("DoWind", QStringLiteral("%1/%2/%3/%4").arg(b).arg(s).arg(a).arg(t)); }
    void DoWindChill(float c, TDateTime t) override { add("DoWindChill", QStringLiteral("%1/%2").arg(c).arg(t)); }
    void DoInsideHumidity(int h) override { add("DoInsideHumidity", QString::number(h)); }
    void DoOutsideHumidity(int h) override { add("DoOutsideHumidity", QString::number(h)); }
    void DoOutsideDewpoint(float d) override { add("DoOutsideDewpoint", QString::number(d)); }
    void DoPressure(float p, TDateTime t) override { add("DoPressure", QStringLiteral("%1/%2").arg(p).arg(t)); }
    void DoPressureTrendText(const QString& s) override { add("DoPressureTrendText", s); }
    void DoInsideTemp(float v) override { add("DoInsideTemp", QString::number(v)); }
    void DoOutsideTemp(float v, TDateTime t) override
    {
        if (throwOnOutdoorTemp)
            throw std::runtime_error("sensor exploded");
        add("DoOutsideTemp", QStringLiteral("%1/%2").arg(v).arg(t));
    }
    void DoRain(float c, float r, TDateTime t) override { add("DoRain", QStringLiteral("%1/%2/%3").arg(c).arg(r).arg(t)); }
    void DoConsoleBattery(float v) override { add("DoConsoleBattery", QString::number(v)); }
    void DoTransmitterBattery(const QString& s) override { add("DoTransmitterBattery", s); }
    void DoForecast(const QString& s) override { add("DoForecast", s); }
    void DoStatusPanel() override { add("DoStatusPanel", {}); }
    void DoET(float v) override { add("DoET", QString::number(v)); }
    void DoUV(float v) override { add("DoUV", QString::number(v)); }
    void DoSolarRad(int v) override { add("DoSolarRad", QString::number(v)); }

private:
    void add(const char* name, const QString& value)
    {
        calls.append(QString::fromLatin1(name) + u':' + value);
        threads.push_back(std::this_thread::get_id());
    }
};

}  // namespace brezmor
