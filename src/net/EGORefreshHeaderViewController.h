#pragma once

#include "net/ListHttpRequestDelegate.h"
#include "net/ListLoadingTarget.h"
#include "platform/Clock.h"
#include "ui/PullRefreshHeaderView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zorlet {

// The base of every paged list screen: a table with the pull-to-refresh
// header above it, the first load when the screen loads, and the end of
// every load (pull or more row) in doneLoadingTableViewData.
//
// A subclass builds `tableView` in its own viewDidLoad (with itself as data
// source and delegate), then calls this viewDidLoad last; it overrides
// loadListDataWithPage to send its request through sendListRequest.
class EGORefreshHeaderViewController : public ViewController,
                                       public ListLoadingTarget,
                                       public PullRefreshHeaderDelegate,
                                       public TableViewDelegate {
public:
    std::string className() const override { return "EGORefreshHeaderViewController"; }

    void viewDidLoad() override;
    void autoRefresh();
    virtual void loadListDataWithPage(std::int64_t page) {}
    void doneLoadingTableViewData() override;

    void pullRefreshHeaderDidTriggerRefresh(PullRefreshHeaderView&) override;
    bool pullRefreshHeaderDataSourceIsLoading(PullRefreshHeaderView&) override { return reloading; }
    std::optional<SystemTime> pullRefreshHeaderDataSourceLastUpdated(PullRefreshHeaderView&) override {
        return lastUpdateDate;
    }
    void scrollViewDidScroll(ScrollView& scrollView) override;
    void scrollViewDidEndDragging(ScrollView& scrollView, bool willDecelerate) override;

    PullRefreshHeaderView* refreshHeaderView() const { return refreshHeaderView_.get(); }

    std::shared_ptr<TableView> tableView;
    bool reloading = false;
    std::optional<SystemTime> lastUpdateDate;

protected:
    // A list delegate filling `data` with records of `viewClassName` and telling this screen.
    ListHttpRequestDelegatePtr makeListDelegate(const ZLDataPtr& data, const std::string& viewClassName);
    // Starts a list request; without one (no network) the header closes after half a second.
    void sendListRequest(const HttpRequestPtr& request, const ListHttpRequestDelegatePtr& delegate);
    static std::int64_t pageOrFirst(std::int64_t page) { return page <= 0 ? 1 : page; }

    // The "more" row after the last record of `list`: its cell, its height and
    // its tap, which asks for the next page. Each gives nothing (false) when
    // `indexPath` is a record's row, so a screen handles its own rows after.
    static TableViewCellPtr pagerRowCell(const ZLDataPtr& list, TableView& table, IndexPath indexPath);
    static std::optional<double> pagerRowHeight(const ZLDataPtr& list, IndexPath indexPath);
    bool selectPagerRow(const ZLDataPtr& list, IndexPath indexPath);

private:
    std::shared_ptr<PullRefreshHeaderView> refreshHeaderView_;
};

}  // namespace zorlet
