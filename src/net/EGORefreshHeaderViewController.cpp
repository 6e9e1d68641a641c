#include "net/EGORefreshHeaderViewController.h"

#include "platform/MainLoop.h"

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
        std::weak_ptr<ViewController> weak = weak_from_this();
        MainLoop::main().runAfter(Duration(500), [weak] {
            if (auto screen = std::dynamic_pointer_cast<EGORefreshHeaderViewController>(weak.lock())) {
                screen->doneLoadingTableViewData();
            }
        });
        return;
    }
    request->setDelegate(std::static_pointer_cast<HttpRequestObserver>(delegate));
    request->startAsynchronous();
}

}  // namespace zorlet
