#pragma once

#include "model/ExternalCategory.h"
#include "model/ExternalPost.h"
#include "platform/Json.h"
#include "ui/ActionSheet.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorlet {

class BarButtonItem;
class SendPostBarButtonItem;

// The places of one category, or those matching a keyword, ordered by
// rating or by distance. With no place found it invites the user to write a
// post instead.
class ExternalPostListViewController : public ViewController,
                                       public TableViewDataSource,
                                       public TableViewDelegate,
                                       public ActionSheetDelegate {
public:
    static constexpr int kRatingOrder = 0;
    static constexpr int kNearOrder = 1;
    static constexpr const char* kRatingTitle = "好评";
    static constexpr const char* kNearTitle = "附近";
    static constexpr const char* kNoLocationMessage = "请开启“定位服务”并允许“Zorlet”确定你的位置";

    std::string className() const override { return "ExternalPostListViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void query();
    void openOrder();
    void sendPost();

    // The parameters of a place request in the current order, with the last known position.
    Json queryParams() const;
    static bool positionKnown();

    // TableViewDataSource / TableViewDelegate
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    // ActionSheetDelegate (the order sheet)
    void actionSheetDidDismiss(ActionSheet& sheet, int index) override;

    ExternalCategoryPtr externalCategory;
    std::optional<std::string> keyword;
    std::vector<ExternalPostPtr> externalPostArray;
    std::shared_ptr<Button> orderButton;
    std::shared_ptr<Button> bigButton;
    std::shared_ptr<TableView> tableView;
    std::shared_ptr<Label> tip1Label;
    std::shared_ptr<Label> tip2Label;
    std::shared_ptr<SendPostBarButtonItem> sendPostItem;

private:
    void setOrder(int order, const char* title);
    void showPlaces(const Json& list);
};

}  // namespace zorlet
