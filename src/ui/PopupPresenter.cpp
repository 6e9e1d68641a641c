#include "ui/PopupPresenter.h"

#include "ui/Application.h"
#include "ui/GestureRecognizer.h"
#include "ui/Window.h"

namespace zorlet {

PopupPresenter::PopupPresenter(Window* window) : window_(window) {}

PopupPresenter::~PopupPresenter() {
    if (layer_) {
        layer_->removeFromSuperview();
    }
}

void PopupPresenter::presentPopupView(ViewPtr view, bool animated) {
    Window* window = window_ != nullptr ? window_ : Application::shared().keyWindow();
    if (!view || window == nullptr) {
        return;
    }
    if (layer_) {
        dismissPopup(false);
    }
    lastAnimated_ = animated;
    layer_ = std::make_shared<View>(Rect(Point{}, window->frame().size));
    layer_->setBackgroundColor(Color::white(0, 0.4));
    std::weak_ptr<bool> alive = alive_;
    layer_->addGestureRecognizer(GestureRecognizer::tap([this, alive](GestureRecognizer& tap) {
        if (alive.expired() || !popup_ || popup_->frame().contains(tap.location())) {
            return;
        }
        if (dismissOnBackgroundTap_) {
            dismissPopup(true);
        }
    }));
    popup_ = std::move(view);
    Size size = popup_->frame().size;
    popup_->setFrame(Rect((window->frame().width() - size.width) / 2,
                          (window->frame().height() - size.height) / 2, size.width, size.height));
    layer_->addSubview(popup_);
    window->addSubview(layer_);
}

void PopupPresenter::dismissPopup(bool animated) {
    if (!layer_) {
        return;
    }
    lastAnimated_ = animated;
    // The layer may be running this very call from its tap; keep it alive until done.
    ViewPtr layer = std::move(layer_);
    layer->removeFromSuperview();
    popup_->removeFromSuperview();
    popup_.reset();
    if (onDismiss_) {
        auto onDismiss = onDismiss_;
        onDismiss();
    }
}

}  // namespace zorlet
