#include "core/messages.h"
#include "support/recording_handlers.h"
#include "support/run_events.h"

#include <gtest/gtest.h>

#include <thread>

namespace brezmor {
namespace {

TThreadMessage Message(const char* kind, float v1 = 0, float v2 = 0, int i = 0, const char* text = "", TDateTime t = 0)
{
    return TThreadMessage{QString::fromLatin1(kind), v1, v2, i, QString::fromLatin1(text), t};
}

TEST(Dispatch, EveryKindReachesItsHandlerWithItsFields)
{
    struct Case {
        TThreadMessage message;
        const char* expected;
    };
    const Case cases[] = {
        {Message("wind", 3.5f, 2.25f, 270, "", 2.5), "DoWind:270/3.5/2.25/2.5"},
        {Message("windchill", -4.5f, 0, 0, "", 1.5), "DoWindChill:-4.5/1.5"},
        {Message("inhum", 0, 0, 45), "DoInsideHumidity:45"},
        {Message("outhum", 0, 0, 87), "DoOutsideHumidity:87"},
        {Message("outdew", 3.25f), "DoOutsideDewpoint:3.25"},
        {Message("pressure", 1013.5f, 0, 0, "", 3), "DoPressure:1013.5/3"},
        {Message("presstrend", 0, 0, 0, "Rising"), "DoPressureTrendText:Rising"},
        {Message("intemp", 21.5f), "DoInsideTemp:21.5"},
        {Message("outtemp", 4.25f, 0, 0, "", 4), "DoOutsideTemp:4.25/4"},
        {Message("rain", 123.5f, -1, 0, "", 5), "DoRain:123.5/-1/5"},
        {Message("conbat", 4.75f), "DoConsoleBattery:4.75"},
        {Message("txbat", 0, 0, 0, "ok"), "DoTransmitterBattery:ok"},
        {Message("forecast", 0, 0, 0, "Fine weather"), "DoForecast:Fine weather"},
        {Message("statuspanel"), "DoStatusPanel:"},
        {Message("ET", 0.5f), "DoET:0.5"},
        {Message("UV", 6.5f), "DoUV:6.5"},
        {Message("SolarRad", 0, 0, 640), "DoSolarRad:640"},
    };
    ASSERT_EQ(std::size(cases), messageKinds().size());
    for (const Case& c : cases) {
        RecordingHandlers handlers;
        QStringList invalid;
        DispatchMessage(handlers, c.message, [&](const QString& line) { invalid.append(line); });
        EXPECT_EQ(handlers.calls, QStringList{QString::fromLatin1(c.expected)}) << c.message.Kind.toStdString();
        EXPECT_TRUE(invalid.isEmpty());
    }
}

TEST(Dispatch, UnknownKindsAreLoggedAndDropped)
{
    // Kinds are compared exactly: a difference of letter case is another kind.
    for (const char* kind : {"Wind", "et", "solarrad", "", "humidity"}) {
        RecordingHandlers handlers;
        QStringList invalid;
        DispatchMessage(handlers, Message(kind), [&](const QString& line) { invalid.append(line); });
        EXPECT_TRUE(handlers.calls.isEmpty()) << kind;
        EXPECT_EQ(invalid, QStringList{QStringLiteral("Invalid message: ") + QString::fromLatin1(kind)});
    }
}

TEST(ThreadToVCL, HandlesMessagesFromAThreadOnTheMainThreadInPostingOrder)
{
    RecordingHandlers handlers;
    ThreadToVCL buffer(handlers, {}, {});
    constexpr int kCount = 2000;
    std::thread reader([&] {
        for (int i = 0; i < kCount; ++i)
            buffer.post(std::make_unique<TThreadMessage>(Message("inhum", 0, 0, i)));
    });
    reader.join();
    RunEventsUntil([&] { return handlers.calls.size() == kCount; });
    ASSERT_EQ(handlers.calls.size(), kCount);
    for (int i = 0; i < kCount; ++i)
        ASSERT_EQ(handlers.calls[i], QStringLiteral("DoInsideHumidity:%1").arg(i));
    EXPECT_EQ(buffer.pending(), 0u);
}

TEST(ThreadToVCL, AHandlerThatThrowsReleasesItsMessageAndTheNextIsHandled)
{
    RecordingHandlers handlers;
    handlers.throwOnOutdoorTemp = true;
    QStringList errors;
    ThreadToVCL buffer(handlers, {}, [&](const QString& error) { errors.append(error); });
    buffer.post(std::make_unique<TThreadMessage>(Message("outtemp", 4.0f)));
    buffer.post(std::make_unique<TThreadMessage>(Message("inhum", 0, 0, 50)));
    RunEventsUntil([&] { return handlers.calls.size() == 1; });
    EXPECT_EQ(handlers.calls, QStringList{QStringLiteral("DoInsideHumidity:50")});
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.front().contains(QStringLiteral("sensor exploded")));
    EXPECT_EQ(buffer.pending(), 0u);
}

}  // namespace
}  // namespace brezmor
