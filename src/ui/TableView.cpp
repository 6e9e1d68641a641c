#include "ui/TableView.h"

#include "platform/Log.h"
#include "ui/Label.h"
#include "ui/Painter.h"

#include <algorithm>

namespace zorlet {

const char* rowAnimationName(TableViewRowAnimation animation) {
    switch (animation) {
        case TableViewRowAnimation::Fade:
            return "fade";
        case TableViewRowAnimation::Right:
            return "right";
        case TableViewRowAnimation::Left:
            return "left";
        case TableViewRowAnimation::Top:
            return "top";
        case TableViewRowAnimation::Bottom:
            return "bottom";
        case TableViewRowAnimation::None:
            return "none";
        case TableViewRowAnimation::Middle:
            return "middle";
        case TableViewRowAnimation::Automatic:
            return "automatic";
    }
    return "none";
}

TableView::TableView(Rect frame, Style style) : ScrollView(frame), style_(style) {
    setBackgroundColor(style == Style::Grouped ? Color::groupTableViewBackground() : Color::whiteColor());
}

TableView::~TableView() = default;

void TableView::setDelegate(TableViewDelegate* delegate) {
    tableDelegate_ = delegate;
    ScrollView::setDelegate(delegate);
}

void TableView::setTableFooterView(ViewPtr view) {
    if (tableFooterView_) {
        tableFooterView_->removeFromSuperview();
    }
    tableFooterView_ = std::move(view);
    if (tableFooterView_) {
        addSubview(tableFooterView_);
    }
    if (loaded_) {
        applyRowChange(false);
    }
}

void TableView::setBackgroundView(ViewPtr view) {
    if (backgroundView_) {
        backgroundView_->removeFromSuperview();
    }
    backgroundView_ = std::move(view);
    if (backgroundView_) {
        insertSubview(backgroundView_, 0);
        backgroundView_->setFrame(bounds());
    }
}

int TableView::numberOfRows(int section) const {
    if (section < 0 || section >= numberOfSections()) {
        return 0;
    }
    return static_cast<int>(sections_[static_cast<std::size_t>(section)].rowY.size());
}

bool TableView::isValid(IndexPath indexPath) const {
    return indexPath.section >= 0 && indexPath.section < numberOfSections() && indexPath.row >= 0 &&
           indexPath.row < numberOfRows(indexPath.section);
}

double TableView::rowX() const {
    return style_ == Style::Grouped ? 10 : 0;
}

double TableView::rowWidth() const {
    return std::max(0.0, frame().width() - 2 * rowX());
}

void TableView::rebuildGeometry() {
    sections_.clear();
    double y = 0;
    int sectionCount = dataSource_ != nullptr ? std::max(0, dataSource_->numberOfSections(*this)) : 0;
    for (int s = 0; s < sectionCount; ++s) {
        Section section;
        std::string headerTitle = dataSource_->titleForHeader(*this, s);
        std::string footerTitle = dataSource_->titleForFooter(*this, s);
        double header = tableDelegate_ != nullptr ? tableDelegate_->heightForHeader(*this, s)
                                                  : TableViewDelegate::kDefault;
        if (header < 0) {
            header =
                style_ == Style::Grouped ? (headerTitle.empty() ? 10 : 45) : (headerTitle.empty() ? 0 : 22);
        }
        section.headerY = y;
        section.headerHeight = header;
        y += header;
        int rows = std::max(0, dataSource_->numberOfRows(*this, s));
        for (int r = 0; r < rows; ++r) {
            double height = tableDelegate_ != nullptr ? tableDelegate_->heightForRow(*this, {s, r})
                                                      : TableViewDelegate::kDefault;
            if (height < 0) {
                height = rowHeight_;
            }
            section.rowY.push_back(y);
            section.rowHeight.push_back(height);
            y += height;
        }
        double footer = tableDelegate_ != nullptr ? tableDelegate_->heightForFooter(*this, s)
                                                  : TableViewDelegate::kDefault;
        if (footer < 0) {
            footer =
                style_ == Style::Grouped ? (footerTitle.empty() ? 10 : 45) : (footerTitle.empty() ? 0 : 22);
        }
        section.footerY = y;
        section.footerHeight = footer;
        y += footer;
        sections_.push_back(std::move(section));
    }
    if (tableFooterView_) {
        tableFooterView_->setFrame(Rect(0, y, frame().width(), tableFooterView_->frame().height()));
        y += tableFooterView_->frame().height();
    }
    expectedCounts_.clear();
    for (int s = 0; s < numberOfSections(); ++s) {
        expectedCounts_.push_back(numberOfRows(s));
    }
    setContentSize({frame().width(), y});
}

void TableView::enqueue(const TableViewCellPtr& cell) {
    cell->removeFromSuperview();
    if (!cell->reuseIdentifier().empty()) {
        reusable_[cell->reuseIdentifier()].push_back(cell);
    }
}

void TableView::clearVisible() {
    for (auto& [path, cell] : visible_) {
        enqueue(cell);
    }
    visible_.clear();
}

void TableView::layoutVisibleRows() {
    if (laying_ || dataSource_ == nullptr) {
        return;
    }
    laying_ = true;
    double top = contentOffset().y;
    double bottom = top + frame().height();
    // Cells that scrolled out go back to the reuse pool first, so the rows
    // coming in can take them.
    for (auto it = visible_.begin(); it != visible_.end();) {
        Rect rect = rectForRow(it->first);
        if (!isValid(it->first) || rect.maxY() <= top || rect.y() >= bottom) {
            enqueue(it->second);
            it = visible_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& view : sectionViews_) {
        view->removeFromSuperview();
    }
    sectionViews_.clear();
    for (int s = 0; s < numberOfSections(); ++s) {
        for (int r = 0; r < numberOfRows(s); ++r) {
            IndexPath path{s, r};
            Rect rect = rectForRow(path);
            if (rect.maxY() <= top || rect.y() >= bottom || visible_.count(path) != 0) {
                continue;
            }
            TableViewCellPtr cell = dataSource_->cellForRow(*this, path);
            if (!cell) {
                log().error("table data source gave no cell for row {}.{}", s, r);
                continue;
            }
            cell->setFrame(rect);
            cell->setEditing(editing_);
            cell->layoutSubviews();
            cell->setSelected(selected_ == path);
            addSubview(cell);
            visible_[path] = cell;
        }
        for (bool header : {true, false}) {
            Rect rect = header ? rectForHeader(s) : rectForFooter(s);
            if (rect.height() <= 0 || rect.maxY() <= top || rect.y() >= bottom) {
                continue;
            }
            ViewPtr view;
            if (header && tableDelegate_ != nullptr) {
                view = tableDelegate_->viewForHeader(*this, s);
            }
            if (!view) {
                std::string title =
                    header ? dataSource_->titleForHeader(*this, s) : dataSource_->titleForFooter(*this, s);
                if (title.empty()) {
                    continue;
                }
                auto label = std::make_shared<Label>();
                label->setText(title);
                label->setFont(Font::boldSystemFont(style_ == Style::Grouped ? 17 : 15));
                label->setTextColor(style_ == Style::Grouped ? Color::rgb(76, 86, 108) : Color::whiteColor());
                if (style_ == Style::Plain) {
                    label->setBackgroundColor(Color::rgb(144, 159, 170, 0.9));
                }
                view = label;
            }
            view->setFrame(style_ == Style::Grouped && !std::dynamic_pointer_cast<Label>(view)
                               ? rect
                               : rect.insetBy({0, rowX(), 0, rowX()}));
            addSubview(view);
            sectionViews_.push_back(view);
        }
    }
    if (backgroundView_) {
        backgroundView_->setFrame(bounds());
    }
    laying_ = false;
}

void TableView::reloadData() {
    loaded_ = true;
    clearVisible();
    selected_.reset();
    rebuildGeometry();
    layoutVisibleRows();
}

void TableView::applyRowChange(bool checkCounts) {
    std::vector<int> expected = expectedCounts_;
    clearVisible();
    rebuildGeometry();
    if (checkCounts && expected != expectedCounts_) {
        // The phone framework stops the program here; we log and show what the data source has.
        log().error("table rows changed without matching deletes/inserts; reloaded from the data source");
    }
    if (selected_ && !isValid(*selected_)) {
        selected_.reset();
    }
    Point min = minContentOffset();
    Point max = maxContentOffset();
    Point offset{std::clamp(contentOffset().x, min.x, max.x), std::clamp(contentOffset().y, min.y, max.y)};
    if (offset != contentOffset() && !isDragging()) {
        setContentOffset(offset, false);
    }
    layoutVisibleRows();
}

void TableView::shiftSelection(const std::vector<IndexPath>& removed,
                               const std::vector<IndexPath>& inserted) {
    if (!selected_) {
        return;
    }
    IndexPath path = *selected_;
    int shift = 0;
    for (const auto& r : removed) {
        if (r == path) {
            selected_.reset();
            return;
        }
        if (r.section == path.section && r.row < path.row) {
            --shift;
        }
    }
    path.row += shift;
    for (const auto& r : inserted) {
        if (r.section == path.section && r.row <= path.row) {
            ++path.row;
        }
    }
    selected_ = path;
}

void TableView::deleteRows(const std::vector<IndexPath>& rows, TableViewRowAnimation animation) {
    lastRowAnimation_ = animation;
    for (const auto& row : rows) {
        if (row.section >= 0 && static_cast<std::size_t>(row.section) < expectedCounts_.size()) {
            --expectedCounts_[static_cast<std::size_t>(row.section)];
        }
    }
    shiftSelection(rows, {});
    applyRowChange(true);
}

void TableView::insertRows(const std::vector<IndexPath>& rows, TableViewRowAnimation animation) {
    lastRowAnimation_ = animation;
    for (const auto& row : rows) {
        if (row.section >= 0 && static_cast<std::size_t>(row.section) < expectedCounts_.size()) {
            ++expectedCounts_[static_cast<std::size_t>(row.section)];
        }
    }
    shiftSelection({}, rows);
    applyRowChange(true);
}

TableViewCellPtr TableView::dequeueReusableCell(const std::string& identifier) {
    auto it = reusable_.find(identifier);
    if (it == reusable_.end() || it->second.empty()) {
        return nullptr;
    }
    TableViewCellPtr cell = it->second.back();
    it->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

TableViewCell* TableView::cellForRow(IndexPath indexPath) const {
    auto it = visible_.find(indexPath);
    return it != visible_.end() ? it->second.get() : nullptr;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell* cell) const {
    for (const auto& [path, visibleCell] : visible_) {
        if (visibleCell.get() == cell) {
            return path;
        }
    }
    return std::nullopt;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const {
    std::vector<IndexPath> paths;
    for (const auto& [path, cell] : visible_) {
        paths.push_back(path);
    }
    return paths;
}

std::vector<TableViewCell*> TableView::visibleCells() const {
    std::vector<TableViewCell*> cells;
    for (const auto& [path, cell] : visible_) {
        cells.push_back(cell.get());
    }
    return cells;
}

Rect TableView::rectForRow(IndexPath indexPath) const {
    if (!isValid(indexPath)) {
        return {};
    }
    const Section& section = sections_[static_cast<std::size_t>(indexPath.section)];
    auto row = static_cast<std::size_t>(indexPath.row);
    return Rect(rowX(), section.rowY[row], rowWidth(), section.rowHeight[row]);
}

Rect TableView::rectForHeader(int section) const {
    if (section < 0 || section >= numberOfSections()) {
        return {};
    }
    const Section& s = sections_[static_cast<std::size_t>(section)];
    return Rect(0, s.headerY, frame().width(), s.headerHeight);
}

Rect TableView::rectForFooter(int section) const {
    if (section < 0 || section >= numberOfSections()) {
        return {};
    }
    const Section& s = sections_[static_cast<std::size_t>(section)];
    return Rect(0, s.footerY, frame().width(), s.footerHeight);
}

void TableView::selectRow(std::optional<IndexPath> indexPath, bool animated,
                          TableViewScrollPosition position) {
    lastSelectionAnimated_ = animated;
    if (selected_) {
        if (TableViewCell* cell = cellForRow(*selected_)) {
            cell->setSelected(false, animated);
        }
    }
    selected_.reset();
    if (!indexPath || !isValid(*indexPath)) {
        return;
    }
    selected_ = indexPath;
    if (TableViewCell* cell = cellForRow(*indexPath)) {
        cell->setSelected(true, animated);
    }
    if (position != TableViewScrollPosition::None) {
        scrollToRow(*indexPath, position, animated);
    }
}

void TableView::deselectRow(IndexPath indexPath, bool animated) {
    lastDeselectionAnimated_ = animated;
    if (selected_ != indexPath) {
        return;
    }
    selected_.reset();
    if (TableViewCell* cell = cellForRow(indexPath)) {
        cell->setSelected(false, animated);
    }
}

void TableView::userSelectRow(IndexPath indexPath) {
    if (!isValid(indexPath) || !allowsSelection_ || editing_) {
        return;
    }
    std::optional<IndexPath> target = indexPath;
    if (tableDelegate_ != nullptr) {
        target = tableDelegate_->willSelectRow(*this, indexPath);
    }
    if (!target || !isValid(*target)) {
        return;
    }
    if (selected_ && *selected_ != *target) {
        IndexPath previous = *selected_;
        deselectRow(previous, false);
        if (tableDelegate_ != nullptr) {
            tableDelegate_->didDeselectRow(*this, previous);
        }
    }
    selected_ = target;
    if (TableViewCell* cell = cellForRow(*target)) {
        cell->setSelected(true, false);
    }
    if (tableDelegate_ != nullptr) {
        tableDelegate_->didSelectRow(*this, *target);
    }
}

bool TableView::userCommitEditing(IndexPath indexPath) {
    if (dataSource_ == nullptr || !isValid(indexPath) || !dataSource_->canEditRow(*this, indexPath)) {
        return false;
    }
    dataSource_->commitEditingStyle(*this, TableViewCellEditingStyle::Delete, indexPath);
    return true;
}

void TableView::setEditing(bool editing, bool animated) {
    editing_ = editing;
    for (auto& [path, cell] : visible_) {
        cell->setEditing(editing, animated);
    }
}

void TableView::scrollToRow(IndexPath indexPath, TableViewScrollPosition position, bool animated) {
    if (!isValid(indexPath)) {
        return;
    }
    Rect rect = rectForRow(indexPath);
    double y = contentOffset().y;
    switch (position) {
        case TableViewScrollPosition::Top:
            y = rect.y();
            break;
        case TableViewScrollPosition::Middle:
            y = rect.midY() - frame().height() / 2;
            break;
        case TableViewScrollPosition::Bottom:
            y = rect.maxY() - frame().height();
            break;
        case TableViewScrollPosition::None:
            if (rect.y() < y) {
                y = rect.y();
            } else if (rect.maxY() > y + frame().height()) {
                y = rect.maxY() - frame().height();
            }
            break;
    }
    Point min = minContentOffset();
    Point max = maxContentOffset();
    setContentOffset({contentOffset().x, std::clamp(y, min.y, max.y)}, animated);
}

void TableView::didMoveToWindow() {
    // Like the phone framework, a table asks for its rows the first time it is shown.
    if (!loaded_ && dataSource_ != nullptr && window() != nullptr) {
        reloadData();
    }
}

void TableView::layoutSubviews() {
    if (loaded_) {
        // Widths follow the frame; heights come from the delegate again.
        clearVisible();
        rebuildGeometry();
        layoutVisibleRows();
    }
}

void TableView::didScroll() {
    if (loaded_) {
        layoutVisibleRows();
    }
}

void TableView::draw(Painter& painter) const {}

void TableView::describe(std::string& out) const {
    out += " sections=" + std::to_string(numberOfSections());
    if (editing_) {
        out += " editing";
    }
    ScrollView::describe(out);
}

}  // namespace zorlet
