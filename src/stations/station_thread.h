#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

namespace brezmor {

// The worker-thread loop of the serial readers (`VPthread`, `ws2300thread`):
// each turn asks whether termination was requested, runs one reading cycle,
// then sleeps for the reader's pause. A cycle never calls a handler; it posts
// its readings to the thread-to-main buffer. A failure inside a cycle never
// ends the loop: it is reported and the next turn comes as usual.
class StationThread {
public:
    // The cycle may look at the token between two readings to end early.
    using Cycle = std::function<void(const std::stop_token&)>;
    // Called on the worker thread.
    using ErrorReporter = std::function<void(const QString&)>;

    StationThread(std::string name, std::chrono::milliseconds pause);
    ~StationThread();
    StationThread(const StationThread&) = delete;
    StationThread& operator=(const StationThread&) = delete;

    // The thread is created not running; this starts the loop. Ignored while
    // a loop runs.
    void start(Cycle cycle, ErrorReporter onError);
    // Asks the loop to end and waits until it has: a sleeping thread wakes at
    // once, a cycle in progress finishes first. Safe to call when not running.
    void terminate();
    [[nodiscard]] bool running() const { return m_thread.joinable(); }
    [[nodiscard]] const std::string& name() const { return m_name; }

private:
    void loop(const std::stop_token& stop, const Cycle& cycle, const ErrorReporter& onError);

    std::string m_name;
    std::chrono::milliseconds m_pause;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::jthread m_thread;
};

// The thread manager: the two worker threads exist from start-up, not
// running; at most one runs, the one of the configured station type, and
// the close terminates both.
struct StationThreads {
    StationThread davis{"VPthread", std::chrono::milliseconds(500)};
    StationThread ws2300{"ws2300thread", std::chrono::milliseconds(5000)};

    void terminateAll()
    {
        davis.terminate();
        ws2300.terminate();
    }
};

}  // namespace brezmor
