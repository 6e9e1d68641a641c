#pragma once

#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

class IdeaViewController;

// The category picker of the idea list, shown in a popover: "Zorlet项目"
// (every category) and then each category, the current one marked.
class CategoryTableViewController : public ViewController,
                                    public TableViewDataSource,
                                    public TableViewDelegate {
public:
    static constexpr double kRowHeight = 40;
    static constexpr const char* kAllTitle = "Zorlet项目";

    std::string className() const override { return "CategoryTableViewController"; }
    void viewDidLoad() override;

    // The category of a row: 0 (all) for row 0, else the category's id.
    static std::int64_t categoryIdOfRow(int row);
    static std::string titleOfRow(int row);

    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath) override { return kRowHeight; }
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    std::int64_t selectCategoryId = 0;
    // The idea list receiving the choice; not owned.
    std::weak_ptr<IdeaViewController> rootController;
    std::shared_ptr<TableView> tableView;
};

}  // namespace zorlet
