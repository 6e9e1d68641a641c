#include "AppTestSupport.h"

#include "platform/Calendar.h"

namespace zorlet::test {
namespace {

constexpr const char* kZone = "Asia/Shanghai";

SystemTime at(int year, int month, int day, int hour, int minute) {
    DateParts parts;
    parts.year = year;
    parts.month = month;
    parts.day = day;
    parts.hour = hour;
    parts.minute = minute;
    return Calendar::timeOf(parts, kZone);
}

std::string fireText(SystemTime now) {
    return Calendar::format(AppDelegate::weeklyReminderFireDate(now, kZone), "yyyy-MM-dd EEE HH:mm:ss",
                            kZone);
}

TEST(WeeklyReminderTest, FiresOnFridayOfThisWeekAtTenOrNextWeekFromSaturday) {
    // 2024-06-08 is a Saturday.
    EXPECT_EQ(fireText(at(2024, 6, 8, 9, 0)), "2024-06-14 Fri 10:00:00");
    EXPECT_EQ(fireText(at(2024, 6, 9, 23, 59)), "2024-06-14 Fri 10:00:00");  // Sunday: five days on
    EXPECT_EQ(fireText(at(2024, 6, 12, 8, 0)), "2024-06-14 Fri 10:00:00");   // Wednesday
    // Friday after ten: today's ten o'clock, already past, as scheduled.
    EXPECT_EQ(fireText(at(2024, 6, 14, 18, 30)), "2024-06-14 Fri 10:00:00");
    // Across a month's end.
    EXPECT_EQ(fireText(at(2024, 6, 29, 12, 0)), "2024-07-05 Fri 10:00:00");
}

class ScheduledReminderTest : public AppTest {};

TEST_F(ScheduledReminderTest, TheScheduledReminderRepeatsWeeklyInTheDeviceZone) {
    loop().clock().setTimeZone(kZone);
    loop().clock().pinNow(at(2024, 6, 8, 9, 0));
    AppDelegate app;
    app.scheduleWeeklyReminder();
    auto reminders = LocalNotifications::shared().scheduledLocalNotifications();
    ASSERT_EQ(reminders.size(), 1u);
    const auto& reminder = reminders[0];
    EXPECT_EQ(reminder.timeZone, kZone);
    EXPECT_EQ(reminder.repeatCalendar, "gregorian");
    EXPECT_EQ(reminder.fireDate, at(2024, 6, 14, 10, 0));
    EXPECT_EQ(reminder.fireDateOfRepetition(1), at(2024, 6, 21, 10, 0));
    EXPECT_EQ(reminder.alertBody, "快到周末了，想好去哪玩了么？来看看本周都有哪些Zorlet好主意吧！");
}

}  // namespace
}  // namespace zorlet::test
