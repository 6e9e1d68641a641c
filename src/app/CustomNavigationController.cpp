#include "app/CustomNavigationController.h"

#include "platform/WeakSelf.h"
#include "ui/Button.h"
#include "ui/ImageAsset.h"

namespace zorlet {

CustomNavigationController::CustomNavigationController(ViewControllerPtr root)
    : NavigationController(std::move(root)) {
    // The app's bar: its own artwork, stretched from the left cap stretch.json gives it.
    navigationBar().setBackgroundImage(ImageAsset::named("app_top_nav_bg"));
    if (ViewController* first = topViewController()) {
        first->navigationItem().setHidesBackButton(true);
    }
}

const BarButtonItemPtr& CustomNavigationController::backButton() {
    if (!backButton_) {
        auto button = Button::create();
        button->setFrame(Rect(0, 0, 50, 30));
        button->setTitle("返回");
        button->setBackgroundImage(ImageAsset::named("top_nav_btn_back"));
        // Weak: a popped screen may keep the shared item alive after this controller is gone.
        auto weak = weakSelf(this);
        button->addTarget(TouchUpInside, [weak](Control&) {
            if (auto self = weak.lock()) {
                self->popViewController();
            }
        });
        backButton_ = std::make_shared<BarButtonItem>(button);
        backButton_->setId("popViewController");
    }
    return backButton_;
}

const BarButtonItemPtr& CustomNavigationController::homeButton() {
    if (!homeButton_) {
        auto button = Button::create();
        button->setFrame(Rect(0, 0, 40, 30));
        button->setImage(ImageAsset::named("home_btn_link.png"));
        button->setImage(ImageAsset::named("home_btn_hover.png"), Highlighted);
        auto weak = weakSelf(this);
        button->addTarget(TouchUpInside, [weak](Control&) {
            if (auto self = weak.lock()) {
                self->popToRootViewController(true);
            }
        });
        homeButton_ = std::make_shared<BarButtonItem>(button);
        homeButton_->setId("popToRootViewController");
    }
    return homeButton_;
}

void CustomNavigationController::pushViewController(ViewControllerPtr controller, bool animated) {
    if (!controller) {
        return;
    }
    NavigationItem& item = controller->navigationItem();
    if (!item.leftBarButtonItem() && !viewControllers().empty()) {
        item.setLeftBarButtonItem(backButton());
        item.setRightBarButtonItem(homeButton());
    }
    item.setHidesBackButton(true);
    NavigationController::pushViewController(std::move(controller), animated);
}

void CustomNavigationController::popViewController() {
    if (popAlert_) {
        AlertView::create("提示", kPopAlertMessage, this, "取消", {"放弃"})->show();
        return;
    }
    // The back action may remove this controller from its presenter; stay alive to the end.
    auto self = shared_from_this();
    if (viewControllers().size() == 1 && presentingViewController() != nullptr) {
        dismissModalViewController(true);
    }
    NavigationController::popViewController(true);
}

void CustomNavigationController::alertViewClickedButton(AlertView& alertView, int index) {
    if (index == alertView.cancelButtonIndex()) {
        return;
    }
    popAlert_ = false;
    popViewController();
}

}  // namespace zorlet
