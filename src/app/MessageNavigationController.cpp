#include "app/MessageNavigationController.h"

#include "ui/ImageAsset.h"

namespace zorlet {

std::shared_ptr<Button> MessageNavigationController::buttonFor(int index) const {
    if (index < 0 || index >= kSegmentCount) {
        return nullptr;
    }
    auto button = Button::create();
    button->setFrame(Rect(0, 0, kSegmentWidth, kSegmentHeight));
    button->setTitle(index == 0 ? "私信" : "留言");
    button->setBackgroundImage(ImageAsset::named("rect_btn"));
    button->setSelected(index == 0);
    return button;
}

}  // namespace zorlet
