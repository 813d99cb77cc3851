#pragma once

#include "core/diagnostics.h"
#include "core/display.h"
#include "core/weather_core.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "settings/settings.h"

#include <QLocale>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>

namespace brezmor {

// Keeps the latest text of every display field and counts wind-rose updates.
class RecordingObserver final : public ConditionsObserver {
public:
    void displayChanged(Display field, const QString& text) override { texts[field] = text; }
    void windRoseChanged(const std::array<float, 16>& sectorTotals) override
    {
        rose = sectorTotals;
        ++roseUpdates;
    }

    [[nodiscard]] QString text(Display field) const
    {
        const auto found = texts.find(field);
        return found == texts.end() ? QString() : found->second;
    }

    std::map<Display, QString> texts;
    std::array<float, 16> rose{};
    int roseUpdates = 0;
};

// A weather core on default settings in a fresh folder, the clock at noon
// on a winter day in London, regional settings of the C locale.
class WeatherCoreTest : public ::testing::Test {
protected:
    static constexpr TDateTime kNoon = 46037.5;  // 2026-01-15 12:00

    WeatherCoreTest()
        : m_clock(kNoon),
          m_regional(RegionalSettings::fromLocale(QLocale::c())),
          m_settings(m_folder.filePath(QStringLiteral("Brezmor.ini")), m_regional, m_folder.path()),
          m_diagnostics(m_folder.path(), m_clock),
          m_core(std::make_unique<WeatherCore>(m_settings, m_clock, m_regional, m_diagnostics,
                                               m_folder.filePath(QStringLiteral("data"))))
    {
    }

    void watch() { m_core->display().addObserver(&m_observer); }

    // Records, alarms and the named today's-extreme fields as they happen, in
    // one list, so a test can check the order of a handler's steps. The
    // alarm names and field labels are the test's own.
    struct StepRecorder final : ConditionsObserver {
        QStringList events;
        std::map<Display, QString> fields;
        void displayChanged(Display field, const QString& text) override
        {
            if (const auto found = fields.find(field); found != fields.end())
                events.append(found->second + u' ' + text);
        }
    };
    void recordSteps(StepRecorder& recorder, std::map<Display, QString> fields,
                     std::map<AlarmId, QString> alarmNames)
    {
        recorder.fields = std::move(fields);
        m_core->display().addObserver(&recorder);
        m_core->records().addObserver(
            [&recorder](const RecordEvent& event) { recorder.events.append(QStringLiteral("record %1").arg(event.index)); });
        m_core->alarms().addObserver([&recorder, alarmNames](const AlarmEvent& event) {
            recorder.events.append(QStringLiteral("alarm ") + alarmNames.at(event.alarm));
        });
    }
    void TearDown() override { m_core->display().removeObserver(&m_observer); }

    // Moments relative to noon.
    [[nodiscard]] static TDateTime at(double seconds) { return kNoon + seconds / kSecondsPerDay; }

    QTemporaryDir m_folder;
    SimulatedClock m_clock;
    RegionalSettings m_regional;
    Settings m_settings;
    Diagnostics m_diagnostics;
    std::unique_ptr<WeatherCore> m_core;
    RecordingObserver m_observer;
};

}  // namespace brezmor
