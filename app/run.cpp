#include "run.h"

#include "platform/clock.h"
#include "platform/regional.h"
#include "program.h"
#include "replay.h"
#include "replay_file.h"
#include "core/diagnostics.h"
#include "core/weather_core.h"
#include "settings/settings.h"
#include "stations/demo_station.h"
#include "suspend_watch.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sys/socket.h>
#include <unistd.h>

namespace brezmor {
namespace {

struct Options {
    enum class Mode { Desktop, Headless, Replay, Demo } mode = Mode::Desktop;
    QString root;
    QString replayFile;
};

// A signal handler may only write to a descriptor; the main thread reads
// the byte and shuts down through the normal sequence.
int g_signalSocket[2] = {-1, -1};
volatile std::sig_atomic_t g_stopRequested = 0;

void OnTerminationSignal(int)
{
    g_stopRequested = 1;
    if (g_signalSocket[0] < 0)
        return;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalSocket[0], &byte, 1);
}

void PrintUsage(FILE* stream)
{
    std::fprintf(stream,
                 "Usage: brezmor [--headless | --replay FILE | --demo DIR] [--root DIR]\n"
                 "\n"
                 "  --headless      run without windows; SIGINT or SIGTERM closes it normally\n"
                 "  --replay FILE   run the station messages of FILE on simulated time, then exit\n"
                 "  --demo DIR      run headless on DIR with a built-in simulated station\n"
                 "  --root DIR      use DIR as the program folder (settings, data, logs)\n"
                 "  --help          show this text\n"
                 "  --version       show the version\n");
}

// Parses the command line; a mistake gives the usage text and status 2.
std::variant<Options, ExitCode> Parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption headless(QStringLiteral("headless"));
    const QCommandLineOption replay(QStringLiteral("replay"), {}, QStringLiteral("FILE"));
    const QCommandLineOption demo(QStringLiteral("demo"), {}, QStringLiteral("DIR"));
    const QCommandLineOption root(QStringLiteral("root"), {}, QStringLiteral("DIR"));
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({headless, replay, demo, root, help, version});
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "brezmor: %s\n", qPrintable(parser.errorText()));
        PrintUsage(stderr);
        return ExitCode::Usage;
    }
    if (parser.isSet(help)) {
        PrintUsage(stdout);
        return ExitCode::Success;
    }
    if (parser.isSet(version)) {
        std::printf("brezmor %s\n", qPrintable(Program::versionText()));
        return ExitCode::Success;
    }
    const int modes = int(parser.isSet(headless)) + int(parser.isSet(replay)) + int(parser.isSet(demo));
    if (modes > 1 || !parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "brezmor: %s\n",
                     modes > 1 ? "choose one of --headless, --replay and --demo"
                               : qPrintable(QStringLiteral("unexpected argument ") + parser.positionalArguments().front()));
        PrintUsage(stderr);
        return ExitCode::Usage;
    }
    Options options;
    options.root = parser.isSet(root) ? parser.value(root)
                                      : QFileInfo(arguments.value(0)).absolutePath();
    if (parser.isSet(headless))
        options.mode = Options::Mode::Headless;
    if (parser.isSet(replay)) {
        options.mode = Options::Mode::Replay;
        options.replayFile = parser.value(replay);
    }
    if (parser.isSet(demo)) {
        options.mode = Options::Mode::Demo;
        options.root = parser.value(demo);
    }
    return options;
}

// The time of the first message of a replay file: the run starts there.
std::optional<TDateTime> FirstReplayTime(std::istream& input)
{
    std::string line;
    while (std::getline(input, line)) {
        const ReplayParse parsed = ParseReplayLine(line);
        if (const auto* message = std::get_if<ReplayLine>(&parsed))
            return message->message.Timestamp;
        if (std::holds_alternative<ReplayError>(parsed))
            return std::nullopt;
    }
    return std::nullopt;
}

ExitCode RunReplayMode(const Options& options)
{
    std::ifstream input(options.replayFile.toStdString());
    if (!input) {
        std::fprintf(stderr, "brezmor: cannot open %s\n", qPrintable(options.replayFile));
        return ExitCode::Usage;
    }
    SimulatedClock clock(FirstReplayTime(input).value_or(LiveClock().now()));
    input.clear();
    input.seekg(0);
    Program program(options.root, clock, RegionalSettings::fromSystem(), ClockDrive::Replay);
    if (!program.FormCreate()) {
        std::fprintf(stderr, "brezmor: cannot use the program folder %s\n", qPrintable(options.root));
        return ExitCode::Failure;
    }
    program.startStation(/*withReader=*/false);
    // SIGINT and SIGTERM end the replay between two lines, through the
    // normal shutdown, so everything read so far is saved.
    std::signal(SIGINT, OnTerminationSignal);
    std::signal(SIGTERM, OnTerminationSignal);
    const QString error = RunReplay(input, program, clock, [] { return g_stopRequested != 0; });
    program.FormClose();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return ExitCode::Usage;
    }
    return ExitCode::Success;
}

ExitCode RunLive(const Options& options)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalSocket) != 0) {
        std::fprintf(stderr, "brezmor: cannot set up signal handling\n");
        return ExitCode::Failure;
    }
    QSocketNotifier notifier(g_signalSocket[1], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, qApp, &QCoreApplication::quit);
    std::signal(SIGINT, OnTerminationSignal);
    std::signal(SIGTERM, OnTerminationSignal);

    LiveClock clock;
    Program program(options.root, clock, RegionalSettings::fromSystem(), ClockDrive::Live);
    if (!program.FormCreate()) {
        std::fprintf(stderr, "brezmor: cannot use the program folder %s\n", qPrintable(options.root));
        return ExitCode::Failure;
    }
    SuspendWatch suspend(QDBusConnection::systemBus(),
                         [&program] { return program.settings().boolean(Setting::CloseOnSuspend); });
    QObject::connect(&suspend, &SuspendWatch::closeRequested, qApp, [&program] {
        program.diagnostics().program.LogMessage(QStringLiteral("The computer is about to suspend; closing"));
        QCoreApplication::quit();
    });
    std::unique_ptr<DemoStation> demo;
    if (options.mode == Options::Mode::Demo) {
        PrepareDemoSettings(program.settings());
        program.core().applyUnitSettings();
        demo = std::make_unique<DemoStation>(program.threadToVcl(), program.core().units(), clock);
        program.startStation(/*withReader=*/false);
        demo->start();
        std::printf("Brezmor demo: a simulated station writes to %s every minute. Ctrl+C stops it.\n",
                    qPrintable(QDir(program.dataFolder()).absolutePath()));
    } else {
        program.startStation();
        std::printf("Brezmor %s running on %s. Ctrl+C stops it.\n", qPrintable(Program::versionText()),
                    qPrintable(QDir(options.root).absolutePath()));
    }
    std::fflush(stdout);
    QCoreApplication::exec();
    if (demo)
        demo->stop();
    program.FormClose();
    return ExitCode::Success;
}

}  // namespace

ExitCode run(const QStringList& arguments)
{
    const auto parsed = Parse(arguments);
    if (const auto* code = std::get_if<ExitCode>(&parsed))
        return *code;
    const Options& options = std::get<Options>(parsed);
    switch (options.mode) {
    case Options::Mode::Replay:
        return RunReplayMode(options);
    case Options::Mode::Desktop:
        // The windows come with the desktop build; until then the program
        // runs as it does headless.
    case Options::Mode::Headless:
    case Options::Mode::Demo:
        return RunLive(options);
    }
    return ExitCode::Failure;
}

}  // namespace brezmor
