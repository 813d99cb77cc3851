#include "platform/datetime.h"

#include <gtest/gtest.h>

namespace brezmor {
namespace {

TEST(DateTime, RoundTripsThroughTheDayCount)
{
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1900, 1, 1, 12), 2.5);
    const TDateTime moment = EncodeDateTime(2026, 3, 29, 9, 59, 59, 999);
    EXPECT_EQ(DateOf(moment), QDate(2026, 3, 29));
    EXPECT_EQ(TimeOf(moment), QTime(9, 59, 59, 999));
    EXPECT_EQ(MinuteOfDay(EncodeDateTime(2026, 1, 1, 12, 0)), 720);
    EXPECT_EQ(DateOf(EncodeDateTime(1899, 12, 29, 18)), QDate(1899, 12, 29));
}

}  // namespace
}  // namespace brezmor
