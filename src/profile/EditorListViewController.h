#pragma once

#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <string>

namespace zorlet {

// The small menu "设置个人资料": the basic profile or the questionnaire.
class EditorListViewController : public ViewController, public TableViewDataSource, public TableViewDelegate {
public:
    static constexpr const char* kCellIdentifier = "EditorCellIdentifier";

    explicit EditorListViewController(TableView::Style style = TableView::Style::Grouped);
    std::string className() const override { return "EditorListViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    int numberOfSections(TableView&) override { return 1; }
    int numberOfRows(TableView&, int) override { return 2; }
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    std::shared_ptr<TableView> tableView;

private:
    TableView::Style style_;
};

}  // namespace zorlet
