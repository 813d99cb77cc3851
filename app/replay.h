#pragma once

#include <QString>

#include <functional>
#include <iosfwd>

namespace brezmor {

class Program;
class SimulatedClock;

// Runs a replay file through a started program on simulated time: before
// each line the clock advances minute by minute to the line's time, firing
// the hour and minute work crossed, then the message goes to its handler.
// Returns the empty text at the end of the file, or "line N: <what>" for the
// first line that cannot be read or goes back in time. `stopRequested`,
// asked before each line, ends the run early as if the file ended there.
[[nodiscard]] QString RunReplay(std::istream& input, Program& program, SimulatedClock& clock,
                                const std::function<bool()>& stopRequested = {});

}  // namespace brezmor
