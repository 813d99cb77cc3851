#include "replay_file.h"

#include <gtest/gtest.h>

namespace brezmor {
namespace {

TEST(ReplayFile, ReadsTheFieldsOfALine)
{
    struct Case {
        const char* why;
        const char* line;
        const char* kind;
        float value1;
        float value2;
        int intValue;
        const char* text;
    };
    const Case cases[] = {
        {"one value", "2026-01-15 08:59:00,outtemp,4.2", "outtemp", 4.2f, 0, 0, ""},
        {"empty fields are zero", "2026-01-15 08:59:00,outhum,,,87", "outhum", 0, 0, 87, ""},
        {"wind with all numbers", "2026-01-15 08:59:00,wind,3.4,2.1,270", "wind", 3.4f, 2.1f, 270, ""},
        {"negative rate", "2026-01-15 08:59:00,rain,123.4,-1", "rain", 123.4f, -1, 0, ""},
        {"quoted text", "2026-01-15 08:59:00,forecast,,,,\"Fine weather\"", "forecast", 0, 0, 0, "Fine weather"},
        {"quoted text with a comma", "2026-01-15 08:59:00,forecast,,,,\"Fine, dry\"", "forecast", 0, 0, 0,
         "Fine, dry"},
        {"plain text", "2026-01-15 08:59:00,txbat,,,,ok", "txbat", 0, 0, 0, "ok"},
        {"CR LF line end", "2026-01-15 08:59:00,pressure,1013.2\r", "pressure", 1013.2f, 0, 0, ""},
    };
    for (const Case& c : cases) {
        const ReplayParse parsed = ParseReplayLine(c.line);
        const auto* line = std::get_if<ReplayLine>(&parsed);
        ASSERT_NE(line, nullptr) << c.why;
        EXPECT_EQ(line->message.Kind, QLatin1String(c.kind)) << c.why;
        EXPECT_FLOAT_EQ(line->message.Value1, c.value1) << c.why;
        EXPECT_FLOAT_EQ(line->message.Value2, c.value2) << c.why;
        EXPECT_EQ(line->message.IntValue, c.intValue) << c.why;
        EXPECT_EQ(line->message.TextValue, QString::fromUtf8(c.text)) << c.why;
        EXPECT_DOUBLE_EQ(line->message.Timestamp, EncodeDateTime(2026, 1, 15, 8, 59)) << c.why;
    }
}

TEST(ReplayFile, SkipsCommentsAndEmptyLines)
{
    for (const char* line : {"", "   ", "# a comment", "\r"})
        EXPECT_TRUE(std::holds_alternative<ReplaySkip>(ParseReplayLine(line))) << line;
}

TEST(ReplayFile, SaysWhatIsWrongWithABadLine)
{
    struct Case {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"2026-01-15 08:59,outtemp,4.2", "the time is not"},
        {"2026-02-30 08:59:00,outtemp,4.2", "the time is not"},
        {"2026-01-15 08:59:00", "no message kind"},
        {"2026-01-15 08:59:00,outtemp,warm", "Value1 is not a number"},
        {"2026-01-15 08:59:00,outhum,,,87.5", "IntValue is not a number"},
        {"2026-01-15 08:59:00,forecast,,,,\"Fine", "no closing quote"},
        {"2026-01-15 08:59:00,wind,1,2,3,x,extra", "too many fields"},
    };
    for (const Case& c : cases) {
        const ReplayParse parsed = ParseReplayLine(c.line);
        const auto* error = std::get_if<ReplayError>(&parsed);
        ASSERT_NE(error, nullptr) << c.line;
        EXPECT_TRUE(error->what.contains(QLatin1String(c.message))) << c.line << ": " << error->what.toStdString();
    }
}

}  // namespace
}  // namespace brezmor
