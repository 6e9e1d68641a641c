#include "people/UserPostViewController.h"

#include "model/Post.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "people/PostDetailViewController.h"
#include "people/PostListCell.h"
#include "platform/Analytics.h"
#include "session/UserContext.h"
#include "ui/NavigationController.h"

namespace zorlet {

void UserPostViewController::viewDidLoad() {
    if (user) {
        setTitle(user->nickname + "的Zorlet");
        Analytics::event("enterOtherPosts");
    } else {
        setTitle("我的Zorlet");
    }
    view().setId("UserPostViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    data = std::make_shared<ZLData>();
    listHttpRequestDelegate = makeListDelegate(data, Post::kRecordClassName);
    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Plain);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setSeparatorStyle(TableView::SeparatorStyle::None);
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);
    EGORefreshHeaderViewController::viewDidLoad();
}

void UserPostViewController::viewWillAppear(bool) {
    if (deleteIndex && data) {
        if (*deleteIndex < data->count()) {
            data->removeObjectAtIndex(*deleteIndex);
        }
        deleteIndex.reset();
    }
    // Rows show the records as they are now: a response or an edit made on a
    // pushed screen changed the same Post.
    if (tableView) {
        tableView->reloadData();
    }
    Analytics::beginLogPageView(className());
}

void UserPostViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void UserPostViewController::loadListDataWithPage(std::int64_t page) {
    Json params = {{"page", pageOrFirst(page)}};
    if (user) {
        params["uid"] = user->uid;
    }
    auto request = HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("home/posts"), params);
    sendListRequest(request, listHttpRequestDelegate);
}

int UserPostViewController::numberOfRows(TableView&, int) {
    return data ? static_cast<int>(data->cellRows()) : 0;
}

TableViewCellPtr UserPostViewController::cellForRow(TableView& table, IndexPath indexPath) {
    if (auto pager = pagerRowCell(data, table, indexPath)) {
        return pager;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    auto cell = std::dynamic_pointer_cast<PostListCell>(table.dequeueReusableCell(PostListCell::kIdentifier));
    if (!cell) {
        cell = PostListCell::cellFromNib();
    }
    cell->ownerViewController = weak_from_this();
    cell->user = user;
    cell->redrawn(std::static_pointer_cast<Post>(data->objectAtIndex(row)));
    return cell;
}

double UserPostViewController::heightForRow(TableView&, IndexPath indexPath) {
    if (auto height = pagerRowHeight(data, indexPath)) {
        return *height;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    return PostListCell::heightForCell(static_cast<const Post&>(*data->objectAtIndex(row)));
}

void UserPostViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    if (selectPagerRow(data, indexPath)) {
        return;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    if (NavigationController* navigation = navigationController()) {
        UserPtr author = user ? user : UserContext::getUser();
        if (author) {
            auto detail = std::make_shared<PostDetailViewController>();
            detail->user = author->copy();
            detail->user->post = std::static_pointer_cast<Post>(data->objectAtIndex(row));
            detail->index = row;
            detail->userPostViewController =
                std::static_pointer_cast<UserPostViewController>(shared_from_this());
            detail->setHidesBottomBarWhenPushed(true);
            navigation->pushViewController(detail, true);
        }
    }
}

}  // namespace zorlet
