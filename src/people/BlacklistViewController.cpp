#include "people/BlacklistViewController.h"

#include "app/ScreenActions.h"
#include "model/User.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "people/CommonUserListCell.h"
#include "people/TaHomeViewController.h"
#include "platform/Analytics.h"
#include "platform/WeakSelf.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"
#include "widgets/OperationProgress.h"

namespace zorlet {

void BlacklistViewController::viewDidLoad() {
    setTitle("被我屏蔽的人");
    view().setId("BlacklistViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    data = std::make_shared<ZLData>();
    listHttpRequestDelegate = makeListDelegate(data, User::kRecordClassName);

    editButton = Button::create();
    editButton->setId("editButton");
    editButton->setTitle("删除");
    editButton->setTitleFont(Font::boldSystemFont(13));
    editButton->setBackgroundImage(ImageAsset::named("top_nav_btn"));
    editButton->setFrame(Rect(0, 0, 45, 30));
    editButton->addTarget(
        TouchUpInside,
        [call = ScreenActions::bind(this, &BlacklistViewController::toggleEdit)](Control&) { call(); });
    navigationItem().setRightBarButtonItem(std::make_shared<BarButtonItem>(editButton));

    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Plain);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setSeparatorColor(Color::white(0.71));
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);
    EGORefreshHeaderViewController::viewDidLoad();
}

void BlacklistViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void BlacklistViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void BlacklistViewController::loadListDataWithPage(std::int64_t page) {
    auto request = HttpRequestSender::getRequestWithUrl(
        UrlUtils::urlStringWithUri("home/v133/blacklist/list"), {{"page", pageOrFirst(page)}});
    sendListRequest(request, listHttpRequestDelegate);
}

void BlacklistViewController::toggleEdit() {
    bool editing = !tableView->isEditing();
    tableView->setEditing(editing, true);
    editButton->setTitle(editing ? "完成" : "删除");
}

int BlacklistViewController::numberOfRows(TableView&, int) {
    return data ? static_cast<int>(data->cellRows()) : 0;
}

TableViewCellPtr BlacklistViewController::cellForRow(TableView& table, IndexPath indexPath) {
    if (auto pager = pagerRowCell(data, table, indexPath)) {
        return pager;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    auto cell = std::dynamic_pointer_cast<CommonUserListCell>(table.dequeueReusableCell(kCellIdentifier));
    if (!cell) {
        cell = CommonUserListCell::cellFromNib(kCellIdentifier);
    }
    cell->redrawn(std::static_pointer_cast<User>(data->objectAtIndex(row)));
    return cell;
}

bool BlacklistViewController::canEditRow(TableView&, IndexPath indexPath) {
    return data && static_cast<std::size_t>(indexPath.row) < data->count();
}

void BlacklistViewController::commitEditingStyle(TableView&, TableViewCellEditingStyle style,
                                                 IndexPath indexPath) {
    if (style == TableViewCellEditingStyle::Delete && canEditRow(*tableView, indexPath)) {
        unblock(static_cast<std::size_t>(indexPath.row));
    }
}

void BlacklistViewController::unblock(std::size_t row) {
    View* locked = navigationController() != nullptr ? &navigationController()->view() : &view();
    auto user = std::static_pointer_cast<User>(data->objectAtIndex(row));
    auto hud = OperationProgress::show(locked, "删除中...");
    auto request = HttpRequestSender::postRequestWithUrl(
        UrlUtils::urlStringWithUri("home/v133/blacklist/cancel"), {{"shieldUid", user->uid}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(request, locked, [weak, hud, user](const Json&) {
        OperationProgress::hide(hud);
        auto self = weak.lock();
        if (!self) {
            return;
        }
        // Found again by identity: rows may have moved while the request ran.
        for (std::size_t i = 0; i < self->data->count(); ++i) {
            if (self->data->objectAtIndex(i) == user) {
                self->data->removeObjectAtIndex(i);
                self->tableView->deleteRows({IndexPath{0, static_cast<int>(i)}}, TableViewRowAnimation::Fade);
                break;
            }
        }
    });
}

double BlacklistViewController::heightForRow(TableView&, IndexPath indexPath) {
    return pagerRowHeight(data, indexPath).value_or(CommonUserListCell::kHeight);
}

void BlacklistViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    if (selectPagerRow(data, indexPath)) {
        return;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    if (NavigationController* navigation = navigationController()) {
        auto home = std::make_shared<TaHomeViewController>();
        home->user = std::static_pointer_cast<User>(data->objectAtIndex(row));
        home->setHidesBottomBarWhenPushed(true);
        navigation->pushViewController(home, true);
    }
}

}  // namespace zorlet
