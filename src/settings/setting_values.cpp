#include "settings/setting_values.h"

#include <QStringList>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace brezmor {
namespace {

constexpr std::uint64_t kMaxHexMagnitude = 0xFFFFFFFFu;
constexpr std::uint64_t kMaxPositiveDecimal = 2147483647u;
constexpr std::uint64_t kMaxNegativeDecimal = 2147483648u;

// Whole-text parse into an unsigned magnitude; from_chars itself accepts no
// sign, prefix or blank, so "$-5" and "0x0x1" are refused.
std::optional<std::uint64_t> parseMagnitude(QStringView digits, int base)
{
    if (digits.isEmpty())
        return std::nullopt;
    const QByteArray latin = digits.toLatin1();
    std::uint64_t magnitude = 0;
    const char* const end = latin.constData() + latin.size();
    const auto [stop, error] = std::from_chars(latin.constData(), end, magnitude, base);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return magnitude;
}

template <typename Real>
std::optional<Real> parseReal(QStringView text, QChar decimalSeparator)
{
    QString normalised = text.trimmed().toString();
    normalised.replace(decimalSeparator, u'.');
    if (normalised.startsWith(u'+'))
        normalised.remove(0, 1);
    if (normalised.isEmpty())
        return std::nullopt;
    const QByteArray latin = normalised.toLatin1();
    Real value{};
    const char* const end = latin.constData() + latin.size();
    const auto [stop, error] = std::from_chars(latin.constData(), end, value, std::chars_format::general);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

template <typename Real>
QString formatReal(Real value, QChar decimalSeparator)
{
    // Plain decimals as far as they are readable; exponents only for the
    // very small and the very large, as the file has always had them.
    const Real magnitude = std::abs(value);
    const bool plain = magnitude == Real(0) || (magnitude >= Real(1e-5) && magnitude < Real(1e15));
    const std::chars_format format = plain ? std::chars_format::fixed : std::chars_format::scientific;
    std::array<char, 400> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format);
    Q_ASSERT(error == std::errc());
    QString text = QString::fromLatin1(buffer.data(), end - buffer.data());
    text.replace(u'.', decimalSeparator);
    return text;
}

}  // namespace

std::optional<int> parseIniInteger(QStringView text)
{
    QStringView rest = text.trimmed();
    bool negative = false;
    if (!rest.isEmpty() && (rest.front() == u'-' || rest.front() == u'+')) {
        negative = rest.front() == u'-';
        rest = rest.mid(1);
    }
    if (rest.startsWith(u'$') || rest.startsWith(u"0x", Qt::CaseInsensitive)) {
        const auto magnitude = parseMagnitude(rest.mid(rest.front() == u'$' ? 1 : 2), 16);
        if (!magnitude || *magnitude > kMaxHexMagnitude)
            return std::nullopt;
        std::uint32_t bits = static_cast<std::uint32_t>(*magnitude);
        if (negative)
            bits = 0u - bits;
        return static_cast<int>(bits);
    }
    const auto magnitude = parseMagnitude(rest, 10);
    if (!magnitude || *magnitude > (negative ? kMaxNegativeDecimal : kMaxPositiveDecimal))
        return std::nullopt;
    const auto value = static_cast<std::int64_t>(*magnitude);
    return static_cast<int>(negative ? -value : value);
}

std::optional<float> parseIniSingle(QStringView text, QChar decimalSeparator)
{
    return parseReal<float>(text, decimalSeparator);
}

std::optional<double> parseIniDouble(QStringView text, QChar decimalSeparator)
{
    return parseReal<double>(text, decimalSeparator);
}

QString formatIniSingle(float value, QChar decimalSeparator)
{
    return formatReal(value, decimalSeparator);
}

QString formatIniDouble(double value, QChar decimalSeparator)
{
    return formatReal(value, decimalSeparator);
}

QString formatIniDateTime(TDateTime moment, const RegionalSettings& regional)
{
    const QString date = shortDateText(moment, regional);
    const QTime time = TimeOf(moment);
    if (time.msecsSinceStartOfDay() == 0)
        return date;
    return date + u' ' + regional.locale.toString(time, regional.longTimeFormat);
}

std::optional<TDateTime> parseIniDateTime(QStringView text, const RegionalSettings& regional)
{
    // Date and time are read apart, not as one local date-time, so that a
    // moment in the hour skipped when the clocks go forward is not shifted.
    const QStringList words = text.toString().split(u' ', Qt::SkipEmptyParts);
    const qsizetype dateWords = regional.shortDateFormat.split(u' ', Qt::SkipEmptyParts).size();
    if (words.isEmpty() || words.size() < dateWords)
        return std::nullopt;
    const QDate date = regional.locale.toDate(words.mid(0, dateWords).join(u' '), regional.shortDateFormat);
    if (!date.isValid())
        return std::nullopt;
    if (words.size() == dateWords)
        return ToDateTime(date);
    const QString timeText = words.mid(dateWords).join(u' ');
    QTime time = regional.locale.toTime(timeText, regional.longTimeFormat);
    if (!time.isValid())
        time = regional.locale.toTime(timeText, regional.shortTimeFormat);
    if (!time.isValid())
        return std::nullopt;
    return ToDateTime(date, time);
}

QString shortDateText(TDateTime moment, const RegionalSettings& regional)
{
    return regional.locale.toString(DateOf(moment), regional.shortDateFormat);
}

}  // namespace brezmor
