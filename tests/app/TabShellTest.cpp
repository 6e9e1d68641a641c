#include "AppTestSupport.h"

#include "app/AutoRefreshable.h"
#include "app/CustomNavigationController.h"
#include "app/MessageNavigationController.h"
#include "platform/RepeatingTimer.h"
#include "session/AuthorizeExpiredViewController.h"
#include "ui/UserInput.h"

#include <atomic>
#include <chrono>
#include <mutex>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class RefreshingScreen : public ViewController, public AutoRefreshable {
public:
    std::string className() const override { return "IdeaViewController"; }
    void autoRefresh() override { ++refreshes; }
    int refreshes = 0;
};

// A signed-in user's tab shell on the window of an application delegate that did not launch.
class TabShellTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // Shared with the server's threads, which may still answer while this fixture goes away.
        server_.on("/dialog/notice/nums", [notice = notice_](const RecordedRequest&, Reply& reply) {
            std::lock_guard lock(notice->mutex);
            reply.body = notice->answer;
            reply.stall = notice->stall;
        });
    }

    ZorletTabBarController& showShell(bool tokenExpired = false) {
        signIn(5, true, tokenExpired ? 6 : 0, tokenExpired);
        app_ = std::make_unique<AppDelegate>();
        app_->window = std::make_shared<Window>();
        shell_ = TabBarLayout::load();
        app_->window->setRootViewController(shell_);
        app_->window->makeKeyAndVisible();
        return *shell_;
    }
    void TearDown() override {
        shell_.reset();
        AppTest::TearDown();
    }

    std::size_t polls() const { return server_.countOf("/dialog/notice/nums"); }
    bool waitForPolls(std::size_t count) {
        return waitUntil([&] { return polls() >= count && HttpQueue::shared().runningCount() == 0; });
    }
    void setNoticeAnswer(std::string answer) {
        std::lock_guard lock(notice_->mutex);
        notice_->answer = std::move(answer);
    }
    // The next 30-second poll, answered with `answer`, done.
    bool pollWith(std::string answer) {
        setNoticeAnswer(std::move(answer));
        std::size_t before = polls();
        advance(30s);
        return waitForPolls(before + 1);
    }
    std::string badge() const { return shell_->viewControllers()[2]->tabBarItem().badgeValue(); }

    struct NoticeAnswer {
        std::mutex mutex;
        std::string answer = R"({"success":true,"result":0})";
        std::chrono::milliseconds stall{0};
    };
    std::shared_ptr<NoticeAnswer> notice_ = std::make_shared<NoticeAnswer>();
    std::shared_ptr<ZorletTabBarController> shell_;
};

TEST_F(TabShellTest, TheLayoutPutsEachScreenInItsNavigationController) {
    auto& shell = showShell();
    ASSERT_EQ(shell.viewControllers().size(), 4u);
    const char* roots[] = {"UserViewController", "IdeaViewController", "SmsViewController",
                           "HomeViewController"};
    for (int i = 0; i < 4; ++i) {
        auto* navigation = dynamic_cast<CustomNavigationController*>(shell.viewControllers()[i].get());
        ASSERT_NE(navigation, nullptr) << i;
        EXPECT_EQ(navigation->topViewController()->className(), roots[i]);
        EXPECT_FALSE(navigation->tabBarItem().title().empty());
        EXPECT_EQ(navigation->topViewController()->title(), navigation->tabBarItem().title());
    }
    EXPECT_EQ(shell.viewControllers()[2]->className(), "MessageNavigationController");
}

TEST_F(TabShellTest, TheShellShowsTheStatusBarTheWelcomeScreenHid) {
    Application::shared().setStatusBarHidden(true);
    auto& shell = showShell();
    EXPECT_FALSE(Application::shared().isStatusBarHidden());
    EXPECT_EQ(shell.view().frame(), Rect(0, 20, 320, 460));
}

TEST_F(TabShellTest, PollsAtOnceThenEveryThirtySecondsAndShowsTheCountOnTheMessageTab) {
    setNoticeAnswer(R"({"success":true,"result":7})");
    showShell();
    ASSERT_TRUE(waitForPolls(1));
    EXPECT_EQ(badge(), "7");
    EXPECT_EQ(server_.lastRequestTo("/dialog/notice/nums").method, "GET");

    setNoticeAnswer(R"({"success":true,"result":0})");
    advance(29s);
    loop().runUntil([] { return false; }, 50ms);
    EXPECT_EQ(polls(), 1u);
    advance(1s);
    ASSERT_TRUE(waitForPolls(2));
    EXPECT_EQ(badge(), "");

    for (const char* answer :
         {R"({"success":true,"result":-2})", R"({"success":true})", R"({"success":true,"result":null})"}) {
        ASSERT_TRUE(pollWith(R"({"success":true,"result":3})"));
        EXPECT_EQ(badge(), "3");
        ASSERT_TRUE(pollWith(answer));
        EXPECT_EQ(badge(), "") << answer;
    }

    // A refusal, a failure or a malformed answer leaves the badge as it is, and nobody is told.
    ASSERT_TRUE(pollWith(R"({"success":true,"result":4})"));
    for (const char* answer : {R"({"success":false,"result":9})", "<html>", R"(["success"])"}) {
        ASSERT_TRUE(pollWith(answer));
        EXPECT_EQ(badge(), "4") << answer;
    }
    server_.on("/dialog/notice/nums", [](const RecordedRequest&, Reply& reply) { reply.status = 500; });
    ASSERT_TRUE(pollWith(""));
    EXPECT_EQ(badge(), "4");
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
}

TEST_F(TabShellTest, APollGivesUpAfterFourSeconds) {
    {
        std::lock_guard lock(notice_->mutex);
        notice_->stall = 9s;
    }
    showShell();
    auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitUntil([&] { return polls() == 1; }));
    ASSERT_TRUE(waitUntil([&] { return HttpQueue::shared().runningCount() == 0; }, 8s));
    auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_GE(waited, 3500ms);
    EXPECT_LT(waited, 7s);
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
}

TEST_F(TabShellTest, NoPollInTheBackgroundAndAnImmediateOneOnReturning) {
    showShell();
    ASSERT_TRUE(waitForPolls(1));
    std::shared_ptr<RepeatingTimer> first = app_->noticeTimer;
    ASSERT_TRUE(first && first->isValid());
    EXPECT_EQ(first->timeInterval(), 30s);

    app_->applicationDidEnterBackground();
    EXPECT_FALSE(first->isValid());
    advance(120s);
    loop().runUntil([] { return false; }, 100ms);
    EXPECT_EQ(polls(), 1u);

    app_->applicationWillEnterForeground();
    ASSERT_TRUE(waitForPolls(2));
    ASSERT_TRUE(app_->noticeTimer->isValid());
    EXPECT_NE(app_->noticeTimer, first);

    // Starting again while the timer runs polls but keeps the one timer.
    auto running = app_->noticeTimer;
    shell_->startNotice();
    ASSERT_TRUE(waitForPolls(3));
    EXPECT_EQ(app_->noticeTimer, running);
    advance(30s);
    ASSERT_TRUE(waitForPolls(4));
    loop().runUntil([] { return false; }, 100ms);
    EXPECT_EQ(polls(), 4u);
}

TEST_F(TabShellTest, WithoutNetworkThePollIsSkippedSilently) {
    Reachability::shared().setNetworkAvailable(false);
    showShell();
    loop().runUntil([] { return false; }, 100ms);
    EXPECT_EQ(polls(), 0u);
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
    EXPECT_TRUE(app_->noticeTimer->isValid());
}

TEST_F(TabShellTest, AnExpiredExternalAuthorizationOpensTheReauthorizationScreenOnTabZero) {
    auto& shell = showShell(true);
    auto* navigation = dynamic_cast<NavigationController*>(shell.viewControllers()[0].get());
    ASSERT_EQ(navigation->viewControllers().size(), 2u);
    auto* expired = dynamic_cast<AuthorizeExpiredViewController*>(navigation->topViewController());
    ASSERT_NE(expired, nullptr);
    EXPECT_EQ(expired->tpId, 6);
    EXPECT_TRUE(expired->hidesBottomBarWhenPushed());
    EXPECT_TRUE(shell.tabBar().isHidden());
}

TEST_F(TabShellTest, AValidAuthorizationOpensNothing) {
    auto& shell = showShell(false);
    auto* navigation = dynamic_cast<NavigationController*>(shell.viewControllers()[0].get());
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
}

TEST_F(TabShellTest, ThePhoneModelIsReportedOnlyWhenKnown) {
    showShell();
    loop().runUntil([] { return false; }, 100ms);
    EXPECT_EQ(server_.countOf("/home/v132/updatePhone"), 0u);

    shell_.reset();
    app_.reset();
    Constant::setMachineIdentifier("iPhone5,2");
    showShell();
    ASSERT_TRUE(waitUntil([&] { return server_.countOf("/home/v132/updatePhone") == 1; }));
    auto report = server_.lastRequestTo("/home/v132/updatePhone");
    EXPECT_EQ(report.method, "POST");
    EXPECT_EQ(report.param("phoneType"), "iPhone 5");
}

TEST_F(TabShellTest, TappingTheShownTabAgainRefreshesItsListAndTabsAreCounted) {
    auto screen = std::make_shared<RefreshingScreen>();
    ScreenFactory::registerScreen("IdeaViewController", [screen](const Json&) { return screen; });
    auto& shell = showShell();
    std::size_t ideaEvents = eventCount("enterIdeaList");
    std::size_t dialogEvents = eventCount("enterDialog");

    ASSERT_TRUE(UserInput::selectTab(shell, 1));
    EXPECT_EQ(shell.selectedIndex(), 1);
    EXPECT_EQ(screen->refreshes, 0);
    ASSERT_TRUE(UserInput::selectTab(shell, 1));
    EXPECT_EQ(screen->refreshes, 1);

    // Not while another screen is on top of the list.
    auto* navigation = dynamic_cast<NavigationController*>(shell.viewControllers()[1].get());
    navigation->pushViewController(std::make_shared<ViewController>(), false);
    ASSERT_TRUE(UserInput::selectTab(shell, 1));
    EXPECT_EQ(screen->refreshes, 1);

    ASSERT_TRUE(UserInput::selectTab(shell, 2));
    EXPECT_EQ(eventCount("enterIdeaList"), ideaEvents + 3);
    EXPECT_EQ(eventCount("enterDialog"), dialogEvents + 1);
}

}  // namespace
}  // namespace zorlet::test
