#include "people/RescueUsersViewController.h"

#include "app/ScreenActions.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "people/RescueUserListCell.h"
#include "platform/Analytics.h"
#include "platform/WeakSelf.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"
#include "widgets/OperationProgress.h"

namespace zorlet {

RescueUsersViewController::RescueUsersViewController(std::string postContent)
    : postContent(std::move(postContent)) {
    setTitle("再约几个人同去吧");
}

void RescueUsersViewController::viewDidLoad() {
    view().setId("RescueUsersViewController");
    auto close = Button::create();
    close->setId("close");
    close->setTitle("关闭");
    close->setTitleFont(Font::boldSystemFont(13));
    close->setBackgroundImage(ImageAsset::named("top_nav_btn"));
    close->setFrame(Rect(0, 0, 45, 30));
    close->addTarget(TouchUpInside, [call = ScreenActions::bind(this, &RescueUsersViewController::close)](
                                        Control&) { call(); });
    navigationItem().setLeftBarButtonItem(std::make_shared<BarButtonItem>(close));
    navigationItem().setRightBarButtonItem(nullptr);

    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Plain);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setBackgroundImage(ImageAsset::named("app_bg"));
    tableView->setSeparatorColor(Color::white(0.71));
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);
    loadUsers();
}

void RescueUsersViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void RescueUsersViewController::viewWillDisappear(bool) {
    // The window-wide indicator would keep blocking the screen the user went back to.
    OperationProgress::hide(loadingHud_.lock());
    Analytics::endLogPageView(className());
}

void RescueUsersViewController::loadUsers() {
    auto request = HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("post/v135/rescueUsers"));
    if (!request) {
        return;
    }
    View* locked = navigationController() != nullptr ? &navigationController()->view() : &view();
    auto hud = OperationProgress::show(Application::shared().keyWindow(), "");
    loadingHud_ = hud;
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(
        request, locked,
        [weak, hud](const Json& envelope) {
            OperationProgress::hide(hud);
            auto self = weak.lock();
            if (!self) {
                return;
            }
            self->users.clear();
            const Json& list = jsonArray(jsonObject(envelope, "result"), "list");
            for (const Json& element : list) {
                if (element.is_object()) {
                    self->users.push_back(User::convertFromDictionary(element));
                }
            }
            self->tableView->reloadData();
        },
        [hud] { OperationProgress::hide(hud); });
}

void RescueUsersViewController::close() {
    auto self = shared_from_this();
    if (NavigationController* navigation = navigationController()) {
        navigation->dismissModalViewController(true);
    } else {
        dismissModalViewController(true);
    }
}

int RescueUsersViewController::numberOfRows(TableView&, int) {
    return static_cast<int>(users.size());
}

TableViewCellPtr RescueUsersViewController::cellForRow(TableView& table, IndexPath indexPath) {
    auto cell = std::dynamic_pointer_cast<RescueUserListCell>(
        table.dequeueReusableCell(RescueUserListCell::kIdentifier));
    if (!cell) {
        cell = RescueUserListCell::cellFromNib();
        cell->postContent = postContent;
    }
    cell->redrawn(users.at(static_cast<std::size_t>(indexPath.row)));
    return cell;
}

double RescueUsersViewController::heightForRow(TableView&, IndexPath) {
    return RescueUserListCell::kHeight;
}

void RescueUsersViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
}

}  // namespace zorlet
