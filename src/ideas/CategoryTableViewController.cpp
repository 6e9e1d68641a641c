#include "ideas/CategoryTableViewController.h"

#include "ideas/IdeaViewController.h"
#include "model/BaseData.h"
#include "ui/ImageView.h"
#include "ui/Label.h"

namespace zorlet {

void CategoryTableViewController::viewDidLoad() {
    view().setId("CategoryTableViewController");
    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Plain);
    tableView->setId("categoryTable");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);
}

std::int64_t CategoryTableViewController::categoryIdOfRow(int row) {
    if (row <= 0) {
        return 0;
    }
    auto categories = BaseData::getCategories();
    auto index = static_cast<std::size_t>(row - 1);
    return index < categories.size() ? categories[index]->categoryId : 0;
}

std::string CategoryTableViewController::titleOfRow(int row) {
    if (row <= 0) {
        return kAllTitle;
    }
    auto categories = BaseData::getCategories();
    auto index = static_cast<std::size_t>(row - 1);
    return index < categories.size() ? categories[index]->name : std::string();
}

int CategoryTableViewController::numberOfRows(TableView&, int) {
    return static_cast<int>(BaseData::getCategories().size()) + 1;
}

TableViewCellPtr CategoryTableViewController::cellForRow(TableView&, IndexPath indexPath) {
    // Few rows, each different: built fresh rather than reused.
    auto cell = std::make_shared<TableViewCell>(TableViewCell::Style::Default, "CategoryCell");
    cell->setId("categoryRow" + std::to_string(indexPath.row));
    std::int64_t categoryId = categoryIdOfRow(indexPath.row);
    bool selected = categoryId == selectCategoryId;
    Label& label = cell->textLabel();
    label.setText(titleOfRow(indexPath.row));
    label.setTag(static_cast<int>(categoryId));
    label.setFont(Font::systemFont(15));
    label.setTextColor(selected ? Color::whiteColor() : Color::white(0.2));

    std::string icon;
    if (indexPath.row == 0) {
        icon = "ca_all";
    } else if (auto category = BaseData::getCategory(categoryId)) {
        icon = category->icon;
    }
    if (!icon.empty()) {
        auto accessory =
            std::make_shared<ImageView>(ImageAsset::named(icon + (selected ? "_hover" : "_link")));
        accessory->setFrame(Rect(0, 0, 24, 24));
        cell->setAccessoryView(accessory);
    }
    if (selected) {
        auto background = std::make_shared<ImageView>(ImageAsset::named("ca_selected_bg"));
        background->setId("selectedBackground");
        cell->setBackgroundView(background);
    }
    return cell;
}

void CategoryTableViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, false);
    if (auto root = rootController.lock()) {
        root->selectByCategory(categoryIdOfRow(indexPath.row), titleOfRow(indexPath.row));
    }
}

}  // namespace zorlet
