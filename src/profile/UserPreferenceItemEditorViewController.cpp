#include "profile/UserPreferenceItemEditorViewController.h"

#include "app/CustomNavigationController.h"
#include "app/ScreenActions.h"
#include "net/MessageShow.h"
#include "platform/Analytics.h"
#include "ui/Keyboard.h"

namespace zorlet {

void UserPreferenceItemEditorViewController::viewDidLoad() {
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    navigationItem().setRightBarButtonItem(ScreenActions::barItem(
        "确定", BarButtonItem::Style::Done, "save", this, &UserPreferenceItemEditorViewController::save));
}

void UserPreferenceItemEditorViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
    // Leaving an editor discards only its own change: no question here.
    if (auto* navigation = dynamic_cast<CustomNavigationController*>(navigationController())) {
        navigation->setPopAlert(false);
    }
}

void UserPreferenceItemEditorViewController::viewWillDisappear(bool) {
    Keyboard::shared().endEditing(isViewLoaded() ? &view() : nullptr);
    Analytics::endLogPageView(className());
}

void UserPreferenceItemEditorViewController::save() {
    auto keepAlive = shared_from_this();
    if (auto listener = delegate.lock()) {
        listener->saveComplete();
    }
    if (NavigationController* navigation = navigationController()) {
        navigation->popViewController(true);
    }
}

bool UserPreferenceItemEditorViewController::textViewShouldChangeText(TextView&, TextRange,
                                                                      const std::string&) {
    return Keyboard::shared().currentInputMode() != "emoji";
}

bool UserPreferenceItemEditorViewController::textFieldShouldChangeCharacters(TextField&, TextRange,
                                                                             const std::string&) {
    return Keyboard::shared().currentInputMode() != "emoji";
}

void UserPreferenceItemEditorViewController::showMessage(const std::string& text) {
    Keyboard::shared().endEditing(&view());
    MessageShow::error(text, &view());
}

}  // namespace zorlet
