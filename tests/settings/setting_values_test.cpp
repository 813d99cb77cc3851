#include "settings/setting_values.h"
#include "platform/windows1252.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <bit>
#include <cstdint>
#include <cstring>
#include <random>

namespace brezmor {
namespace {

TEST(SettingsValues, IntegersReadAsTheFileHasAlwaysHeldThem)
{
    struct Case {
        const char* text;
        std::optional<int> expected;
        const char* why;
    };
    const Case cases[] = {
        {"42", 42, "plain decimal"},
        {"-7", -7, "negative decimal"},
        {"+5", 5, "explicit plus sign"},
        {" 12 ", 12, "blanks around the number"},
        {"$1F", 31, "hexadecimal after a dollar"},
        {"0x10", 16, "hexadecimal after 0x"},
        {"0X1a", 26, "prefix and digits in either case"},
        {"-$10", -16, "sign in front of the prefix"},
        {"$FF00000F", -16777201, "hexadecimal covers all 32 bits: a system colour"},
        {"2147483647", 2147483647, "largest int"},
        {"-2147483648", -2147483647 - 1, "smallest int"},
        {"2147483648", std::nullopt, "decimal beyond int"},
        {"4278190095", std::nullopt, "a colour in unsigned decimal is beyond int"},
        {"$100000000", std::nullopt, "hexadecimal beyond 32 bits"},
        {"garbage", std::nullopt, "not a number"},
        {"", std::nullopt, "empty"},
        {"12abc", std::nullopt, "trailing text"},
        {"1.5", std::nullopt, "not whole"},
        {"$", std::nullopt, "prefix without digits"},
        {"0x", std::nullopt, "prefix without digits"},
        {"$-5", std::nullopt, "sign after the prefix"},
        {"0x0x1", std::nullopt, "prefix twice"},
        {"- 5", std::nullopt, "blank between sign and digits"},
        {"١٢", std::nullopt, "digits of another script"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseIniInteger(QString::fromUtf8(c.text)), c.expected) << c.text << ": " << c.why;
}

TEST(SettingsValues, NumbersAreWrittenInTheirShortestFormWithTheRegionalSeparator)
{
    EXPECT_EQ(formatIniSingle(1.1f, u'.'), "1.1");
    EXPECT_EQ(formatIniSingle(1.1f, u','), "1,1");
    EXPECT_EQ(formatIniSingle(950.0f, u','), "950");
    EXPECT_EQ(formatIniSingle(-0.5f, u'.'), "-0.5");
    EXPECT_EQ(formatIniSingle(999.0f, u'.'), "999");
    EXPECT_EQ(formatIniDouble(51.4769, u','), "51,4769");
    EXPECT_EQ(formatIniDouble(0.1, u'.'), "0.1");
    EXPECT_EQ(formatIniDouble(1.0, u'.'), "1");
    EXPECT_EQ(formatIniDouble(-0.0005, u'.'), "-0.0005") << "no exponent for a small longitude";
    EXPECT_EQ(formatIniDouble(0.00001, u'.'), "0.00001");
    EXPECT_EQ(formatIniSingle(123456.5f, u'.'), "123456.5");
    EXPECT_EQ(formatIniDouble(1e15, u','), "1e+15");
    EXPECT_EQ(formatIniDouble(2.5e-6, u','), "2,5e-06");
}

TEST(SettingsValues, EveryFiniteNumberReadsBackBitForBit)
{
    std::mt19937 random(20260329);
    for (const QChar separator : {QChar(u'.'), QChar(u',')}) {
        for (int i = 0; i < 20000; ++i) {
            const auto single = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
            if (std::isfinite(single)) {
                const QString text = formatIniSingle(single, separator);
                const std::optional<float> back = parseIniSingle(text, separator);
                ASSERT_TRUE(back) << text.toStdString();
                EXPECT_EQ(std::bit_cast<std::uint32_t>(*back), std::bit_cast<std::uint32_t>(single))
                    << text.toStdString();
            }
            const auto wide = std::bit_cast<double>((std::uint64_t{random()} << 32) | random());
            if (std::isfinite(wide)) {
                const QString text = formatIniDouble(wide, separator);
                const std::optional<double> back = parseIniDouble(text, separator);
                ASSERT_TRUE(back) << text.toStdString();
                EXPECT_EQ(std::bit_cast<std::uint64_t>(*back), std::bit_cast<std::uint64_t>(wide))
                    << text.toStdString();
            }
        }
    }
}

TEST(SettingsValues, NumberTextsThatAreNotNumbersYieldNothing)
{
    struct Case {
        const char* text;
        QChar separator;
        std::optional<double> expected;
        const char* why;
    };
    const Case cases[] = {
        {"2.5", u'.', 2.5, "regional point"},
        {"2,5", u',', 2.5, "regional comma"},
        {"2.5", u',', 2.5, "a file from a point locale still reads under a comma locale"},
        {"+3", u'.', 3.0, "explicit plus sign"},
        {" 1e3 ", u'.', 1000.0, "exponent, blanks around"},
        {"", u'.', std::nullopt, "empty"},
        {"abc", u'.', std::nullopt, "not a number"},
        {"2,5", u'.', std::nullopt, "comma is not the separator here"},
        {"1.234,5", u',', std::nullopt, "thousands separators are not written, so not read"},
        {"1.1.1", u'.', std::nullopt, "two separators"},
        {"nan", u'.', std::nullopt, "not finite"},
        {"inf", u'.', std::nullopt, "not finite"},
        {"1e999", u'.', std::nullopt, "beyond double"},
        {"0x10", u'.', std::nullopt, "hexadecimal is for integers only"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseIniDouble(QString::fromLatin1(c.text), c.separator), c.expected) << c.text << ": " << c.why;
        const std::optional<float> single = parseIniSingle(QString::fromLatin1(c.text), c.separator);
        EXPECT_EQ(single.has_value(), c.expected.has_value()) << c.text << ": " << c.why;
    }
    EXPECT_FALSE(parseIniSingle(u"1e39", u'.')) << "beyond float";
}

TEST(SettingsValues, DateTimesFollowTheRegionalFormats)
{
    struct Case {
        QLocale locale;
        TDateTime moment;
        const char* text;
        const char* why;
    };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedKingdom), EncodeDateTime(2025, 6, 15, 14, 30, 5),
         "15/06/2025 14:30:05", "short date, space, long time"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), EncodeDateTime(2025, 6, 15), "15/06/2025",
         "time left out at exactly midnight"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), EncodeDateTime(2026, 3, 29, 1, 30),
         "29/03/2026 01:30:00", "in the hour skipped when the clocks go forward in London"},
        {QLocale(QLocale::German, QLocale::Germany), EncodeDateTime(2025, 12, 31, 23, 59, 59),
         "31.12.2025 23:59:59", "German formats"},
        {QLocale(QLocale::English, QLocale::UnitedStates), EncodeDateTime(2025, 7, 4, 15, 4, 3),
         "7/4/2025 3:04:03 PM", "month first, twelve-hour clock"},
    };
    for (const Case& c : cases) {
        const RegionalSettings regional = RegionalSettings::fromLocale(c.locale);
        EXPECT_EQ(formatIniDateTime(c.moment, regional), QString::fromLatin1(c.text)) << c.why;
        const std::optional<TDateTime> back = parseIniDateTime(QString::fromLatin1(c.text), regional);
        ASSERT_TRUE(back) << c.why;
        EXPECT_NEAR(*back, c.moment, 1e-9) << c.why;
    }
}

TEST(SettingsValues, DateTimeTextsThatAreNotDatesYieldNothing)
{
    const RegionalSettings regional = RegionalSettings::fromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_NEAR(parseIniDateTime(u"15/06/2025 14:30", regional).value(), EncodeDateTime(2025, 6, 15, 14, 30), 1e-9)
        << "a time without seconds is still a time";
    for (const char* text : {"", "yesterday", "31/02/2026", "29/03/2026 25:00:00", "29/03/2026 noon", "2026-03-29"})
        EXPECT_FALSE(parseIniDateTime(QString::fromLatin1(text), regional)) << text;
}

TEST(SettingsValues, TextIsWindows1252)
{
    QByteArray everyPrintable;
    for (int byte = 0x20; byte <= 0xFF; ++byte)
        everyPrintable += static_cast<char>(byte);
    EXPECT_EQ(toWindows1252(fromWindows1252(everyPrintable)), everyPrintable)
        << "a hand-typed byte comes back as it was";

    EXPECT_EQ(fromWindows1252("\x80 caf\xE9"), QString::fromUtf8("€ café"));
    EXPECT_EQ(toWindows1252(QString::fromUtf8("€ café")), QByteArray("\x80 caf\xE9"));
    EXPECT_EQ(toWindows1252(QString::fromUtf8("Łódź 😀")), QByteArray("?\xF3" "d? ?"))
        << "characters the code page lacks, including one outside the BMP, become one ? each";
    EXPECT_EQ(toWindows1252(u"\x1A\u0141"), QByteArray("\x1A?")) << "a real control character 0x1A stays";
}

}  // namespace
}  // namespace brezmor
