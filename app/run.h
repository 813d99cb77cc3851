#pragma once

#include <QStringList>

namespace brezmor {

enum class ExitCode { Success = 0, Failure = 1, Usage = 2 };

// The whole program after argument parsing: tests call it like main() does.
[[nodiscard]] ExitCode run(const QStringList& arguments);

}  // namespace brezmor
