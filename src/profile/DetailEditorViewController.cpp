#include "profile/DetailEditorViewController.h"

#include "app/CustomNavigationController.h"
#include "app/InterfaceDescription.h"
#include "app/ScreenActions.h"
#include "net/MessageShow.h"
#include "platform/Analytics.h"
#include "platform/MainLoop.h"
#include "platform/WeakSelf.h"
#include "profile/SettingViewController.h"
#include "ui/Keyboard.h"

namespace zorlet {

DetailEditorViewController::DetailEditorViewController(
    const std::shared_ptr<SettingViewController>& settingViewController)
    : settingViewController_(settingViewController) {}

void DetailEditorViewController::loadViewNamed(const std::string& name) {
    auto objects = InterfaceDescription::load(name);
    if (!objects.empty()) {
        setView(objects.front());
        return;
    }
    auto root = std::make_shared<View>(Rect(0, 0, kScreenWidth, 416));
    root->setBackgroundColor(Color::groupTableViewBackground());
    setView(root);
}

void DetailEditorViewController::viewDidLoad() {
    navigationItem().setRightBarButtonItem(ScreenActions::barItem("确定", BarButtonItem::Style::Done, "save",
                                                                  this, &DetailEditorViewController::save));
}

void DetailEditorViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
    // The form asks again about unsaved edits when it is back on top.
    if (auto* navigation = dynamic_cast<CustomNavigationController*>(navigationController())) {
        navigation->setPopAlert(false);
    }
    MainLoop& loop = MainLoop::main();
    loop.cancel(focusTimer_);
    auto weak = weakSelf(this);
    focusTimer_ = loop.runAfter(kKeyboardDelay, [weak] {
        auto self = weak.lock();
        if (!self || !self->isAppeared()) {
            return;
        }
        if (TextInput* input = self->focusInput()) {
            input->becomeFirstResponder();
        }
    });
}

void DetailEditorViewController::viewWillDisappear(bool) {
    MainLoop::main().cancel(focusTimer_);
    focusTimer_ = 0;
    Keyboard::shared().endEditing(isViewLoaded() ? &view() : nullptr);
    Analytics::endLogPageView(className());
}

bool DetailEditorViewController::textFieldShouldChangeCharacters(TextField&, TextRange, const std::string&) {
    return Keyboard::shared().currentInputMode() != "emoji";
}

bool DetailEditorViewController::textViewShouldChangeText(TextView&, TextRange, const std::string&) {
    return Keyboard::shared().currentInputMode() != "emoji";
}

void DetailEditorViewController::finish(const std::string& identifier, const std::string& text,
                                        std::int64_t valueId) {
    auto self = shared_from_this();
    if (auto form = settingViewController()) {
        form->saveSingleInfo(identifier, text, valueId);
    }
    if (NavigationController* navigation = navigationController()) {
        navigation->popViewController(true);
    }
}

void DetailEditorViewController::refuse(const std::string& message) {
    Keyboard::shared().endEditing(&view());
    MessageShow::error(message, &view());
}

}  // namespace zorlet
