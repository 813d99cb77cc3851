#pragma once

#include "platform/clock.h"
#include "platform/datetime.h"
#include "platform/regional.h"

#include <QChar>
#include <QDate>
#include <QString>
#include <QStringView>

namespace brezmor {

// Fixed-point text of a reading: rounded (half away from zero) to whichever
// is coarser, the given number of significant digits or the given decimals,
// then shown with exactly that many decimals, so 123.45 at 3 significant
// digits and 1 decimal reads "123.0". A value whose integer part needs more
// digits than the significant digits allow is shown in exponent form
// ("1.23E+03"). Rounding works on the shortest decimal text of the float, so
// 5.55f is the 5.55 the station sent and a half there always rounds up.
// Non-finite values read "NAN", "INF" and "-INF".
[[nodiscard]] QString FormatSignificant(float value, int significantDigits, int decimals, QChar decimalSeparator);

// The shortest plain decimal text (never an exponent) that reads back as the
// same float, with the given decimal separator: "1.1", not
// "1.10000002384186". The state files and the program log's rain figures.
[[nodiscard]] QString ShortestNumberText(float value, QChar decimalSeparator);

// "N", "NNE", ... for a bearing in degrees; "---" for 0, which means no
// direction.
[[nodiscard]] QString CompassPoint(int bearing);

// The date of a data-log "dd/mm/yy" text; a two-digit year of 50 or less is
// 20yy, above 50 is 19yy. Any separator is accepted, as the regional date
// separator varies. Text that is too short, not digits or not a real date
// gives an invalid QDate.
[[nodiscard]] QDate DateFromLogText(QStringView ddmmyy);

// Escapes the characters that would break a web page or an attribute value:
// '"', '&', '<', '>' and the degree sign.
[[nodiscard]] QString HtmlEncode(QStringView text);

// Files and uploads want a decimal point whatever the locale.
[[nodiscard]] QString DecimalPoint(QString text);

// Date-time text from format letters:
//   d dd ddd dddd   day, two-digit day, short and full day name
//   m mm mmm mmmm   month, two-digit month, short and full month name;
//                   m and mm after h or hh (separators and literals between
//                   allowed) are minutes instead
//   yy yyyy         two- and four-digit year
//   h hh            hour, two-digit hour (00-23)
//   n nn  s ss      minutes and seconds, plain and two-digit
//   t tt            the regional short and long time
//   / :             the regional date and time separators
//   "..." '...'     literal text
// Letters are read in either case; every other character is copied.
[[nodiscard]] QString FormatDateTime(QStringView format, TDateTime moment, const RegionalSettings& regional);

// "hh:nn" with the regional time separator: the time kept with every extreme.
[[nodiscard]] QString FormatTimeHM(TDateTime moment, const RegionalSettings& regional);
[[nodiscard]] QString FormatTimeHM(const Clock& clock, const RegionalSettings& regional);

// Position texts for APRS packets: "DDMM.hhN" and "DDDMM.hhE", each field cut
// rather than rounded, so 59.999 minutes never turns into 60. Out-of-range
// values are held at the poles and at 180 degrees.
[[nodiscard]] QString LatitudeText(double latitude);
[[nodiscard]] QString LongitudeText(double longitude);

[[nodiscard]] TDateTime UtcNow(const Clock& clock);

}  // namespace brezmor
