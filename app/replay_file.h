#pragma once

#include "core/messages.h"

#include <QString>

#include <optional>
#include <string_view>
#include <variant>

namespace brezmor {

// One line of a replay file: `time,Kind,Value1,Value2,IntValue,TextValue`,
// the time local "yyyy-mm-dd hh:mm:ss", numbers with "." whatever the locale,
// trailing fields optional, empty fields 0 or empty, TextValue optionally in
// double quotes.
struct ReplayLine {
    TThreadMessage message;  // Timestamp holds the line's time
};

struct ReplaySkip {};  // a comment or an empty line

struct ReplayError {
    QString what;
};

using ReplayParse = std::variant<ReplayLine, ReplaySkip, ReplayError>;

[[nodiscard]] ReplayParse ParseReplayLine(std::string_view line);

}  // namespace brezmor
