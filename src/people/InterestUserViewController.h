#pragma once

#include "net/EGORefreshHeaderViewController.h"
#include "net/ZLData.h"
#include "ui/TableView.h"

#include <cstdint>
#include <string>

namespace zorlet {

// The users I follow, or the users who follow me, page by page.
class InterestUserViewController : public EGORefreshHeaderViewController, public TableViewDataSource {
public:
    static constexpr const char* kCellIdentifier = "InterestUserCellCell";
    static constexpr double kRowHeight = 60;

    explicit InterestUserViewController(bool isInterest = true) : isInterest(isInterest) {}
    std::string className() const override { return "InterestUserViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void loadListDataWithPage(std::int64_t page) override;

    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    // Whom the list shows: true for the users I follow, false for my followers.
    bool isInterest = true;
    ZLDataPtr data;
    ListHttpRequestDelegatePtr listHttpRequestDelegate;
};

}  // namespace zorlet
