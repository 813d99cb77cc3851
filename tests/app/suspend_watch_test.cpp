#include "suspend_watch.h"

#include "support/run_events.h"

#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace brezmor {
namespace {

// A private message bus on a socket in a temporary folder, so that the test
// plays logind without touching the machine's own buses.
class PrivateBus {
public:
    PrivateBus()
    {
        const QString config = m_folder.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(QStringLiteral(R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)")
                       .arg(m_folder.filePath(QStringLiteral("bus")))
                       .toUtf8());
        file.close();
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--nofork"), QStringLiteral("--print-address"), QStringLiteral("--config-file=") + config});
        if (m_daemon.waitForStarted() && m_daemon.waitForReadyRead(10'000))
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    [[nodiscard]] const QString& address() const { return m_address; }

private:
    QTemporaryDir m_folder;
    QProcess m_daemon;
    QString m_address;
};

void SendPrepareForSleep(QDBusConnection& from, bool suspending)
{
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("PrepareForSleep"));
    signal << suspending;
    from.send(signal);
}

TEST(SuspendWatch, ClosesBeforeASuspendOnlyWhenAskedAndOnlyOnLogindsWord)
{
    PrivateBus bus;
    if (bus.address().isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    QDBusConnection logind = QDBusConnection::connectToBus(bus.address(), QStringLiteral("logind"));
    QDBusConnection impostor = QDBusConnection::connectToBus(bus.address(), QStringLiteral("impostor"));
    QDBusConnection program = QDBusConnection::connectToBus(bus.address(), QStringLiteral("program"));
    ASSERT_TRUE(logind.registerService(QStringLiteral("org.freedesktop.login1")));

    bool closeWanted = false;
    int asked = 0;
    SuspendWatch watch(program, [&] {
        ++asked;
        return closeWanted;
    });
    ASSERT_TRUE(watch.connected());
    int closes = 0;
    QObject::connect(&watch, &SuspendWatch::closeRequested, [&] { ++closes; });

    // Sent one after the other; each is delivered in that order.
    SendPrepareForSleep(impostor, true);
    SendPrepareForSleep(logind, false);
    SendPrepareForSleep(logind, true);
    RunEventsUntil([&] { return asked > 0; });
    RunEventsFor(200);
    EXPECT_EQ(asked, 1) << "neither the resume nor another sender's signal counts";
    EXPECT_EQ(closes, 0) << "CloseOnSuspend is off";

    closeWanted = true;
    SendPrepareForSleep(logind, true);
    RunEventsUntil([&] { return closes > 0; });
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(asked, 2);

    QDBusConnection::disconnectFromBus(QStringLiteral("logind"));
    QDBusConnection::disconnectFromBus(QStringLiteral("impostor"));
    QDBusConnection::disconnectFromBus(QStringLiteral("program"));
}

}  // namespace
}  // namespace brezmor
