#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace brezmor {

class Clock;

// The program log: start-up, catch-up, rollover and xAP events, always on.
// Each run writes a new file in the "Diags" folder; at most nine generations
// are kept, the oldest removed when a tenth would appear.
class ProgramLog {
public:
    ProgramLog(QString diagsFolder, const Clock& clock, int generations = 9);

    // Expands "{now}" and "{OSVI}" and appends the line; safe from any thread.
    void write(const QString& line);
    // `LogMessage`: "{now}: " followed by the text.
    void LogMessage(const QString& text) { write(QStringLiteral("{now}: ") + text); }

    [[nodiscard]] QString filePath() const { return m_filePath; }

private:
    void openGeneration();
    [[nodiscard]] QString nowText() const;

    QString m_folder;
    const Clock& m_clock;
    int m_generations;
    QString m_filePath;
    std::mutex m_mutex;
};

// The debug log "debug.log": detailed traces while [Station] Logging is on.
// Lines are collected in memory and written to the file when flushed, so a
// trace per reading costs no disk write.
class DebugLog {
public:
    explicit DebugLog(QString filePath);

    void setEnabled(bool enabled);
    [[nodiscard]] bool enabled() const;
    // Ignored while disabled; safe from any thread, each line kept whole.
    void writeLine(const QString& line);
    void flush();
    // Writes and flushes one line whatever the switch says, leaving the switch
    // as it was: for errors that must reach the file even with logging off.
    void writeLineForced(const QString& line);

private:
    void flushLocked();

    QString m_filePath;
    bool m_enabled = false;
    bool m_headerWritten = false;
    QStringList m_pending;
    mutable std::mutex m_mutex;
};

// The error log behind the main window's error lamp: the latest 256 upload
// and USB-station errors.
class ErrorLog {
public:
    static constexpr int kMaxLines = 256;
    using Observer = std::function<void()>;

    explicit ErrorLog(const Clock& clock);

    // `LogMessage`: the current date and time, " : " and the text; lights the lamp.
    void LogMessage(const QString& text);
    [[nodiscard]] QStringList lines() const;
    [[nodiscard]] bool lampOn() const;
    // A click on the lamp switches it off (the window then shows the list).
    void acknowledge();
    // Called on the thread that wrote, after each change of lines or lamp.
    void addObserver(Observer observer);

private:
    void notify();

    const Clock& m_clock;
    std::deque<QString> m_lines;
    bool m_lampOn = false;
    std::vector<Observer> m_observers;
    mutable std::mutex m_mutex;
};

// The three channels, created once at start-up and passed to whoever writes.
struct Diagnostics {
    Diagnostics(QString programFolder, const Clock& clock);

    ProgramLog program;
    DebugLog debug;
    ErrorLog errors;

    // The "Debug Log" menu switch: inverts the debug log (the new state is
    // not saved) and notes it in the program log.
    void toggleDebugLog();
};

}  // namespace brezmor
