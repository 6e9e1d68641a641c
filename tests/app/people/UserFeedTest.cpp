#include "PeopleTestSupport.h"

#include "people/UserListCell.h"
#include "platform/TextLayout.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class UserFeedTest : public PeopleTest {
protected:
    void SetUp() override {
        PeopleTest::SetUp();
        Json list = Json::array({userJson(2, 0, postJson(20, 2, "一起去香山吧")), userJson(3, 1)});
        server_.onJson("/post/v134/userPosts", pageJson(list));
        server_.onJson("/post/v134/nearbyUsers", pageJson(list));
        server_.onJson("/home/updateloc", R"({"success":true})");
    }
    std::shared_ptr<UserViewController> openFeed() {
        auto feed = std::make_shared<UserViewController>();
        show(feed);
        EXPECT_TRUE(waitLoaded(*feed));
        return feed;
    }
    bool waitLoaded(UserViewController& feed) {
        return waitUntil([&] { return !feed.reloading && feed.data && feed.data->count() > 0; });
    }
    RecordedRequest lastListRequest() {
        auto all = server_.requests();
        for (auto it = all.rbegin(); it != all.rend(); ++it) {
            if (it->path.rfind("/post/v134/", 0) == 0) {
                return *it;
            }
        }
        return {};
    }
    std::size_t listRequestCount() {
        return server_.countOf("/post/v134/userPosts") + server_.countOf("/post/v134/nearbyUsers");
    }
};

TEST_F(UserFeedTest, OrderAndGenderFilterChooseThePathAndParameters) {
    signInAs(1, 1);  // a man sees women first
    auto feed = openFeed();
    auto first = lastListRequest();
    EXPECT_EQ(first.path, "/post/v134/userPosts");
    EXPECT_EQ(first.param("orderType"), "online");
    EXPECT_EQ(first.param("gender"), "0");
    EXPECT_EQ(first.param("page"), "1");

    feed->loadListDataWithPage(0);
    ASSERT_TRUE(waitForRequests("/post/v134/userPosts", 2));
    EXPECT_EQ(lastListRequest().param("page"), "1");
    feed->loadListDataWithPage(-4);
    ASSERT_TRUE(waitForRequests("/post/v134/userPosts", 3));
    EXPECT_EQ(lastListRequest().param("page"), "1");
    ASSERT_TRUE(waitLoaded(*feed));

    // "附近": its own path, no order.
    feed->segmentedControl->buttons()[1]->touch(TouchDown);
    ASSERT_TRUE(waitForRequests("/post/v134/nearbyUsers", 1));
    EXPECT_FALSE(lastListRequest().hasParam("orderType"));
    ASSERT_TRUE(waitLoaded(*feed));

    feed->segmentedControl->buttons()[2]->touch(TouchDown);
    ASSERT_TRUE(waitForRequests("/post/v134/userPosts", 4));
    EXPECT_EQ(lastListRequest().param("orderType"), "new");
    ASSERT_TRUE(waitLoaded(*feed));

    // The segment already shown sends nothing.
    std::size_t before = listRequestCount();
    feed->segmentedControl->buttons()[2]->touch(TouchDown);
    settle();
    EXPECT_EQ(listRequestCount(), before);

    // "全部" sends no gender, "宅男" 1, "宅女" 0.
    ASSERT_TRUE(UserInput::tap(*feed->genderButtonView));
    ASSERT_NE(AlertRegistry::shared().topSheet(), nullptr);
    EXPECT_EQ(AlertRegistry::shared().topSheet()->title(), "筛选");
    ASSERT_TRUE(UserInput::answerSheet(0));  // 全部
    ASSERT_TRUE(waitUntil([&] { return listRequestCount() == before + 1; }));
    EXPECT_FALSE(lastListRequest().hasParam("gender"));
    ASSERT_TRUE(waitLoaded(*feed));
    ASSERT_TRUE(UserInput::tap(*feed->genderButtonView));
    ASSERT_TRUE(UserInput::answerSheet(1));  // 宅男
    ASSERT_TRUE(waitUntil([&] { return listRequestCount() == before + 2; }));
    EXPECT_EQ(lastListRequest().param("gender"), "1");
    EXPECT_EQ(lastListRequest().param("orderType"), "new");
}

TEST_F(UserFeedTest, WomenAndUnknownViewersStartWithEveryone) {
    signInAs(1, 0);
    auto feed = openFeed();
    EXPECT_EQ(feed->genderButtonView->tag(), GenderButton::kAll);
    EXPECT_FALSE(lastListRequest().hasParam("gender"));
}

TEST_F(UserFeedTest, ReportsAPositionOnlyWhenItChanged) {
    signInAs(1, 1);
    UserLocationSource::shared().setLocation({39.9, 116.4});
    auto feed = openFeed();
    ASSERT_TRUE(waitForRequests("/home/updateloc", 1));
    auto report = server_.lastRequestTo("/home/updateloc");
    EXPECT_EQ(report.param("latitude"), "39.9");
    EXPECT_EQ(report.param("longitude"), "116.4");
    EXPECT_DOUBLE_EQ(UserContext::getUserHome()->latitude, 39.9);
    EXPECT_DOUBLE_EQ(UserViewController::lastLongitude(), 116.4);
    EXPECT_EQ(feed->locationMap, nullptr);  // the fix ended

    feed->autoRefresh();
    ASSERT_TRUE(waitForRequests("/post/v134/userPosts", 2));
    ASSERT_TRUE(waitLoaded(*feed));
    settle();
    EXPECT_EQ(server_.countOf("/home/updateloc"), 1u);

    UserLocationSource::shared().setLocation({31.2, 121.5});
    feed->autoRefresh();
    ASSERT_TRUE(waitForRequests("/home/updateloc", 2));
    EXPECT_DOUBLE_EQ(UserContext::getUserHome()->longitude, 121.5);
}

TEST_F(UserFeedTest, RowHeightsFollowTheTextPictureAndViewer) {
    signInAs(1, 1);
    auto stranger = User::convertFromDictionary(userJson(2, 0));
    auto me = User::convertFromDictionary(userJson(1, 1));
    EXPECT_EQ(UserListCell::heightForCell(*stranger), 111);
    EXPECT_EQ(UserListCell::heightForCell(*me), 78);

    auto withPost = User::convertFromDictionary(userJson(2, 0, postJson(5, 2, "走")));
    double line = TextLayout::shared()
                      .measure("爬山：走", Font::systemFont(14), 206, 1000, LineBreakMode::CharacterWrap)
                      .height;
    EXPECT_EQ(UserListCell::heightForCell(*withPost), 93 + line);
    auto withPicture = User::convertFromDictionary(userJson(2, 0, postJson(5, 2, "走", true)));
    EXPECT_EQ(UserListCell::heightForCell(*withPicture), 93 + line + 80);
    auto mine = User::convertFromDictionary(userJson(1, 1, postJson(6, 1, "走", true)));
    EXPECT_EQ(UserListCell::heightForCell(*mine), 93 + line + 80 - 33);

    // A long text wraps by character into more lines, all of them counted.
    std::string longText(300, 'x');
    auto wordy = User::convertFromDictionary(userJson(2, 0, postJson(7, 2, longText)));
    EXPECT_GT(UserListCell::heightForCell(*wordy), 93 + 3 * line);
}

TEST_F(UserFeedTest, RowsShowDistancesButHideFarAndUnknownOnes) {
    signInAs(1, 1, 2, 39.9, 116.4);
    auto cell = UserListCell::cellFromNib();
    cell->redrawn(User::convertFromDictionary(userJson(2, 0, postJson(5, 2, "走"), {116.41, 39.9})));
    EXPECT_FALSE(cell->locationLabel->isHidden());
    EXPECT_EQ(cell->locationLabel->text(), "0.8km");
    EXPECT_EQ(cell->locationLabel->frame().maxX(), 300);
    EXPECT_EQ(cell->locationIcon->frame().maxX(), cell->locationLabel->frame().x() - 2);
    EXPECT_EQ(cell->nicknameLabel->textColor(), (Color{1.0, 0.4, 0.6, 1}));

    cell->redrawn(User::convertFromDictionary(userJson(3, 1, nullptr, {121.5, 31.2})));  // Shanghai
    EXPECT_TRUE(cell->locationLabel->isHidden());
    EXPECT_TRUE(cell->locationIcon->isHidden());
    EXPECT_EQ(cell->contentLabel->text(), UserListCell::kNoPostText);
    EXPECT_FALSE(cell->dateButton().isHidden());
    EXPECT_TRUE(cell->imageView->isHidden());
    EXPECT_TRUE(cell->respButton().isHidden());

    cell->redrawn(User::convertFromDictionary(userJson(4, 1)));
    EXPECT_TRUE(cell->locationLabel->isHidden());
}

TEST_F(UserFeedTest, TheViewersOwnRowWithoutAPostOffersNoInvitation) {
    signInAs(1, 1);
    auto cell = UserListCell::cellFromNib();
    auto stranger = User::convertFromDictionary(userJson(3, 1));
    auto me = User::convertFromDictionary(userJson(1, 1));

    // A stranger's row holds the button 10 points under the text.
    cell->redrawn(stranger);
    ASSERT_FALSE(cell->dateButton().isHidden());
    EXPECT_EQ(cell->dateButton().frame().y(), cell->contentLabel->frame().maxY() + 10);
    EXPECT_EQ(cell->dateButton().frame().maxX(), 300);
    EXPECT_LE(cell->dateButton().frame().maxY(), cell->frame().height());

    // The same cell reused for the viewer's own, shorter row: there the button
    // would hang into the next row, and nobody invites themselves.
    cell->redrawn(me);
    EXPECT_EQ(cell->frame().height(), 78);
    EXPECT_TRUE(cell->dateButton().isHidden());
    EXPECT_GT(cell->contentLabel->frame().maxY() + 10 + cell->dateButton().frame().height(),
              cell->frame().height());

    cell->redrawn(stranger);
    EXPECT_FALSE(cell->dateButton().isHidden());
}

TEST_F(UserFeedTest, RespondingCountsOnceAndDisablesTheButton) {
    signInAs(1, 1);
    server_.onJson("/post/respPost", R"({"success":true})");
    auto feed = openFeed();
    auto* cell = dynamic_cast<UserListCell*>(feed->tableView->cellForRow({0, 0}));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->respButton().title(), "");
    EXPECT_TRUE(cell->respButton().isEnabled());

    ASSERT_TRUE(UserInput::tap(cell->respButton()));
    ASSERT_TRUE(waitUntil([&] { return cell->user->post->hasResp == 1; }));
    EXPECT_EQ(server_.lastRequestTo("/post/respPost").param("postId"), "20");
    EXPECT_EQ(cell->respButton().title(), "1");
    EXPECT_FALSE(cell->respButton().isEnabled());
    EXPECT_EQ(cell->respButton().frame().maxX(), cell->commentButton().frame().x() - 10);
    EXPECT_EQ(ProgressHUD::HUDForView(window_.get())->labelText(), "好的，已告诉ta你有兴趣");
    advance(2s);

    // Another screen's change of the shared post shows when the feed appears again.
    feed->tableView->reloadData();
    cell = dynamic_cast<UserListCell*>(feed->tableView->cellForRow({0, 0}));
    EXPECT_EQ(cell->respButton().title(), "1");
    EXPECT_FALSE(cell->respButton().isEnabled());
}

TEST_F(UserFeedTest, ARefusedResponseLeavesTheRowAsItWas) {
    signInAs(1, 1);
    server_.onJson("/post/respPost", R"({"success":false,"errorInfo":"不能响应"})");
    auto feed = openFeed();
    auto* cell = dynamic_cast<UserListCell*>(feed->tableView->cellForRow({0, 0}));
    ASSERT_TRUE(UserInput::tap(cell->respButton()));
    ASSERT_TRUE(waitUntil([] { return AlertRegistry::shared().topAlert() != nullptr; }));
    EXPECT_EQ(AlertRegistry::shared().topAlert()->title(), "不能响应");
    EXPECT_EQ(cell->user->post->respCnt, 0);
    EXPECT_TRUE(cell->respButton().isEnabled());
}

class PromotionTest : public UserFeedTest {
protected:
    void launchFeed() {
        feed_.reset();
        window_ = std::make_shared<Window>();
        feed_ = openFeed();
    }
    bool promotionShown() {
        for (const auto& title : AlertRegistry::shared().shownAlertTitles()) {
            if (title == UserViewController::kPromotionTitle) {
                return true;
            }
        }
        return false;
    }
    std::shared_ptr<UserViewController> feed_;
};

TEST_F(PromotionTest, ComesOnALaterLaunchAfterThirtySecondsUntilTheUserGoesToSee) {
    signInAs(1, 1, 1);
    launchFeed();
    advance(5s);
    EXPECT_FALSE(promotionShown());  // the first launch only remembers the time
    EXPECT_GT(UserDefaults::standard().doubleForKey(UserViewController::kPromotionTimeKey), 0);

    advance(10s);
    launchFeed();
    advance(5s);
    EXPECT_FALSE(promotionShown());  // too soon

    advance(30s);
    launchFeed();
    advance(2s);
    EXPECT_FALSE(promotionShown());  // shown three seconds after the screen loads
    advance(1s);
    ASSERT_TRUE(promotionShown());
    ASSERT_TRUE(UserInput::answerAlert(0));  // 下次再说
    AlertRegistry::shared().clear();

    advance(31s);
    launchFeed();
    advance(3s);
    ASSERT_TRUE(promotionShown());
    ASSERT_TRUE(UserInput::answerAlert(1));  // 去看看
    EXPECT_EQ(UserDefaults::standard().doubleForKey(UserViewController::kPromotionTimeKey), 9999999999.0);
    ASSERT_EQ(Application::shared().openedUrls().size(), 1u);
    AlertRegistry::shared().clear();

    advance(60s);
    launchFeed();
    advance(5s);
    EXPECT_FALSE(promotionShown());
}

TEST_F(PromotionTest, OnlyForUsersOfCityOne) {
    signInAs(1, 1, 2);
    launchFeed();
    EXPECT_FALSE(UserDefaults::standard().hasKey(UserViewController::kPromotionTimeKey));
}

}  // namespace
}  // namespace zorlet::test
