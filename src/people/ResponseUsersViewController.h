#pragma once

#include "net/EGORefreshHeaderViewController.h"
#include "net/ZLData.h"
#include "ui/TableView.h"

#include <cstdint>
#include <string>

namespace zorlet {

// The users who said they are interested in one post, page by page.
class ResponseUsersViewController : public EGORefreshHeaderViewController, public TableViewDataSource {
public:
    static constexpr const char* kCellIdentifier = "ResponseUserListCellIdentifier";

    explicit ResponseUsersViewController(std::int64_t postId = 0) : postId(postId) {}
    std::string className() const override { return "ResponseUsersViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void loadListDataWithPage(std::int64_t page) override;

    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    std::int64_t postId = 0;
    ZLDataPtr data;
    ListHttpRequestDelegatePtr listHttpRequestDelegate;
};

}  // namespace zorlet
