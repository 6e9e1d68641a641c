#pragma once

#include "model/User.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace zorlet {

class ProgressHUD;

// After publishing: users the server suggests, each of whom can be invited
// to come along with the post's text.
class RescueUsersViewController : public ViewController,
                                  public TableViewDataSource,
                                  public TableViewDelegate {
public:
    explicit RescueUsersViewController(std::string postContent = {});
    std::string className() const override { return "RescueUsersViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void close();

    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    std::vector<UserPtr> users;
    std::string postContent;
    std::shared_ptr<TableView> tableView;

private:
    void loadUsers();

    // The indicator over the window while the list loads; it must not outlive the screen.
    std::weak_ptr<ProgressHUD> loadingHud_;
};

}  // namespace zorlet
