#include "profile/UserPreferenceDescriptionViewController.h"

#include "app/ScreenActions.h"
#include "model/EmptyText.h"
#include "net/MessageShow.h"
#include "platform/Analytics.h"
#include "platform/UnicodeText.h"
#include "ui/Keyboard.h"
#include "ui/NavigationController.h"

namespace zorlet {

UserPreferenceDescriptionViewController::UserPreferenceDescriptionViewController() {
    setTitle("补充说明");
}

void UserPreferenceDescriptionViewController::viewDidLoad() {
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    textField = std::make_shared<TextField>(Rect(10, 15, 300, 40));
    textField->setId("textField");
    textField->setBackgroundImage(ImageAsset::named("send_input_bgxy"));
    auto padding = std::make_shared<View>(Rect(0, 0, 10, 40));
    padding->setBackgroundColor(Color::clearColor());
    textField->setLeftView(padding);
    textField->setLeftViewMode(TextFieldViewMode::Always);
    textField->setTextColor(Color::white(0.6));
    textField->setDelegate(this);
    if (preference && isNotEmpty(preference->description)) {
        textField->setText(preference->description);
    }
    view().addSubview(textField);
    navigationItem().setRightBarButtonItem(ScreenActions::barItem(
        "确定", BarButtonItem::Style::Done, "save", this, &UserPreferenceDescriptionViewController::save));
}

void UserPreferenceDescriptionViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void UserPreferenceDescriptionViewController::viewWillDisappear(bool) {
    Keyboard::shared().endEditing(isViewLoaded() ? &view() : nullptr);
    Analytics::endLogPageView(className());
}

bool UserPreferenceDescriptionViewController::textFieldShouldChangeCharacters(TextField&, TextRange,
                                                                              const std::string&) {
    return Keyboard::shared().currentInputMode() != "emoji";
}

void UserPreferenceDescriptionViewController::save() {
    std::string text = UnicodeText::trimmed(textField->text());
    if (UnicodeText::chineseLength(text) > kMaxLength) {
        Keyboard::shared().endEditing(&view());
        MessageShow::error("补充内容请不要超过" + std::to_string(kMaxLength / 2) + "字", &view());
        return;
    }
    if (preference) {
        preference->description = text;
    }
    auto keepAlive = shared_from_this();
    if (NavigationController* navigation = navigationController()) {
        navigation->popViewController(true);
    }
}

}  // namespace zorlet
