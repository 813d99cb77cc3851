#include "replay_file.h"

#include "platform/datetime.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <string_view>

namespace brezmor {
namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value)
{
    text = Trim(text);
    if (text.empty()) {
        value = 0;
        return true;
    }
    if (text.front() == '+')
        text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseTwoDigits(std::string_view text, std::size_t at, int& value)
{
    return ParseNumber(text.substr(at, 2), value) && text.substr(at, 2).size() == 2;
}

// The usual line: "yyyy-mm-dd hh:mm:ss" in plain digits, read without the
// general number parsing, which costs more than the rest of the line.
std::optional<TDateTime> ParsePlainTime(std::string_view text)
{
    constexpr std::array<std::size_t, 14> kDigits{0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18};
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':'
        || text[16] != ':')
        return std::nullopt;
    for (const std::size_t at : kDigits) {
        if (text[at] < '0' || text[at] > '9')
            return std::nullopt;
    }
    const auto number = [text](std::size_t at, std::size_t digits) {
        int value = 0;
        for (std::size_t i = at; i < at + digits; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const int hour = number(11, 2);
    const int minute = number(14, 2);
    const int second = number(17, 2);
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return ToDateTime(date, QTime(hour, minute, second));
}

std::optional<TDateTime> ParseTime(std::string_view text)
{
    text = Trim(text);
    if (const std::optional<TDateTime> plain = ParsePlainTime(text))
        return plain;
    // yyyy-mm-dd hh:mm:ss
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':'
        || text[16] != ':')
        return std::nullopt;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!ParseNumber(text.substr(0, 4), year) || !ParseTwoDigits(text, 5, month) || !ParseTwoDigits(text, 8, day)
        || !ParseTwoDigits(text, 11, hour) || !ParseTwoDigits(text, 14, minute) || !ParseTwoDigits(text, 17, second))
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59 || hour < 0 || minute < 0 || second < 0)
        return std::nullopt;
    return ToDateTime(date, QTime(hour, minute, second));
}

struct Field {
    std::string_view text;
    bool more = false;  // another field follows
    bool unterminatedQuote = false;
};

// Splits off the next comma-separated field; a field that starts with a
// double quote runs to the closing quote and may hold commas.
Field NextField(std::string_view& rest)
{
    const std::string_view trimmed = Trim(rest);
    std::size_t comma = 0;
    Field field;
    if (!trimmed.empty() && trimmed.front() == '"') {
        const std::size_t close = trimmed.find('"', 1);
        if (close == std::string_view::npos) {
            field.unterminatedQuote = true;
            return field;
        }
        field.text = trimmed.substr(1, close - 1);
        comma = trimmed.find(',', close);
        rest = trimmed;
    } else {
        comma = rest.find(',');
        field.text = rest.substr(0, comma);
    }
    field.more = comma != std::string_view::npos;
    rest = field.more ? rest.substr(comma + 1) : std::string_view{};
    return field;
}

// A known kind shares the dispatcher's own text, which costs no allocation
// per line; an unknown one is copied so that its "Invalid message" says what
// the line said.
QString KindText(std::string_view kind)
{
    for (const MessageKind& entry : messageKinds()) {
        std::size_t i = 0;
        while (i < kind.size() && entry.kind[i] != u'\0' && entry.kind[i] == static_cast<unsigned char>(kind[i]))
            ++i;
        if (i == kind.size() && entry.kind[i] == u'\0')
            return QString::fromRawData(reinterpret_cast<const QChar*>(entry.kind), static_cast<qsizetype>(i));
    }
    return QString::fromLatin1(kind.data(), static_cast<qsizetype>(kind.size()));
}

QString FieldError(const char* name, std::string_view text)
{
    return QStringLiteral("%1 is not a number: \"%2\"")
        .arg(QLatin1String(name), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace

ReplayParse ParseReplayLine(std::string_view line)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#')
        return ReplaySkip{};

    std::string_view rest = trimmed;
    std::string_view fields[6];
    int count = 0;
    for (bool more = true; more; ++count) {
        if (count == 6)
            return ReplayError{QStringLiteral("too many fields")};
        const Field field = NextField(rest);
        if (field.unterminatedQuote)
            return ReplayError{QStringLiteral("a quoted text has no closing quote")};
        fields[count] = field.text;
        more = field.more;
    }
    if (count < 2 || Trim(fields[1]).empty())
        return ReplayError{QStringLiteral("no message kind")};

    const std::optional<TDateTime> time = ParseTime(fields[0]);
    if (!time)
        return ReplayError{QStringLiteral("the time is not \"yyyy-mm-dd hh:mm:ss\": \"%1\"")
                               .arg(QString::fromUtf8(fields[0].data(), static_cast<qsizetype>(fields[0].size())))};

    ReplayLine result;
    TThreadMessage& message = result.message;
    const std::string_view kind = Trim(fields[1]);
    message.Kind = KindText(kind);
    message.Timestamp = *time;
    if (count > 2 && !ParseNumber(fields[2], message.Value1))
        return ReplayError{FieldError("Value1", fields[2])};
    if (count > 3 && !ParseNumber(fields[3], message.Value2))
        return ReplayError{FieldError("Value2", fields[3])};
    if (count > 4 && !ParseNumber(fields[4], message.IntValue))
        return ReplayError{FieldError("IntValue", fields[4])};
    if (count > 5)
        message.TextValue = QString::fromUtf8(fields[5].data(), static_cast<qsizetype>(fields[5].size()));
    return result;
}

}  // namespace brezmor
