#include "IdeaTestSupport.h"

#include "ideas/CategoryTableViewController.h"
#include "ideas/IdeaListCell.h"
#include "platform/Analytics.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class IdeaListTest : public IdeaScreenTest {
protected:
    void SetUp() override {
        IdeaScreenTest::SetUp();
        list_ = Json::array({ideaJson(11, 0), ideaJson(12, 1), ideaJson(13, 1, "")});
        server_.on("/idea/allIdeas", [this](const RecordedRequest&, Reply& reply) {
            reply = Reply::json(pagedJson(list_, true));
        });
    }
    std::shared_ptr<IdeaViewController> openList() {
        auto list = std::make_shared<IdeaViewController>();
        navigation_ = show(list);
        EXPECT_TRUE(waitLoaded(*list));
        return list;
    }
    bool waitLoaded(IdeaViewController& list) {
        return waitUntil([&] { return !list.reloading && list.data && list.data->count() > 0; });
    }
    IdeaListCell* row(IdeaViewController& list, int index) {
        return dynamic_cast<IdeaListCell*>(list.tableView->cellForRow({0, index}));
    }
    RecordedRequest lastList() { return server_.lastRequestTo("/idea/allIdeas"); }

    Json list_;
    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(IdeaListTest, OrderSegmentsAndTheCategoryPickerChooseWhatIsLoaded) {
    auto list = openList();
    EXPECT_EQ(lastList().param("categoryId"), "0");
    EXPECT_EQ(lastList().param("orderType"), "time");
    EXPECT_EQ(lastList().param("page"), "1");
    EXPECT_EQ(list->categoryButton->title(), "Zorlet项目");

    list->segmentedControl->buttons()[1]->touch(TouchDown);
    ASSERT_TRUE(waitForRequests("/idea/allIdeas", 2));
    EXPECT_EQ(lastList().param("orderType"), "pop");
    ASSERT_TRUE(waitLoaded(*list));
    list->segmentedControl->buttons()[1]->touch(TouchDown);  // already shown: nothing
    settle();
    EXPECT_EQ(server_.countOf("/idea/allIdeas"), 2u);

    // The picker: "Zorlet项目" then every category, in a popover over the button.
    ASSERT_TRUE(UserInput::tap(*list->categoryButton));
    ASSERT_NE(list->categoryPopver, nullptr);
    EXPECT_TRUE(list->categoryPopver->isPopoverVisible());
    EXPECT_EQ(list->categoryPopver->contentSize().width, 150);
    EXPECT_EQ(list->categoryPopver->contentSize().height, 256);
    EXPECT_FALSE(list->categoryButton->isUserInteractionEnabled());
    auto& picker = static_cast<CategoryTableViewController&>(list->categoryPopver->contentViewController());
    auto categories = BaseData::getCategories();
    ASSERT_GE(categories.size(), 5u);
    ASSERT_EQ(picker.numberOfRows(*picker.tableView, 0), static_cast<int>(categories.size()) + 1);
    EXPECT_EQ(picker.cellForRow(*picker.tableView, {0, 0})->textLabel().text(), "Zorlet项目");
    EXPECT_NE(picker.cellForRow(*picker.tableView, {0, 0})->backgroundView(), nullptr);  // selected
    auto fifth = picker.cellForRow(*picker.tableView, {0, 5});
    EXPECT_EQ(fifth->textLabel().text(), categories[4]->name);
    EXPECT_EQ(fifth->textLabel().tag(), categories[4]->categoryId);
    EXPECT_EQ(picker.heightForRow(*picker.tableView, {0, 5}), 40);

    std::size_t events = eventCount("clickCategorySift");
    ASSERT_TRUE(UserInput::tapRow(*picker.tableView, {0, 5}));
    ASSERT_TRUE(waitForRequests("/idea/allIdeas", 3));
    EXPECT_EQ(lastList().param("categoryId"), std::to_string(categories[4]->categoryId));
    EXPECT_EQ(lastList().param("orderType"), "pop");
    EXPECT_EQ(list->categoryButton->title(), categories[4]->name);
    EXPECT_EQ(eventCount("clickCategorySift"), events + 1);
    loop().runPending();
    EXPECT_EQ(list->categoryPopver, nullptr);
    EXPECT_TRUE(list->categoryButton->isUserInteractionEnabled());

    // Opened again, the picker marks the chosen category; closing it outside keeps the choice.
    ASSERT_TRUE(waitLoaded(*list));
    ASSERT_TRUE(UserInput::tap(*list->categoryButton));
    auto& again = static_cast<CategoryTableViewController&>(list->categoryPopver->contentViewController());
    EXPECT_EQ(again.selectCategoryId, categories[4]->categoryId);
    EXPECT_EQ(again.cellForRow(*again.tableView, {0, 0})->backgroundView(), nullptr);
    list->categoryPopver->dismissPopover(true);
    loop().runPending();
    EXPECT_TRUE(list->categoryButton->isUserInteractionEnabled());
    settle();
    EXPECT_EQ(server_.countOf("/idea/allIdeas"), 3u);

    // Re-selecting the tab refreshes from the first page.
    advance(1s);  // the pull header finishes closing
    static_cast<AutoRefreshable&>(*list).autoRefresh();
    ASSERT_TRUE(waitForRequests("/idea/allIdeas", 4));
    EXPECT_EQ(lastList().param("page"), "1");
}

TEST_F(IdeaListTest, RowsShowCountsPicturesAndTheMoreRow) {
    list_[0]["hasUsed"] = true;
    auto list = openList();
    ASSERT_EQ(list->numberOfRows(*list->tableView, 0), 4);  // three ideas and the more row
    EXPECT_EQ(list->heightForRow(*list->tableView, {0, 0}), 250);
    EXPECT_EQ(list->heightForRow(*list->tableView, {0, 3}), 40);

    auto* none = row(*list, 0);
    ASSERT_NE(none, nullptr);
    EXPECT_TRUE(none->usersButton->isHidden());
    EXPECT_FALSE(none->wantToButton->isEnabled());
    // No picture: the placeholder, black text just above the picture's bottom edge.
    ASSERT_NE(none->pictureView->image(), nullptr);
    EXPECT_EQ(none->pictureView->image()->name(), "idea_list_pic_loading");
    EXPECT_EQ(none->textLabel->textColor(), Color::blackColor());
    EXPECT_TRUE(none->textBackground->isHidden());
    EXPECT_EQ(none->textLabel->frame().maxY(), none->pictureView->frame().maxY() - 5);
    EXPECT_FALSE(none->categoryImageView->isHidden());

    auto* one = row(*list, 1);
    EXPECT_FALSE(one->usersButton->isHidden());
    EXPECT_EQ(one->usersButton->title(), "1人想去");
    EXPECT_TRUE(one->wantToButton->isEnabled());

    ASSERT_TRUE(UserInput::tapRow(*list->tableView, {0, 3}));
    ASSERT_TRUE(waitForRequests("/idea/allIdeas", 2));
    EXPECT_EQ(lastList().param("page"), "2");
    ASSERT_TRUE(waitLoaded(*list));
    EXPECT_EQ(list->data->count(), 3u);  // the same ideas again are not shown twice

    // The taker count opens the takers without the invitation tip.
    list->tableView->setContentOffset(Point{0, 250});
    one = row(*list, 1);
    ASSERT_NE(one, nullptr);
    ASSERT_TRUE(UserInput::tap(*one->usersButton));
    auto* takers = topScreen<IdeaUsersViewController>(*navigation_);
    ASSERT_NE(takers, nullptr);
    EXPECT_EQ(takers->idea->ideaId, 12);
    EXPECT_FALSE(takers->dateTip);
    EXPECT_TRUE(takers->hidesBottomBarWhenPushed());
}

TEST_F(IdeaListTest, WantToGoOnARowCountsAndOpensTheTakersWhenOthersGoToo) {
    server_.onJson("/post/sendPost", R"({"success":true})");
    server_.onJson("/idea/users", pagedJson(Json::array()));
    auto list = openList();
    list->tableView->setContentOffset(Point{0, 250});
    auto* cell = row(*list, 1);
    std::size_t marks = eventCount("sendIdea");
    ASSERT_TRUE(UserInput::tap(*cell->wantToButton));
    EXPECT_EQ(windowHud()->labelText(), "操作中...");
    ASSERT_TRUE(waitUntil([&] { return cell->idea->hasUsed; }));
    EXPECT_EQ(server_.lastRequestTo("/post/sendPost").param("ideaId"), "12");
    EXPECT_EQ(server_.lastRequestTo("/post/sendPost").method, "POST");
    EXPECT_EQ(cell->idea->useCount, 2);
    EXPECT_EQ(cell->usersButton->title(), "2人想去");
    EXPECT_FALSE(cell->wantToButton->isEnabled());
    EXPECT_EQ(windowHud()->labelText(), "发布成功，也许会有人约你同去哦");
    EXPECT_EQ(eventCount("sendIdea"), marks + 1);
    advance(1900ms);
    EXPECT_EQ(navigation_->viewControllers().size(), 1u);
    advance(100ms);
    auto* takers = topScreen<IdeaUsersViewController>(*navigation_);
    ASSERT_NE(takers, nullptr);
    EXPECT_TRUE(takers->dateTip);

    // Without a city nobody is suggested.
    navigation_->popViewController(false);
    loop().runPending();
    list->tableView->setContentOffset(Point{0, 500});
    auto* cityless = row(*list, 2);
    ASSERT_TRUE(UserInput::tap(*cityless->wantToButton));
    ASSERT_TRUE(waitUntil([&] { return cityless->idea->hasUsed; }));
    EXPECT_EQ(cityless->idea->useCount, 2);
    advance(3s);
    EXPECT_EQ(navigation_->viewControllers().size(), 1u);
}

TEST_F(IdeaListTest, WantToGoFailuresLeaveTheRowAsItWas) {
    auto list = openList();
    list->tableView->setContentOffset(Point{0, 250});
    auto* cell = row(*list, 1);
    auto unchanged = [&] {
        return !cell->idea->hasUsed && cell->idea->useCount == 1 && cell->wantToButton->isEnabled() &&
               windowHud() == nullptr;
    };

    server_.onJson("/post/sendPost", refusalEnvelopeText("你已经想去这个好主意了"));
    ASSERT_TRUE(UserInput::tap(*cell->wantToButton));
    ASSERT_TRUE(alertShown("你已经想去这个好主意了"));
    loop().runPending();
    EXPECT_TRUE(unchanged());
    AlertRegistry::shared().clear();

    server_.onJson("/post/sendPost", R"({"success":1,"errorInfo":""})");  // only JSON true counts
    ASSERT_TRUE(UserInput::tap(*cell->wantToButton));
    ASSERT_TRUE(alertShown(kGenericText));
    EXPECT_TRUE(unchanged());
    AlertRegistry::shared().clear();

    server_.onJson("/post/sendPost", "<html>", 500);
    ASSERT_TRUE(UserInput::tap(*cell->wantToButton));
    ASSERT_TRUE(alertShown(kGenericText));
    EXPECT_TRUE(unchanged());
    AlertRegistry::shared().clear();

    Reachability::shared().setNetworkAvailable(false);
    std::size_t sent = server_.countOf("/post/sendPost");
    ASSERT_TRUE(UserInput::tap(*cell->wantToButton));
    settle();
    EXPECT_EQ(server_.countOf("/post/sendPost"), sent);
    EXPECT_TRUE(unchanged());
    Reachability::shared().setNetworkAvailable(true);
    AlertRegistry::shared().clear();

    server_.onJson("/post/sendPost", R"({"success":false})", 401);
    ASSERT_TRUE(UserInput::tap(*cell->wantToButton));
    ASSERT_TRUE(waitUntil([] { return !UserContext::hasLogin(); }));
    EXPECT_FALSE(cell->idea->hasUsed);
}

TEST_F(IdeaListTest, AMarkOnTheDetailShowsOnTheListRowWhenGoingBack) {
    server_.onJson("/post/sendPost", R"({"success":true})");
    auto list = openList();
    ASSERT_TRUE(UserInput::tapRow(*list->tableView, {0, 2}));
    auto* detail = topScreen<IdeaDetailViewController>(*navigation_);
    ASSERT_NE(detail, nullptr);
    EXPECT_TRUE(detail->hidesBottomBarWhenPushed());
    EXPECT_EQ(detail->idea, list->data->objectAtIndex(2));  // the same record, not a copy

    ASSERT_TRUE(UserInput::tap(*detail->wantToButton));
    ASSERT_TRUE(waitUntil([&] { return detail->idea->hasUsed; }));
    EXPECT_FALSE(detail->wantToButton->isEnabled());
    advance(std::chrono::seconds(2));  // the check mark goes
    navigation_->popViewController(true);
    list->tableView->setContentOffset(Point{0, 500});
    auto* cell = row(*list, 2);
    EXPECT_EQ(cell->usersButton->title(), "2人想去");
    EXPECT_FALSE(cell->wantToButton->isEnabled());
}

TEST_F(IdeaListTest, ListFailuresShowTheGenericMessageOrSignOut) {
    server_.onJson("/idea/allIdeas", "<html>", 500);
    auto list = std::make_shared<IdeaViewController>();
    show(list);
    ASSERT_TRUE(alertShown(kGenericText));
    ASSERT_TRUE(waitUntil([&] { return !list->reloading; }));
    EXPECT_EQ(list->data->count(), 0u);

    AlertRegistry::shared().clear();
    Reachability::shared().setNetworkAvailable(false);
    std::size_t sent = server_.countOf("/idea/allIdeas");
    list->autoRefresh();
    advance(std::chrono::milliseconds(500));
    EXPECT_FALSE(list->reloading);  // the pull header closes without a request
    EXPECT_EQ(server_.countOf("/idea/allIdeas"), sent);
    Reachability::shared().setNetworkAvailable(true);

    server_.onJson("/idea/allIdeas", "{}", 401);
    list->autoRefresh();
    ASSERT_TRUE(waitUntil([] { return !UserContext::hasLogin(); }));
}

}  // namespace
}  // namespace zorlet::test
