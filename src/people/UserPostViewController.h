#pragma once

#include "model/User.h"
#include "net/EGORefreshHeaderViewController.h"
#include "net/ZLData.h"
#include "ui/TableView.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zorlet {

// One user's posts page by page; the signed-in user's own when no user is given.
class UserPostViewController : public EGORefreshHeaderViewController, public TableViewDataSource {
public:
    std::string className() const override { return "UserPostViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void loadListDataWithPage(std::int64_t page) override;

    // The post detail reports a deleted row; it leaves the list when this screen is back.
    void setDeleteIndex(std::size_t index) { deleteIndex = index; }

    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    UserPtr user;
    ZLDataPtr data;
    ListHttpRequestDelegatePtr listHttpRequestDelegate;
    std::optional<std::size_t> deleteIndex;
};

}  // namespace zorlet
