#include "stations/station_thread.h"

#include <pthread.h>

#include <exception>

namespace brezmor {

StationThread::StationThread(std::string name, std::chrono::milliseconds pause)
    : m_name(std::move(name)), m_pause(pause)
{
}

StationThread::~StationThread()
{
    terminate();
}

void StationThread::start(Cycle cycle, ErrorReporter onError)
{
    if (running())
        return;
    m_thread = std::jthread([this, cycle = std::move(cycle), onError = std::move(onError)](std::stop_token stop) {
        loop(stop, cycle, onError);
    });
    // The name shows in top -H and in a debugger; Linux allows 15 characters.
    pthread_setname_np(m_thread.native_handle(), m_name.substr(0, 15).c_str());
}

void StationThread::terminate()
{
    if (!m_thread.joinable())
        return;
    {
        // Under the lock, so that a loop about to sleep cannot miss it.
        const std::lock_guard lock(m_mutex);
        m_thread.request_stop();
    }
    m_wake.notify_all();
    m_thread.join();
}

void StationThread::loop(const std::stop_token& stop, const Cycle& cycle, const ErrorReporter& onError)
{
    while (!stop.stop_requested()) {
        try {
            cycle(stop);
        } catch (const std::exception& error) {
            if (onError)
                onError(QStringLiteral("%1: error in reading cycle: %2")
                            .arg(QString::fromStdString(m_name), QString::fromLocal8Bit(error.what())));
        } catch (...) {
            if (onError)
                onError(QStringLiteral("%1: error in reading cycle").arg(QString::fromStdString(m_name)));
        }
        std::unique_lock lock(m_mutex);
        m_wake.wait_for(lock, m_pause, [&stop] { return stop.stop_requested(); });
    }
}

}  // namespace brezmor
