#include "net/EGORefreshHeaderViewController.h"

#include "net/PagerCell.h"
#include "platform/MainLoop.h"
#include "platform/WeakSelf.h"

namespace zorlet {

void EGORefreshHeaderViewController::viewDidLoad() {
    if (tableView && !refreshHeaderView_) {
        double width = tableView->frame().size.width;
        refreshHeaderView_ = std::make_shared<PullRefreshHeaderView>(width);
        auto frame = refreshHeaderView_->frame();
        frame.origin.y = -frame.size.height;
        refreshHeaderView_->setFrame(frame);
        refreshHeaderView_->setDelegate(this);
        tableView->addSubview(refreshHeaderView_);
        refreshHeaderView_->refreshLastUpdatedDate();
    }
    autoRefresh();
}

namespace {

bool isPagerRow(const ZLDataPtr& list, IndexPath indexPath) {
    return list && indexPath.row >= 0 && static_cast<std::size_t>(indexPath.row) == list->count();
}

}  // namespace

TableViewCellPtr EGORefreshHeaderViewController::pagerRowCell(const ZLDataPtr& list, TableView& table,
                                                              IndexPath indexPath) {
    if (!isPagerRow(list, indexPath)) {
        return nullptr;
    }
    return PagerCell::dequeueReusablePagerCell(table);
}

std::optional<double> EGORefreshHeaderViewController::pagerRowHeight(const ZLDataPtr& list,
                                                                     IndexPath indexPath) {
    // A row past the records is laid out as the pager row too: the table may
    // still ask about it while a list shrinks under it.
    if (!list || indexPath.row < 0 || static_cast<std::size_t>(indexPath.row) < list->count()) {
        return std::nullopt;
    }
    return PagerCell::kHeight;
}

bool EGORefreshHeaderViewController::selectPagerRow(const ZLDataPtr& list, IndexPath indexPath) {
    if (!isPagerRow(list, indexPath)) {
        return false;
    }
    if (list->pager()) {
        loadListDataWithPage(list->pager()->nextPage());
    }
    return true;
}

void EGORefreshHeaderViewController::autoRefresh() {
    if (refreshHeaderView_ && tableView) {
        refreshHeaderView_->startRefreshing(*tableView);
        return;
    }
    if (!reloading) {
        reloading = true;
        loadListDataWithPage(1);
    }
}

void EGORefreshHeaderViewController::doneLoadingTableViewData() {
    reloading = false;
    lastUpdateDate = MainLoop::main().clock().now();
    if (refreshHeaderView_ && tableView) {
        refreshHeaderView_->scrollViewDataSourceDidFinishLoading(*tableView);
    }
    if (tableView) {
        tableView->reloadData();
    }
}

void EGORefreshHeaderViewController::pullRefreshHeaderDidTriggerRefresh(PullRefreshHeaderView&) {
    reloading = true;
    loadListDataWithPage(1);
}

void EGORefreshHeaderViewController::scrollViewDidScroll(ScrollView& scrollView) {
    if (refreshHeaderView_) {
        refreshHeaderView_->scrollViewDidScroll(scrollView);
    }
}

void EGORefreshHeaderViewController::scrollViewDidEndDragging(ScrollView& scrollView, bool) {
    if (refreshHeaderView_) {
        refreshHeaderView_->scrollViewDidEndDragging(scrollView);
    }
}

ListHttpRequestDelegatePtr EGORefreshHeaderViewController::makeListDelegate(
    const ZLDataPtr& data, const std::string& viewClassName) {
    auto delegate = std::make_shared<ListHttpRequestDelegate>();
    delegate->zlData = data;
    delegate->viewClassName = viewClassName;
    delegate->listViewController = std::dynamic_pointer_cast<ListLoadingTarget>(shared_from_this());
    return delegate;
}

void EGORefreshHeaderViewController::sendListRequest(const HttpRequestPtr& request,
                                                     const ListHttpRequestDelegatePtr& delegate) {
    if (!request) {
        auto weak = weakSelf(this);
        MainLoop::main().runAfter(Duration(500), [weak] {
            if (auto screen = weak.lock()) {
                screen->doneLoadingTableViewData();
            }
        });
        return;
    }
    request->setDelegate(std::static_pointer_cast<HttpRequestObserver>(delegate));
    request->startAsynchronous();
}

}  // namespace zorlet
