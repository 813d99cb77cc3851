#include "core/messages.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace brezmor {
namespace {

// Records each call as "Handler:value" so tests can check routing and order.
class RecordingHandlers final : public QuantityHandlers {
public:
    QStringList calls;
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
    void add(const char* name, const QString& value) { calls.append(QString::fromLatin1(name) + u':' + value); }
};

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

void RunEventsUntil(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
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
