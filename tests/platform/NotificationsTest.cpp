#include "platform/AtomicFile.h"
#include "platform/Calendar.h"
#include "platform/LocalNotifications.h"
#include "platform/PushNotifications.h"

#include "support/LoopTest.h"

#include <sys/stat.h>

#include <filesystem>

namespace zorlet::test {
namespace {

class NotificationsTest : public LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        std::filesystem::remove(PushNotifications::shared().tokenFilePath());
        LocalNotifications::shared().cancelAllLocalNotifications();
    }
    void TearDown() override {
        PushNotifications::shared().clearHandlers();
        LocalNotifications::shared().setHandler({});
        LoopTest::TearDown();
    }
};

TEST_F(NotificationsTest, RegisteringDeliversTheSameInstallTokenLaterOnTheLoop) {
    std::vector<std::string> tokens;
    PushNotifications::shared().setHandlers([&](const std::string& token) { tokens.push_back(token); }, {},
                                            {});
    auto& push = PushNotifications::shared();
    push.registerForRemoteNotificationTypes(PushNotifications::Badge | PushNotifications::Alert);
    EXPECT_TRUE(tokens.empty());
    loop().runPending();
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].size(), PushNotifications::kTokenLength);
    EXPECT_EQ(push.enabledRemoteNotificationTypes(), PushNotifications::Badge | PushNotifications::Alert);

    struct stat info {};
    ASSERT_EQ(::stat(push.tokenFilePath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    push.registerForRemoteNotificationTypes(PushNotifications::Sound);
    loop().runPending();
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[1], tokens[0]);

    // A damaged token file gives the install a fresh identity rather than a short token.
    ASSERT_EQ(AtomicFile::write(push.tokenFilePath(), "abc"), "");
    push.registerForRemoteNotificationTypes(PushNotifications::Sound);
    loop().runPending();
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[2].size(), PushNotifications::kTokenLength);
    EXPECT_NE(tokens[2], tokens[0]);
}

TEST_F(NotificationsTest, ARemoteNotificationReachesTheAppOnTheLoop) {
    std::vector<Json> received;
    PushNotifications::shared().setHandlers({}, {},
                                            [&](const Json& userInfo) { received.push_back(userInfo); });
    PushNotifications::shared().deliverRemoteNotification(Json{{"aps", {{"alert", "你有新消息"}}}});
    EXPECT_TRUE(received.empty());
    loop().runPending();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0]["aps"]["alert"], "你有新消息");

    // Without a receiver the push is dropped.
    PushNotifications::shared().clearHandlers();
    PushNotifications::shared().deliverRemoteNotification(Json::object());
    loop().runPending();
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(NotificationsTest, ScheduledNotificationsAreKeptWithEveryDetailListedInOrderAndNotTwice) {
    auto& store = LocalNotifications::shared();
    LocalNotification weekly;
    weekly.fireDate = Calendar::timeOf({2024, 6, 14, 10, 0, 0, 6}, "Asia/Shanghai");
    weekly.repeatInterval = LocalNotification::RepeatInterval::Week;
    weekly.timeZone = "Asia/Shanghai";
    weekly.soundName = LocalNotification::kDefaultSoundName;
    weekly.alertBody = "快到周末了";
    weekly.userInfo = {{"kind", "weekend"}};
    LocalNotification once;
    once.fireDate = weekly.fireDate + std::chrono::hours(1);
    once.alertBody = "一次";

    ASSERT_TRUE(store.scheduleLocalNotification(weekly));
    ASSERT_TRUE(store.scheduleLocalNotification(once));
    ASSERT_TRUE(store.scheduleLocalNotification(weekly));
    auto listed = store.scheduledLocalNotifications();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].fireDate, weekly.fireDate);
    EXPECT_EQ(listed[0].repeatInterval, LocalNotification::RepeatInterval::Week);
    EXPECT_EQ(listed[0].repeatCalendar, "gregorian");
    EXPECT_EQ(listed[0].timeZone, "Asia/Shanghai");
    EXPECT_EQ(listed[0].soundName, "default");
    EXPECT_EQ(listed[0].alertBody, "快到周末了");
    EXPECT_EQ(listed[0].userInfo["kind"], "weekend");
    EXPECT_EQ(listed[1].repeatInterval, LocalNotification::RepeatInterval::None);
    EXPECT_EQ(listed[1].soundName, "");

    ASSERT_TRUE(store.cancelAllLocalNotifications());
    EXPECT_TRUE(store.scheduledLocalNotifications().empty());
}

TEST_F(NotificationsTest, AnUnreadableScheduleReadsAsEmptyAndCanBeScheduledAgain) {
    auto& store = LocalNotifications::shared();
    ASSERT_EQ(AtomicFile::write(store.storePath(), "[{\"fireDate\": \"soon\"}, 3"), "");
    EXPECT_TRUE(store.scheduledLocalNotifications().empty());
    LocalNotification one;
    one.alertBody = "x";
    ASSERT_TRUE(store.scheduleLocalNotification(one));
    EXPECT_EQ(store.scheduledLocalNotifications().size(), 1u);
}

// An app that schedules a reminder at every launch must not grow the schedule
// for ever: past the limit the earliest scheduled go, the rest keep their order.
TEST_F(NotificationsTest, TheScheduleKeepsTheLatestSixtyFourAndEntriesThatDoNotReadAreDropped) {
    auto& store = LocalNotifications::shared();
    ASSERT_EQ(AtomicFile::write(store.storePath(),
                                R"([{"fireDate": "soon"}, {"fireDate": 5, "alertBody": "kept"}])"),
              "");
    LocalNotification first;
    ASSERT_TRUE(store.scheduleLocalNotification(first));
    auto listed = store.scheduledLocalNotifications();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].alertBody, "kept");

    for (int i = 0; i < 70; ++i) {
        LocalNotification reminder;
        reminder.fireDate = SystemTime(std::chrono::seconds(1000 + i));
        reminder.alertBody = std::to_string(i);
        ASSERT_TRUE(store.scheduleLocalNotification(reminder));
    }
    listed = store.scheduledLocalNotifications();
    ASSERT_EQ(listed.size(), LocalNotifications::kMaxScheduled);
    EXPECT_EQ(listed.front().alertBody, "6");
    EXPECT_EQ(listed.back().alertBody, "69");
    EXPECT_EQ(listed.back().fireDate, SystemTime(std::chrono::seconds(1069)));
}

TEST_F(NotificationsTest, AWeeklyRepetitionKeepsItsLocalTimeAcrossADaylightSavingChange) {
    LocalNotification weekly;
    weekly.timeZone = "Europe/Berlin";
    // Friday 2024-03-29 10:00; clocks go forward on Sunday 2024-03-31.
    weekly.fireDate = Calendar::timeOf({2024, 3, 29, 10, 0, 0, 6}, "Europe/Berlin");
    weekly.repeatInterval = LocalNotification::RepeatInterval::Week;
    SystemTime next = weekly.fireDateOfRepetition(1);
    EXPECT_EQ(Calendar::format(next, "yyyy-MM-dd HH:mm", "Europe/Berlin"), "2024-04-05 10:00");
    EXPECT_EQ(next - weekly.fireDate, std::chrono::hours(7 * 24 - 1));
}

TEST_F(NotificationsTest, AFiredLocalNotificationReachesTheAppOnTheLoop) {
    std::vector<std::string> received;
    LocalNotifications::shared().setHandler(
        [&](const LocalNotification& notification) { received.push_back(notification.alertBody); });
    LocalNotification fired;
    fired.alertBody = "周末";
    LocalNotifications::shared().deliverLocalNotification(fired);
    EXPECT_TRUE(received.empty());
    loop().runPending();
    EXPECT_EQ(received, (std::vector<std::string>{"周末"}));
}

}  // namespace
}  // namespace zorlet::test

namespace zorlet::test {
namespace {

TEST(LocalNotificationZoneTest, TheDefaultZoneIsTheClocksOrTheSystemsByName) {
    MainLoop::main().clock().setTimeZone("America/New_York");
    EXPECT_EQ(LocalNotification::defaultTimeZoneName(), "America/New_York");
    MainLoop::main().clock().setTimeZone({});
    std::string system = LocalNotification::defaultTimeZoneName();
    EXPECT_FALSE(system.empty());
    EXPECT_EQ(Calendar::effectiveZone(system), system);
}

}  // namespace
}  // namespace zorlet::test
