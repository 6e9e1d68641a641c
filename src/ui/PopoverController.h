#pragma once

#include "ui/ViewController.h"

#include <memory>

namespace zorlet {

class PopoverController;

class PopoverControllerDelegate {
public:
    virtual ~PopoverControllerDelegate() = default;
    // Told however the popover closes (a tap outside it, or code).
    virtual void popoverControllerDidDismissPopover(PopoverController&) {}
};

// A floating box with a screen's content, pointing at the view it came from.
// While open it lies over the key window; a tap outside the box closes it.
class PopoverController : public std::enable_shared_from_this<PopoverController> {
public:
    explicit PopoverController(ViewControllerPtr content);
    ~PopoverController();

    ViewController& contentViewController() const { return *content_; }
    Size contentSize() const { return contentSize_; }
    void setContentSize(Size size) { contentSize_ = size; }
    PopoverControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(PopoverControllerDelegate* delegate) { delegate_ = delegate; }

    bool isPopoverVisible() const { return visible_; }
    // Shows the box below (or above, when there is no room) `view` in its window.
    void presentPopoverFromView(View* view, bool animated);
    void dismissPopover(bool animated);
    bool lastAnimated() const { return lastAnimated_; }

    // The box in window coordinates while visible.
    Rect popoverFrame() const;

private:
    ViewControllerPtr content_;
    Size contentSize_{200, 300};
    PopoverControllerDelegate* delegate_ = nullptr;
    bool visible_ = false;
    bool lastAnimated_ = false;
    ViewPtr backdrop_;
    ViewPtr box_;
};

using PopoverControllerPtr = std::shared_ptr<PopoverController>;

}  // namespace zorlet
