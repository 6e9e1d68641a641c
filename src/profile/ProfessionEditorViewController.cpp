#include "profile/ProfessionEditorViewController.h"

#include "app/InterfaceDescription.h"
#include "model/BaseData.h"
#include "model/ProfileValidation.h"
#include "platform/UnicodeText.h"
#include "ui/Keyboard.h"

namespace zorlet {

ProfessionEditorViewController::ProfessionEditorViewController(
    const std::shared_ptr<SettingViewController>& settingViewController, std::int64_t valueId,
    std::string textValue)
    : DetailEditorViewController(settingViewController), valueId(valueId), textValue(std::move(textValue)) {
    setTitle("职业");
}

void ProfessionEditorViewController::loadView() {
    loadViewNamed("ProfessionEditorViewController");
}

void ProfessionEditorViewController::viewDidLoad() {
    DetailEditorViewController::viewDidLoad();
    professions_ = BaseData::getProfessions();
    professionPicker = std::make_shared<PickerView>(Rect(0, 0, kScreenWidth, PickerView::kDefaultHeight));
    professionPicker->setId("professionPicker");
    professionPicker->setShowsSelectionIndicator(true);
    professionPicker->setDataSource(this);
    professionPicker->setDelegate(this);
    view().addSubview(professionPicker);

    professionField = InterfaceDescription::find<TextField>(view(), "professionField");
    if (!professionField) {
        professionField = std::make_shared<TextField>(Rect(10, 236, 300, 40));
        professionField->setId("professionField");
        view().addSubview(professionField);
    }
    professionField->setDelegate(this);
    tipLabel = InterfaceDescription::find<Label>(view(), "tipLabel");
    if (!tipLabel) {
        tipLabel = std::make_shared<Label>(Rect(14, 282, 292, 20));
        tipLabel->setId("tipLabel");
        view().addSubview(tipLabel);
    }
}

void ProfessionEditorViewController::viewWillAppear(bool animated) {
    DetailEditorViewController::viewWillAppear(animated);
    professionPicker->reloadAllComponents();
    int otherRow = static_cast<int>(professions_.size());
    if (valueId == 0) {
        professionPicker->selectRow(otherRow, 0);
        professionField->setText(textValue);
        showOtherField(true);
        return;
    }
    int row = 0;
    if (valueId > 0) {
        for (std::size_t i = 0; i < professions_.size(); ++i) {
            if (professions_[i]->professionIdValue() == valueId) {
                row = static_cast<int>(i);
                break;
            }
        }
    }
    professionPicker->selectRow(row, 0);
    showOtherField(row == otherRow);
}

void ProfessionEditorViewController::showOtherField(bool show) {
    professionField->setHidden(!show);
    tipLabel->setHidden(!show);
    if (!show) {
        Keyboard::shared().endEditing(&view());
    }
}

TextInput* ProfessionEditorViewController::focusInput() {
    return isOtherSelected() ? professionField.get() : nullptr;
}

bool ProfessionEditorViewController::isOtherSelected() const {
    return professionPicker && professionPicker->selectedRow(0) == static_cast<int>(professions_.size());
}

int ProfessionEditorViewController::numberOfRows(PickerView&, int) {
    return static_cast<int>(professions_.size()) + 1;
}

std::string ProfessionEditorViewController::titleForRow(PickerView&, int row, int) {
    if (row >= 0 && row < static_cast<int>(professions_.size())) {
        return professions_[row]->name;
    }
    return row == static_cast<int>(professions_.size()) ? kOtherTitle : std::string();
}

void ProfessionEditorViewController::didSelectRow(PickerView&, int row, int) {
    bool other = row == static_cast<int>(professions_.size());
    showOtherField(other);
    if (other) {
        professionField->becomeFirstResponder();
    }
}

bool ProfessionEditorViewController::textFieldShouldReturn(TextField&) {
    save();
    return true;
}

void ProfessionEditorViewController::save() {
    int row = professionPicker->selectedRow(0);
    if (row >= 0 && row < static_cast<int>(professions_.size())) {
        const auto& profession = professions_[row];
        finish(cellIdentifier, profession->name, profession->professionIdValue());
        return;
    }
    std::string text = UnicodeText::trimmed(professionField->text());
    if (auto message = ProfileValidation::validateProfession(text)) {
        refuse(*message);
        return;
    }
    finish(cellIdentifier, text, 0);
}

}  // namespace zorlet
