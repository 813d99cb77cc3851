#include "core/diagnostics.h"
#include "core/display.h"
#include "core/weather_core.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "settings/settings.h"

#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

namespace brezmor {
namespace {

constexpr TDateTime kStart = 46037.5;  // 2026-01-15 12:00
constexpr TDateTime kTwoSeconds = 2.0 / kSecondsPerDay;

// What a main window costs the handler: it takes every text and the rose.
class ListeningWindow final : public ConditionsObserver {
public:
    void displayChanged(Display field, const QString& text) override
    {
        benchmark::DoNotOptimize(field);
        benchmark::DoNotOptimize(text.size());
    }
    void windRoseChanged(const std::array<float, 16>& sectorTotals) override
    {
        benchmark::DoNotOptimize(sectorTotals.data());
    }
};

// A core with its own averaging, a rose already full and today's highs set
// well above what follows, as after a day of running: the steady state a
// reading at a time meets.
class WindBench {
public:
    WindBench()
        : m_regional(RegionalSettings::fromLocale(QLocale::c())),
          m_clock(kStart),
          m_settings(m_folder.filePath(QStringLiteral("Brezmor.ini")), m_regional, m_folder.path()),
          m_diagnostics(m_folder.path(), m_clock)
    {
        m_settings.setBoolean(Setting::Wind10MinAverage, true);
        m_core = std::make_unique<WeatherCore>(m_settings, m_clock, m_regional, m_diagnostics,
                                               m_folder.filePath(QStringLiteral("data")));
        m_core->DoWind(270, 60.0f, 60.0f, m_time);
        for (int i = 0; i < WindHistory::kRoseSize; ++i)
            reading();
    }

    void reading()
    {
        m_time += kTwoSeconds;
        m_step = (m_step + 7) % 360;
        m_core->DoWind(180 + m_step / 8, 3.0f + static_cast<float>(m_step % 40) * 0.1f, 0.0f, m_time);
    }

    WeatherCore& core() { return *m_core; }

private:
    QTemporaryDir m_folder;
    RegionalSettings m_regional;
    SimulatedClock m_clock;
    Settings m_settings;
    Diagnostics m_diagnostics;
    std::unique_ptr<WeatherCore> m_core;
    TDateTime m_time = kStart;
    int m_step = 0;
};

void BM_DoWindHeadless(benchmark::State& state)
{
    WindBench bench;
    for (auto _ : state)
        bench.reading();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DoWindHeadless);

void BM_DoWindWatched(benchmark::State& state)
{
    WindBench bench;
    ListeningWindow window;
    bench.core().display().addObserver(&window);
    for (auto _ : state)
        bench.reading();
    bench.core().display().removeObserver(&window);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DoWindWatched);

void BM_WindRoseTotals(benchmark::State& state)
{
    WindBench bench;
    for (auto _ : state)
        benchmark::DoNotOptimize(bench.core().windRoseTotals());
}
BENCHMARK(BM_WindRoseTotals);

}  // namespace
}  // namespace brezmor
