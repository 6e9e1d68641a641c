#include "platform/Calendar.h"

#include "support/LoopTest.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class CalendarTest : public LoopTest {};

TEST_F(CalendarTest, PartsAndFormattingFollowThePinnedZone) {
    // 2026-12-12 01:00 UTC is Saturday 09:00 in Shanghai and Friday 20:00 in New York.
    SystemTime instant = std::chrono::sys_days{std::chrono::year{2026} / 12 / 12} + 1h;
    loop().clock().setTimeZone("Asia/Shanghai");
    DateParts parts = Calendar::partsOf(instant);
    EXPECT_EQ(parts.year, 2026);
    EXPECT_EQ(parts.month, 12);
    EXPECT_EQ(parts.day, 12);
    EXPECT_EQ(parts.hour, 9);
    EXPECT_EQ(parts.weekday, 7);
    EXPECT_EQ(Calendar::format(instant, "yyyy.MM.dd HH:mm"), "2026.12.12 09:00");

    DateParts newYork = Calendar::partsOf(instant, "America/New_York");
    EXPECT_EQ(newYork.day, 11);
    EXPECT_EQ(newYork.weekday, 6);
    EXPECT_EQ(Calendar::format(instant, "MM-dd", "America/New_York"), "12-11");
}

TEST_F(CalendarTest, TimeOfRoundTripsAndRollsOverOutOfRangeFields) {
    loop().clock().setTimeZone("Asia/Shanghai");
    DateParts parts{2026, 12, 11, 10, 0, 0, 0};
    SystemTime friday = Calendar::timeOf(parts);
    EXPECT_EQ(Calendar::format(friday, "EEE HH:mm"), "Fri 10:00");
    DateParts overflow{2026, 12, 32, 0, 0, 0, 0};
    EXPECT_EQ(Calendar::format(Calendar::timeOf(overflow), "yyyy-MM-dd"), "2027-01-01");
}

TEST_F(CalendarTest, ParseAcceptsThePatternAndRefusesGarbage) {
    loop().clock().setTimeZone("Asia/Shanghai");
    auto parsed = Calendar::parse("2025-03-04", "yyyy-MM-dd");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(Calendar::format(*parsed, "yyyy.MM.dd"), "2025.03.04");
    EXPECT_FALSE(Calendar::parse("yesterday", "yyyy-MM-dd"));
}

// Formatters are kept between calls: a zone change of the clock, another
// zone or pattern, a failed parse and more formatters than are kept must not
// leak into the next answer.
TEST_F(CalendarTest, KeptFormattersFollowTheZoneAndPatternOfEachCall) {
    SystemTime instant = std::chrono::sys_days{std::chrono::year{2026} / 12 / 12} + 1h;
    loop().clock().setTimeZone("Asia/Shanghai");
    EXPECT_EQ(Calendar::format(instant, "HH:mm"), "09:00");
    loop().clock().setTimeZone("America/New_York");
    EXPECT_EQ(Calendar::format(instant, "HH:mm"), "20:00");
    EXPECT_EQ(Calendar::format(instant, "HH:mm", "Europe/Berlin"), "02:00");
    EXPECT_FALSE(Calendar::parse("2025-02-30", "yyyy-MM-dd"));
    EXPECT_EQ(Calendar::format(*Calendar::parse("2025-03-04", "yyyy-MM-dd"), "yyyy-MM-dd"), "2025-03-04");
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 40; ++i) {
            std::string pattern = "'" + std::to_string(i) + "' HH";
            EXPECT_EQ(Calendar::format(instant, pattern), std::to_string(i) + " 20");
        }
    }
}

}  // namespace
}  // namespace zorlet::test
