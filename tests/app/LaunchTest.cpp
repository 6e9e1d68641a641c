#include "AppTestSupport.h"

#include "app/CustomNavigationController.h"
#include "model/HexBytes.h"
#include "net/HttpRequestSender.h"
#include "platform/AtomicFile.h"
#include "platform/PushNotifications.h"
#include "platform/RepeatingTimer.h"

#include <atomic>
#include <chrono>
#include <regex>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class LaunchTest : public AppTest {
protected:
    // The server accepts the stored session; records the time-out the check ran under.
    void acceptSession(int uid, bool hasGuided = true) {
        server_.on("/passport/v132/login",
                   [seen = timeOutDuringCheck_, uid, hasGuided](const RecordedRequest&, Reply& reply) {
                       *seen = HttpRequest::defaultTimeOutSeconds();
                       reply.body = homeEnvelope(uid, hasGuided);
                   });
    }
    std::shared_ptr<std::atomic<double>> timeOutDuringCheck_ = std::make_shared<std::atomic<double>>(0);
};

TEST_F(LaunchTest, StoredEmptyTokensMakeNoRequestAndShowTheWelcomeScreen) {
    LoginUser("", "").save();
    launch();
    EXPECT_EQ(server_.countOf("/passport/v132/login"), 0u);
    EXPECT_EQ(rootClass(), "WelcomeViewController");
    EXPECT_TRUE(app_->window->isKeyWindow());
    EXPECT_TRUE(app_->window->isVisible());
}

TEST_F(LaunchTest, ValidTokensRestoreTheSessionUnderTheLaunchTimeOutAndReachTheTabShell) {
    LoginUser("p-old", "l-old").save();
    acceptSession(42);
    launch();

    auto check = server_.lastRequestTo("/passport/v132/login");
    EXPECT_EQ(check.method, "POST");
    EXPECT_EQ(check.cookies["p_token"], "p-old");
    EXPECT_EQ(check.cookies["l_token"], "l-old");
    EXPECT_DOUBLE_EQ(*timeOutDuringCheck_, 10);
    EXPECT_DOUBLE_EQ(HttpRequest::defaultTimeOutSeconds(), 60);

    EXPECT_EQ(UserContext::getUid(), 42);
    EXPECT_EQ(rootClass(), "ZorletTabBarController");
    EXPECT_EQ(app_->tabShell()->selectedIndex(), 0);
    // The tokens were accepted as they are.
    EXPECT_EQ(storedTokens()->pToken, "p-old");
    EXPECT_EQ(storedTokens()->lToken, "l-old");
}

TEST_F(LaunchTest, ARefusalClearsTheTokensAndShowsTheWelcomeScreen) {
    LoginUser("p-old", "l-old").save();
    server_.onJson("/passport/v132/login", refusalEnvelope(100, "请重新登录"));
    launch();
    EXPECT_EQ(server_.countOf("/passport/v132/login"), 1u);
    EXPECT_EQ(rootClass(), "WelcomeViewController");
    ASSERT_TRUE(storedTokens());
    EXPECT_TRUE(storedTokens()->isEmpty());
    EXPECT_TRUE(CookieStore::shared().cookiesForURL(server_.url("/passport/v132/login")).empty());
    EXPECT_FALSE(UserContext::hasLogin());
}

TEST_F(LaunchTest, FailedChecksKeepTheTokens) {
    LoginUser("p-old", "l-old").save();
    server_.on("/passport/v132/login", [](const RecordedRequest&, Reply& reply) { reply.status = 500; });
    launch();
    EXPECT_EQ(rootClass(), "WelcomeViewController");
    EXPECT_EQ(storedTokens()->pToken, "p-old");

    app_.reset();
    Reachability::shared().setNetworkAvailable(false);
    launch();
    EXPECT_EQ(server_.countOf("/passport/v132/login"), 1u);
    EXPECT_EQ(storedTokens()->lToken, "l-old");
    // A background check shows no network alert.
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
}

TEST_F(LaunchTest, TheCheckTimesOutAfterTenSecondsAndKeepsTheTokens) {
    LoginUser("p-old", "l-old").save();
    server_.on("/passport/v132/login", [](const RecordedRequest&, Reply& reply) {
        reply.body = homeEnvelope(1);
        reply.stall = 14s;
    });
    auto started = std::chrono::steady_clock::now();
    launch();
    auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_GE(waited, 9500ms);
    EXPECT_LT(waited, 13s);
    EXPECT_EQ(rootClass(), "WelcomeViewController");
    EXPECT_EQ(storedTokens()->pToken, "p-old");
    EXPECT_EQ(storedTokens()->lToken, "l-old");
    EXPECT_DOUBLE_EQ(HttpRequest::defaultTimeOutSeconds(), 60);
}

TEST_F(LaunchTest, ASignedInUserWithoutTheGuideGetsTheGuideSettingScreen) {
    LoginUser("p", "l").save();
    acceptSession(7, false);
    launch();
    auto* navigation = dynamic_cast<CustomNavigationController*>(root());
    ASSERT_NE(navigation, nullptr);
    EXPECT_EQ(navigation->topViewController()->className(), "GuideSettingViewController");
}

TEST_F(LaunchTest, GuidanceComesFirstWhenTheFlagIsUnsetAndIgnoresLaunchOptions) {
    UserDefaults::standard().removeObjectForKey(AppDelegate::guidanceFlagKey());
    LoginUser("p", "l").save();
    acceptSession(7);
    LaunchOptions options;
    options.remoteNotification = Json{{"aps", {{"alert", "新消息"}}}};
    launch(options);
    EXPECT_EQ(rootClass(), "GuidanceViewController");
    // The session was restored all the same; the guidance leads to the shell when it ends.
    EXPECT_TRUE(UserContext::hasLogin());
    EXPECT_EQ(LoginService::getInstance().loginTurnToViewController()->className(), "ZorletTabBarController");
}

TEST_F(LaunchTest, LaunchOptionsSelectTheIdeaOrMessageTabAndRemoteWins) {
    LoginUser("p", "l").save();
    acceptSession(7);
    LaunchOptions local;
    local.localNotification = LocalNotification{};
    launch(local);
    EXPECT_EQ(app_->tabShell()->selectedIndex(), TabBarLayout::kIdeaTab);

    app_.reset();
    LaunchOptions remote;
    remote.remoteNotification = Json::object();
    launch(remote);
    EXPECT_EQ(app_->tabShell()->selectedIndex(), TabBarLayout::kMessageTab);

    app_.reset();
    LaunchOptions both = local;
    both.remoteNotification = Json::object();
    launch(both);
    EXPECT_EQ(app_->tabShell()->selectedIndex(), TabBarLayout::kMessageTab);
}

TEST_F(LaunchTest, ThePushTokenIsRegisteredAsUpperCaseHexOnceDelivered) {
    LoginUser("p", "l").save();
    acceptSession(7);
    launch();
    // Not handed over inside the launch: the system answers later.
    EXPECT_TRUE(app_->deviceToken.empty());
    EXPECT_EQ(server_.countOf("/passport/registerDevice"), 0u);
    ASSERT_TRUE(waitUntil([&] { return server_.countOf("/passport/registerDevice") == 1; }));

    std::string token = server_.lastRequestTo("/passport/registerDevice").param("deviceToken");
    EXPECT_TRUE(std::regex_match(token, std::regex("[0-9A-F]{64}"))) << token;
    EXPECT_EQ(token, app_->deviceToken);
    EXPECT_EQ(token, stringWithHexBytes(*AtomicFile::read(PushNotifications::shared().tokenFilePath())));
    EXPECT_EQ(server_.lastRequestTo("/passport/registerDevice").method, "GET");

    // A later login sends the token known by now.
    server_.onJson("/passport/v132/login", homeEnvelope(8));
    ASSERT_TRUE(LoginService::getInstance().useLoginName("a@b.c", "secret").success);
    ASSERT_TRUE(waitUntil([&] { return server_.countOf("/passport/registerDevice") == 2; }));
    EXPECT_EQ(server_.lastRequestTo("/passport/registerDevice").param("deviceToken"), token);
}

TEST_F(LaunchTest, LaunchReportsToAnalyticsAndSchedulesTheReminder) {
    launch();
    bool started = false;
    for (const auto& entry : Analytics::loggedEntries()) {
        if (jsonString(entry, "type") == "start") {
            started = jsonString(entry, "appKey") == AppDelegate::kAnalyticsAppKey &&
                      jsonString(entry, "channel") == "App Store" && jsonInt(entry, "policy") == 0;
        }
    }
    EXPECT_TRUE(started);
    ASSERT_TRUE(waitUntil([&] { return server_.countOf("/app/checkUpdate") == 1; }));

    auto reminders = LocalNotifications::shared().scheduledLocalNotifications();
    ASSERT_EQ(reminders.size(), 1u);
    EXPECT_EQ(reminders[0].alertBody, AppDelegate::kWeeklyReminderText);
    EXPECT_EQ(reminders[0].repeatInterval, LocalNotification::RepeatInterval::Week);
    EXPECT_EQ(reminders[0].soundName, "default");
    EXPECT_FALSE(reminders[0].timeZone.empty());

    // Another launch the same week would only schedule the same alert again;
    // a week later it adds one, and earlier ones are never cancelled.
    app_.reset();
    launch();
    EXPECT_EQ(LocalNotifications::shared().scheduledLocalNotifications().size(), 1u);
    app_.reset();
    loop().clock().pinNow(loop().clock().now() + std::chrono::hours(24 * 7));
    launch();
    EXPECT_EQ(LocalNotifications::shared().scheduledLocalNotifications().size(), 2u);
}

TEST_F(LaunchTest, NotificationsWhileRunningSelectTabsOnlyInTheShell) {
    launch();
    ASSERT_EQ(rootClass(), "WelcomeViewController");
    PushNotifications::shared().deliverRemoteNotification(Json::object());
    loop().runPending();
    EXPECT_EQ(eventCount("openNewMessageNotification"), 0u);

    app_.reset();
    LoginUser("p", "l").save();
    acceptSession(7);
    launch();
    std::size_t weekendBefore = eventCount("openWeekendNotification");
    std::size_t messageBefore = eventCount("openNewMessageNotification");
    LocalNotifications::shared().deliverLocalNotification(LocalNotification{});
    loop().runPending();
    EXPECT_EQ(app_->tabShell()->selectedIndex(), TabBarLayout::kIdeaTab);
    EXPECT_EQ(eventCount("openWeekendNotification"), weekendBefore + 1);

    PushNotifications::shared().deliverRemoteNotification(Json{{"aps", {{"badge", 3}}}});
    loop().runPending();
    EXPECT_EQ(app_->tabShell()->selectedIndex(), TabBarLayout::kMessageTab);
    EXPECT_EQ(eventCount("openNewMessageNotification"), messageBefore + 1);
}

TEST_F(LaunchTest, AnHttp401AnywhereSignsOutAndShowsTheWelcomeScreen) {
    LoginUser("p", "l").save();
    acceptSession(7);
    launch();
    ASSERT_EQ(rootClass(), "ZorletTabBarController");
    ASSERT_TRUE(app_->noticeTimer && app_->noticeTimer->isValid());

    server_.on("/home/posts", [](const RecordedRequest&, Reply& reply) { reply.status = 401; });
    bool answered = false;
    HttpRequestSender::doRequest(
        HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("home/posts")), nullptr,
        [&](const Json&) { answered = true; }, [&] { answered = true; });
    ASSERT_TRUE(waitUntil([&] { return answered; }));

    EXPECT_EQ(rootClass(), "WelcomeViewController");
    EXPECT_TRUE(app_->window->isKeyWindow());
    EXPECT_FALSE(app_->noticeTimer->isValid());
    EXPECT_TRUE(storedTokens()->isEmpty());
    EXPECT_FALSE(UserContext::hasLogin());
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
}

}  // namespace
}  // namespace zorlet::test
