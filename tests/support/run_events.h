#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace brezmor {

// Runs the main thread's event loop until `done` holds, for at most ten
// seconds, so that a fault shows as a failed expectation instead of a hang.
inline void RunEventsUntil(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Runs the event loop for a while, for a test that must show that something
// does not arrive: a fault shows up at once on most runs, and the correct
// code passes however the time falls.
inline void RunEventsFor(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace brezmor
