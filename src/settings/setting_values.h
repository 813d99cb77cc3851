#pragma once

#include "platform/datetime.h"
#include "platform/regional.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace brezmor {

// The value texts of the settings file. Numbers and dates follow the user's
// regional settings, as they always have, so a file is read back under the
// locale it was written in.

// A decimal integer, or a hexadecimal one after "$" or "0x", with an optional
// sign in front. Hexadecimal covers all 32 bits, so "$FF00000F" reads as the
// system colour -16777201 that the file holds in decimal.
[[nodiscard]] std::optional<int> parseIniInteger(QStringView text);

// Decimal numbers with the regional decimal separator. A "." is accepted too,
// so a file written under another locale still reads.
[[nodiscard]] std::optional<float> parseIniSingle(QStringView text, QChar decimalSeparator);
[[nodiscard]] std::optional<double> parseIniDouble(QStringView text, QChar decimalSeparator);

// The shortest text that reads back as the same value: a float 1.1 is "1.1"
// rather than the "1.10000002384186" of its widened double, and 950 is "950".
// Values from 0.00001 up to 10^15 are written without an exponent
// ("-0.0005"), others with one ("1e+20").
[[nodiscard]] QString formatIniSingle(float value, QChar decimalSeparator);
[[nodiscard]] QString formatIniDouble(double value, QChar decimalSeparator);

// The regional short date, a space and the long time; the time is left out
// at exactly midnight.
[[nodiscard]] QString formatIniDateTime(TDateTime moment, const RegionalSettings& regional);
[[nodiscard]] std::optional<TDateTime> parseIniDateTime(QStringView text, const RegionalSettings& regional);
[[nodiscard]] QString shortDateText(TDateTime moment, const RegionalSettings& regional);


}  // namespace brezmor
