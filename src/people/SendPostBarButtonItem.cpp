#include "people/SendPostBarButtonItem.h"

#include "people/SendPostViewController.h"
#include "platform/Analytics.h"
#include "ui/Button.h"
#include "ui/NavigationController.h"

namespace zorlet {

namespace {

std::shared_ptr<Button> makeSendButton() {
    auto button = Button::create();
    button->setId("goToSendPost");
    button->setImage(ImageAsset::named("send_icon.png"));
    button->setImage(ImageAsset::named("send_icon_hover.png"), Highlighted);
    button->setFrame(Rect(0, 0, 40, 30));
    return button;
}

}  // namespace

SendPostBarButtonItem::SendPostBarButtonItem(const std::shared_ptr<ViewController>& owner)
    : BarButtonItem(makeSendButton()), ownerViewController(owner) {
    auto* button = static_cast<Button*>(customView().get());
    std::weak_ptr<ViewController> weakOwner = owner;
    button->addTarget(TouchUpInside, [weakOwner](Control&) {
        auto ownerScreen = weakOwner.lock();
        if (!ownerScreen) {
            return;
        }
        Analytics::event("enterSendPost");
        if (NavigationController* navigation = ownerScreen->navigationController()) {
            navigation->pushViewController(std::make_shared<SendPostViewController>(), true);
        }
    });
}

void SendPostBarButtonItem::goToSendPost() {
    static_cast<Button*>(customView().get())->sendActionsForControlEvents(TouchUpInside);
}

}  // namespace zorlet
