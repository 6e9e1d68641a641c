#pragma once

#include "ui/View.h"

#include <functional>
#include <memory>

namespace zorlet {

class Window;

// Shows one view centred over a window on a dimmed layer; a tap on the layer
// (outside the view) closes it unless setDismissOnBackgroundTap(false) said not to.
class PopupPresenter {
public:
    explicit PopupPresenter(Window* window = nullptr);  // null: the key window
    ~PopupPresenter();
    PopupPresenter(const PopupPresenter&) = delete;
    PopupPresenter& operator=(const PopupPresenter&) = delete;

    void presentPopupView(ViewPtr view, bool animated);
    void dismissPopup(bool animated);
    bool isPresented() const { return layer_ != nullptr; }
    View* popupView() const { return popup_.get(); }
    void setDismissOnBackgroundTap(bool dismiss) { dismissOnBackgroundTap_ = dismiss; }
    void setOnDismiss(std::function<void()> onDismiss) { onDismiss_ = std::move(onDismiss); }
    bool lastAnimated() const { return lastAnimated_; }

private:
    Window* window_;
    ViewPtr layer_;
    ViewPtr popup_;
    bool dismissOnBackgroundTap_ = true;
    bool lastAnimated_ = false;
    std::function<void()> onDismiss_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace zorlet
