// Relations and settings against the local service: after publishing, invite
// a suggested user who then finds the invitation among their messages; unblock
// a user from the settings so they are back in the feed; send feedback; sign
// out, and a relaunch stays signed out.
#include "app/AppDelegate.h"
#include "app/ConfigViewController.h"
#include "app/CustomNavigationController.h"
#include "app/FeedbackViewController.h"
#include "app/WelcomeViewController.h"
#include "people/BlacklistViewController.h"
#include "people/RescueUserListCell.h"
#include "people/RescueUsersViewController.h"
#include "people/UserViewController.h"
#include "sandbox/TestControl.h"
#include "session/LoginService.h"
#include "session/LoginUser.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"
#include "ui/UserLocationSource.h"

#include "SandboxJourneyTest.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class RelationsJourneyTest : public SandboxJourneyTest {
protected:
    void SetUp() override {
        SandboxJourneyTest::SetUp();
        UserLocationSource::shared().reset();
        UserViewController::resetLastLocation();
        auto& control = sandbox_->testControl();
        me_ = control.createUser({"me@example.com", "secret99", "我自己", 1, 1, 116.40, 39.90}).value_or(0);
        friend_ =
            control.createUser({"friend@example.com", "secret99", "朋友", 0, 1, 116.41, 39.91}).value_or(0);
        ASSERT_GT(me_, 0);
        ASSERT_GT(friend_, 0);
        ASSERT_TRUE(control.createPost(friend_, {"爬山", "周末爬香山"}));
        ASSERT_TRUE(LoginService::getInstance().useLoginName("me@example.com", "secret99").success);
        navigation_ = std::make_shared<CustomNavigationController>(std::make_shared<ViewController>());
        window_->setRootViewController(navigation_);
        window_->makeKeyAndVisible();
        Application::shared().setKeyWindow(window_.get());
    }
    void TearDown() override {
        UserLocationSource::shared().reset();
        SandboxJourneyTest::TearDown();
    }
    bool hudSays(const std::string& text) {
        auto* hud = ProgressHUD::HUDForView(window_.get());
        return hud != nullptr && hud->labelText() == text;
    }

    std::int64_t me_ = 0;
    std::int64_t friend_ = 0;
    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(RelationsJourneyTest, InviteUnblockSendFeedbackAndSignOut) {
    auto& control = sandbox_->testControl();

    // The rescue list after a post: the friend is suggested and invited.
    auto rescue = std::make_shared<RescueUsersViewController>("一起去看展");
    navigation_->pushViewController(rescue, false);
    ASSERT_TRUE(waitUntil([&] { return !rescue->users.empty(); }, 20000ms));
    int row = -1;
    for (std::size_t i = 0; i < rescue->users.size(); ++i) {
        if (rescue->users[i]->uid == friend_) {
            row = static_cast<int>(i);
        }
    }
    ASSERT_GE(row, 0);
    auto* cell = dynamic_cast<RescueUserListCell*>(rescue->tableView->cellForRow({0, row}));
    ASSERT_NE(cell, nullptr);
    ASSERT_TRUE(UserInput::tap(*cell->sendDateButton));
    ASSERT_TRUE(waitUntil([&] { return rescue->users[static_cast<std::size_t>(row)]->isBeDated; }, 20000ms));
    bool invited = false;
    for (const auto& message : control.messagesFrom(me_)) {
        invited =
            invited || (message.toUid == friend_ && message.content.find("一起去看展") != std::string::npos);
    }
    EXPECT_TRUE(invited);
    advance(2s);
    navigation_->popToRootViewController(false);

    // Blocked, then unblocked from the settings: back in the feed.
    ASSERT_TRUE(control.shield(me_, friend_));
    auto config = std::make_shared<ConfigViewController>();
    navigation_->pushViewController(config, false);
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {0, 3}));
    auto* blacklist = dynamic_cast<BlacklistViewController*>(navigation_->topViewController());
    ASSERT_NE(blacklist, nullptr);
    ASSERT_TRUE(waitUntil([&] { return blacklist->data->count() == 1 && !blacklist->reloading; }, 20000ms));
    blacklist->toggleEdit();
    blacklist->commitEditingStyle(*blacklist->tableView, TableViewCellEditingStyle::Delete, {0, 0});
    ASSERT_TRUE(waitUntil([&] { return blacklist->data->count() == 0; }, 20000ms));
    navigation_->popViewController(false);

    auto feed = std::make_shared<UserViewController>();
    navigation_->pushViewController(feed, false);
    ASSERT_TRUE(
        waitUntil([&] { return feed->data && feed->data->count() > 0 && !feed->reloading; }, 20000ms));
    bool back = false;
    for (const auto& record : feed->data->data()) {
        back = back || record->objIdentity() == friend_;
    }
    EXPECT_TRUE(back);
    navigation_->popViewController(false);

    // Feedback reaches the service's account.
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {1, 2}));
    auto* feedback = dynamic_cast<FeedbackViewController*>(navigation_->topViewController());
    ASSERT_NE(feedback, nullptr);
    feedback->customTextView->setText("希望多些周末活动");
    feedback->save();
    ASSERT_TRUE(waitUntil([&] { return hudSays("发送成功"); }, 20000ms));
    bool delivered = false;
    for (const auto& message : control.messagesFrom(me_)) {
        delivered = delivered || (message.toUid == FeedbackViewController::kServiceUid &&
                                  message.content == "希望多些周末活动");
    }
    EXPECT_TRUE(delivered);
    advance(2s);
    loop().runPending();
    ASSERT_EQ(navigation_->topViewController(), config.get());

    // Signing out leads to the welcome screen, and nothing signs in again at the next launch.
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {3, 0}));
    ASSERT_TRUE(UserInput::answerAlert(1));
    ASSERT_TRUE(waitUntil([&] { return dynamic_cast<WelcomeViewController*>(window_->rootViewController()); },
                          20000ms));
    EXPECT_FALSE(UserContext::hasLogin());
    auto stored = LoginUser::initFromData();
    EXPECT_TRUE(!stored || stored->pToken.empty());
    LoginService::getInstance().checkLogin();
    EXPECT_FALSE(UserContext::hasLogin());
}

}  // namespace
}  // namespace zorlet::test
