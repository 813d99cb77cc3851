#include "platform/regional.h"

namespace brezmor {
namespace {

// The first character of a date or time pattern that is not a format letter
// is the separator the locale uses.
QChar FirstSeparator(const QString& pattern, QChar fallback)
{
    for (const QChar c : pattern) {
        if (!c.isLetter() && c != u'\'' && !c.isSpace())
            return c;
    }
    return fallback;
}

}  // namespace

RegionalSettings RegionalSettings::fromLocale(const QLocale& locale)
{
    RegionalSettings r;
    r.locale = locale;
    const QString decimal = locale.decimalPoint();
    r.decimalSeparator = decimal.isEmpty() ? QChar(u'.') : decimal.front();
    r.listSeparator = r.decimalSeparator == u',' ? QChar(u';') : QChar(u',');
    r.shortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    // Two-digit years in short dates make 2049 and 1951 ambiguous; the system
    // always showed four, so widen a locale's "yy" to "yyyy".
    if (!r.shortDateFormat.contains(QStringLiteral("yyyy")))
        r.shortDateFormat.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    r.longTimeFormat = locale.timeFormat(QLocale::LongFormat);
    r.shortTimeFormat = locale.timeFormat(QLocale::ShortFormat);
    r.dateSeparator = FirstSeparator(r.shortDateFormat, u'/');
    r.timeSeparator = FirstSeparator(r.shortTimeFormat, u':');
    // Long time formats carry a zone name ("HH:mm:ss t") that does not read back.
    r.longTimeFormat.remove(QStringLiteral(" t")).remove(QStringLiteral("t"));
    r.longTimeFormat = r.longTimeFormat.trimmed();
    return r;
}

RegionalSettings RegionalSettings::fromSystem()
{
    return fromLocale(QLocale::system());
}

}  // namespace brezmor
