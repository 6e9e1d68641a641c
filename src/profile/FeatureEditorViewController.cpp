#include "profile/FeatureEditorViewController.h"

#include "model/ProfileValidation.h"
#include "platform/UnicodeText.h"

namespace zorlet {

FeatureEditorViewController::FeatureEditorViewController(
    const std::shared_ptr<SettingViewController>& settingViewController, std::string textValue)
    : DetailEditorViewController(settingViewController), textValue(std::move(textValue)) {
    setTitle("个人简介");
}

void FeatureEditorViewController::loadView() {
    loadViewNamed("FeatureEditorViewController");
}

void FeatureEditorViewController::viewDidLoad() {
    DetailEditorViewController::viewDidLoad();
    featureTextView = std::make_shared<TextView>(Rect(10, 20, 300, 120));
    featureTextView->setId("featureTextView");
    featureTextView->setFont(Font::systemFont(15));
    featureTextView->setBackgroundColor(Color::whiteColor());
    featureTextView->setCornerRadius(6);
    featureTextView->setTextViewDelegate(this);
    featureTextView->setText(textValue);
    view().addSubview(featureTextView);
}

void FeatureEditorViewController::save() {
    std::string text = UnicodeText::trimmed(featureTextView->text());
    if (auto message = ProfileValidation::validateFeature(text)) {
        refuse(*message);
        return;
    }
    finish(cellIdentifier, text, text.empty() ? 0 : 1);
}

}  // namespace zorlet
