#include "program.h"

#include "core/diagnostics.h"
#include "core/messages.h"
#include "core/weather_core.h"
#include "graphs/graph_data.h"
#include "logging/data_log.h"
#include "logging/day_rollover.h"
#include "logging/minute_clock.h"
#include "logging/rain_totals.h"
#include "logging/recent_samples.h"
#include "logging/timed_work.h"
#include "platform/clock.h"
#include "settings/settings.h"
#include "stations/easyweather.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace brezmor {
namespace {

constexpr int kMinute = 60'000;
constexpr int kBackupsKept = 10;

QString WithSlash(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// Old backups go to the user's trash where a desktop keeps one. Without
// one (a server, a service account) the trash would be made beside the
// data, at the top of its file system, so they are deleted instead.
bool HasDesktopTrash()
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share"));
    return QFileInfo(dataHome + QStringLiteral("/Trash")).isDir();
}

void RemoveEntry(const QString& path)
{
    if (HasDesktopTrash() && QFile::moveToTrash(path))
        return;
    const QFileInfo info(path);
    if (info.isDir())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

}  // namespace

ReaderGroup ReaderGroupOf(int stationType)
{
    switch (stationType) {
    case 0:
    case 1:
        return ReaderGroup::Davis;
    case 2:
    case 3:
        return ReaderGroup::Oregon;
    case 6:
        return ReaderGroup::Ws2300;
    default:
        return ReaderGroup::FileOrUsb;
    }
}

QString Program::versionText()
{
    return QStringLiteral(BREZMOR_VERSION);
}

Program::Program(QString programFolder, const Clock& clock, RegionalSettings regional, ClockDrive drive)
    : m_programFolder(WithSlash(QDir(programFolder).absolutePath())),
      m_dataFolder(m_programFolder + QStringLiteral("data/")),
      m_backupFolder(m_programFolder + QStringLiteral("backup/")),
      m_clock(clock),
      m_regional(std::move(regional)),
      m_drive(drive)
{
}

Program::~Program()
{
    FormClose();
}

bool Program::FormCreate()
{
    m_minuteClock = std::make_unique<MinuteHourClock>(
        m_clock, [this](int hour) { m_timedWork->ClockHoursChanged(hour); },
        [this](int minute) { m_timedWork->ClockMinutesChanged(minute); });

    if (!QDir().mkpath(m_dataFolder))
        return false;
    m_diagnostics = std::make_unique<Diagnostics>(m_programFolder, m_clock);
    ProgramLog& log = m_diagnostics->program;
    log.LogMessage(QStringLiteral("Brezmor %1 Build %2 startup").arg(versionText()).arg(BREZMOR_BUILD));
    log.LogMessage(QStringLiteral("{OSVI}"));

    m_settings = std::make_unique<Settings>(m_programFolder + QStringLiteral("Brezmor.ini"), m_regional,
                                            m_programFolder);
    for (const QString& problem : m_settings->load(m_clock.now()))
        log.LogMessage(problem);

    BackupDataFiles();
    m_diagnostics->debug.setEnabled(m_settings->boolean(Setting::StationLogging));

    m_core = std::make_unique<WeatherCore>(*m_settings, m_clock, m_regional, *m_diagnostics, m_dataFolder);
    if (m_drive == ClockDrive::Replay)
        m_core->setTodayFileWrites(TodayFileWrites::DayEndAndClose);
    m_threadToVcl = std::make_unique<ThreadToVCL>(
        *m_core, [&log](const QString& line) { log.LogMessage(line); },
        [&log](const QString& error) { log.LogMessage(error); });
    m_graphs = std::make_unique<GraphData>();
    m_dataLog = std::make_unique<DataLog>(*m_core, m_dataFolder);
    m_rollover = std::make_unique<DayRollover>(*m_core, m_dataFolder);
    m_rollover->addObserver([this](const FinishedDay& day) {
        m_graphs->addDay(ToDateTime(day.date), day.lowTemp, day.highTemp, day.averageTemp, day.rainToday);
    });
    m_timedWork = std::make_unique<TimedWork>(*m_core, *m_dataLog, *m_rollover, *m_graphs);

    m_core->records().ReadAllTimeRecords();
    // The main window attaches here, before today's values are restored.
    log.LogMessage(QStringLiteral("Showing main form"));
    m_core->todayFiles().ReadTodayfile(m_core->conditions());
    m_core->todayFiles().ReadYesterdayfile(m_core->conditions());
    m_core->showTodayExtremes();
    LoadRainTotals(*m_core, m_dataFolder);
    return true;
}

void Program::startStation(bool withReader)
{
    const int type = m_settings->integer(Setting::Type);
    // Every start rebuilds the trend lists from the data logs, so a restart
    // shows the right trends at once.
    LoadRecentSamples(*m_core, m_dataFolder);
    if (withReader) {
        switch (ReaderGroupOf(type)) {
        case ReaderGroup::FileOrUsb:
            if (type == 4)
                startEasyWeather();
            break;
        case ReaderGroup::Davis:
        case ReaderGroup::Oregon:
        case ReaderGroup::Ws2300:
            m_diagnostics->program.LogMessage(
                QStringLiteral("No reader for station type %1 in this version; running without readings").arg(type));
            break;
        }
    }
    m_timedWork->setStationStarted(true);
    if (!withReader || type == 4)
        StartTimedWork();
}

void Program::startEasyWeather()
{
    m_easyWeather = std::make_unique<EasyWeatherReader>(
        *m_core, [this] { m_core->PressureTrendText(); }, m_core->units(), *m_settings, m_clock, m_diagnostics->debug);
    m_easyWeather->start();
}

void Program::StartTimedWork()
{
    if (m_timedWorkStarted)
        return;
    m_timedWorkStarted = true;
    m_minuteClock->activate(m_drive == ClockDrive::Live);
    const Settings& s = *m_settings;
    // Nothing is published from a replay: it runs on simulated time.
    const bool publish = m_drive == ClockDrive::Live;
    const auto arm = [publish](QTimer& timer, bool enabled, int periodMs) {
        timer.setInterval(periodMs);
        if (enabled && publish)
            timer.start();
        else
            timer.stop();
    };
    arm(m_publishing.weatherUnderground, s.boolean(Setting::WundergroundEnabled),
        s.boolean(Setting::RapidFire) ? 5000 : s.integer(Setting::WundergroundInterval) * kMinute);
    arm(m_publishing.pwsWeather, s.boolean(Setting::PwsEnabled), s.integer(Setting::PwsInterval) * kMinute);
    arm(m_publishing.aprs, s.boolean(Setting::AprsEnabled), s.integer(Setting::AprsInterval) * kMinute);
    arm(m_publishing.web, s.boolean(Setting::AutoUpdate), s.integer(Setting::UpdateInterval) * kMinute);
}

void Program::FormClose()
{
    if (m_closed || !m_core)
        return;
    m_closed = true;
    m_stationThreads.terminateAll();
    if (m_easyWeather)
        m_easyWeather->stop();
    m_minuteClock->deactivate();
    m_publishing.weatherUnderground.stop();
    m_publishing.pwsWeather.stop();
    m_publishing.aprs.stop();
    m_publishing.web.stop();
    m_diagnostics->debug.flush();
    m_core->SaveTodayfile();
    QString error;
    if (!m_settings->save(&error))
        m_diagnostics->program.LogMessage(QStringLiteral("Error saving settings: ") + error);
}

void Program::BackupDataFiles()
{
    QDir backups(m_backupFolder);
    if (!backups.mkpath(QStringLiteral(".")))
        return;
    QStringList entries = backups.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    // Names are times, so text order is time order; after this start at most
    // ten remain: the nine newest and the new one.
    while (entries.size() > kBackupsKept - 1)
        RemoveEntry(backups.filePath(entries.takeFirst()));

    const QString stamp = ToQDateTime(m_clock.now()).toString(QStringLiteral("yyyyMMddHHmmss"));
    const QString target = WithSlash(backups.filePath(stamp));
    if (!QDir().mkpath(target))
        return;
    const QStringList files{
        m_dataFolder + QStringLiteral("alltime.rec"), DayfilePath(m_dataFolder),
        m_dataFolder + QStringLiteral("today.ini"), m_dataFolder + QStringLiteral("yesterday.ini"),
        DataLogFileName(m_dataFolder, m_clock.now(), m_settings->integer(Setting::RolloverHour), m_clock,
                        m_regional.locale)};
    for (const QString& file : files) {
        if (!QFileInfo::exists(file))
            continue;
        const QString copy = target + QFileInfo(file).fileName();
        QFile::remove(copy);
        QFile::copy(file, copy);
    }
}

}  // namespace brezmor
