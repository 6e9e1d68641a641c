#pragma once

#include "net/EGORefreshHeaderViewController.h"
#include "net/ZLData.h"
#include "ui/Button.h"
#include "ui/TableView.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// The users I have blocked; deleting a row unblocks that user.
class BlacklistViewController : public EGORefreshHeaderViewController, public TableViewDataSource {
public:
    static constexpr const char* kCellIdentifier = "BlacklistCellIdentifier";

    std::string className() const override { return "BlacklistViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void loadListDataWithPage(std::int64_t page) override;
    void toggleEdit();

    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    bool canEditRow(TableView&, IndexPath indexPath) override;
    void commitEditingStyle(TableView& table, TableViewCellEditingStyle style, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    ZLDataPtr data;
    ListHttpRequestDelegatePtr listHttpRequestDelegate;
    std::shared_ptr<Button> editButton;

private:
    void unblock(std::size_t row);
};

}  // namespace zorlet
