#include "app/MessageNavigationController.h"

#include "ui/ImageAsset.h"

namespace zorlet {

std::shared_ptr<Button> MessageNavigationController::buttonFor(int index) const {
    if (index < 0 || index >= kSegmentCount) {
        return nullptr;
    }
    auto button = Button::create();
    button->setId(index == 0 ? "segmentSms" : "segmentMessage");
    button->setFrame(Rect(0, 0, kSegmentWidth, kSegmentHeight));
    button->setTitle(index == 0 ? "私信" : "留言");
    button->setBackgroundImage(ImageAsset::named("rect_btn"));
    button->setSelected(index == 0);
    return button;
}

std::shared_ptr<Button> MessageNavigationController::buttonFor(CustomSegmentedControl&, std::size_t index) {
    return buttonFor(static_cast<int>(index));
}

const std::shared_ptr<CustomSegmentedControl>& MessageNavigationController::segmentedControl() {
    if (!segmentedControl_) {
        segmentedControl_ = CustomSegmentedControl::create(kSegmentCount, Size{kSegmentWidth, kSegmentHeight},
                                                           nullptr, 0, this);
        segmentedControl_->setId("messageSegmentedControl");
        segmentedControl_->dimAllButtonsExcept(*segmentedControl_->buttons().front());
    }
    return segmentedControl_;
}

}  // namespace zorlet
