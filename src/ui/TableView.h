#pragma once

#include "ui/IndexPath.h"
#include "ui/ScrollView.h"
#include "ui/TableViewCell.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zorlet {

class TableView;

enum class TableViewCellEditingStyle { None, Delete, Insert };
enum class TableViewRowAnimation { Fade, Right, Left, Top, Bottom, None, Middle, Automatic };
enum class TableViewScrollPosition { None, Top, Middle, Bottom };

// "fade", "right", ... as logs and tests name them.
const char* rowAnimationName(TableViewRowAnimation animation);

class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfSections(TableView&) { return 1; }
    virtual int numberOfRows(TableView&, int section) = 0;
    virtual TableViewCellPtr cellForRow(TableView&, IndexPath indexPath) = 0;
    virtual std::string titleForHeader(TableView&, int section) { return {}; }
    virtual std::string titleForFooter(TableView&, int section) { return {}; }
    virtual bool canEditRow(TableView&, IndexPath) { return true; }
    virtual void commitEditingStyle(TableView&, TableViewCellEditingStyle, IndexPath) {}
};

// Sizes and selection; scroll events come through the ScrollViewDelegate part.
class TableViewDelegate : public ScrollViewDelegate {
public:
    static constexpr double kDefault = -1;

    virtual double heightForRow(TableView&, IndexPath) { return kDefault; }
    virtual double heightForHeader(TableView&, int section) { return kDefault; }
    virtual double heightForFooter(TableView&, int section) { return kDefault; }
    virtual ViewPtr viewForHeader(TableView&, int section) { return nullptr; }
    // Return the row to select instead, or nothing to refuse the selection.
    virtual std::optional<IndexPath> willSelectRow(TableView&, IndexPath indexPath) { return indexPath; }
    virtual void didSelectRow(TableView&, IndexPath) {}
    virtual void didDeselectRow(TableView&, IndexPath) {}
    virtual std::string titleForDeleteConfirmationButton(TableView&, IndexPath) { return "删除"; }
};

// Rows in sections from a data source; only rows in view have cells, and
// cells that scroll out are kept for reuse by their identifier.
class TableView : public ScrollView {
public:
    enum class Style { Plain, Grouped };
    enum class SeparatorStyle { None, SingleLine };

    explicit TableView(Rect frame = {}, Style style = Style::Plain);
    ~TableView() override;
    const char* typeName() const override { return "TableView"; }

    Style style() const { return style_; }
    TableViewDataSource* dataSource() const { return dataSource_; }
    void setDataSource(TableViewDataSource* dataSource) { dataSource_ = dataSource; }
    TableViewDelegate* delegate() const { return tableDelegate_; }
    void setDelegate(TableViewDelegate* delegate);

    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double height) { rowHeight_ = height; }
    SeparatorStyle separatorStyle() const { return separatorStyle_; }
    void setSeparatorStyle(SeparatorStyle style) { separatorStyle_ = style; }
    const Color& separatorColor() const { return separatorColor_; }
    void setSeparatorColor(const Color& color) { separatorColor_ = color; }
    void setTableFooterView(ViewPtr view);
    const ViewPtr& backgroundView() const { return backgroundView_; }
    void setBackgroundView(ViewPtr view);
    // While editing, rows cannot be selected.
    void setAllowsSelection(bool allows) { allowsSelection_ = allows; }

    // Asks the data source and delegate again for everything; clears the selection.
    void reloadData();
    // The data source has already changed; counts are checked against it.
    void deleteRows(const std::vector<IndexPath>& rows, TableViewRowAnimation animation);
    void insertRows(const std::vector<IndexPath>& rows, TableViewRowAnimation animation);
    // The animation named by the last row change.
    std::optional<TableViewRowAnimation> lastRowAnimation() const { return lastRowAnimation_; }

    TableViewCellPtr dequeueReusableCell(const std::string& identifier);

    int numberOfSections() const { return static_cast<int>(sections_.size()); }
    int numberOfRows(int section) const;
    TableViewCell* cellForRow(IndexPath indexPath) const;
    std::optional<IndexPath> indexPathForCell(const TableViewCell* cell) const;
    std::vector<IndexPath> indexPathsForVisibleRows() const;
    std::vector<TableViewCell*> visibleCells() const;
    Rect rectForRow(IndexPath indexPath) const;
    Rect rectForHeader(int section) const;
    Rect rectForFooter(int section) const;

    // Selection made by code: the delegate is not told.
    std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }
    void selectRow(std::optional<IndexPath> indexPath, bool animated,
                   TableViewScrollPosition position = TableViewScrollPosition::None);
    void deselectRow(IndexPath indexPath, bool animated);
    // Whether the last (de)selection made by code asked for animation.
    bool lastSelectionAnimated() const { return lastSelectionAnimated_; }
    bool lastDeselectionAnimated() const { return lastDeselectionAnimated_; }

    // The user's tap on a row: asks, selects, tells the delegate.
    void userSelectRow(IndexPath indexPath);
    // The user's confirmed delete of a row; false when the row cannot be edited.
    bool userCommitEditing(IndexPath indexPath);

    bool isEditing() const { return editing_; }
    void setEditing(bool editing, bool animated = false);

    void scrollToRow(IndexPath indexPath, TableViewScrollPosition position, bool animated);

    void layoutSubviews() override;
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

protected:
    void didScroll() override;
    void didMoveToWindow() override;

private:
    struct Section {
        double headerY = 0;
        double headerHeight = 0;
        double footerY = 0;
        double footerHeight = 0;
        std::vector<double> rowY;
        std::vector<double> rowHeight;
    };

    bool isValid(IndexPath indexPath) const;
    void rebuildGeometry();
    void layoutVisibleRows();
    void enqueue(const TableViewCellPtr& cell);
    void clearVisible();
    void applyRowChange(bool checkCounts);
    void shiftSelection(const std::vector<IndexPath>& removed, const std::vector<IndexPath>& inserted);
    double rowX() const;
    double rowWidth() const;

    Style style_;
    TableViewDataSource* dataSource_ = nullptr;
    TableViewDelegate* tableDelegate_ = nullptr;
    double rowHeight_ = 44;
    SeparatorStyle separatorStyle_ = SeparatorStyle::SingleLine;
    Color separatorColor_ = Color::white(0.88);
    ViewPtr tableFooterView_;
    ViewPtr backgroundView_;
    bool allowsSelection_ = true;
    bool editing_ = false;

    std::vector<Section> sections_;
    std::vector<int> expectedCounts_;
    std::map<IndexPath, TableViewCellPtr> visible_;
    std::vector<ViewPtr> sectionViews_;
    std::map<std::string, std::vector<TableViewCellPtr>> reusable_;
    std::optional<IndexPath> selected_;
    bool lastSelectionAnimated_ = false;
    bool lastDeselectionAnimated_ = false;
    std::optional<TableViewRowAnimation> lastRowAnimation_;
    bool loaded_ = false;
    bool laying_ = false;
};

}  // namespace zorlet
