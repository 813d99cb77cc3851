#pragma once

#include <QDBusConnection>
#include <QObject>

#include <functional>

namespace brezmor {

// Closes the program before the computer suspends, when the station owner
// asked for it ([Station] CloseOnSuspend): a station link does not survive a
// suspend, and a normal close saves the today file and the settings first.
// The notice is logind's PrepareForSleep signal; where no system bus or no
// logind exists the watch simply never fires.
class SuspendWatch final : public QObject {
    Q_OBJECT
public:
    // `closeWanted` is asked at each notice, so a changed setting counts at once.
    SuspendWatch(QDBusConnection bus, std::function<bool()> closeWanted);

    [[nodiscard]] bool connected() const { return m_connected; }

Q_SIGNALS:
    void closeRequested();

private Q_SLOTS:
    void PrepareForSleep(bool suspending);

private:
    std::function<bool()> m_closeWanted;
    bool m_connected = false;
};

}  // namespace brezmor
