#include "profile/UserPreferenceTextareaViewController.h"

#include "model/EmptyText.h"
#include "platform/UnicodeText.h"

namespace zorlet {

void UserPreferenceTextareaViewController::viewDidLoad() {
    UserPreferenceItemEditorViewController::viewDidLoad();
    textView = std::make_shared<CustomTextView>(Rect(10, 10, 300, 150));
    textView->setId("textView");
    textView->setBackgroundImage(ImageAsset::named("send_input_bgxy"));
    textView->setTextColor(Color::white(0.6));
    textView->setFont(Font::systemFont(15));
    textView->setTextViewDelegate(this);
    view().addSubview(textView);
    if (preference) {
        setTitle(preference->title);
        if (!preference->answers.empty()) {
            textView->setText(jsonTextForm(preference->answers.front()));
        }
    }
}

void UserPreferenceTextareaViewController::viewDidAppear(bool) {
    textView->becomeFirstResponder();
}

void UserPreferenceTextareaViewController::save() {
    if (!preference) {
        return;
    }
    // Blank space around the answer would count towards its length and show on the home.
    std::string text = UnicodeText::trimmed(textView->text());
    auto length = static_cast<std::int64_t>(UnicodeText::chineseLength(text));
    if (length < preference->minValidationValue) {
        showMessage("请输入内容");
        return;
    }
    if (length > preference->maxValidationValue) {
        showMessage("输入内容请不要超过" + std::to_string(preference->maxValidationValue / 2) + "字");
        return;
    }
    preference->answers.clear();
    preference->displayAnswer = text;
    if (isNotEmpty(text)) {
        preference->answers.emplace_back(text);
    }
    UserPreferenceItemEditorViewController::save();
}

}  // namespace zorlet
