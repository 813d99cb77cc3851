#include "replay.h"

#include "core/diagnostics.h"
#include "core/weather_core.h"
#include "logging/minute_clock.h"
#include "platform/clock.h"
#include "program.h"
#include "replay_file.h"

#include <cmath>
#include <functional>
#include <istream>
#include <string>

namespace brezmor {
namespace {

// Steps the clock over every whole minute up to `target`, ticking the minute
// clock at each, then to `target` itself.
void AdvanceTo(TDateTime target, SimulatedClock& clock, MinuteHourClock& minuteClock)
{
    const double current = std::floor(clock.now() * kMinutesPerDay + 1e-7);
    const double last = std::floor(target * kMinutesPerDay + 1e-7);
    for (double minute = current + 1; minute <= last; ++minute) {
        clock.setNow(minute / kMinutesPerDay);
        minuteClock.tick();
    }
    clock.setNow(target);
    minuteClock.tick();
}

}  // namespace

QString RunReplay(std::istream& input, Program& program, SimulatedClock& clock,
                  const std::function<bool()>& stopRequested)
{
    WeatherCore& core = program.core();
    // Made once: the dispatcher takes a std::function, and a lambda would be
    // wrapped anew for every line.
    const std::function<void(const QString&)> logInvalid = [&](const QString& line) {
        core.diagnostics().program.LogMessage(line);
    };
    std::string line;
    int number = 0;
    TDateTime previous = clock.now();
    while (std::getline(input, line)) {
        if (stopRequested && stopRequested())
            break;
        ++number;
        const ReplayParse parsed = ParseReplayLine(line);
        if (std::holds_alternative<ReplaySkip>(parsed))
            continue;
        if (const auto* error = std::get_if<ReplayError>(&parsed))
            return QStringLiteral("line %1: %2").arg(number).arg(error->what);
        const TThreadMessage& message = std::get<ReplayLine>(parsed).message;
        if (message.Timestamp < previous)
            return QStringLiteral("line %1: the time is earlier than the line before").arg(number);
        previous = message.Timestamp;
        AdvanceTo(message.Timestamp, clock, program.minuteClock());
        DispatchMessage(core, message, logInvalid);
    }
    return {};
}

}  // namespace brezmor
