#include "../tools/replay_year.h"

#include "platform/clock.h"
#include "platform/regional.h"
#include "program.h"
#include "replay.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

namespace brezmor {
namespace {

constexpr int kMessagesPerMinute = 8;
constexpr double kMebibyte = 1024.0 * 1024.0;

// A "VmHWM:" or "VmRSS:" figure of this process, in MiB.
double MemoryFigure(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            std::istringstream fields(line.substr(std::char_traits<char>::length(key)));
            double kibibytes = 0.0;
            fields >> kibibytes;
            return kibibytes * 1024.0 / kMebibyte;
        }
    }
    return 0.0;
}

// Runs `days` days of simulated readings through the replay as `brezmor
// --replay` does, each time into a fresh program folder holding only a
// settings file with a data-log line every ten minutes. The replay file is
// written once, on disk, and read as the program reads it. Start-up and
// shutdown are part of the time; for a year they are a rounding error.
void BM_Replay(benchmark::State& state)
{
    const int days = static_cast<int>(state.range(0));
    const QDate start(2026, 1, 1);
    QTemporaryDir work;
    const std::string replayPath = work.filePath(QStringLiteral("replay.txt")).toStdString();
    {
        std::ofstream out(replayPath, std::ios::binary);
        WriteReplayDays(out, start, days);
    }
    const double messages = double(days) * 24 * 60 * kMessagesPerMinute;
    double rssGrowth = 0.0;

    for (auto _ : state) {
        QTemporaryDir root;
        {
            QFile settings(root.filePath(QStringLiteral("Brezmor.ini")));
            if (!settings.open(QIODevice::WriteOnly) || settings.write("[Station]\r\nDataLogInterval=2\r\n") < 0) {
                state.SkipWithError("cannot write the settings file");
                return;
            }
        }
        std::ifstream input(replayPath, std::ios::binary);
        SimulatedClock clock(ToDateTime(start));
        Program program(root.path(), clock, RegionalSettings::fromSystem(), ClockDrive::Replay);
        if (!program.FormCreate()) {
            state.SkipWithError("cannot use the program folder");
            return;
        }
        program.startStation(/*withReader=*/false);
        const double rssAtStart = MemoryFigure("VmRSS:");
        const QString error = RunReplay(input, program, clock);
        rssGrowth = MemoryFigure("VmRSS:") - rssAtStart;
        program.FormClose();
        if (!error.isEmpty()) {
            state.SkipWithError(qPrintable(error));
            return;
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(messages) * state.iterations());
    state.counters["messages/s"] = benchmark::Counter(messages * double(state.iterations()),
                                                      benchmark::Counter::kIsRate);
    // The process as a whole, benchmark and replay file writing included; a
    // fresh `brezmor --replay` under /usr/bin/time gives the program's own.
    state.counters["VmHWM_MiB"] = MemoryFigure("VmHWM:");
    // Growth of the resident set over the replay itself: flat means it stays
    // near zero however long the replay.
    state.counters["RSS_growth_MiB"] = rssGrowth;
}
BENCHMARK(BM_Replay)->Arg(7)->Arg(365)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace brezmor
