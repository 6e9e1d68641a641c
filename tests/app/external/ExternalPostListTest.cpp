#include "ExternalTestSupport.h"

#include "external/ExternalPostDetailViewController.h"
#include "external/ExternalPostListCell.h"
#include "external/ExternalPostListViewController.h"
#include "external/SendExternalPostViewController.h"
#include "model/ExternalCategory.h"
#include "net/PagerCell.h"
#include "net/ResponseEnvelope.h"
#include "session/LoginService.h"
#include "ui/ActionSheet.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <set>

namespace zorlet::test {
namespace {

class ExternalPostListTest : public ExternalPlacesTest {
protected:
    // Pushes the list, which starts its first load; its answer is not awaited.
    std::shared_ptr<ExternalPostListViewController> pushList(ExternalCategoryPtr category,
                                                             std::optional<std::string> keyword = {}) {
        auto list = std::make_shared<ExternalPostListViewController>();
        list->externalCategory = std::move(category);
        list->keyword = std::move(keyword);
        navigation_ = show(std::make_shared<ViewController>());
        navigation_->pushViewController(list, false);
        return list;
    }
    std::shared_ptr<ExternalPostListViewController> openList(ExternalCategoryPtr category,
                                                             std::optional<std::string> keyword = {}) {
        std::size_t before = server_.countOf("/post/v135/externalPostList");
        auto list = pushList(std::move(category), std::move(keyword));
        EXPECT_TRUE(waitForRequests("/post/v135/externalPostList", before + 1));
        EXPECT_TRUE(waitUntil([&] { return !list->reloading && list->data->pager(); }));
        return list;
    }
    // A place list of `total` places served a page of twenty at a time. The
    // near order lists other places (ids from 2000) than the rating order
    // (ids from 1000), so rows of one order cannot pass for the other. Each
    // page after the first starts again with the last `overlap` places of the
    // page before, as when places move between pages while the user reads.
    struct PageScript {
        int total = 0;
        int overlap = 0;
        // Answered with HTTP 500.
        std::set<int> failingPages{};
        // Pages the service refuses, by "sort:page", with the envelope it answers.
        std::map<std::string, std::string> refusals{};
        std::chrono::milliseconds stallOfFirstPage{};
        std::chrono::milliseconds stallOfLastPage{};
    };
    void servePages(PageScript script) {
        server_.on("/post/v135/externalPostList", [script, this](const RecordedRequest& request,
                                                                 Reply& reply) {
            int page = std::max(1, std::atoi(request.param("page").c_str()));
            if (page == 1) {
                reply.stall = script.stallOfFirstPage;
            }
            if (script.failingPages.count(page) > 0) {
                reply.status = 500;
                reply.body = "{}";
                return;
            }
            auto refusal = script.refusals.find(request.param("sort") + ":" + std::to_string(page));
            if (refusal != script.refusals.end()) {
                reply.body = refusal->second;
                return;
            }
            int base = request.param("sort") == "near" ? 2000 : 1000;
            int end = std::min(script.total, page * kPageSize);
            Json list = Json::array();
            int overlap = page > 1 ? script.overlap : 0;
            for (int i = std::max(0, (page - 1) * kPageSize - overlap); i < end; ++i) {
                list.push_back(placeJson(base + i, "地点" + std::to_string(base + i), i * 100, i % 2 == 0));
            }
            bool hasNext = end < script.total;
            if (!hasNext && script.stallOfLastPage.count() > 0) {
                reply.stall = script.stallOfLastPage;
            }
            reply.body = Json{
                {"success", true},
                {"result",
                 {{"pager", {{"currentPage", page}, {"maxResult", kPageSize}, {"hasNext", hasNext}}},
                  {"list",
                   list}}}}.dump();
        });
    }
    // The ids of the places shown, row 0 first.
    static std::vector<std::int64_t> shownIds(const ExternalPostListViewController& list) {
        std::vector<std::int64_t> ids;
        for (const auto& place : list.externalPostArray()) {
            ids.push_back(place->externalPostId);
        }
        return ids;
    }
    static std::vector<std::int64_t> idRange(std::int64_t first, std::int64_t count) {
        std::vector<std::int64_t> ids;
        for (std::int64_t i = 0; i < count; ++i) {
            ids.push_back(first + i);
        }
        return ids;
    }
    // Taps the more row at the end of the list and waits for that page's request.
    void tapMoreRow(ExternalPostListViewController& list) {
        int row = list.tableView->numberOfRows(0) - 1;
        ASSERT_GE(row, 0);
        auto pager = std::dynamic_pointer_cast<PagerCell>(list.cellForRow(*list.tableView, {0, row}));
        ASSERT_TRUE(pager) << "no more row";
        EXPECT_EQ(pager->title(), "查看更多");
        std::size_t before = server_.countOf("/post/v135/externalPostList");
        ASSERT_TRUE(UserInput::tapRow(*list.tableView, {0, row}));
        ASSERT_TRUE(waitForRequests("/post/v135/externalPostList", before + 1));
    }
    bool hasMoreRow(ExternalPostListViewController& list) {
        int rows = list.tableView->numberOfRows(0);
        return rows > 0 && std::dynamic_pointer_cast<PagerCell>(
                               list.cellForRow(*list.tableView, {0, rows - 1})) != nullptr;
    }

    static constexpr int kPageSize = 20;
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

    static std::string refusal(const std::string& info) {
        return Json{{"success", false}, {"errorCode", 7}, {"errorInfo", info}}.dump();
    }
    ProgressHUD* windowHud() { return ProgressHUD::HUDForView(window_.get()); }

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
    EXPECT_EQ(sent.param("page"), "1");
    EXPECT_EQ(sent.param("categoryId"), "10");
    EXPECT_EQ(sent.param("sort"), "rating");
    EXPECT_EQ(sent.param("keyword"), "");
    EXPECT_FALSE(sent.hasParam("longitude"));
    EXPECT_FALSE(sent.hasParam("latitude"));

    ASSERT_EQ(list->externalPostArray().size(), 3u);
    EXPECT_FALSE(list->tableView->isHidden());
    EXPECT_TRUE(list->bigButton->isHidden());
    EXPECT_TRUE(list->tip1Label->isHidden());
    // One page only: no more row.
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
    EXPECT_EQ(detail->externalPost, list->externalPostArray()[0]);
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

TEST_F(ExternalPostListTest, PlacesComeTwentyAtATimeBehindTheMoreRow) {
    servePages({.total = 45});
    auto list = openList(food());
    EXPECT_EQ(server_.lastRequestTo("/post/v135/externalPostList").param("page"), "1");
    EXPECT_EQ(shownIds(*list), idRange(1000, 20));
    ASSERT_EQ(list->tableView->numberOfRows(0), 21);
    EXPECT_EQ(list->heightForRow(*list->tableView, {0, 19}), ExternalPostListCell::kHeight);
    EXPECT_EQ(list->heightForRow(*list->tableView, {0, 20}), PagerCell::kHeight);
    EXPECT_TRUE(hasMoreRow(*list));

    // The more row asks for the next page with the same search, and the page is appended.
    tapMoreRow(*list);
    auto second = server_.lastRequestTo("/post/v135/externalPostList");
    EXPECT_EQ(second.param("page"), "2");
    EXPECT_EQ(second.param("categoryId"), "10");
    EXPECT_EQ(second.param("sort"), "rating");
    EXPECT_EQ(second.param("keyword"), "");
    ASSERT_TRUE(waitUntil([&] { return list->data->count() == 40; }));
    EXPECT_EQ(shownIds(*list), idRange(1000, 40));
    EXPECT_EQ(list->tableView->numberOfRows(0), 41);
    // A row of the second page opens its own place.
    list->didSelectRow(*list->tableView, {0, 25});
    auto* detail = dynamic_cast<ExternalPostDetailViewController*>(navigation_->topViewController());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->externalPost->externalPostId, 1025);
    navigation_->popViewController();

    // The last page has no more row.
    tapMoreRow(*list);
    EXPECT_EQ(server_.lastRequestTo("/post/v135/externalPostList").param("page"), "3");
    ASSERT_TRUE(waitUntil([&] { return list->data->count() == 45; }));
    EXPECT_EQ(shownIds(*list), idRange(1000, 45));
    EXPECT_EQ(list->tableView->numberOfRows(0), 45);
    EXPECT_FALSE(hasMoreRow(*list));
    EXPECT_FALSE(list->tableView->isHidden());
    EXPECT_TRUE(list->bigButton->isHidden());

    // Pulling the list down starts again at page 1 and replaces what was shown.
    UserInput::pullDown(*list->tableView, 80);
    ASSERT_TRUE(waitForRequests("/post/v135/externalPostList", 4));
    EXPECT_EQ(server_.lastRequestTo("/post/v135/externalPostList").param("page"), "1");
    ASSERT_TRUE(waitUntil([&] { return !list->reloading; }));
    EXPECT_EQ(shownIds(*list), idRange(1000, 20));
    EXPECT_TRUE(hasMoreRow(*list));
}

TEST_F(ExternalPostListTest, APlaceShownBeforeOrAPageAnsweredTwiceAddsNothing) {
    servePages({.total = 30, .overlap = 3});
    auto list = openList(nullptr, std::string("杭州"));
    ASSERT_EQ(list->data->count(), 20u);
    // Two taps before the page arrives ask twice; the rows hold each place once.
    ASSERT_TRUE(UserInput::tapRow(*list->tableView, {0, 20}));
    ASSERT_TRUE(UserInput::tapRow(*list->tableView, {0, 20}));
    ASSERT_TRUE(waitForRequests("/post/v135/externalPostList", 3));
    for (const auto& sent : server_.requestsTo("/post/v135/externalPostList")) {
        EXPECT_EQ(sent.param("keyword"), "杭州");
    }
    EXPECT_EQ(server_.requestsTo("/post/v135/externalPostList")[1].param("page"), "2");
    EXPECT_EQ(server_.lastRequestTo("/post/v135/externalPostList").param("page"), "2");
    ASSERT_TRUE(waitUntil([&] { return server_.inFlight() == 0 && !hasMoreRow(*list); }));
    settle();
    EXPECT_EQ(shownIds(*list), idRange(1000, 30));
    EXPECT_EQ(list->tableView->numberOfRows(0), 30);
}

TEST_F(ExternalPostListTest, AFailedPageKeepsTheRowsShownAndCanBeAskedForAgain) {
    servePages({.total = 30, .failingPages = {2}});
    auto list = openList(food());
    tapMoreRow(*list);
    ASSERT_TRUE(waitUntil([&] { return lastAlert() == ResponseEnvelope::kGenericError; }));
    EXPECT_EQ(shownIds(*list), idRange(1000, 20));
    ASSERT_EQ(list->tableView->numberOfRows(0), 21);
    auto pager = std::dynamic_pointer_cast<PagerCell>(list->cellForRow(*list->tableView, {0, 20}));
    ASSERT_TRUE(pager);
    EXPECT_FALSE(pager->isLoading());
    EXPECT_FALSE(list->tableView->isHidden());
    AlertRegistry::shared().clear();

    servePages({.total = 30});
    tapMoreRow(*list);
    ASSERT_TRUE(waitUntil([&] { return list->data->count() == 30; }));
    EXPECT_EQ(shownIds(*list), idRange(1000, 30));
    EXPECT_FALSE(hasMoreRow(*list));
}

TEST_F(ExternalPostListTest, ChangingTheOrderStartsAgainAtPageOne) {
    locateAt(39.98, 116.49);
    servePages({.total = 45, .stallOfLastPage = std::chrono::milliseconds(600)});
    auto list = openList(food());
    tapMoreRow(*list);
    ASSERT_TRUE(waitUntil([&] { return list->data->count() == 40; }));

    chooseOrder(*list, 1);
    ASSERT_TRUE(waitForRequests("/post/v135/externalPostList", 3));
    auto near = server_.lastRequestTo("/post/v135/externalPostList");
    EXPECT_EQ(near.param("sort"), "near");
    EXPECT_EQ(near.param("page"), "1");
    ASSERT_TRUE(waitUntil([&] { return !list->reloading; }));
    EXPECT_EQ(shownIds(*list), idRange(2000, 20));
    EXPECT_TRUE(hasMoreRow(*list));
    tapMoreRow(*list);
    EXPECT_EQ(server_.lastRequestTo("/post/v135/externalPostList").param("sort"), "near");
    EXPECT_EQ(server_.lastRequestTo("/post/v135/externalPostList").param("page"), "2");
    ASSERT_TRUE(waitUntil([&] { return list->data->count() == 40; }));

    // The order changes while the last near page is still on its way: that
    // page neither extends nor replaces the list in the new order.
    tapMoreRow(*list);
    EXPECT_EQ(server_.lastRequestTo("/post/v135/externalPostList").param("page"), "3");
    chooseOrder(*list, 0);
    ASSERT_TRUE(waitForRequests("/post/v135/externalPostList", 6));
    auto rated = server_.lastRequestTo("/post/v135/externalPostList");
    EXPECT_EQ(rated.param("sort"), "rating");
    EXPECT_EQ(rated.param("page"), "1");
    ASSERT_TRUE(waitUntil([&] { return server_.inFlight() == 0 && !list->reloading; }));
    settle();
    EXPECT_EQ(shownIds(*list), idRange(1000, 20));
    EXPECT_TRUE(hasMoreRow(*list));
    EXPECT_EQ(lastAlert(), "");
}

TEST_F(ExternalPostListTest, LoadsThatReplaceTheListLockTheWindowUntilTheyEnd) {
    using namespace std::chrono_literals;
    locateAt(39.98, 116.49);
    servePages({.total = 45, .stallOfFirstPage = 500ms});

    // The first load: the indicator over the key window, which takes no tap meanwhile.
    auto list = pushList(food());
    ASSERT_NE(windowHud(), nullptr);
    EXPECT_EQ(windowHud()->labelText(), ExternalPostListViewController::kLoadingText);
    EXPECT_TRUE(windowHud()->isShown());
    EXPECT_FALSE(UserInput::tap(*list->orderButton));
    ASSERT_TRUE(waitUntil([&] { return !list->reloading && list->data->pager(); }));
    EXPECT_EQ(windowHud(), nullptr);
    EXPECT_EQ(shownIds(*list), idRange(1000, 20));

    // A later page shows only the more row's spinner.
    tapMoreRow(*list);
    EXPECT_EQ(windowHud(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return list->data->count() == 40; }));

    // Pulling down shows only the pull header.
    UserInput::pullDown(*list->tableView, 80);
    ASSERT_TRUE(list->reloading);
    EXPECT_EQ(windowHud(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return !list->reloading; }));

    // A change of order replaces the list: locked again until its first page arrives.
    ASSERT_TRUE(UserInput::tap(*list->orderButton));
    ASSERT_TRUE(UserInput::answerSheet(1));
    advance(std::chrono::seconds(1));
    ASSERT_NE(windowHud(), nullptr);
    EXPECT_EQ(windowHud()->labelText(), ExternalPostListViewController::kLoadingText);
    EXPECT_FALSE(UserInput::tapRow(*list->tableView, {0, 0}));
    ASSERT_TRUE(waitUntil([&] { return !list->reloading && server_.inFlight() == 0; }));
    EXPECT_EQ(windowHud(), nullptr);
    EXPECT_EQ(shownIds(*list), idRange(2000, 20));
    EXPECT_EQ(lastAlert(), "");

    // Changing the order again before the answer leaves one indicator, gone with the last load.
    chooseOrder(*list, 0);
    chooseOrder(*list, 1);
    ASSERT_NE(windowHud(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return !list->reloading && server_.inFlight() == 0; }));
    settle();
    EXPECT_EQ(windowHud(), nullptr);
    EXPECT_EQ(shownIds(*list), idRange(2000, 20));

    // Without a network no request is made and nothing covers the window; the
    // rows stay, and so does the order they were asked in.
    Reachability::shared().setNetworkAvailable(false);
    std::size_t sent = server_.countOf("/post/v135/externalPostList");
    chooseOrder(*list, 0);
    EXPECT_EQ(windowHud(), nullptr);
    EXPECT_FALSE(list->reloading);
    EXPECT_EQ(server_.countOf("/post/v135/externalPostList"), sent);
    EXPECT_EQ(shownIds(*list), idRange(2000, 20));
    EXPECT_EQ(list->orderButton->tag(), ExternalPostListViewController::kNearOrder);
    EXPECT_EQ(list->orderButton->title(), "附近");
    Reachability::shared().setNetworkAvailable(true);
}

TEST_F(ExternalPostListTest, ARefusedPageSaysWhyAndKeepsTheRowsShown) {
    // A refused first load: its reason, no rows, and no claim that nothing was found.
    servePages({.total = 45, .refusals = {{"rating:1", refusal("地点服务维护中")}}});
    auto list = pushList(food());
    ASSERT_TRUE(waitUntil([&] { return lastAlert() == "地点服务维护中"; }));
    EXPECT_FALSE(list->reloading);
    EXPECT_EQ(windowHud(), nullptr);
    EXPECT_EQ(list->tableView->numberOfRows(0), 0);
    EXPECT_FALSE(list->tableView->isHidden());
    EXPECT_TRUE(list->bigButton->isHidden());
    EXPECT_TRUE(list->tip1Label->isHidden());
    AlertRegistry::shared().clear();

    servePages({.total = 45, .refusals = {{"rating:2", refusal("请稍后再看更多地点")}}});
    UserInput::pullDown(*list->tableView, 80);
    ASSERT_TRUE(waitUntil([&] { return !list->reloading && list->data->pager(); }));
    EXPECT_EQ(shownIds(*list), idRange(1000, 20));
    EXPECT_EQ(lastAlert(), "");

    // A refused later page: its reason; the rows and the more row stay, ready to ask again.
    tapMoreRow(*list);
    ASSERT_TRUE(waitUntil([&] { return lastAlert() == "请稍后再看更多地点"; }));
    EXPECT_EQ(shownIds(*list), idRange(1000, 20));
    ASSERT_TRUE(hasMoreRow(*list));
    auto pager = std::dynamic_pointer_cast<PagerCell>(list->cellForRow(*list->tableView, {0, 20}));
    ASSERT_TRUE(pager);
    EXPECT_FALSE(pager->isLoading());
    AlertRegistry::shared().clear();

    // A refused page 1 without a reason of its own: the generic text; the rows stay.
    servePages({.total = 45, .refusals = {{"rating:1", R"({"success":false})"}}});
    UserInput::pullDown(*list->tableView, 80);
    ASSERT_TRUE(
        waitUntil([&] { return !list->reloading && lastAlert() == ResponseEnvelope::kGenericError; }));
    EXPECT_EQ(shownIds(*list), idRange(1000, 20));
    EXPECT_FALSE(list->tableView->isHidden());
    EXPECT_TRUE(list->bigButton->isHidden());
    AlertRegistry::shared().clear();

    servePages({.total = 45});
    tapMoreRow(*list);
    ASSERT_TRUE(waitUntil([&] { return list->data->count() == 40; }));
    EXPECT_EQ(shownIds(*list), idRange(1000, 40));
    EXPECT_EQ(lastAlert(), "");
}

TEST_F(ExternalPostListTest, ARefusedChangeOfOrderKeepsTheRowsAndTheirOrder) {
    locateAt(39.98, 116.49);
    servePages({.total = 45, .refusals = {{"near:1", refusal("暂时无法按距离排序")}}});
    auto list = openList(food());
    tapMoreRow(*list);
    ASSERT_TRUE(waitUntil([&] { return list->data->count() == 40; }));

    chooseOrder(*list, 1);
    ASSERT_TRUE(waitUntil([&] { return lastAlert() == "暂时无法按距离排序"; }));
    EXPECT_EQ(server_.lastRequestTo("/post/v135/externalPostList").param("sort"), "near");
    EXPECT_FALSE(list->reloading);
    EXPECT_EQ(windowHud(), nullptr);
    EXPECT_EQ(shownIds(*list), idRange(1000, 40));
    // The rows are still those of "好评", and the button says so.
    EXPECT_EQ(list->orderButton->tag(), ExternalPostListViewController::kRatingOrder);
    EXPECT_EQ(list->orderButton->title(), "好评");
    EXPECT_EQ(list->orderButton->title(Highlighted), "好评");
    AlertRegistry::shared().clear();

    // So the more row goes on with the places of that order.
    tapMoreRow(*list);
    auto next = server_.lastRequestTo("/post/v135/externalPostList");
    EXPECT_EQ(next.param("sort"), "rating");
    EXPECT_EQ(next.param("page"), "3");
    ASSERT_TRUE(waitUntil([&] { return list->data->count() == 45; }));
    EXPECT_EQ(shownIds(*list), idRange(1000, 45));

    // Once the service takes the order again, the list changes to it.
    servePages({.total = 45});
    chooseOrder(*list, 1);
    ASSERT_TRUE(waitUntil([&] { return !list->reloading && server_.inFlight() == 0; }));
    EXPECT_EQ(shownIds(*list), idRange(2000, 20));
    EXPECT_EQ(list->orderButton->title(), "附近");
    EXPECT_EQ(lastAlert(), "");
}

TEST_F(ExternalPostListTest, AnHttp401OnAPlacePageSignsOut) {
    LoginService::getInstance();
    signInAs(1, 1);
    server_.onJson("/post/v135/externalPostList", "{}", 401);
    auto list = pushList(food());
    ASSERT_TRUE(waitUntil([] { return !UserContext::hasLogin(); }));
    ASSERT_NE(window_->rootViewController(), nullptr);
    EXPECT_EQ(window_->rootViewController()->className(), "WelcomeViewController");
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
    EXPECT_EQ(windowHud(), nullptr);
    EXPECT_TRUE(list->externalPostArray().empty());
}

}  // namespace
}  // namespace zorlet::test
