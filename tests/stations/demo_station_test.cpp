#include "stations/demo_station.h"

#include "core/messages.h"
#include "platform/clock.h"
#include "support/recording_handlers.h"
#include "support/run_events.h"

#include <gtest/gtest.h>

namespace brezmor {
namespace {

QStringList HandlerNames(const QStringList& calls)
{
    QStringList names;
    for (const QString& call : calls)
        names << call.section(u':', 0, 0);
    return names;
}

// The demo posts its cycles as a worker-thread station does; its readings
// arrive in the configured units, in the order of a station cycle.
TEST(DemoStation, PostsAWholeCycleInTheConfiguredUnits)
{
    RecordingHandlers handlers;
    ThreadToVCL buffer(handlers, {}, {});
    const SimulatedClock clock(EncodeDateTime(2026, 7, 1, 15, 0));
    UnitChoice fahrenheit;
    fahrenheit.temperature = 1;
    DemoStation demo(buffer, Units(fahrenheit), clock);
    demo.readOnce();
    RunEventsUntil([&] { return handlers.calls.size() == 10; });

    EXPECT_EQ(HandlerNames(handlers.calls).join(u' '),
              QStringLiteral("DoInsideHumidity DoOutsideHumidity DoOutsideTemp DoWind DoWindChill DoRain "
                             "DoInsideTemp DoPressure DoPressureTrendText DoStatusPanel"));
    const float outdoor = handlers.calls[2].section(u':', 1).section(u'/', 0, 0).toFloat();
    EXPECT_GT(outdoor, 40.0f) << "a mild afternoon in degrees Fahrenheit";
    EXPECT_LT(outdoor, 80.0f);
    EXPECT_EQ(handlers.calls[8], QStringLiteral("DoPressureTrendText:Steady")) << "no change yet in three hours";
}

TEST(DemoStation, ReadsOnItsOwnThreadUntilStopped)
{
    RecordingHandlers handlers;
    ThreadToVCL buffer(handlers, {}, {});
    const SimulatedClock clock(EncodeDateTime(2026, 7, 1, 15, 0));
    DemoStation demo(buffer, Units(), clock);
    demo.start();
    RunEventsUntil([&] { return handlers.calls.size() >= 10; });
    demo.stop();
    ASSERT_GE(handlers.calls.size(), 10);
    EXPECT_EQ(handlers.calls[9], QStringLiteral("DoStatusPanel:"));
    for (const std::thread::id id : handlers.threads)
        EXPECT_EQ(id, std::this_thread::get_id());
}

}  // namespace
}  // namespace brezmor
