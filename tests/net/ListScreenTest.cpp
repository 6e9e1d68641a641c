#include "net/EGORefreshHeaderViewController.h"
#include "net/HttpRequestSender.h"
#include "net/PagerCell.h"
#include "net/RecordRegistry.h"
#include "net/UrlUtils.h"
#include "platform/Reachability.h"
#include "ui/AlertRegistry.h"
#include "ui/UserInput.h"
#include "ui/Window.h"

#include "support/LoopTest.h"
#include "support/ScriptedServer.h"

#include <limits>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

struct Item : Record {
    std::int64_t id = 0;
    std::int64_t objIdentity() const override { return id; }
};

// The list screen pattern as every list of the app follows it.
class ItemListScreen : public EGORefreshHeaderViewController, public TableViewDataSource {
public:
    std::string className() const override { return "ItemListScreen"; }

    void viewDidLoad() override {
        data = std::make_shared<ZLData>();
        listDelegate = makeListDelegate(data, "TestItem");
        tableView = std::make_shared<TableView>(Rect(0, 0, 320, 416));
        tableView->setDataSource(this);
        tableView->setDelegate(this);
        view().addSubview(tableView);
        EGORefreshHeaderViewController::viewDidLoad();
    }
    void loadListDataWithPage(std::int64_t page) override {
        requestedPages.push_back(pageOrFirst(page));
        auto request = HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("items"),
                                                            {{"page", pageOrFirst(page)}});
        sendListRequest(request, listDelegate);
    }
    void doneLoadingTableViewData() override {
        ++doneCount;
        EGORefreshHeaderViewController::doneLoadingTableViewData();
    }

    int numberOfRows(TableView&, int) override { return static_cast<int>(data->cellRows()); }
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override {
        if (static_cast<std::size_t>(indexPath.row) == data->count()) {
            return PagerCell::dequeueReusablePagerCell(table);
        }
        auto cell = table.dequeueReusableCell("item");
        if (!cell) {
            cell = std::make_shared<TableViewCell>(TableViewCell::Style::Default, "item");
        }
        auto item =
            std::static_pointer_cast<Item>(data->objectAtIndex(static_cast<std::size_t>(indexPath.row)));
        cell->textLabel().setText("item " + std::to_string(item->id));
        return cell;
    }
    double heightForRow(TableView&, IndexPath indexPath) override {
        return static_cast<std::size_t>(indexPath.row) == data->count() ? PagerCell::kHeight : 44;
    }
    void didSelectRow(TableView& table, IndexPath indexPath) override {
        if (static_cast<std::size_t>(indexPath.row) == data->count() && data->pager()) {
            loadListDataWithPage(data->pager()->nextPage());
        }
        table.deselectRow(indexPath, true);
    }

    ZLDataPtr data;
    ListHttpRequestDelegatePtr listDelegate;
    std::vector<std::int64_t> requestedPages;
    int doneCount = 0;
};

std::string itemsPage(int page, bool hasNext, std::vector<int> ids) {
    std::string list = "[";
    for (std::size_t i = 0; i < ids.size(); ++i) {
        list += (i ? "," : "") + std::string("{\"id\":") + std::to_string(ids[i]) + "}";
    }
    list += "]";
    return R"({"success":true,"result":{"pager":{"currentPage":)" + std::to_string(page) + R"(,"hasNext":)" +
           (hasNext ? "true" : "false") + R"(},"list":)" + list + "}}";
}

class ListScreenTest : public LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        RecordRegistry::registerConverter("TestItem", [](const Json& object) -> RecordPtr {
            auto item = std::make_shared<Item>();
            item->id = jsonInt(object, "id");
            return item;
        });
        UrlUtils::setBaseUrl(server_.url());
        Reachability::shared().setNetworkAvailable(true);
        AlertRegistry::shared().clear();
        server_.on("/items", [](const RecordedRequest& request, Reply& reply) {
            int page = std::stoi(request.param("page"));
            reply.body = page == 1 ? itemsPage(1, true, {1, 2, 3}) : itemsPage(page, false, {3, 4});
        });
        screen_ = std::make_shared<ItemListScreen>();
        window_ = std::make_shared<Window>();
        window_->setRootViewController(screen_);
        window_->makeKeyAndVisible();
    }
    void TearDown() override {
        window_.reset();
        screen_.reset();
        Reachability::shared().setNetworkAvailable(true);
        AlertRegistry::shared().clear();
        LoopTest::TearDown();
    }
    bool waitForDone(int count) {
        return waitUntil([&] { return screen_->doneCount >= count; });
    }

    ScriptedServer server_;
    std::shared_ptr<ItemListScreen> screen_;
    std::shared_ptr<Window> window_;
};

TEST_F(ListScreenTest, LoadsPageOneWhenTheScreenLoadsThenTheNextPageFromTheMoreRow) {
    ASSERT_TRUE(waitForDone(1));
    EXPECT_EQ(screen_->requestedPages, (std::vector<std::int64_t>{1}));
    EXPECT_EQ(server_.lastRequestTo("/items").param("page"), "1");
    EXPECT_FALSE(screen_->reloading);
    EXPECT_TRUE(screen_->lastUpdateDate);
    ASSERT_EQ(screen_->tableView->numberOfRows(0), 4);

    auto* more = dynamic_cast<PagerCell*>(screen_->tableView->cellForRow({0, 3}));
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->title(), "查看更多");
    ASSERT_TRUE(UserInput::tapRow(*screen_->tableView, {0, 3}));
    EXPECT_EQ(more->title(), "加载更多");
    EXPECT_TRUE(more->isLoading());
    EXPECT_EQ(screen_->requestedPages, (std::vector<std::int64_t>{1, 2}));

    ASSERT_TRUE(waitForDone(2));
    // Record 3 came again on page 2 and is shown once; no next page, no more row.
    EXPECT_EQ(screen_->data->count(), 4u);
    EXPECT_EQ(screen_->tableView->numberOfRows(0), 4);
    EXPECT_EQ(screen_->tableView->cellForRow({0, 3})->textLabel().text(), "item 4");
}

// A server may claim any page number; asking for the one after the last
// possible page must not overflow.
TEST_F(ListScreenTest, TheMoreRowAfterTheLargestPageNumberAsksForThatPageAgain) {
    ASSERT_TRUE(waitForDone(1));
    server_.on("/items", [](const RecordedRequest&, Reply& reply) {
        reply.body =
            R"({"success":true,"result":{"pager":{"currentPage":9223372036854775807,"hasNext":true},)"
            R"("list":[{"id":7}]}})";
    });
    screen_->autoRefresh();
    ASSERT_TRUE(waitForDone(2));
    int moreRow = screen_->tableView->numberOfRows(0) - 1;
    ASSERT_TRUE(UserInput::tapRow(*screen_->tableView, {0, moreRow}));
    EXPECT_EQ(screen_->requestedPages.back(), std::numeric_limits<std::int64_t>::max());
}

TEST_F(ListScreenTest, PullingDownSixtyFivePointsReloadsFromPageOne) {
    ASSERT_TRUE(waitForDone(1));
    UserInput::pullDown(*screen_->tableView, 64);
    EXPECT_EQ(screen_->requestedPages.size(), 1u);
    UserInput::pullDown(*screen_->tableView, 65);
    EXPECT_TRUE(screen_->reloading);
    EXPECT_EQ(screen_->requestedPages, (std::vector<std::int64_t>{1, 1}));
    ASSERT_TRUE(waitForDone(2));
    EXPECT_FALSE(screen_->reloading);
}

TEST_F(ListScreenTest, WithoutNetworkTheHeaderClosesHalfASecondLater) {
    ASSERT_TRUE(waitForDone(1));
    Reachability::shared().setNetworkAvailable(false);
    screen_->autoRefresh();
    EXPECT_TRUE(screen_->reloading);
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "网络不存在");
    advance(499ms);
    EXPECT_TRUE(screen_->reloading);
    advance(1ms);
    EXPECT_FALSE(screen_->reloading);
    EXPECT_EQ(screen_->doneCount, 2);
    EXPECT_EQ(server_.countOf("/items"), 1u);
}

TEST_F(ListScreenTest, AScreenClosedMidRequestIsNotCalledBack) {
    std::weak_ptr<ItemListScreen> weak = screen_;
    server_.on("/items", [](const RecordedRequest&, Reply& reply) {
        reply.body = itemsPage(1, false, {1});
        reply.stall = 200ms;
    });
    ASSERT_TRUE(waitForDone(1));
    screen_->autoRefresh();
    window_->setRootViewController(std::make_shared<ViewController>());
    screen_.reset();
    MainLoop::main().runUntil([] { return false; }, 400ms);
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
}

TEST_F(ListScreenTest, APageMergesWhenSuccessReadsAsTrue) {
    struct Case {
        const char* success;
        bool merges;
    };
    const Case cases[] = {{"1", true},       {"2.5", true}, {"\"true\"", true}, {"\"1\"", true},
                          {"\"yes\"", true}, {"0", false},  {"\"0\"", false},   {"\"no\"", false},
                          {"null", false},   {"{}", false}, {"false", false}};
    ASSERT_TRUE(waitForDone(1));
    int done = screen_->doneCount;
    for (const auto& c : cases) {
        std::string body = std::string(R"({"success":)") + c.success +
                           R"(,"result":{"pager":{"currentPage":1,"hasNext":false},"list":[{"id":9}]}})";
        server_.onJson("/items", body);
        screen_->data->clear();
        screen_->loadListDataWithPage(1);
        ASSERT_TRUE(waitForDone(++done));
        EXPECT_EQ(screen_->data->count(), c.merges ? 1u : 0u) << c.success;
    }
}

}  // namespace
}  // namespace zorlet::test
