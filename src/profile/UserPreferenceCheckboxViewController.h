#pragma once

#include "profile/UserPreferenceItemEditorViewController.h"
#include "ui/TableView.h"

#include <memory>
#include <string>

namespace zorlet {

// A multiple-choice question: the options checked and unchecked within the
// question's bounds, plus its free-text supplement when it offers one. The
// changes live in a copy until "确定".
class UserPreferenceCheckboxViewController : public UserPreferenceItemEditorViewController,
                                             public TableViewDataSource,
                                             public TableViewDelegate {
public:
    static constexpr const char* kOptionCellIdentifier = "CellIdentifier";
    static constexpr const char* kDescriptionCellIdentifier = "DescriptCellIdentifier";

    std::string className() const override { return "UserPreferenceCheckboxViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void save() override;

    // Checks or unchecks the option at `row`, within the bounds.
    void toggleOption(int row);
    bool isChecked(std::int64_t value) const;

    int numberOfSections(TableView&) override;
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override { return indexPath.section == 0 ? 45 : 50; }
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    PreferencePtr copyPreference;
    std::shared_ptr<TableView> tableView;
};

}  // namespace zorlet
