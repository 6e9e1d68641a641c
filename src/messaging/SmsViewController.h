#pragma once

#include "net/EGORefreshHeaderViewController.h"
#include "net/ZLData.h"
#include "ui/Button.h"
#include "ui/TableView.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// The message tab: the signed-in user's dialogs page by page in the server's
// order, pull to refresh, editing to delete. Loading clears the tab's unread
// badge, and appearing with a badge loads again.
class SmsViewController : public EGORefreshHeaderViewController, public TableViewDataSource {
public:
    static constexpr double kEditButtonWidth = 45;

    std::string className() const override { return "SmsViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void loadListDataWithPage(std::int64_t page) override;
    void doneLoadingTableViewData() override;
    void toggleEdit();

    // TableViewDataSource / TableViewDelegate
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    bool canEditRow(TableView&, IndexPath indexPath) override;
    void commitEditingStyle(TableView& table, TableViewCellEditingStyle style, IndexPath indexPath) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    ZLDataPtr data;
    ListHttpRequestDelegatePtr listHttpRequestDelegate;
    std::shared_ptr<Button> editButton;

private:
    TabBarItem* messageTabItem() const;
    void deleteDialog(const RecordPtr& dialog);
    void removeDeletedDialog(const RecordPtr& dialog);
};

}  // namespace zorlet
