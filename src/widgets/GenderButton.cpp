#include "widgets/GenderButton.h"

#include <string>

namespace zorlet {

namespace {
constexpr int kEntryCount = 3;  // "全部", "宅男", "宅女": entry i stands for the tag 2 - i
}

GenderButton::GenderButton() : GenderButton(kAll) {}

GenderButton::GenderButton(int tag) {
    setTag(tag);
    showImagesForTag();
    setFrame(Rect(Point(), backgroundImage(Normal)->size()));
    addTarget(TouchUpInside, [this](Control&) { selectGender(); });
}

void GenderButton::showImagesForTag() {
    std::string gender = std::to_string(tag());
    setBackgroundImage(ImageAsset::named("sex_" + gender + "_link.png"), Normal);
    setBackgroundImage(ImageAsset::named("sex_" + gender + "_hover.png"), Highlighted);
}

void GenderButton::selectGender() {
    if (delegate_ == nullptr) {
        return;
    }
    auto sheet = ActionSheet::create("筛选", this, "取消", {}, {"全部", "宅男", "宅女"});
    sheet->showInView(delegate_->actionSheetShowInView());
}

void GenderButton::actionSheetDidDismiss(ActionSheet& sheet, int buttonIndex) {
    if (buttonIndex == sheet.cancelButtonIndex() || buttonIndex < 0 || buttonIndex >= kEntryCount) {
        return;
    }
    int gender = kAll - buttonIndex;
    if (gender == tag()) {
        return;
    }
    setTag(gender);
    showImagesForTag();
    if (delegate_ != nullptr) {
        delegate_->genderButton(*this, gender);
    }
}

}  // namespace zorlet
