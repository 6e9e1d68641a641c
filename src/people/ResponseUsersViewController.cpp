#include "people/ResponseUsersViewController.h"

#include "model/User.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "people/CommonUserListCell.h"
#include "people/TaHomeViewController.h"
#include "platform/Analytics.h"
#include "ui/NavigationController.h"

namespace zorlet {

void ResponseUsersViewController::viewDidLoad() {
    setTitle("有兴趣的人");
    Analytics::event("enterResponseUsers");
    view().setId("ResponseUsersViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    data = std::make_shared<ZLData>();
    listHttpRequestDelegate = makeListDelegate(data, User::kRecordClassName);
    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Plain);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);
    EGORefreshHeaderViewController::viewDidLoad();
}

void ResponseUsersViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void ResponseUsersViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void ResponseUsersViewController::loadListDataWithPage(std::int64_t page) {
    auto request = HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("post/respUsers"),
                                                        {{"postId", postId}, {"page", pageOrFirst(page)}});
    sendListRequest(request, listHttpRequestDelegate);
}

int ResponseUsersViewController::numberOfRows(TableView&, int) {
    return data ? static_cast<int>(data->cellRows()) : 0;
}

TableViewCellPtr ResponseUsersViewController::cellForRow(TableView& table, IndexPath indexPath) {
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

double ResponseUsersViewController::heightForRow(TableView&, IndexPath indexPath) {
    return pagerRowHeight(data, indexPath).value_or(CommonUserListCell::kHeight);
}

void ResponseUsersViewController::didSelectRow(TableView& table, IndexPath indexPath) {
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
