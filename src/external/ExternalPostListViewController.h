#pragma once

#include "model/ExternalCategory.h"
#include "model/ExternalPost.h"
#include "net/EGORefreshHeaderViewController.h"
#include "net/ZLData.h"
#include "platform/HttpRequest.h"
#include "platform/Json.h"
#include "ui/ActionSheet.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/TableView.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorlet {

class SendPostBarButtonItem;

// The places of one category, or those matching a keyword, ordered by
// rating or by distance, a page at a time behind the more row. The loads that
// replace the whole list (the first one, each change of order) lock the key
// window under a progress indicator; the pull header and the more row show
// the others. With no place found it invites the user to write a post instead.
class ExternalPostListViewController : public EGORefreshHeaderViewController,
                                       public TableViewDataSource,
                                       public ActionSheetDelegate {
public:
    static constexpr int kRatingOrder = 0;
    static constexpr int kNearOrder = 1;
    static constexpr const char* kRatingTitle = "好评";
    static constexpr const char* kNearTitle = "附近";
    static constexpr const char* kNoLocationMessage = "请开启“定位服务”并允许“Zorlet”确定你的位置";
    static constexpr const char* kLoadingText = "请求数据";

    std::string className() const override { return "ExternalPostListViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void loadListDataWithPage(std::int64_t page) override;
    void doneLoadingTableViewData() override;

    // Loads the places again from the first page, in the current order.
    void query();
    void openOrder();
    void sendPost();

    // The parameters of a place request for `page` in the current order, with the last known position.
    Json queryParams(std::int64_t page) const;
    static bool positionKnown();

    // The places shown, row 0 first.
    std::vector<ExternalPostPtr> externalPostArray() const;

    // TableViewDataSource / TableViewDelegate
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    // ActionSheetDelegate (the order sheet)
    void actionSheetDidDismiss(ActionSheet& sheet, int index) override;

    ExternalCategoryPtr externalCategory;
    std::optional<std::string> keyword;
    ZLDataPtr data;
    ListHttpRequestDelegatePtr listHttpRequestDelegate;
    std::shared_ptr<Button> orderButton;
    std::shared_ptr<Button> bigButton;
    std::shared_ptr<Label> tip1Label;
    std::shared_ptr<Label> tip2Label;
    std::shared_ptr<SendPostBarButtonItem> sendPostItem;

private:
    class PlacePagesDelegate;

    void setOrder(int order);
    void showPlacesOrTips();
    // Every page request ends here first, `accepted` when its answer was merged.
    void placesAnswered(bool accepted);

    std::shared_ptr<PlacePagesDelegate> placePages_;
    // Set only while a load that replaces the list is being started.
    bool coverNextLoad_ = false;
    // The order the rows shown were asked in.
    int shownOrder_ = kRatingOrder;

    // Page requests not yet answered, so that a change of order can drop them.
    std::vector<std::weak_ptr<HttpRequest>> pendingRequests_;
};

}  // namespace zorlet
