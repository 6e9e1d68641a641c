#include "UiTestSupport.h"

#include "ui/Button.h"
#include "ui/TableView.h"
#include "ui/UserInput.h"
#include "ui/Window.h"

#include <algorithm>

using namespace zorlet;

namespace {

// A list of rows the table shows; counts how cells are made and reused.
class RowSource : public TableViewDataSource, public TableViewDelegate {
public:
    std::vector<std::string> rows;
    int cellsCreated = 0;
    int cellsReused = 0;
    std::vector<IndexPath> selected;
    std::vector<IndexPath> deselected;
    std::vector<double> scrolledTo;
    bool lastRowLocked = false;

    int numberOfRows(TableView&, int) override { return static_cast<int>(rows.size()); }
    TableViewCellPtr cellForRow(TableView& table, IndexPath path) override {
        TableViewCellPtr cell = table.dequeueReusableCell("Row");
        if (cell) {
            ++cellsReused;
        } else {
            cell = std::make_shared<TableViewCell>(TableViewCell::Style::Default, "Row");
            ++cellsCreated;
        }
        cell->textLabel().setText(rows[static_cast<std::size_t>(path.row)]);
        return cell;
    }
    double heightForRow(TableView&, IndexPath path) override { return path.row == 0 ? 80 : 40; }
    void didSelectRow(TableView& table, IndexPath path) override {
        selected.push_back(path);
        table.deselectRow(path, true);
    }
    void didDeselectRow(TableView&, IndexPath path) override { deselected.push_back(path); }
    bool canEditRow(TableView&, IndexPath path) override {
        return !(lastRowLocked && path.row == static_cast<int>(rows.size()) - 1);
    }
    void commitEditingStyle(TableView& table, TableViewCellEditingStyle style, IndexPath path) override {
        if (style == TableViewCellEditingStyle::Delete) {
            rows.erase(rows.begin() + path.row);
            table.deleteRows({path}, TableViewRowAnimation::Fade);
        }
    }
    void scrollViewDidScroll(ScrollView& scrollView) override {
        scrolledTo.push_back(scrollView.contentOffset().y);
    }
};

Button* deleteButtonOf(TableViewCell& cell) {
    for (const auto& child : cell.subviews()) {
        if (child->id() == "deleteConfirmation") {
            return dynamic_cast<Button*>(child.get());
        }
    }
    return nullptr;
}

std::vector<std::string> numbered(int count) {
    std::vector<std::string> rows;
    for (int i = 0; i < count; ++i) {
        rows.push_back("第" + std::to_string(i) + "行");
    }
    return rows;
}

class TableViewTest : public zorlet::test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        table->setDataSource(&source);
        table->setDelegate(&source);
    }

    RowSource source;
    std::shared_ptr<TableView> table = std::make_shared<TableView>(Rect(0, 0, 320, 200));
};

TEST_F(TableViewTest, RowsComeFromTheDataSourceWithDelegateHeightsAndReusedCells) {
    source.rows = numbered(50);
    table->reloadData();
    EXPECT_EQ(table->numberOfRows(0), 50);
    EXPECT_EQ(table->contentSize().height, 80 + 49 * 40);
    EXPECT_EQ(table->rectForRow({0, 2}), Rect(0, 120, 320, 40));
    // 200 points show the 80-point row and three 40-point rows, and part of none more.
    EXPECT_EQ(table->visibleCells().size(), 4u);
    EXPECT_EQ(table->cellForRow({0, 3})->textLabel().text(), "第3行");
    EXPECT_EQ(source.cellsCreated, 4);

    // Scrolling far down hands the cells that left back for the rows that came in.
    UserInput::scroll(*table, {0, 1000});
    EXPECT_EQ(table->contentOffset().y, 1000);
    EXPECT_FALSE(source.scrolledTo.empty());
    EXPECT_LE(source.cellsCreated, 6);
    EXPECT_GT(source.cellsReused, 0);
    auto visible = table->indexPathsForVisibleRows();
    ASSERT_FALSE(visible.empty());
    EXPECT_EQ(visible.front().row, 24);  // 80 + 23 × 40 = 1000
    EXPECT_EQ(table->cellForRow({0, 24})->textLabel().text(), "第24行");

    // Scrolling past the end settles on the last possible offset.
    UserInput::scroll(*table, {0, 5000});
    EXPECT_EQ(table->contentOffset().y, table->contentSize().height - 200);
}

TEST_F(TableViewTest, TappingARowSelectsItAndTheDelegateDeselectsAnimated) {
    source.rows = numbered(5);
    table->reloadData();
    ASSERT_TRUE(UserInput::tapRow(*table, {0, 2}));
    EXPECT_EQ(source.selected, (std::vector<IndexPath>{{0, 2}}));
    EXPECT_FALSE(table->indexPathForSelectedRow());
    EXPECT_TRUE(table->lastDeselectionAnimated());

    // Code selection does not tell the delegate; a user's next tap deselects it first.
    table->selectRow(IndexPath{0, 1}, false);
    EXPECT_TRUE(table->cellForRow({0, 1})->isSelected());
    EXPECT_FALSE(table->lastSelectionAnimated());
    UserInput::tapRow(*table, {0, 3});
    EXPECT_EQ(source.deselected, (std::vector<IndexPath>{{0, 1}}));
    EXPECT_FALSE(table->cellForRow({0, 1})->isSelected());

    table->setAllowsSelection(false);
    UserInput::tapRow(*table, {0, 0});
    EXPECT_EQ(source.selected.size(), 2u);
}

TEST_F(TableViewTest, CommittingADeleteRemovesTheRowWithItsAnimation) {
    source.rows = numbered(4);
    table->reloadData();
    table->setEditing(true, true);
    EXPECT_TRUE(table->cellForRow({0, 0})->isEditing());

    ASSERT_TRUE(UserInput::deleteRow(*table, {0, 1}));
    EXPECT_EQ(source.rows, (std::vector<std::string>{"第0行", "第2行", "第3行"}));
    EXPECT_EQ(table->numberOfRows(0), 3);
    ASSERT_TRUE(table->lastRowAnimation());
    EXPECT_STREQ(rowAnimationName(*table->lastRowAnimation()), "fade");
    EXPECT_EQ(table->cellForRow({0, 1})->textLabel().text(), "第2行");
    EXPECT_TRUE(table->cellForRow({0, 1})->isEditing());

    source.lastRowLocked = true;
    EXPECT_FALSE(UserInput::deleteRow(*table, {0, 2}));
    EXPECT_EQ(source.rows.size(), 3u);
    EXPECT_FALSE(UserInput::deleteRow(*table, {0, 7}));
}

TEST_F(TableViewTest, TheMinusOfAnEditingRowOffersDeleteAndOnlyItsButtonDeletes) {
    auto window = std::make_shared<Window>();
    window->addSubview(table);
    window->makeKeyAndVisible();
    source.rows = numbered(4);
    table->reloadData();
    // Row 1 spans 80 to 120 in the window; its minus sits at the left edge.
    const Point minusOfRow1{10, 100};
    TableViewCell* cell = table->cellForRow({0, 1});
    ASSERT_NE(cell, nullptr);
    ASSERT_TRUE(UserInput::tapAt(*window, minusOfRow1));
    EXPECT_FALSE(cell->isShowingDeleteConfirmation());
    EXPECT_EQ(source.selected.size(), 1u);

    table->setEditing(true);
    ASSERT_TRUE(UserInput::tapAt(*window, minusOfRow1));
    ASSERT_TRUE(cell->isShowingDeleteConfirmation());
    Button* button = deleteButtonOf(*cell);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->title(), "删除");
    // A tap beside the button takes the offer back and deletes nothing.
    ASSERT_TRUE(UserInput::tapAt(*window, {150, 100}));
    EXPECT_FALSE(cell->isShowingDeleteConfirmation());
    EXPECT_EQ(source.rows.size(), 4u);

    ASSERT_TRUE(UserInput::tapAt(*window, minusOfRow1));
    button = deleteButtonOf(*cell);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(UserInput::tap(*button));
    EXPECT_EQ(source.rows, (std::vector<std::string>{"第0行", "第2行", "第3行"}));
    EXPECT_EQ(source.selected.size(), 1u);

    // A row the source keeps offers nothing; leaving editing hides an open offer.
    source.lastRowLocked = true;
    TableViewCell* last = table->cellForRow({0, 2});
    ASSERT_TRUE(UserInput::tapAt(*window, {10, 140}));
    EXPECT_FALSE(last->isShowingDeleteConfirmation());
    TableViewCell* first = table->cellForRow({0, 0});
    ASSERT_TRUE(UserInput::tapAt(*window, {10, 40}));
    ASSERT_TRUE(first->isShowingDeleteConfirmation());
    table->setEditing(false);
    EXPECT_FALSE(first->isShowingDeleteConfirmation());
}

TEST_F(TableViewTest, ASelectionFollowsItsRowThroughDeletesAndInserts) {
    source.rows = numbered(5);
    table->reloadData();
    table->selectRow(IndexPath{0, 3}, false);
    source.rows.erase(source.rows.begin());
    table->deleteRows({{0, 0}}, TableViewRowAnimation::Top);
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 2}));
    source.rows.insert(source.rows.begin(), "新");
    table->insertRows({{0, 0}}, TableViewRowAnimation::Automatic);
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 3}));
    EXPECT_EQ(table->cellForRow({0, 0})->textLabel().text(), "新");

    // Counts that do not add up are logged and the data source wins instead of a crash.
    source.rows.clear();
    table->deleteRows({{0, 0}}, TableViewRowAnimation::Fade);
    EXPECT_EQ(table->numberOfRows(0), 0);
    EXPECT_TRUE(table->visibleCells().empty());
}

TEST_F(TableViewTest, ScrollToRowPlacesTheRowAndReportsTheOffset) {
    source.rows = numbered(30);
    table->reloadData();
    table->scrollToRow({0, 10}, TableViewScrollPosition::Top, true);
    EXPECT_EQ(table->contentOffset().y, 80 + 9 * 40);
    EXPECT_TRUE(table->lastOffsetChangeAnimated());
    EXPECT_EQ(source.scrolledTo.back(), 440);
    table->scrollToRow({0, 29}, TableViewScrollPosition::Top, false);
    EXPECT_EQ(table->contentOffset().y, table->contentSize().height - 200);  // no further than the end
    table->scrollToRow({0, 0}, TableViewScrollPosition::None, false);
    EXPECT_EQ(table->contentOffset().y, 0);
}

TEST_F(TableViewTest, GroupedSectionsHaveHeadersFootersAndInsetRows) {
    struct Sections : TableViewDataSource {
        int numberOfSections(TableView&) override { return 2; }
        int numberOfRows(TableView&, int section) override { return section == 0 ? 2 : 1; }
        TableViewCellPtr cellForRow(TableView&, IndexPath) override {
            return std::make_shared<TableViewCell>();
        }
        std::string titleForHeader(TableView&, int section) override { return section == 1 ? "设置" : ""; }
    } sections;
    auto grouped = std::make_shared<TableView>(Rect(0, 0, 320, 400), TableView::Style::Grouped);
    grouped->setDataSource(&sections);
    grouped->reloadData();
    EXPECT_EQ(grouped->rectForRow({0, 0}), Rect(10, 10, 300, 44));
    EXPECT_EQ(grouped->rectForHeader(1), Rect(0, 10 + 88 + 10, 320, 45));
    EXPECT_EQ(grouped->rectForRow({1, 0}).y(), 10 + 88 + 10 + 45);
    EXPECT_EQ(grouped->contentSize().height, 10 + 88 + 10 + 45 + 44 + 10);
}

TEST_F(TableViewTest, ATableInAWindowLoadsItselfAndTapsOnCellsSelect) {
    source.rows = numbered(3);
    auto window = std::make_shared<Window>();
    table->setFrame(Rect(0, 20, 320, 460));
    window->addSubview(table);
    EXPECT_EQ(table->numberOfRows(0), 3);
    ASSERT_TRUE(UserInput::tapAt(*window, {100, 20 + 80 + 10}));
    EXPECT_EQ(source.selected, (std::vector<IndexPath>{{0, 1}}));
}

}  // namespace

TEST(TableViewCellTest, AValueCellsTitleHasTheWholeRowUntilItHasADetail) {
    TableViewCell cell(TableViewCell::Style::Value1, "Value");
    cell.textLabel().setText("设置Zorlet偏好");
    cell.setFrame(Rect(0, 0, 300, 44));
    cell.layoutSubviews();
    double alone = cell.textLabel().frame().width();

    cell.detailTextLabel().setText("已绑定：新浪微博");
    cell.layoutSubviews();
    double beside = cell.textLabel().frame().width();
    EXPECT_LT(beside, alone);
    EXPECT_LE(cell.textLabel().frame().maxX(), cell.detailTextLabel().frame().x());

    cell.detailTextLabel().setText("");
    cell.layoutSubviews();
    EXPECT_EQ(cell.textLabel().frame().width(), alone);
    EXPECT_GT(alone, 250);
}
