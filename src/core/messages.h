#pragma once

#include "platform/datetime.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>

namespace brezmor {

// One station reading posted by a reader thread. It belongs to the reader
// until posted and to the dispatcher afterwards, which releases it.
struct TThreadMessage {
    QString Kind;
    float Value1 = 0.0f;
    float Value2 = 0.0f;
    std::int32_t IntValue = 0;
    QString TextValue;
    TDateTime Timestamp = 0.0;
};

// The quantity handlers, all on the main thread. The dispatcher routes each
// message kind to one of them; the weather core implements them.
class QuantityHandlers {
public:
    virtual ~QuantityHandlers() = default;

    virtual void DoWind(int bearing, float speed, float average, TDateTime time) = 0;
    virtual void DoWindChill(float chill, TDateTime time) = 0;
    virtual void DoInsideHumidity(int humidity) = 0;
    virtual void DoOutsideHumidity(int humidity) = 0;
    virtual void DoOutsideDewpoint(float dewpoint) = 0;
    virtual void DoPressure(float pressure, TDateTime time) = 0;
    virtual void DoPressureTrendText(const QString& text) = 0;
    virtual void DoInsideTemp(float temperature) = 0;
    virtual void DoOutsideTemp(float temperature, TDateTime time) = 0;
    virtual void DoRain(float counter, float rate, TDateTime time) = 0;
    virtual void DoConsoleBattery(float volts) = 0;
    virtual void DoTransmitterBattery(const QString& text) = 0;
    virtual void DoForecast(const QString& text) = 0;
    virtual void DoStatusPanel() = 0;
    virtual void DoET(float value) = 0;
    virtual void DoUV(float value) = 0;
    virtual void DoSolarRad(int value) = 0;
};

// The message-kind table: kind text and the handler call it makes, in the
// order the dispatcher compares them.
struct MessageKind {
    const char16_t* kind;
    void (*call)(QuantityHandlers&, const TThreadMessage&);
};
[[nodiscard]] std::span<const MessageKind> messageKinds();

// Calls the handler of the message's kind (exact, case-sensitive match).
// An unknown kind writes "Invalid message: <kind>" through `logInvalid` and
// changes nothing. Errors raised by a handler pass through to the caller.
void DispatchMessage(QuantityHandlers& handlers, const TThreadMessage& message,
                     const std::function<void(const QString&)>& logInvalid);

// The thread-to-main-thread buffer. Any thread posts; the main thread handles
// one message per wake-up, in posting order. Each handled message is released
// on every path, also when its handler raises: the error goes to `onError`
// (the program's general error report) and the next message is handled
// normally.
class ThreadToVCL final : public QObject {
    Q_OBJECT
public:
    using ErrorReporter = std::function<void(const QString&)>;

    // Must be created on the thread that handles the messages.
    ThreadToVCL(QuantityHandlers& handlers, std::function<void(const QString&)> logInvalid,
                ErrorReporter onError);

    void post(std::unique_ptr<TThreadMessage> message);
    [[nodiscard]] std::size_t pending() const;

    // The can-read event: reads exactly one message and dispatches it.
    void ThreadToVCLCanRead();

private:
    QuantityHandlers& m_handlers;
    std::function<void(const QString&)> m_logInvalid;
    ErrorReporter m_onError;
    std::deque<std::unique_ptr<TThreadMessage>> m_queue;
    mutable std::mutex m_mutex;
};

}  // namespace brezmor
