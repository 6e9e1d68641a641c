#include "profile/EditorListViewController.h"

#include "app/CustomNavigationController.h"
#include "platform/Analytics.h"
#include "profile/ProfileSettingViewController.h"
#include "profile/UserPreferenceSettingViewController.h"

namespace zorlet {

EditorListViewController::EditorListViewController(TableView::Style style) : style_(style) {
    setTitle("设置个人资料");
}

void EditorListViewController::loadView() {
    tableView = std::make_shared<TableView>(Rect(0, 0, kScreenWidth, 416), style_);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    setView(tableView);
}

void EditorListViewController::viewDidLoad() {
    tableView->setDataSource(this);
    tableView->setDelegate(this);
}

void EditorListViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void EditorListViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

TableViewCellPtr EditorListViewController::cellForRow(TableView& table, IndexPath indexPath) {
    auto cell = table.dequeueReusableCell(kCellIdentifier);
    if (!cell) {
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Default, kCellIdentifier);
    }
    cell->setBackgroundColor(Color::whiteColor());
    cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
    cell->textLabel().setText(indexPath.row == 0 ? "基本资料" : "Zorlet偏好");
    return cell;
}

void EditorListViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    if (indexPath.row == 0) {
        auto form = std::make_shared<ProfileSettingViewController>();
        form->setHidesBottomBarWhenPushed(true);
        presentModalViewController(std::make_shared<CustomNavigationController>(form), true);
    } else if (NavigationController* navigation = navigationController()) {
        auto questionnaire = std::make_shared<UserPreferenceSettingViewController>();
        questionnaire->setHidesBottomBarWhenPushed(true);
        navigation->pushViewController(questionnaire, true);
    }
}

}  // namespace zorlet
