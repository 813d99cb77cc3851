#include "core/messages.h"

#include <QMetaObject>

#include <array>
#include <exception>

namespace brezmor {
namespace {

using H = QuantityHandlers;
using M = TThreadMessage;

constexpr std::array<MessageKind, 17> kKinds{{
    {u"wind", [](H& h, const M& m) { h.DoWind(m.IntValue, m.Value1, m.Value2, m.Timestamp); }},
    {u"windchill", [](H& h, const M& m) { h.DoWindChill(m.Value1, m.Timestamp); }},
    {u"inhum", [](H& h, const M& m) { h.DoInsideHumidity(m.IntValue); }},
    {u"outhum", [](H& h, const M& m) { h.DoOutsideHumidity(m.IntValue); }},
    {u"outdew", [](H& h, const M& m) { h.DoOutsideDewpoint(m.Value1); }},
    {u"pressure", [](H& h, const M& m) { h.DoPressure(m.Value1, m.Timestamp); }},
    {u"presstrend", [](H& h, const M& m) { h.DoPressureTrendText(m.TextValue); }},
    {u"intemp", [](H& h, const M& m) { h.DoInsideTemp(m.Value1); }},
    {u"outtemp", [](H& h, const M& m) { h.DoOutsideTemp(m.Value1, m.Timestamp); }},
    {u"rain", [](H& h, const M& m) { h.DoRain(m.Value1, m.Value2, m.Timestamp); }},
    {u"conbat", [](H& h, const M& m) { h.DoConsoleBattery(m.Value1); }},
    {u"txbat", [](H& h, const M& m) { h.DoTransmitterBattery(m.TextValue); }},
    {u"forecast", [](H& h, const M& m) { h.DoForecast(m.TextValue); }},
    {u"statuspanel", [](H& h, const M&) { h.DoStatusPanel(); }},
    {u"ET", [](H& h, const M& m) { h.DoET(m.Value1); }},
    {u"UV", [](H& h, const M& m) { h.DoUV(m.Value1); }},
    {u"SolarRad", [](H& h, const M& m) { h.DoSolarRad(m.IntValue); }},
}};

}  // namespace

std::span<const MessageKind> messageKinds()
{
    return kKinds;
}

void DispatchMessage(QuantityHandlers& handlers, const TThreadMessage& message,
                     const std::function<void(const QString&)>& logInvalid)
{
    for (const MessageKind& entry : kKinds) {
        if (message.Kind == QStringView(entry.kind)) {
            entry.call(handlers, message);
            return;
        }
    }
    if (logInvalid)
        logInvalid(QStringLiteral("Invalid message: ") + message.Kind);
}

ThreadToVCL::ThreadToVCL(QuantityHandlers& handlers, std::function<void(const QString&)> logInvalid,
                         ErrorReporter onError)
    : m_handlers(handlers), m_logInvalid(std::move(logInvalid)), m_onError(std::move(onError))
{
}

void ThreadToVCL::post(std::unique_ptr<TThreadMessage> message)
{
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(message));
    }
    // One queued wake-up per message: each can-read event handles exactly one.
    QMetaObject::invokeMethod(this, &ThreadToVCL::ThreadToVCLCanRead, Qt::QueuedConnection);
}

std::size_t ThreadToVCL::pending() const
{
    const std::lock_guard lock(m_mutex);
    return m_queue.size();
}

void ThreadToVCL::ThreadToVCLCanRead()
{
    std::unique_ptr<TThreadMessage> message;
    {
        const std::lock_guard lock(m_mutex);
        if (m_queue.empty())
            return;
        message = std::move(m_queue.front());
        m_queue.pop_front();
    }
    try {
        DispatchMessage(m_handlers, *message, m_logInvalid);
    } catch (const std::exception& error) {
        if (m_onError)
            m_onError(QStringLiteral("Error handling message \"%1\": %2").arg(message->Kind, QString::fromLocal8Bit(error.what())));
    } catch (...) {
        if (m_onError)
            m_onError(QStringLiteral("Error handling message \"%1\"").arg(message->Kind));
    }
}

}  // namespace brezmor
