// Sharing a place against the local service: from the feed's plus button to
// a category, its places nearest first, one place's page, the post with a day
// and a comment, the users who might come along, and the post in the feed.
#include "app/CustomNavigationController.h"
#include "external/ExternalCategoryListViewController.h"
#include "external/ExternalPostDetailViewController.h"
#include "external/ExternalPostListViewController.h"
#include "external/SendExternalPostViewController.h"
#include "model/User.h"
#include "people/RescueUsersViewController.h"
#include "people/UserViewController.h"
#include "sandbox/DemoSeed.h"
#include "sandbox/ExternalSeed.h"
#include "session/LoginService.h"
#include "session/UserContext.h"
#include "ui/ActionSheet.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"
#include "ui/UserLocationSource.h"
#include "widgets/CustomActionSheet.h"
#include "widgets/GenderButton.h"

#include "SandboxJourneyTest.h"

#include <set>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class ExternalPlacesJourneyTest : public SandboxJourneyTest {
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
    template <typename Screen>
    Screen* top(NavigationController& navigation) {
        return dynamic_cast<Screen*>(navigation.topViewController());
    }
};

TEST_F(ExternalPlacesJourneyTest, FromThePlusButtonToASharedPlaceInTheFeed) {
    ASSERT_TRUE(LoginService::getInstance()
                    .useLoginName(sandbox::DemoSeed::demoAccount, sandbox::DemoSeed::demoPassword)
                    .success);
    std::int64_t me = UserContext::getUid();
    UserLocationSource::shared().setLocation({39.909, 116.397});
    auto feed = std::make_shared<UserViewController>();
    window_->setRootViewController(std::make_shared<CustomNavigationController>(feed));
    window_->makeKeyAndVisible();
    ASSERT_TRUE(waitUntil([&] { return UserViewController::lastLatitude() != 0; }, 20000ms));

    // Plus → the categories.
    feed->goToExternalCategoryList();
    auto* modal = dynamic_cast<CustomNavigationController*>(feed->modalViewController());
    ASSERT_NE(modal, nullptr);
    auto* categories = top<ExternalCategoryListViewController>(*modal);
    ASSERT_NE(categories, nullptr);
    categories->view();
    ASSERT_TRUE(waitUntil([&] { return categories->externalCategoryArray.size() >= 10; }, 20000ms));
    int exhibitions = -1;
    for (std::size_t i = 0; i < categories->externalCategoryArray.size(); ++i) {
        if (categories->externalCategoryArray[i]->externalCategoryName == "展览演出") {
            exhibitions = static_cast<int>(i);
        }
    }
    ASSERT_GE(exhibitions, 0);
    categories->listExternalPosts(exhibitions);

    // The list, then nearest first.
    auto* list = top<ExternalPostListViewController>(*modal);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !list->externalPostArray().empty(); }, 20000ms));
    auto rated = list->externalPostArray();
    list->openOrder();
    ASSERT_TRUE(UserInput::answerSheet(1));
    ASSERT_TRUE(waitUntil([&] { return list->externalPostArray() != rated; }, 20000ms));
    ASSERT_EQ(list->orderButton->title(), "附近");
    const auto places = list->externalPostArray();
    for (std::size_t i = 1; i < places.size(); ++i) {
        EXPECT_LE(places[i - 1]->distance, places[i]->distance);
    }
    int row = -1;
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (places[i]->name == "798") {
            row = static_cast<int>(i);
        }
    }
    ASSERT_GE(row, 0) << "the place 798 is among the nearest exhibitions";
    std::string address = places[static_cast<std::size_t>(row)]->address;
    ASSERT_TRUE(UserInput::tapRow(*list->tableView, {0, row}));

    // Its page, served by the review service.
    auto* detail = top<ExternalPostDetailViewController>(*modal);
    ASSERT_NE(detail, nullptr);
    ASSERT_TRUE(waitUntil([&] { return detail->webView->pageTitle() == "798"; }, 20000ms));
    EXPECT_NE(detail->webView->pageContent().find(address), std::string::npos);
    std::string pageUrl = detail->realUrl;
    ASSERT_TRUE(UserInput::tap(*detail->shareButton));

    // Shared with a day and a comment.
    auto* share = top<SendExternalPostViewController>(*modal);
    ASSERT_NE(share, nullptr);
    ASSERT_TRUE(waitUntil([&] { return share->photoImageView->tag() == 1; }, 20000ms));
    share->openDate();
    auto* sheet = dynamic_cast<CustomActionSheet*>(AlertRegistry::shared().topSheet());
    ASSERT_NE(sheet, nullptr);
    sheet->done();
    ASSERT_TRUE(share->time);
    std::string day = *share->time;
    share->textView->setText("看展");
    ASSERT_TRUE(UserInput::tap(*share->bigButton));
    auto* hud = ProgressHUD::HUDForView(window_.get());
    ASSERT_NE(hud, nullptr);
    ASSERT_TRUE(waitUntil([&] { return hud->labelText() == "发送成功"; }, 20000ms));
    advance(2s);
    auto* rescue = top<RescueUsersViewController>(*modal);
    ASSERT_NE(rescue, nullptr);
    EXPECT_EQ(rescue->postContent, "798，看展");

    // The post leads the feed's newest list, with the place (the screens above are gone now).
    feed->dismissModalViewController(false);
    ASSERT_EQ(feed->modalViewController(), nullptr);
    feed->touchDownAtSegmentIndex(UserViewController::kNewestOrder);
    feed->genderButtonView->setTag(GenderButton::kAll);
    feed->genderButton(*feed->genderButtonView, GenderButton::kAll);  // the feed may show one gender
    ASSERT_TRUE(waitUntil([&] { return !feed->reloading; }, 20000ms));
    feed->loadListDataWithPage(1);
    // The feed shows the sharer with the shared place as their latest post.
    auto mine = [&]() -> UserPtr {
        if (feed->reloading || !feed->data) {
            return nullptr;
        }
        for (std::size_t i = 0; i < feed->data->count(); ++i) {
            auto user = std::static_pointer_cast<User>(feed->data->objectAtIndex(i));
            if (user->uid == me) {
                return user;
            }
        }
        return nullptr;
    };
    ASSERT_TRUE(waitUntil([&] { return mine() != nullptr; }, 20000ms));
    auto first = mine();
    EXPECT_EQ(first->uid, me);
    ASSERT_TRUE(first->post);
    EXPECT_EQ(first->post->content, "798，看展");
    EXPECT_EQ(first->post->place, address);
    EXPECT_EQ(first->post->link, pageUrl);
    EXPECT_FALSE(first->post->bigPic.empty());
    EXPECT_FALSE(first->post->date.empty()) << day;
}

TEST_F(ExternalPlacesJourneyTest, AKeywordSearchReachesEveryPlaceThroughTheMoreRow) {
    ASSERT_TRUE(LoginService::getInstance()
                    .useLoginName(sandbox::DemoSeed::demoAccount, sandbox::DemoSeed::demoPassword)
                    .success);
    auto categories = std::make_shared<ExternalCategoryListViewController>();
    auto navigation = std::make_shared<CustomNavigationController>(categories);
    window_->setRootViewController(navigation);
    window_->makeKeyAndVisible();
    categories->view();
    ASSERT_TRUE(waitUntil([&] { return !categories->externalCategoryArray.empty(); }, 20000ms));
    categories->searchBar->setText("杭州");
    categories->searchBarSearchButtonClicked(*categories->searchBar);
    auto* list = top<ExternalPostListViewController>(*navigation);
    ASSERT_NE(list, nullptr);
    list->view();
    ASSERT_TRUE(waitUntil([&] { return !list->reloading && list->data->pager(); }, 20000ms));
    ASSERT_EQ(list->data->count(), 20u);

    // More rows until the last page: every place of the city, each once.
    for (int taps = 0; taps < 5 && list->data->pager()->hasNext; ++taps) {
        std::size_t shown = list->data->count();
        ASSERT_TRUE(UserInput::tapRow(*list->tableView, {0, list->tableView->numberOfRows(0) - 1}));
        ASSERT_TRUE(waitUntil([&] { return list->data->count() > shown; }, 20000ms));
    }
    EXPECT_FALSE(list->data->pager()->hasNext);
    auto places = list->externalPostArray();
    ASSERT_EQ(places.size(), static_cast<std::size_t>(sandbox::ExternalSeed::placesPerCity));
    EXPECT_EQ(list->tableView->numberOfRows(0), sandbox::ExternalSeed::placesPerCity);
    std::set<std::int64_t> ids;
    for (const auto& place : places) {
        ids.insert(place->externalPostId);
        EXPECT_TRUE(place->name.find("杭州") != std::string::npos ||
                    place->address.find("杭州") != std::string::npos)
            << place->name << " " << place->address;
    }
    EXPECT_EQ(ids.size(), places.size());
}

}  // namespace
}  // namespace zorlet::test
