#include "stations/station_thread.h"

#include "core/messages.h"
#include "support/recording_handlers.h"
#include "support/run_events.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace brezmor {
namespace {

using namespace std::chrono_literals;

std::unique_ptr<TThreadMessage> Reading(const char* kind, float value)
{
    return std::make_unique<TThreadMessage>(TThreadMessage{QString::fromLatin1(kind), value, 0.0f, 0, {}, 0.0});
}

// Spins the calling (non-main) thread until `done`, for at most ten seconds.
template <typename Done>
void WaitFor(Done done)
{
    for (int i = 0; i < 10'000 && !done(); ++i)
        std::this_thread::sleep_for(1ms);
}

TEST(StationThread, PostedCyclesReachTheHandlersOnTheMainThreadInOrder)
{
    RecordingHandlers handlers;
    ThreadToVCL buffer(handlers, {}, {});
    StationThread thread("ws2300thread", 0ms);
    std::atomic<int> cycles = 0;
    thread.start(
        [&](const std::stop_token&) {
            const int n = cycles;
            if (n >= 3)
                return;
            buffer.post(Reading("outtemp", float(n)));
            buffer.post(Reading("pressure", 1000.0f + float(n)));
            buffer.post(Reading("statuspanel", 0.0f));
            ++cycles;
        },
        {});
    RunEventsUntil([&] { return handlers.calls.size() == 9; });
    thread.terminate();

    const QStringList expected{
        QStringLiteral("DoOutsideTemp:0/0"), QStringLiteral("DoPressure:1000/0"), QStringLiteral("DoStatusPanel:"),
        QStringLiteral("DoOutsideTemp:1/0"), QStringLiteral("DoPressure:1001/0"), QStringLiteral("DoStatusPanel:"),
        QStringLiteral("DoOutsideTemp:2/0"), QStringLiteral("DoPressure:1002/0"), QStringLiteral("DoStatusPanel:"),
    };
    EXPECT_EQ(handlers.calls, expected);
    for (const std::thread::id id : handlers.threads)
        EXPECT_EQ(id, std::this_thread::get_id()) << "a handler ran on the worker thread";
}

// A reader's pause is seconds long; the close must not wait for it to end.
TEST(StationThread, TerminationWakesASleepingThreadAndEndsTheLoop)
{
    StationThread thread("VPthread", 24h);
    EXPECT_FALSE(thread.running()) << "created not running";
    thread.terminate();

    std::atomic<int> cycles = 0;
    thread.start([&](const std::stop_token&) { ++cycles; }, {});
    EXPECT_TRUE(thread.running());
    WaitFor([&] { return cycles == 1; });
    thread.terminate();
    EXPECT_FALSE(thread.running());
    EXPECT_EQ(cycles, 1);
}

TEST(StationThread, ALongCycleSeesTheTerminationRequest)
{
    StationThread thread("ws2300thread", 0ms);
    std::atomic<bool> inCycle = false;
    thread.start(
        [&](const std::stop_token& stop) {
            inCycle = true;
            while (!stop.stop_requested())
                std::this_thread::sleep_for(1ms);
        },
        {});
    WaitFor([&] { return inCycle.load(); });
    thread.terminate();
    EXPECT_FALSE(thread.running());
}

TEST(StationThread, AFailedCycleIsReportedAndTheLoopGoesOn)
{
    StationThread thread("ws2300thread", 0ms);
    std::atomic<int> cycles = 0;
    std::mutex mutex;
    QStringList errors;
    thread.start(
        [&](const std::stop_token&) {
            if (++cycles == 1)
                throw std::runtime_error("checksum mismatch");
        },
        [&](const QString& error) {
            const std::lock_guard lock(mutex);
            errors.append(error);
        });
    WaitFor([&] { return cycles >= 3; });
    thread.terminate();
    EXPECT_GE(cycles, 3);
    EXPECT_EQ(errors, QStringList{QStringLiteral("ws2300thread: error in reading cycle: checksum mismatch")});
}

TEST(StationThreads, TheCloseTerminatesWhicheverRuns)
{
    StationThreads threads;
    threads.ws2300.start([](const std::stop_token&) {}, {});
    EXPECT_FALSE(threads.davis.running());
    threads.terminateAll();
    EXPECT_FALSE(threads.ws2300.running());
    EXPECT_FALSE(threads.davis.running());
}

}  // namespace
}  // namespace brezmor
