#include "core/text_format.h"

#include <gtest/gtest.h>

#include <limits>

namespace brezmor {
namespace {

RegionalSettings German()
{
    return RegionalSettings::fromLocale(QLocale(QLocale::German, QLocale::Germany));
}

TEST(TextFormatSignificant, RoundsOnceAtTheCoarserPlace)
{
    struct Case {
        const char* why;
        float value;
        int significant;
        int decimals;
        const char* expected;
    };
    const Case cases[] = {
        {"decimals bind before the significant digits", 1.2345f, 4, 2, "1.23"},
        {"significant digits bind before the decimals", 123.45f, 3, 1, "123.0"},
        {"float just below a half still rounds as the text reads", 5.45f, 3, 1, "5.5"},
        {"the other half case of the same kind", 5.55f, 3, 1, "5.6"},
        {"negative half rounds away from zero", -2.25f, 3, 1, "-2.3"},
        {"rounding carries into a new integer digit", 99.96f, 6, 1, "100.0"},
        {"rounding carries past the significant digits", 999.5f, 3, 1, "1.00E+03"},
        {"large value in exponent form", 1.0e10f, 6, 2, "1.00000E+10"},
        {"negative large value in exponent form", -12345.0f, 3, 1, "-1.23E+04"},
        {"a single significant digit has no separator in the exponent form", 250.0f, 1, 0, "3E+02"},
        {"no decimals shows no separator", 12.5f, 3, 0, "13"},
        {"a small half rounds up to the first decimal", 0.05f, 3, 1, "0.1"},
        {"too small for the decimals", 0.0049f, 5, 2, "0.00"},
        {"zero", 0.0f, 3, 2, "0.00"},
        {"negative zero shows no sign", -0.0f, 3, 1, "0.0"},
        {"integer digits equal to significant digits stay fixed", 999.0f, 3, 1, "999.0"},
        {"not a number", std::numeric_limits<float>::quiet_NaN(), 3, 1, "NAN"},
        {"negative infinity", -std::numeric_limits<float>::infinity(), 3, 1, "-INF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(FormatSignificant(c.value, c.significant, c.decimals, u'.'), QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(FormatSignificant(-3.14159f, 4, 2, u','), QStringLiteral("-3,14"));
}

TEST(TextFormatCompass, SixteenPointsWithNorthAroundZero)
{
    struct Case {
        int bearing;
        const char* expected;
    };
    const Case cases[] = {
        {0, "---"},   // no direction
        {360, "N"},   {1, "N"},     {11, "N"},     {12, "NNE"},  {33, "NNE"},  {34, "NE"},
        {90, "E"},    {180, "S"},   {270, "W"},    {348, "NNW"}, {349, "N"},   {337, "NNW"},
        {-10, "N"},   // a negative bearing reads as its positive equivalent
        {-30, "NNW"}, {720, "N"},   {450, "E"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompassPoint(c.bearing), QString::fromUtf8(c.expected)) << c.bearing;
    EXPECT_FALSE(CompassPoint(std::numeric_limits<int>::min()).isEmpty());
    EXPECT_FALSE(CompassPoint(std::numeric_limits<int>::max()).isEmpty());
}

TEST(TextFormatLogDate, ReadsDayMonthAndCenturyWindow)
{
    struct Case {
        const char* why;
        const char* text;
        QDate expected;
    };
    const Case cases[] = {
        {"ordinary date", "05/03/26", QDate(2026, 3, 5)},
        {"50 belongs to this century", "31/12/50", QDate(2050, 12, 31)},
        {"51 belongs to the last century", "01/01/51", QDate(1951, 1, 1)},
        {"00 is 2000", "29/02/00", QDate(2000, 2, 29)},
        {"any regional separator", "05.03.26", QDate(2026, 3, 5)},
        {"the rest of a log line is ignored", "05/03/26,14:07,12.3", QDate(2026, 3, 5)},
        {"empty text", "", QDate()},
        {"short text", "05/03/2", QDate()},
        {"letters in the day", "a5/03/26", QDate()},
        {"letters in the year", "05/03/2x", QDate()},
        {"signs are not digits", "-5/03/26", QDate()},
        {"month 13 does not exist", "05/13/26", QDate()},
        {"no 29 February in 2025", "29/02/25", QDate()},
        {"day zero does not exist", "00/03/26", QDate()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(DateFromLogText(QString::fromUtf8(c.text)), c.expected);
    }
}

TEST(TextFormatHtml, EncodesMarkupCharactersOnly)
{
    EXPECT_EQ(HtmlEncode(QString::fromUtf8("<b>12°C & \"dry\"</b>")),
              QStringLiteral("&lt;b&gt;12&deg;C &amp; &quot;dry&quot;&lt;/b&gt;"));
    EXPECT_EQ(HtmlEncode(u"it's fine"), QStringLiteral("it's fine"));
    EXPECT_EQ(HtmlEncode(QString::fromUtf8("Zürich ± 1")), QString::fromUtf8("Zürich ± 1"));
    EXPECT_EQ(HtmlEncode(u""), QString());
}

TEST(TextFormatDecimalPoint, ReplacesEveryComma)
{
    EXPECT_EQ(DecimalPoint(QStringLiteral("12,3;1013,25,0")), QStringLiteral("12.3;1013.25.0"));
    EXPECT_EQ(DecimalPoint(QStringLiteral("12.3")), QStringLiteral("12.3"));
}

TEST(TextFormatDateTime, FormatLettersWithRegionalSeparators)
{
    // Thursday 5 March 2026, 14:07:09; and an early hour for the short forms.
    const TDateTime afternoon = EncodeDateTime(2026, 3, 5, 14, 7, 9);
    const TDateTime morning = EncodeDateTime(2026, 11, 23, 9, 5, 3);
    struct Case {
        const char* why;
        const char* format;
        TDateTime moment;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {"data log date", "dd/mm/yy", afternoon, "05/03/26", "05.03.26"},
        {"data log time", "hh:nn", afternoon, "14:07", "14:07"},
        {"mm after hh is minutes", "hh:mm", afternoon, "14:07", "14:07"},
        {"m after h with a literal between is minutes", "h\"h\"m", morning, "9h5", "9h5"},
        {"m after a date field is a month again", "hh:mm dd/mm", afternoon, "14:07 05/03", "14:07 05.03"},
        {"record date text", "t \"on\" dd mmmm yyyy", afternoon, "14:07 on 05 March 2026",
         "14:07 on 05 März 2026"},
        {"month heading", "mmmm yyyy", morning, "November 2026", "November 2026"},
        {"short names", "ddd d mmm", afternoon, "Thu 5 Mar", "Do. 5 März"},
        {"full day name", "dddd", morning, "Monday", "Montag"},
        {"single letters drop leading zeros", "d/m/yy h:n:s", morning, "23/11/26 9:5:3", "23.11.26 9:5:3"},
        {"two-letter fields keep them", "hh:nn:ss", morning, "09:05:03", "09:05:03"},
        {"letters in either case", "DD/MM/YYYY HH:NN", morning, "23/11/2026 09:05", "23.11.2026 09:05"},
        {"single-quoted literal", "'at' hh:nn", morning, "at 09:05", "at 09:05"},
        {"unterminated literal runs to the end", "yyyy \"dd", morning, "2026 dd", "2026 dd"},
        {"other characters are copied", "yyyy-mm-dd", morning, "2026-11-23", "2026-11-23"},
    };
    const RegionalSettings english;
    const RegionalSettings german = German();
    ASSERT_EQ(german.dateSeparator, QChar(u'.'));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(c.format), c.moment, english), QString::fromUtf8(c.english));
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(c.format), c.moment, german), QString::fromUtf8(c.german));
    }
}

TEST(TextFormatDateTime, TimeOfExtremesUsesTheRegionalTimeSeparator)
{
    RegionalSettings dotted;
    dotted.timeSeparator = u'.';
    const TDateTime moment = EncodeDateTime(2026, 6, 1, 7, 3, 59);
    EXPECT_EQ(FormatTimeHM(moment, RegionalSettings{}), QStringLiteral("07:03"));
    EXPECT_EQ(FormatTimeHM(moment, dotted), QStringLiteral("07.03"));
    const SimulatedClock clock(EncodeDateTime(2026, 6, 1, 23, 59, 0));
    EXPECT_EQ(FormatTimeHM(clock, RegionalSettings{}), QStringLiteral("23:59"));
}

TEST(TextFormatPosition, AprsDegreesMinutesAndHundredthsAreCut)
{
    struct Case {
        const char* why;
        double degrees;
        const char* latitude;
        const char* longitude;
    };
    const Case cases[] = {
        {"north and east", 51.5, "5130.00N", "05130.00E"},
        {"just west of the meridian", -0.1275, "0007.65S", "00007.65W"},
        {"south and west", -33.8688, "3352.12S", "03352.12W"},
        {"hundredths are cut, not rounded", 10.99999, "1059.99N", "01059.99E"},
        {"binary noise does not lose a hundredth", 1.15, "0109.00N", "00109.00E"},
        {"three-digit longitude", 151.2093, "9000.00N", "15112.55E"},
        {"the equator and the meridian", 0.0, "0000.00N", "00000.00E"},
        {"beyond the pole is held at the pole", -95.0, "9000.00S", "09500.00W"},
        {"beyond the date line is held at it", 200.0, "9000.00N", "18000.00E"},
        {"not a number reads as zero", std::numeric_limits<double>::quiet_NaN(), "0000.00N", "00000.00E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(LatitudeText(c.degrees), QString::fromUtf8(c.latitude));
        EXPECT_EQ(LongitudeText(c.degrees), QString::fromUtf8(c.longitude));
    }
}

TEST(TextFormatUtc, SubtractsTheZoneOffsetOfTheMoment)
{
    // The test program runs with TZ=Europe/London.
    const SimulatedClock winter(EncodeDateTime(2026, 1, 15, 12, 0));
    EXPECT_NEAR(UtcNow(winter), EncodeDateTime(2026, 1, 15, 12, 0), 1e-9);
    const SimulatedClock summer(EncodeDateTime(2026, 7, 15, 0, 30));
    EXPECT_NEAR(UtcNow(summer), EncodeDateTime(2026, 7, 14, 23, 30), 1e-9);
}

}  // namespace
}  // namespace brezmor
