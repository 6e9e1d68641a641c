#include "ui/PopoverController.h"

#include "ui/Application.h"
#include "ui/GestureRecognizer.h"
#include "ui/Window.h"

#include <algorithm>

namespace zorlet {

namespace {
constexpr double kArrow = 12;
constexpr double kBorder = 6;
}  // namespace

PopoverController::PopoverController(ViewControllerPtr content) : content_(std::move(content)) {}

PopoverController::~PopoverController() {
    if (backdrop_) {
        backdrop_->removeFromSuperview();
    }
}

Rect PopoverController::popoverFrame() const {
    return box_ && visible_ ? box_->frame() : Rect();
}

void PopoverController::presentPopoverFromView(View* view, bool animated) {
    if (visible_ || !content_) {
        return;
    }
    Window* window = view != nullptr ? view->window() : nullptr;
    if (window == nullptr) {
        window = Application::shared().keyWindow();
    }
    if (window == nullptr) {
        return;
    }
    lastAnimated_ = animated;
    Rect anchor =
        view != nullptr ? view->convertRect(view->bounds(), nullptr) : Rect(window->frame().midX(), 0, 0, 0);
    double width = contentSize_.width + 2 * kBorder;
    double height = contentSize_.height + 2 * kBorder;
    double x = std::clamp(anchor.midX() - width / 2, 4.0, std::max(4.0, window->frame().width() - width - 4));
    double y = anchor.maxY() + kArrow;
    if (y + height > window->frame().height() && anchor.y() - kArrow - height >= 0) {
        y = anchor.y() - kArrow - height;
    }

    // A transparent layer over the window catches taps outside the box.
    backdrop_ = std::make_shared<View>(Rect(Point{}, window->frame().size));
    std::weak_ptr<PopoverController> weak = weak_from_this();
    backdrop_->addGestureRecognizer(GestureRecognizer::tap([weak](GestureRecognizer& tap) {
        auto self = weak.lock();
        if (self && self->box_ && !self->box_->frame().contains(tap.location())) {
            self->dismissPopover(true);
        }
    }));
    box_ = std::make_shared<View>(Rect(x, y, width, height));
    box_->setBackgroundColor(Color::rgb(30, 30, 36, 0.95));
    box_->setCornerRadius(8);
    View& content = content_->view();
    content.setFrame(Rect(kBorder, kBorder, contentSize_.width, contentSize_.height));
    box_->addSubview(content_->viewPtr());
    backdrop_->addSubview(box_);
    content_->beginAppearanceTransition(true, animated);
    window->addSubview(backdrop_);
    visible_ = true;
    content_->endAppearanceTransition();
}

void PopoverController::dismissPopover(bool animated) {
    if (!visible_) {
        return;
    }
    // The delegate may drop the last reference to this popover.
    auto self = weak_from_this().lock();
    lastAnimated_ = animated;
    visible_ = false;
    content_->beginAppearanceTransition(false, animated);
    backdrop_->removeFromSuperview();
    content_->endAppearanceTransition();
    if (content_->isViewLoaded()) {
        content_->view().removeFromSuperview();
    }
    backdrop_.reset();
    box_.reset();
    if (delegate_ != nullptr) {
        delegate_->popoverControllerDidDismissPopover(*this);
    }
}

}  // namespace zorlet
