#include "model/DeepCopy.h"
#include "model/EmptyText.h"
#include "model/HexBytes.h"
#include "model/RelativeTime.h"
#include "model/User.h"

#include "PinnedClock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace zorlet {
namespace {

using namespace std::chrono_literals;
using test::PinnedClock;

TEST(EmptyText, OnlyNothingNullAndTheEmptyTextAreEmpty) {
    EXPECT_TRUE(isEmpty(""));
    EXPECT_TRUE(isEmpty(std::string()));
    EXPECT_TRUE(isEmpty(static_cast<const char*>(nullptr)));
    EXPECT_TRUE(isEmpty(std::optional<std::string>()));
    EXPECT_TRUE(isEmpty(Json()));
    EXPECT_TRUE(isEmpty(Json("")));
    EXPECT_FALSE(isEmpty(" "));
    EXPECT_FALSE(isEmpty(Json(" ")));
    EXPECT_FALSE(isEmpty(Json(0)));
    EXPECT_TRUE(isNotEmpty(std::optional<std::string>("x")));
    EXPECT_FALSE(isNotEmpty(Json()));
}

TEST(HexBytes, UpperCaseWithoutSeparators) {
    EXPECT_EQ(stringWithHexBytes(std::string("\x0A\xFF", 2)), "0AFF");
    EXPECT_EQ(stringWithHexBytes(std::string("\x00\x01\x7f\x80", 4)), "00017F80");
    EXPECT_EQ(stringWithHexBytes(""), "");
}

TEST(DeepCopy, ValueListsAndRecordLists) {
    std::vector<double> values{1, 2};
    auto copied = trueDeepCopy(values);
    copied[0] = 5;
    EXPECT_EQ(values[0], 1);

    auto user = std::make_shared<User>();
    user->uid = 3;
    std::vector<UserPtr> users{user, nullptr};
    auto copies = trueDeepCopy(users);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_NE(copies[0], user);
    EXPECT_EQ(copies[0]->uid, 3);
    EXPECT_EQ(copies[1], nullptr);
}

TEST(ShowBefore, EveryStep) {
    PinnedClock clock({.year = 2012, .month = 12, .day = 20, .hour = 15, .minute = 30});
    SystemTime now = PinnedClock::now();
    struct Case {
        std::chrono::duration<double> ago;
        const char* expected;
    };
    const Case cases[] = {
        {-5s, "0秒前"},   {0s, "0秒前"},       {0.5s, "0秒前"},       {59.9s, "59秒前"},
        {60s, "1分钟前"}, {3599s, "59分钟前"}, {3600s, "1小时前"},    {23h + 59min, "23小时前"},
        {24h, "昨天"},    {30h, "昨天"},       {47h + 59min, "昨天"}, {48h, "前天"},
        {50h, "前天"},    {72h, "12-17"},      {80h, "12-17"},
    };
    for (const auto& c : cases) {
        auto date = now - std::chrono::duration_cast<SystemTime::duration>(c.ago);
        EXPECT_EQ(showBefore(date), c.expected) << c.ago.count();
    }
    // Another year shows the year; dates are those of the clock's zone.
    auto lastYear = Calendar::timeOf({.year = 2011, .month = 12, .day = 4, .hour = 1}, "Asia/Shanghai");
    EXPECT_EQ(showBefore(lastYear), "2011-12-04");
}

TEST(ShowBefore, CalendarYearOfTheZone) {
    // 2013-01-01 00:30 in Shanghai; four days earlier it was still 2012 there.
    PinnedClock clock({.year = 2013, .month = 1, .day = 1, .minute = 30});
    EXPECT_EQ(showBefore(PinnedClock::now() - std::chrono::hours(96)), "2012-12-28");
    EXPECT_EQ(showBefore(PinnedClock::now() - std::chrono::hours(48)), "前天");
}

}  // namespace
}  // namespace zorlet
