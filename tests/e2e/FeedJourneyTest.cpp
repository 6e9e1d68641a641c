// A user's way through the feed against the local service: sign in, browse
// nearby users with distances, switch to the newest women, publish a post
// with a picture and a place, and find it at the top of the newest list.
#include "app/CustomNavigationController.h"
#include "model/RecordConverters.h"
#include "model/User.h"
#include "model/UserHome.h"
#include "net/UrlUtils.h"
#include "people/SendPostViewController.h"
#include "people/UserListCell.h"
#include "people/UserViewController.h"
#include "platform/CookieStore.h"
#include "platform/HttpQueue.h"
#include "platform/Reachability.h"
#include "sandbox/DemoSeed.h"
#include "sandbox/SandboxServer.h"
#include "session/LoginService.h"
#include "session/UserContext.h"
#include "ui/AlertRegistry.h"
#include "ui/Application.h"
#include "ui/ImagePickerController.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"
#include "ui/UserLocationSource.h"
#include "ui/Window.h"

#include "SandboxJourneyTest.h"

#include <filesystem>
#include <random>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class FeedJourneyTest : public SandboxJourneyTest {
protected:
    bool seedsDemo() const override { return true; }

    void SetUp() override {
        SandboxJourneyTest::SetUp();
        UserLocationSource::shared().reset();
        UserViewController::resetLastLocation();
    }
    void TearDown() override {
        UserLocationSource::shared().reset();
        SandboxJourneyTest::TearDown();
    }
    bool waitLoaded() {
        return waitUntil([&] { return !feed_->reloading && feed_->data && feed_->data->count() > 0; },
                         20000ms);
    }
    std::vector<UserPtr> shownUsers() {
        std::vector<UserPtr> users;
        for (const auto& record : feed_->data->data()) {
            users.push_back(std::static_pointer_cast<User>(record));
        }
        return users;
    }

    std::shared_ptr<UserViewController> feed_;
};

TEST_F(FeedJourneyTest, SignInBrowseAndPublish) {
    ASSERT_TRUE(LoginService::getInstance()
                    .useLoginName(sandbox::DemoSeed::demoAccount, sandbox::DemoSeed::demoPassword)
                    .success);
    std::int64_t me = UserContext::getUid();
    ASSERT_GT(me, 0);
    UserLocationSource::shared().setLocation({39.909, 116.397});

    feed_ = std::make_shared<UserViewController>();
    auto navigation = std::make_shared<CustomNavigationController>(feed_);
    window_ = std::make_shared<Window>();
    window_->setRootViewController(navigation);
    window_->makeKeyAndVisible();
    ASSERT_TRUE(waitLoaded());
    EXPECT_DOUBLE_EQ(UserContext::getUserHome()->latitude, 39.909);

    // Nearby, nearest first, with distances on the rows.
    ASSERT_TRUE(UserInput::tap(*feed_->segmentedControl->buttons()[1]));
    ASSERT_TRUE(waitLoaded());
    auto nearby = shownUsers();
    ASSERT_FALSE(nearby.empty());
    EXPECT_FALSE(nearby.front()->distanceFromCurrentUser().empty());
    auto* firstRow = dynamic_cast<UserListCell*>(feed_->tableView->cellForRow({0, 0}));
    ASSERT_NE(firstRow, nullptr);
    EXPECT_FALSE(firstRow->locationLabel->isHidden());
    EXPECT_NE(firstRow->locationLabel->text().find("km"), std::string::npos);

    // The newest women.
    ASSERT_TRUE(UserInput::tap(*feed_->segmentedControl->buttons()[2]));
    ASSERT_TRUE(waitLoaded());
    ASSERT_TRUE(UserInput::tap(*feed_->genderButtonView));
    ASSERT_TRUE(UserInput::answerSheet(2));  // 宅女
    ASSERT_TRUE(waitUntil([&] { return !feed_->reloading; }, 20000ms));
    ASSERT_TRUE(waitLoaded());
    for (const auto& user : shownUsers()) {
        EXPECT_EQ(user->gender, 0) << user->nickname;
    }

    // Publish with a picture and a place.
    auto composer = std::make_shared<SendPostViewController>();
    navigation->pushViewController(composer, true);
    advance(200ms);
    ASSERT_TRUE(UserInput::typeText("周六一起去香山看红叶"));
    composer->placeButtonClick();
    composer->placeField->setText("香山公园");
    ASSERT_TRUE(UserInput::answerAlert(1));
    composer->imageButtonClick();
    ASSERT_TRUE(UserInput::answerSheet(0));  // 用户相册
    ASSERT_NE(ImagePickerController::visiblePicker(), nullptr);
    auto picture = std::make_shared<Image>(120, 90);
    ASSERT_TRUE(ImagePickerController::visiblePicker()->pick(picture));
    composer->sendPost();
    auto* hud = ProgressHUD::HUDForView(window_.get());
    ASSERT_NE(hud, nullptr);
    ASSERT_TRUE(waitUntil([&] { return hud->labelText() == "发送成功"; }, 20000ms));
    EXPECT_TRUE(AlertRegistry::shared().alerts().empty());

    // Back on the feed, all genders, newest first: the post leads.
    advance(2s);  // the check mark goes; the composer moves on to the rescue list
    EXPECT_EQ(navigation->topViewController()->className(), "RescueUsersViewController");
    navigation->popToRootViewController(false);
    ASSERT_TRUE(UserInput::tap(*feed_->genderButtonView));
    ASSERT_TRUE(UserInput::answerSheet(0));  // 全部
    ASSERT_TRUE(waitUntil([&] { return !feed_->reloading; }, 20000ms));
    ASSERT_TRUE(waitLoaded());
    auto top = shownUsers().front();
    EXPECT_EQ(top->uid, me);
    ASSERT_TRUE(top->post);
    EXPECT_EQ(top->post->content, "周六一起去香山看红叶");
    EXPECT_EQ(top->post->place, "香山公园");
    EXPECT_FALSE(top->post->bigPic.empty());
    auto* topRow = dynamic_cast<UserListCell*>(feed_->tableView->cellForRow({0, 0}));
    ASSERT_NE(topRow, nullptr);
    EXPECT_FALSE(topRow->imageView->isHidden());
    EXPECT_EQ(feed_->tableView->rectForRow({0, 0}).height(), UserListCell::heightForCell(*top));
}

}  // namespace
}  // namespace zorlet::test
