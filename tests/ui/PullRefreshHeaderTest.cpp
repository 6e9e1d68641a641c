#include "UiTestSupport.h"

#include "ui/PullRefreshHeaderView.h"
#include "ui/TableView.h"
#include "ui/UserInput.h"

using namespace zorlet;

namespace {

// A list screen in miniature: passes scroll events to the header and loads on a trigger.
class ListScreen : public TableViewDataSource, public TableViewDelegate, public PullRefreshHeaderDelegate {
public:
    ListScreen() {
        table->setDataSource(this);
        table->setDelegate(this);
        header = std::make_shared<PullRefreshHeaderView>(320);
        header->setDelegate(this);
        table->addSubview(header);
        table->reloadData();
    }

    int numberOfRows(TableView&, int) override { return 20; }
    TableViewCellPtr cellForRow(TableView&, IndexPath) override { return std::make_shared<TableViewCell>(); }
    void scrollViewDidScroll(ScrollView& s) override { header->scrollViewDidScroll(s); }
    void scrollViewDidEndDragging(ScrollView& s, bool) override { header->scrollViewDidEndDragging(s); }

    void pullRefreshHeaderDidTriggerRefresh(PullRefreshHeaderView&) override {
        reloading = true;
        ++loads;
    }
    bool pullRefreshHeaderDataSourceIsLoading(PullRefreshHeaderView&) override { return reloading; }
    std::optional<SystemTime> pullRefreshHeaderDataSourceLastUpdated(PullRefreshHeaderView&) override {
        return lastUpdated;
    }
    void doneLoading() {
        reloading = false;
        lastUpdated = MainLoop::main().clock().now();
        header->scrollViewDataSourceDidFinishLoading(*table);
    }

    std::shared_ptr<TableView> table = std::make_shared<TableView>(Rect(0, 0, 320, 400));
    std::shared_ptr<PullRefreshHeaderView> header;
    bool reloading = false;
    int loads = 0;
    std::optional<SystemTime> lastUpdated;
};

using PullRefreshHeaderTest = zorlet::test::UiTest;

TEST_F(PullRefreshHeaderTest, APullOf64PointsDoesNothingAndOf65Refreshes) {
    ListScreen screen;
    UserInput::pullDown(*screen.table, 64);
    EXPECT_EQ(screen.loads, 0);
    EXPECT_EQ(screen.header->state(), PullRefreshHeaderView::State::Normal);
    EXPECT_EQ(screen.table->contentOffset().y, 0);

    UserInput::pullDown(*screen.table, 65);
    EXPECT_EQ(screen.loads, 1);
    EXPECT_EQ(screen.header->state(), PullRefreshHeaderView::State::Loading);
    EXPECT_EQ(screen.header->statusText(), "加载中...");
    // The header stays open above the rows while loading.
    EXPECT_EQ(screen.table->contentInset().top, PullRefreshHeaderView::kOpenInset);
    EXPECT_EQ(screen.table->contentOffset().y, -PullRefreshHeaderView::kOpenInset);

    // Another pull while loading does not start a second load.
    UserInput::pullDown(*screen.table, 100);
    EXPECT_EQ(screen.loads, 1);

    screen.doneLoading();
    EXPECT_EQ(screen.header->state(), PullRefreshHeaderView::State::Normal);
    EXPECT_EQ(screen.table->contentInset().top, 0);
    EXPECT_EQ(screen.table->contentOffset().y, 0);
    EXPECT_EQ(screen.header->lastUpdatedText().rfind("最后更新: ", 0), 0u);
}

TEST_F(PullRefreshHeaderTest, ThePullingStateFollowsTheFingerBeforeRelease) {
    ListScreen screen;
    ScrollView& table = *screen.table;
    table.beginDragging();
    table.dragTo({0, -70});
    EXPECT_EQ(screen.header->state(), PullRefreshHeaderView::State::Pulling);
    EXPECT_EQ(screen.header->statusText(), "松开即可刷新...");
    table.dragTo({0, -30});
    EXPECT_EQ(screen.header->state(), PullRefreshHeaderView::State::Normal);
    table.endDragging();
    EXPECT_EQ(screen.loads, 0);
}

TEST_F(PullRefreshHeaderTest, ARefreshStartedByCodeActsLikeAPullUnlessLoading) {
    ListScreen screen;
    screen.header->startRefreshing(*screen.table);
    EXPECT_EQ(screen.loads, 1);
    EXPECT_EQ(screen.table->contentOffset().y, -PullRefreshHeaderView::kOpenInset);
    screen.header->startRefreshing(*screen.table);
    EXPECT_EQ(screen.loads, 1);
}

}  // namespace
