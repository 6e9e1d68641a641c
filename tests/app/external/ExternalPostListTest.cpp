#include "ExternalTestSupport.h"

#include "external/ExternalPostDetailViewController.h"
#include "external/ExternalPostListCell.h"
#include "external/ExternalPostListViewController.h"
#include "external/SendExternalPostViewController.h"
#include "model/ExternalCategory.h"
#include "ui/ActionSheet.h"
#include "ui/UserInput.h"

namespace zorlet::test {
namespace {

class ExternalPostListTest : public ExternalPlacesTest {
protected:
    std::shared_ptr<ExternalPostListViewController> openList(ExternalCategoryPtr category,
                                                             std::optional<std::string> keyword = {}) {
        auto list = std::make_shared<ExternalPostListViewController>();
        list->externalCategory = std::move(category);
        list->keyword = std::move(keyword);
        navigation_ = show(std::make_shared<ViewController>());
        navigation_->pushViewController(list, false);
        std::size_t before = server_.countOf("/post/v135/externalPostList");
        EXPECT_TRUE(waitForRequests("/post/v135/externalPostList", before + 1));
        EXPECT_TRUE(
            waitUntil([&] { return !list->externalPostArray.empty() || !list->bigButton->isHidden(); }));
        return list;
    }
    ExternalCategoryPtr food() {
        return ExternalCategory::convertFromDictionary({{"id", 10}, {"name", "美食"}});
    }
    // Chooses a line of the order sheet.
    void chooseOrder(ExternalPostListViewController& list, int index) {
        list.openOrder();
        auto* sheet = AlertRegistry::shared().topSheet();
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->title(), "排序");
        EXPECT_EQ(sheet->buttonTitle(0), "好评");
        EXPECT_EQ(sheet->buttonTitle(1), "附近");
        EXPECT_EQ(sheet->buttonTitle(sheet->cancelButtonIndex()), "取消");
        ASSERT_TRUE(UserInput::answerSheet(index));
        advance(std::chrono::seconds(1));  // the sheet's dismissal runs to its end
    }

    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(ExternalPostListTest, DistancesReadInKilometresWithTwoTruncatedDecimals) {
    EXPECT_EQ(ExternalPost::distanceText(-1), "");
    EXPECT_EQ(ExternalPost::distanceText(0), "0.00km");
    EXPECT_EQ(ExternalPost::distanceText(999), "0.99km");
    EXPECT_EQ(ExternalPost::distanceText(1050), "1.05km");
    EXPECT_EQ(ExternalPost::distanceText(1234), "1.23km");
    EXPECT_EQ(ExternalPost::distanceText(10005), "10.00km");
    auto absent = ExternalPost::convertFromDictionary({{"externalPostId", 5}, {"name", nullptr}});
    EXPECT_EQ(absent->objIdentity(), 5);
    EXPECT_EQ(absent->name, "");
    EXPECT_EQ(absent->distance, 0);
}

TEST_F(ExternalPostListTest, ACategoryListWithoutAPositionShowsItsPlaces) {
    auto list = openList(food());
    EXPECT_EQ(list->title(), "美食");
    auto sent = server_.lastRequestTo("/post/v135/externalPostList");
    EXPECT_EQ(sent.param("categoryId"), "10");
    EXPECT_EQ(sent.param("sort"), "rating");
    EXPECT_EQ(sent.param("keyword"), "");
    EXPECT_FALSE(sent.hasParam("longitude"));
    EXPECT_FALSE(sent.hasParam("latitude"));

    ASSERT_EQ(list->externalPostArray.size(), 3u);
    EXPECT_FALSE(list->tableView->isHidden());
    EXPECT_TRUE(list->bigButton->isHidden());
    EXPECT_TRUE(list->tip1Label->isHidden());
    ASSERT_EQ(list->tableView->numberOfRows(0), 3);
    EXPECT_EQ(list->heightForRow(*list->tableView, {0, 1}), 100);
    auto first = std::dynamic_pointer_cast<ExternalPostListCell>(list->cellForRow(*list->tableView, {0, 0}));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->nameLabel->text(), "798");
    EXPECT_EQ(first->addressLabel->text(), "北京市朝阳区酒仙桥路101号");
    EXPECT_EQ(first->distanceLabel->text(), "1.23km");
    auto second = std::dynamic_pointer_cast<ExternalPostListCell>(list->cellForRow(*list->tableView, {0, 1}));
    EXPECT_EQ(second->distanceLabel->text(), "");
    // The photo arrives, cropped to twice the view's size.
    ASSERT_TRUE(waitUntil([&] {
        auto image = first->photoImageView->image();
        return image && image->hasPixels() && image->name().empty();
    }));
    EXPECT_EQ(first->photoImageView->image()->image()->width(), 160);
    auto third = std::dynamic_pointer_cast<ExternalPostListCell>(list->cellForRow(*list->tableView, {0, 2}));
    ASSERT_TRUE(third->photoImageView->image());
    EXPECT_EQ(third->photoImageView->image()->name(), ExternalPostListCell::kPlaceholder);

    // "附近" needs a position; without one the order stays.
    chooseOrder(*list, 1);
    EXPECT_EQ(lastAlert(), ExternalPostListViewController::kNoLocationMessage);
    EXPECT_EQ(list->orderButton->tag(), 0);
    EXPECT_EQ(list->orderButton->title(), "好评");
    settle();
    EXPECT_EQ(server_.countOf("/post/v135/externalPostList"), 1u);
}

TEST_F(ExternalPostListTest, WithAPositionTheOrderSwitchesToNearAndBack) {
    locateAt(39.98, 116.49);
    auto list = openList(food());
    auto first = server_.lastRequestTo("/post/v135/externalPostList");
    EXPECT_EQ(first.param("longitude"), "116.49");
    EXPECT_EQ(first.param("latitude"), "39.98");

    chooseOrder(*list, 1);
    ASSERT_TRUE(waitForRequests("/post/v135/externalPostList", 2));
    EXPECT_EQ(server_.lastRequestTo("/post/v135/externalPostList").param("sort"), "near");
    EXPECT_EQ(list->orderButton->tag(), 1);
    EXPECT_EQ(list->orderButton->title(Highlighted), "附近");
    // The order already chosen, and cancelling, load nothing.
    chooseOrder(*list, 1);
    chooseOrder(*list, 2);
    settle();
    EXPECT_EQ(server_.countOf("/post/v135/externalPostList"), 2u);
    chooseOrder(*list, 0);
    ASSERT_TRUE(waitForRequests("/post/v135/externalPostList", 3));
    EXPECT_EQ(server_.lastRequestTo("/post/v135/externalPostList").param("sort"), "rating");
    EXPECT_EQ(list->orderButton->title(), "好评");
}

TEST_F(ExternalPostListTest, NothingFoundInvitesAPostInstead) {
    setPlaces(Json::array());
    auto list = openList(nullptr, std::string("不存在的地方"));
    EXPECT_EQ(list->title(), "不存在的地方");
    EXPECT_TRUE(list->tableView->isHidden());
    EXPECT_FALSE(list->tip1Label->isHidden());
    EXPECT_FALSE(list->tip2Label->isHidden());
    EXPECT_FALSE(list->bigButton->isHidden());
    EXPECT_EQ(list->bigButton->title(), "编辑发布");
    ASSERT_TRUE(UserInput::tap(*list->bigButton));
    EXPECT_EQ(navigation_->topViewController()->className(), "SendPostViewController");
}

TEST_F(ExternalPostListTest, APlacePageStaysOnThePlaceAndLeadsToSharing) {
    EXPECT_EQ(ExternalPostDetailViewController::mobileUrl("http://www.review.example/shop/5?from=www"),
              "http://m.review.example/shop/5?from=m");
    auto list = openList(food());
    list->didSelectRow(*list->tableView, {0, 0});
    auto* detail = dynamic_cast<ExternalPostDetailViewController*>(navigation_->topViewController());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->externalPost, list->externalPostArray[0]);
    EXPECT_EQ(detail->externalCategory, list->externalCategory);
    EXPECT_EQ(detail->title(), "798");
    EXPECT_EQ(detail->realUrl, server_.url("/place/101"));
    ASSERT_TRUE(waitUntil([&] { return detail->webView->pageTitle() == "place 101"; }));

    // Other pages are refused; pages under the place's own are followed.
    detail->webView->clickLink(server_.url("/place/102"));
    settle();
    EXPECT_EQ(detail->webView->currentUrl(), server_.url("/place/101"));
    server_.on("/place/101/reviews", [](const RecordedRequest&, Reply& reply) {
        reply.contentType = "text/html";
        reply.body = "<html><head><title>reviews</title></head></html>";
    });
    detail->webView->clickLink(server_.url("/place/101/reviews"));
    ASSERT_TRUE(waitUntil([&] { return detail->webView->pageTitle() == "reviews"; }));

    // Back goes back in the page first, then leaves the screen.
    detail->goBack();
    ASSERT_TRUE(waitUntil([&] { return detail->webView->currentUrl() == server_.url("/place/101"); }));
    EXPECT_EQ(navigation_->topViewController(), detail);

    ASSERT_TRUE(UserInput::tap(*detail->shareButton));
    auto* share = dynamic_cast<SendExternalPostViewController*>(navigation_->topViewController());
    ASSERT_NE(share, nullptr);
    EXPECT_EQ(share->externalPost, detail->externalPost);
    EXPECT_EQ(share->realUrl, detail->realUrl);
    navigation_->popViewController();
    detail->goBack();
    EXPECT_EQ(navigation_->topViewController(), list.get());
}

}  // namespace
}  // namespace zorlet::test
