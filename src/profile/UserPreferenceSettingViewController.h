#pragma once

#include "model/Preference.h"
#include "profile/UserPreferenceItemEditorDelegate.h"
#include "ui/BarButtonItem.h"
#include "ui/PickerView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"
#include "widgets/CustomActionSheetDelegate.h"

#include <memory>
#include <string>
#include <vector>

namespace zorlet {

class CustomActionSheet;

// "设置Zorlet偏好": all questions of the questionnaire with their answers.
// Single choices and ranges are picked in a sheet here, multiple choices and
// free texts on their own screens; everything is edited in a copy of the
// signed-in user's questions and sent in one request by "保存".
class UserPreferenceSettingViewController : public ViewController,
                                            public TableViewDataSource,
                                            public TableViewDelegate,
                                            public PickerViewDataSource,
                                            public PickerViewDelegate,
                                            public CustomActionSheetDelegate,
                                            public UserPreferenceItemEditorDelegate {
public:
    static constexpr int kPreferencesPerSection = 4;
    static constexpr double kPickerHeight = 216;
    static constexpr const char* kCellIdentifier = "PreferenceListCellStyleSubtitleIdentifier";

    UserPreferenceSettingViewController();
    std::string className() const override { return "UserPreferenceSettingViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void cancel();
    void save();
    bool needToBackAlert(bool alert);
    void saveComplete() override;
    // The form fields of the save request, for every question in order.
    Json saveParams() const;
    // Opens the picker sheet for a single-choice or range question.
    void showPicker(const PreferencePtr& preference);

    int numberOfSections(TableView&) override;
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    int numberOfComponents(PickerView&) override;
    int numberOfRows(PickerView&, int component) override;
    std::string titleForRow(PickerView&, int row, int component) override;

    void done(CustomActionSheet& sheet) override;
    void docancel(CustomActionSheet&) override {}

    const BarButtonItemPtr& saveButton() const { return saveButton_; }
    PreferencePtr preferenceAt(IndexPath indexPath) const;

    std::vector<PreferencePtr> preferenceArray;
    PreferencePtr currentPreference;
    std::shared_ptr<PickerView> picker;
    std::shared_ptr<TableView> tableView;

private:
    View* hudHost();
    BarButtonItemPtr saveButton_;
};

}  // namespace zorlet
