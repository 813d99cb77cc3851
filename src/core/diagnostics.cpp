#include "core/diagnostics.h"

#include "platform/clock.h"
#include "platform/windows1252.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>

#include <cstdio>

namespace brezmor {
namespace {

QString OperatingSystemText()
{
    return QSysInfo::prettyProductName() + QStringLiteral(" (") + QSysInfo::kernelType() + u' '
           + QSysInfo::kernelVersion() + u')';
}

// Appends whole lines; the log files are Windows-1252 text with CR LF like
// every other text file of the program.
bool AppendLines(const QString& path, const QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += toWindows1252(line);
        bytes += "\r\n";
    }
    return file.write(bytes) == bytes.size();
}

}  // namespace

ProgramLog::ProgramLog(QString diagsFolder, const Clock& clock, int generations)
    : m_folder(std::move(diagsFolder)), m_clock(clock), m_generations(generations)
{
    openGeneration();
}

void ProgramLog::openGeneration()
{
    QDir dir(m_folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return;
    const QString stamp = ToQDateTime(m_clock.now()).toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = QStringLiteral("Brezmor-%1.log").arg(stamp);
    for (int n = 1; dir.exists(name); ++n)
        name = QStringLiteral("Brezmor-%1-%2.log").arg(stamp).arg(n);
    // The names sort by time, so the oldest generations come first.
    QStringList existing = dir.entryList({QStringLiteral("Brezmor-*.log")}, QDir::Files, QDir::Name);
    while (existing.size() >= m_generations && !existing.isEmpty())
        dir.remove(existing.takeFirst());
    m_filePath = dir.filePath(name);
}

// "yyyy-MM-dd HH:mm:ss" of now, built by hand: QDateTime's formatting and
// time-zone look-up cost more than the rest of a line. It also keeps the
// stamp of a replayed moment that the clocks skip when they go forward,
// for which QDateTime has no text at all.
QString ProgramLog::nowText() const
{
    const TDateTime now = m_clock.now();
    const QDate date = DateOf(now);
    const QTime time = TimeOf(now);
    char text[32];
    const int size = std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.year(), date.month(),
                                   date.day(), time.hour(), time.minute(), time.second());
    return QString::fromLatin1(text, size);
}

void ProgramLog::write(const QString& line)
{
    QString text = line;
    if (text.contains(QStringLiteral("{now}")))
        text.replace(QStringLiteral("{now}"), nowText());
    if (text.contains(QStringLiteral("{OSVI}")))
        text.replace(QStringLiteral("{OSVI}"), OperatingSystemText());
    const std::lock_guard lock(m_mutex);
    if (!m_filePath.isEmpty())
        AppendLines(m_filePath, {text});
}

DebugLog::DebugLog(QString filePath) : m_filePath(std::move(filePath)) {}

void DebugLog::setEnabled(bool enabled)
{
    const std::lock_guard lock(m_mutex);
    m_enabled = enabled;
}

bool DebugLog::enabled() const
{
    const std::lock_guard lock(m_mutex);
    return m_enabled;
}

void DebugLog::writeLine(const QString& line)
{
    const std::lock_guard lock(m_mutex);
    if (m_enabled)
        m_pending.append(line);
}

void DebugLog::flush()
{
    const std::lock_guard lock(m_mutex);
    flushLocked();
}

void DebugLog::writeLineForced(const QString& line)
{
    const std::lock_guard lock(m_mutex);
    m_pending.append(line);
    flushLocked();
}

void DebugLog::flushLocked()
{
    if (m_pending.isEmpty())
        return;
    QStringList lines;
    if (!m_headerWritten)
        lines.append(QStringLiteral("Brezmor debug log"));
    lines.append(m_pending);
    // Lines that could not be written stay pending for the next flush.
    if (AppendLines(m_filePath, lines)) {
        m_headerWritten = true;
        m_pending.clear();
    }
}

ErrorLog::ErrorLog(const Clock& clock) : m_clock(clock) {}

void ErrorLog::LogMessage(const QString& text)
{
    {
        const std::lock_guard lock(m_mutex);
        while (static_cast<int>(m_lines.size()) >= kMaxLines)
            m_lines.pop_front();
        m_lines.push_back(ToQDateTime(m_clock.now()).toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                          + QStringLiteral(" : ") + text);
        m_lampOn = true;
    }
    notify();
}

QStringList ErrorLog::lines() const
{
    const std::lock_guard lock(m_mutex);
    return QStringList(m_lines.begin(), m_lines.end());
}

bool ErrorLog::lampOn() const
{
    const std::lock_guard lock(m_mutex);
    return m_lampOn;
}

void ErrorLog::acknowledge()
{
    {
        const std::lock_guard lock(m_mutex);
        m_lampOn = false;
    }
    notify();
}

void ErrorLog::addObserver(Observer observer)
{
    const std::lock_guard lock(m_mutex);
    m_observers.push_back(std::move(observer));
}

void ErrorLog::notify()
{
    std::vector<Observer> observers;
    {
        const std::lock_guard lock(m_mutex);
        observers = m_observers;
    }
    for (const Observer& observer : observers)
        observer();
}

Diagnostics::Diagnostics(QString programFolder, const Clock& clock)
    : program(QDir(programFolder).filePath(QStringLiteral("Diags")), clock),
      debug(QDir(programFolder).filePath(QStringLiteral("debug.log"))),
      errors(clock)
{
}

void Diagnostics::toggleDebugLog()
{
    debug.setEnabled(!debug.enabled());
    program.LogMessage(QStringLiteral("Logging switched"));
}

}  // namespace brezmor
