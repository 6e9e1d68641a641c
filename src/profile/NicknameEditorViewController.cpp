#include "profile/NicknameEditorViewController.h"

#include "app/InterfaceDescription.h"
#include "model/ProfileValidation.h"
#include "platform/UnicodeText.h"

namespace zorlet {

NicknameEditorViewController::NicknameEditorViewController(
    const std::shared_ptr<SettingViewController>& settingViewController, std::string textValue)
    : DetailEditorViewController(settingViewController), textValue(std::move(textValue)) {
    setTitle("昵称");
}

void NicknameEditorViewController::loadView() {
    loadViewNamed("NicknameEditorViewController");
}

void NicknameEditorViewController::viewDidLoad() {
    DetailEditorViewController::viewDidLoad();
    nicknameField = InterfaceDescription::find<TextField>(view(), "nicknameField");
    if (!nicknameField) {
        nicknameField = std::make_shared<TextField>(Rect(10, 20, 300, 40));
        nicknameField->setId("nicknameField");
        view().addSubview(nicknameField);
    }
    nicknameField->setDelegate(this);
    nicknameField->setText(textValue);
}

bool NicknameEditorViewController::textFieldShouldReturn(TextField&) {
    save();
    return true;
}

void NicknameEditorViewController::save() {
    std::string typed = nicknameField->text();
    // The server check blocks until it answers (bounded by the request time-out).
    if (auto message = ProfileValidation::validateNickname(UnicodeText::trimmed(typed))) {
        refuse(*message);
        return;
    }
    finish(cellIdentifier, typed, 0);
}

}  // namespace zorlet
