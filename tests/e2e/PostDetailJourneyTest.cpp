// Another user's post and home against the local service: open a post from
// the feed and respond, visit the author, follow them, read their posts, and
// block them so that they leave the feed.
#include "app/CustomNavigationController.h"
#include "model/Post.h"
#include "model/User.h"
#include "people/PostDetailViewController.h"
#include "people/TaHomeViewController.h"
#include "people/UserListCell.h"
#include "people/UserPostViewController.h"
#include "people/UserViewController.h"
#include "sandbox/DemoSeed.h"
#include "session/LoginService.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"
#include "ui/UserLocationSource.h"

#include "SandboxJourneyTest.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class PostDetailJourneyTest : public SandboxJourneyTest {
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
    bool waitLoaded(EGORefreshHeaderViewController& list, const ZLDataPtr& data) {
        return waitUntil([&] { return !list.reloading && data && data->count() > 0; }, 20000ms);
    }
    bool waitHudGone(View& host) {
        return waitUntil([&] { return ProgressHUD::HUDForView(&host) == nullptr; }, 20000ms);
    }
    // The first user of the feed who is not me, whom I do not follow yet (so that the
    // journey really follows them) and who has a post I have not responded to.
    std::optional<std::size_t> strangerWithPost() {
        for (std::size_t i = 0; i < feed_->data->count(); ++i) {
            auto user = std::static_pointer_cast<User>(feed_->data->objectAtIndex(i));
            if (user->uid != UserContext::getUid() && user->hasInterest == 0 && user->post &&
                user->post->hasResp == 0) {
                return i;
            }
        }
        return std::nullopt;
    }

    std::shared_ptr<UserViewController> feed_;
};

TEST_F(PostDetailJourneyTest, RespondFollowReadAndBlock) {
    ASSERT_TRUE(LoginService::getInstance()
                    .useLoginName(sandbox::DemoSeed::demoAccount, sandbox::DemoSeed::demoPassword)
                    .success);
    feed_ = std::make_shared<UserViewController>();
    auto navigation = std::make_shared<CustomNavigationController>(feed_);
    window_->setRootViewController(navigation);
    window_->makeKeyAndVisible();
    ASSERT_TRUE(waitLoaded(*feed_, feed_->data));

    auto row = strangerWithPost();
    ASSERT_TRUE(row.has_value());
    auto author = std::static_pointer_cast<User>(feed_->data->objectAtIndex(*row));
    std::int64_t before = author->post->respCnt;

    // The post, responded to: the feed's row counts it when we are back.
    ASSERT_TRUE(UserInput::tapRow(*feed_->tableView, {0, static_cast<int>(*row)}));
    auto* detail = dynamic_cast<PostDetailViewController*>(navigation->topViewController());
    ASSERT_NE(detail, nullptr);
    ASSERT_TRUE(UserInput::tap(*detail->responseButton));
    ASSERT_TRUE(waitUntil([&] { return author->post->hasResp == 1; }, 20000ms));
    advance(2s);
    ASSERT_TRUE(UserInput::tapBarButton(*detail->navigationItem().leftBarButtonItem()));
    auto* cell = dynamic_cast<UserListCell*>(feed_->tableView->cellForRow({0, static_cast<int>(*row)}));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->respButton().title(), std::to_string(before + 1));

    // The author's home: follow, then the list of their posts and one post.
    cell->logoClick();
    auto* home = dynamic_cast<TaHomeViewController*>(navigation->topViewController());
    ASSERT_NE(home, nullptr);
    ASSERT_TRUE(waitUntil([&] { return home->userHome != nullptr; }, 20000ms));
    EXPECT_EQ(home->user->uid, author->uid);
    ASSERT_EQ(home->user->hasInterest, 0);
    ASSERT_FALSE(home->interestButton->isHidden());
    ASSERT_TRUE(home->cancelInterestButton->isHidden());
    ASSERT_TRUE(UserInput::tap(*home->interestButton));
    ASSERT_TRUE(waitUntil([&] { return home->user->hasInterest == 1; }, 20000ms));
    auto* followed = ProgressHUD::HUDForView(&home->view());
    ASSERT_NE(followed, nullptr);
    EXPECT_EQ(followed->labelText(), "关注成功");
    EXPECT_TRUE(home->interestButton->isHidden());
    EXPECT_FALSE(home->cancelInterestButton->isHidden());
    EXPECT_TRUE(home->cancelInterestButton->isEnabled());
    advance(2s);
    ASSERT_GT(home->user->postCount, 0);
    ASSERT_TRUE(UserInput::tap(*home->postListButton));
    auto* posts = dynamic_cast<UserPostViewController*>(navigation->topViewController());
    ASSERT_NE(posts, nullptr);
    ASSERT_TRUE(waitLoaded(*posts, posts->data));
    ASSERT_TRUE(UserInput::tapRow(*posts->tableView, {0, 0}));
    auto* postOfList = dynamic_cast<PostDetailViewController*>(navigation->topViewController());
    ASSERT_NE(postOfList, nullptr);
    EXPECT_EQ(postOfList->user->uid, author->uid);
    EXPECT_FALSE(postOfList->contentLabel->text().empty());
    navigation->popViewController(false);
    navigation->popViewController(false);

    // Blocked: the author is gone from the refreshed feed.
    home->more();
    ASSERT_TRUE(UserInput::answerSheet(1));  // 屏蔽ta
    ASSERT_TRUE(UserInput::answerAlert(1));  // 确定
    ASSERT_TRUE(waitUntil(
        [&] {
            auto* hud = ProgressHUD::HUDForView(&navigation->view());
            return hud != nullptr && hud->labelText() == "屏蔽成功";
        },
        20000ms));
    EXPECT_TRUE(AlertRegistry::shared().alerts().empty());
    advance(2s);
    navigation->popToRootViewController(false);
    feed_->autoRefresh();
    ASSERT_TRUE(waitUntil([&] { return !feed_->reloading; }, 20000ms));
    for (const auto& record : feed_->data->data()) {
        EXPECT_NE(record->objIdentity(), author->uid);
    }
}

}  // namespace
}  // namespace zorlet::test
