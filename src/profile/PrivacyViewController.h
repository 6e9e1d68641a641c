#pragma once

#include "ui/BarButtonItem.h"
#include "ui/Switch.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <string>

namespace zorlet {

// "隐私设置": what other users may see of the signed-in user. The switches
// start from the home's flags, change only here, and are saved together.
// A flag is true when the item is hidden; its switch shows the opposite.
class PrivacyViewController : public ViewController, public TableViewDataSource, public TableViewDelegate {
public:
    enum Row { PhoneRow = 0, LocationRow = 1, SynchronizeRow = 2 };
    static constexpr double kRowHeight = 45;

    PrivacyViewController();
    std::string className() const override { return "PrivacyViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void switchChanged(Switch& control);
    bool needToBackAlert(bool alert);
    void save();

    int numberOfSections(TableView&) override { return 1; }
    int numberOfRows(TableView&, int) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath) override { return kRowHeight; }
    std::optional<IndexPath> willSelectRow(TableView&, IndexPath) override { return std::nullopt; }

    const BarButtonItemPtr& saveButton() const { return saveButton_; }

    bool locationSecret = false;
    bool phoneSecret = false;
    bool synchronizeSecret = false;
    std::shared_ptr<TableView> tableView;

private:
    View* hudHost();
    BarButtonItemPtr saveButton_;
};

}  // namespace zorlet
