#include "suspend_watch.h"

namespace brezmor {

SuspendWatch::SuspendWatch(QDBusConnection bus, std::function<bool()> closeWanted)
    : m_closeWanted(std::move(closeWanted))
{
    m_connected = bus.isConnected()
                  && bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                                 QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
                                 this, SLOT(PrepareForSleep(bool)));
}

// The same signal says false after the resume; only the way down matters.
void SuspendWatch::PrepareForSleep(bool suspending)
{
    if (suspending && m_closeWanted && m_closeWanted())
        Q_EMIT closeRequested();
}

}  // namespace brezmor
