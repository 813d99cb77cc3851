#include "core/text_format.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace brezmor {
namespace {

// A decimal number as 0.digits × 10^pointPosition, so pointPosition is the
// count of integer digits when positive. Zero has no digits.
struct DecimalText {
    bool negative = false;
    std::string digits;
    int pointPosition = 0;
};

void StripTrailingZeros(std::string& digits)
{
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
}

DecimalText ShortestDecimal(float value)
{
    // Scientific form, "-5.55e+00": the shortest text that reads back as the
    // same float.
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific);
    DecimalText decimal;
    const char* p = buffer.data();
    if (*p == '-') {
        decimal.negative = true;
        ++p;
    }
    for (; p != result.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            decimal.digits += *p;
    }
    int exponent = 0;
    if (p != result.ptr) {
        ++p;
        if (*p == '+')
            ++p;
        std::from_chars(p, result.ptr, exponent);
    }
    StripTrailingZeros(decimal.digits);
    decimal.pointPosition = exponent + 1;
    return decimal;
}

// Keeps the first keep digits, rounding half away from zero.
DecimalText RoundToDigits(DecimalText decimal, int keep)
{
    if (keep >= static_cast<int>(decimal.digits.size()))
        return decimal;
    if (keep < 0) {
        decimal.digits.clear();
        return decimal;
    }
    const bool roundUp = decimal.digits[static_cast<std::size_t>(keep)] >= '5';
    decimal.digits.resize(static_cast<std::size_t>(keep));
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && decimal.digits[static_cast<std::size_t>(i)] == '9') {
            decimal.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            decimal.digits.insert(decimal.digits.begin(), '1');
            ++decimal.pointPosition;
        } else {
            ++decimal.digits[static_cast<std::size_t>(i)];
        }
    }
    StripTrailingZeros(decimal.digits);
    return decimal;
}

QChar DigitAt(const DecimalText& decimal, int index)
{
    if (index < 0 || index >= static_cast<int>(decimal.digits.size()))
        return u'0';
    return QChar::fromLatin1(decimal.digits[static_cast<std::size_t>(index)]);
}

QString SignOf(const DecimalText& decimal)
{
    // A reading that rounds to zero shows no sign: "-0.0" would suggest frost.
    return decimal.negative && !decimal.digits.empty() ? QStringLiteral("-") : QString();
}

QString FixedText(const DecimalText& decimal, int decimals, QChar decimalSeparator)
{
    QString text = SignOf(decimal);
    if (decimal.pointPosition <= 0 || decimal.digits.empty())
        text += u'0';
    else {
        for (int i = 0; i < decimal.pointPosition; ++i)
            text += DigitAt(decimal, i);
    }
    if (decimals > 0) {
        text += decimalSeparator;
        for (int i = 0; i < decimals; ++i)
            text += DigitAt(decimal, decimal.pointPosition + i);
    }
    return text;
}

QString ExponentText(const DecimalText& decimal, int significantDigits, QChar decimalSeparator)
{
    QString text = SignOf(decimal) + DigitAt(decimal, 0);
    if (significantDigits > 1) {
        text += decimalSeparator;
        for (int i = 1; i < significantDigits; ++i)
            text += DigitAt(decimal, i);
    }
    const int exponent = decimal.pointPosition - 1;
    return text + (exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+"))
        + QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QChar(u'0'));
}

QString TwoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0'));
}

// The length of the run of one format letter starting at index, either case.
qsizetype RunLength(QStringView format, qsizetype index)
{
    const QChar letter = format[index].toLower();
    qsizetype end = index + 1;
    while (end < format.size() && format[end].toLower() == letter)
        ++end;
    return end - index;
}

int TwoDigitsAt(QStringView text, qsizetype index)
{
    const QChar tens = text[index];
    const QChar units = text[index + 1];
    if (tens < u'0' || tens > u'9' || units < u'0' || units > u'9')
        return -1;
    return (tens.unicode() - u'0') * 10 + (units.unicode() - u'0');
}

QString PositionText(double degrees, double limit, int degreeWidth, QChar positive, QChar negative)
{
    const double magnitude = std::isnan(degrees) ? 0.0 : std::min(std::fabs(degrees), limit);
    // Counted in hundredths of a minute so each field is cut from one whole
    // number; the nudge keeps 1.15 (stored as 1.14999...) at 9.00 minutes.
    constexpr double kHundredthsPerDegree = 6000.0;
    constexpr double kBinaryNoise = 1e-6;
    const auto hundredths = static_cast<std::int64_t>(std::floor(magnitude * kHundredthsPerDegree + kBinaryNoise));
    const auto wholeDegrees = hundredths / 6000;
    const auto minutes = hundredths % 6000 / 100;
    const auto hundredthsOfMinute = hundredths % 100;
    return QStringLiteral("%1%2.%3")
               .arg(wholeDegrees, degreeWidth, 10, QChar(u'0'))
               .arg(minutes, 2, 10, QChar(u'0'))
               .arg(hundredthsOfMinute, 2, 10, QChar(u'0'))
        + (degrees < 0 ? negative : positive);
}

}  // namespace

QString ShortestNumberText(float value, QChar decimalSeparator)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    QString text = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    text.replace(u'.', decimalSeparator);
    return text;
}

QString FormatSignificant(float value, int significantDigits, int decimals, QChar decimalSeparator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    significantDigits = std::max(significantDigits, 1);
    decimals = std::max(decimals, 0);

    const DecimalText exact = ShortestDecimal(value);
    const DecimalText significant = RoundToDigits(exact, significantDigits);
    if (significant.pointPosition > significantDigits && !significant.digits.empty())
        return ExponentText(significant, significantDigits, decimalSeparator);
    // One rounding at the coarser place: rounding twice would turn 1.2345 at
    // four digits and two decimals into 1.24.
    const int keep = std::min(significantDigits, exact.pointPosition + decimals);
    return FixedText(RoundToDigits(exact, keep), decimals, decimalSeparator);
}

QString CompassPoint(int bearing)
{
    if (bearing == 0)
        return QStringLiteral("---");
    static constexpr std::array<const char16_t*, 16> kPoints = {
        u"N", u"NNE", u"NE", u"ENE", u"E", u"ESE", u"SE", u"SSE",
        u"S", u"SSW", u"SW", u"WSW", u"W", u"WNW", u"NW", u"NNW"};
    // Hundredths of a degree, so the 11.25-degree half-sector is a whole
    // number; brought into 0..35999 so a negative bearing cannot index
    // before the table.
    const std::int64_t shifted = (static_cast<std::int64_t>(bearing) * 100 + 1125) % 36000;
    const std::int64_t index = ((shifted + 36000) % 36000) / 2250;
    return QString::fromUtf16(kPoints[static_cast<std::size_t>(index)]);
}

QDate DateFromLogText(QStringView ddmmyy)
{
    if (ddmmyy.size() < 8)
        return {};
    const int day = TwoDigitsAt(ddmmyy, 0);
    const int month = TwoDigitsAt(ddmmyy, 3);
    const int shortYear = TwoDigitsAt(ddmmyy, 6);
    if (day < 0 || month < 0 || shortYear < 0)
        return {};
    const int year = shortYear <= 50 ? 2000 + shortYear : 1900 + shortYear;
    return QDate::isValid(year, month, day) ? QDate(year, month, day) : QDate();
}

QString HtmlEncode(QStringView text)
{
    QString encoded;
    encoded.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            encoded += QStringLiteral("&quot;");
            break;
        case u'&':
            encoded += QStringLiteral("&amp;");
            break;
        case u'<':
            encoded += QStringLiteral("&lt;");
            break;
        case u'>':
            encoded += QStringLiteral("&gt;");
            break;
        case u'\u00B0':
            encoded += QStringLiteral("&deg;");
            break;
        default:
            encoded += c;
        }
    }
    return encoded;
}

QString DecimalPoint(QString text)
{
    return text.replace(u',', u'.');
}

QString FormatDateTime(QStringView format, TDateTime moment, const RegionalSettings& regional)
{
    const QDate date = DateOf(moment);
    const QTime time = TimeOf(moment);
    const QLocale& locale = regional.locale;
    QString out;
    // "m" straight after an hour field is minutes, as in "hh:mm".
    bool afterHour = false;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype close = format.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? format.size() : close;
            out += format.mid(i + 1, end - i - 1);
            i = close < 0 ? format.size() : close + 1;
            continue;
        }
        if (c == u'/') {
            out += regional.dateSeparator;
            ++i;
            continue;
        }
        if (c == u':') {
            out += regional.timeSeparator;
            ++i;
            continue;
        }
        const qsizetype run = RunLength(format, i);
        qsizetype used = 1;
        switch (c.toLower().unicode()) {
        case u'd':
            used = std::min<qsizetype>(run, 4);
            if (used == 1)
                out += QString::number(date.day());
            else if (used == 2)
                out += TwoDigits(date.day());
            else
                out += locale.dayName(date.dayOfWeek(), used == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            afterHour = false;
            break;
        case u'm':
            used = std::min<qsizetype>(run, 4);
            if (afterHour && used <= 2)
                out += used == 1 ? QString::number(time.minute()) : TwoDigits(time.minute());
            else if (used == 1)
                out += QString::number(date.month());
            else if (used == 2)
                out += TwoDigits(date.month());
            else
                out += locale.monthName(date.month(), used == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            afterHour = false;
            break;
        case u'y':
            used = std::min<qsizetype>(run, 4);
            out += used <= 2 ? TwoDigits(date.year() % 100)
                             : QStringLiteral("%1").arg(date.year(), 4, 10, QChar(u'0'));
            afterHour = false;
            break;
        case u'h':
            used = std::min<qsizetype>(run, 2);
            out += used == 1 ? QString::number(time.hour()) : TwoDigits(time.hour());
            afterHour = true;
            break;
        case u'n':
            used = std::min<qsizetype>(run, 2);
            out += used == 1 ? QString::number(time.minute()) : TwoDigits(time.minute());
            afterHour = false;
            break;
        case u's':
            used = std::min<qsizetype>(run, 2);
            out += used == 1 ? QString::number(time.second()) : TwoDigits(time.second());
            afterHour = false;
            break;
        case u't':
            used = std::min<qsizetype>(run, 2);
            out += locale.toString(time, used == 1 ? regional.shortTimeFormat : regional.longTimeFormat);
            afterHour = false;
            break;
        default:
            out += c;
        }
        i += used;
    }
    return out;
}

QString FormatTimeHM(TDateTime moment, const RegionalSettings& regional)
{
    return FormatDateTime(u"hh:nn", moment, regional);
}

QString FormatTimeHM(const Clock& clock, const RegionalSettings& regional)
{
    return FormatTimeHM(clock.now(), regional);
}

QString LatitudeText(double latitude)
{
    return PositionText(latitude, 90.0, 2, u'N', u'S');
}

QString LongitudeText(double longitude)
{
    return PositionText(longitude, 180.0, 3, u'E', u'W');
}

TDateTime UtcNow(const Clock& clock)
{
    return clock.utcNow();
}

}  // namespace brezmor
