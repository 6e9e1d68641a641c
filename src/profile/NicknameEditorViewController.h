#pragma once

#include "profile/DetailEditorViewController.h"

#include <memory>
#include <string>

namespace zorlet {

// Edits the nickname: 1 to 10 characters that nobody else uses (checked with the server).
class NicknameEditorViewController : public DetailEditorViewController {
public:
    NicknameEditorViewController(const std::shared_ptr<SettingViewController>& settingViewController,
                                 std::string textValue);
    std::string className() const override { return "NicknameEditorViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void save() override;
    bool textFieldShouldReturn(TextField&) override;

    const std::string cellIdentifier = "NicknameCell";
    std::string textValue;
    std::shared_ptr<TextField> nicknameField;

protected:
    TextInput* focusInput() override { return nicknameField.get(); }
};

}  // namespace zorlet
