#pragma once

#include "model/Profession.h"
#include "profile/DetailEditorViewController.h"
#include "ui/Label.h"
#include "ui/PickerView.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zorlet {

// Chooses a listed profession, or "其它" with a free text of 1 to 10 characters.
class ProfessionEditorViewController : public DetailEditorViewController,
                                       public PickerViewDataSource,
                                       public PickerViewDelegate {
public:
    static constexpr const char* kOtherTitle = "其它";

    // `valueId`: the listed profession's id, 0 for a free text, negative for none yet.
    ProfessionEditorViewController(const std::shared_ptr<SettingViewController>& settingViewController,
                                   std::int64_t valueId, std::string textValue);
    std::string className() const override { return "ProfessionEditorViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void save() override;
    bool textFieldShouldReturn(TextField&) override;

    int numberOfComponents(PickerView&) override { return 1; }
    int numberOfRows(PickerView&, int component) override;
    std::string titleForRow(PickerView&, int row, int component) override;
    void didSelectRow(PickerView&, int row, int component) override;

    // Whether the selected row is "其它" (the last).
    bool isOtherSelected() const;

    const std::string cellIdentifier = "ProfessionCell";
    std::int64_t valueId;
    std::string textValue;
    std::shared_ptr<PickerView> professionPicker;
    std::shared_ptr<TextField> professionField;
    std::shared_ptr<Label> tipLabel;

protected:
    TextInput* focusInput() override;

private:
    void showOtherField(bool show);

    std::vector<ProfessionPtr> professions_;
};

}  // namespace zorlet
