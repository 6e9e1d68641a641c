#include "ui/View.h"

#include "ui/Animator.h"
#include "ui/GestureRecognizer.h"
#include "ui/Window.h"

#include <algorithm>

namespace zorlet {

View::View() = default;

View::View(Rect frame) : frame_(frame) {}

View::~View() {
    for (auto& child : subviews_) {
        child->superview_ = nullptr;
    }
    for (auto& recognizer : gestureRecognizers_) {
        recognizer->setView(nullptr);
    }
}

void View::setFrame(const Rect& frame) {
    if (frame != frame_) {
        Animator::shared().viewWillChange(*this, Animator::Property::Frame);
    }
    Size oldSize = frame_.size;
    frame_ = frame;
    if (frame.size != oldSize) {
        resizeSubviews(oldSize);
        layoutSubviews();
    }
}

namespace {

// Shares `delta` among the flexible parts of one axis in proportion to their
// current lengths, as the phone framework's autoresizing does.
void flex(double delta, double& before, double& length, double after, bool flexBefore, bool flexLength,
          bool flexAfter) {
    double total = (flexBefore ? before : 0) + (flexLength ? length : 0) + (flexAfter ? after : 0);
    int parts = int(flexBefore) + int(flexLength) + int(flexAfter);
    if (parts == 0) {
        return;
    }
    auto share = [&](bool flexible, double value) {
        if (!flexible) {
            return 0.0;
        }
        return total > 0 ? delta * value / total : delta / parts;
    };
    double beforeShare = share(flexBefore, before);
    double lengthShare = share(flexLength, length);
    before += beforeShare;
    length = std::max(0.0, length + lengthShare);
}

}  // namespace

void View::resizeSubviews(Size oldSize) {
    double dw = frame_.width() - oldSize.width;
    double dh = frame_.height() - oldSize.height;
    for (auto& child : std::vector<ViewPtr>(subviews_)) {
        unsigned mask = child->autoresizingMask_;
        if (mask == None) {
            continue;
        }
        Rect r = child->frame_;
        double x = r.x();
        double width = r.width();
        flex(dw, x, width, oldSize.width - r.maxX(), mask & FlexibleLeftMargin, mask & FlexibleWidth,
             mask & FlexibleRightMargin);
        double y = r.y();
        double height = r.height();
        flex(dh, y, height, oldSize.height - r.maxY(), mask & FlexibleTopMargin, mask & FlexibleHeight,
             mask & FlexibleBottomMargin);
        child->setFrame(Rect(x, y, width, height));
    }
}

void View::setCenter(Point center) {
    setFrame(
        Rect(center.x - frame_.width() / 2, center.y - frame_.height() / 2, frame_.width(), frame_.height()));
}

void View::setAlpha(double alpha) {
    alpha = std::clamp(alpha, 0.0, 1.0);
    if (alpha != alpha_) {
        Animator::shared().viewWillChange(*this, Animator::Property::Alpha);
    }
    alpha_ = alpha;
}

void View::setTransform(const AffineTransform& transform) {
    if (transform != transform_) {
        Animator::shared().viewWillChange(*this, Animator::Property::Transform);
    }
    transform_ = transform;
}

void View::animate(double duration, AnimationCurve curve, const std::function<void()>& changes,
                   std::function<void(bool finished)> completion) {
    Animator::shared().animate(duration, curve, changes, std::move(completion));
}

void View::attach(ViewPtr view, std::size_t index) {
    if (!view || view.get() == this || isDescendantOf(view.get())) {
        return;  // a view cannot contain itself or an ancestor
    }
    Window* oldWindow = view->window();
    if (view->superview_ != nullptr) {
        view->superview_->detachChild(view.get());
    }
    view->superview_ = this;
    View* added = view.get();
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(std::min(index, subviews_.size())),
                     std::move(view));
    added->didMoveToSuperview();
    if (added->window() != oldWindow) {
        added->notifyWindowChange(oldWindow);
    }
}

void View::detachChild(const View* view) {
    auto it =
        std::find_if(subviews_.begin(), subviews_.end(), [&](const ViewPtr& v) { return v.get() == view; });
    if (it != subviews_.end()) {
        (*it)->superview_ = nullptr;
        subviews_.erase(it);
    }
}

void View::notifyWindowChange(Window* oldWindow) {
    didMoveToWindow();
    for (auto& child : std::vector<ViewPtr>(subviews_)) {
        child->notifyWindowChange(oldWindow);
    }
}

void View::addSubview(ViewPtr view) {
    attach(std::move(view), subviews_.size());
}

void View::insertSubview(ViewPtr view, std::size_t index) {
    attach(std::move(view), index);
}

void View::insertSubviewBelow(ViewPtr view, const View* sibling) {
    if (view && view->superview_ == this) {
        detachChild(view.get());  // re-insert relative to the sibling's current place
        view->superview_ = nullptr;
    }
    auto it = std::find_if(subviews_.begin(), subviews_.end(),
                           [&](const ViewPtr& v) { return v.get() == sibling; });
    attach(std::move(view), it == subviews_.end() ? 0 : static_cast<std::size_t>(it - subviews_.begin()));
}

void View::insertSubviewAbove(ViewPtr view, const View* sibling) {
    if (view && view->superview_ == this) {
        detachChild(view.get());
        view->superview_ = nullptr;
    }
    auto it = std::find_if(subviews_.begin(), subviews_.end(),
                           [&](const ViewPtr& v) { return v.get() == sibling; });
    attach(std::move(view),
           it == subviews_.end() ? subviews_.size() : static_cast<std::size_t>(it - subviews_.begin()) + 1);
}

void View::removeFromSuperview() {
    if (superview_ == nullptr) {
        return;
    }
    // Keep this view alive until its window-change hooks have run.
    ViewPtr self = shared_from_this();
    Window* oldWindow = window();
    superview_->detachChild(this);
    didMoveToSuperview();
    if (oldWindow != nullptr) {
        notifyWindowChange(oldWindow);
    }
}

void View::bringSubviewToFront(const View* view) {
    auto it =
        std::find_if(subviews_.begin(), subviews_.end(), [&](const ViewPtr& v) { return v.get() == view; });
    if (it != subviews_.end()) {
        std::rotate(it, it + 1, subviews_.end());
    }
}

void View::sendSubviewToBack(const View* view) {
    auto it =
        std::find_if(subviews_.begin(), subviews_.end(), [&](const ViewPtr& v) { return v.get() == view; });
    if (it != subviews_.end()) {
        std::rotate(subviews_.begin(), it, it + 1);
    }
}

View* View::viewWithTag(int tag) {
    if (tag_ == tag) {
        return this;
    }
    for (auto& child : subviews_) {
        if (View* found = child->viewWithTag(tag)) {
            return found;
        }
    }
    return nullptr;
}

bool View::isDescendantOf(const View* ancestor) const {
    for (const View* v = this; v != nullptr; v = v->superview_) {
        if (v == ancestor) {
            return true;
        }
    }
    return false;
}

Window* View::window() const {
    const View* root = this;
    while (root->superview_ != nullptr) {
        root = root->superview_;
    }
    return dynamic_cast<Window*>(const_cast<View*>(root));
}

bool View::isVisibleInWindow() const {
    for (const View* v = this; v != nullptr; v = v->superview_) {
        if (v->hidden_) {
            return false;
        }
    }
    return window() != nullptr;
}

Point View::convertToWindow(Point local) const {
    Point p = local - boundsOrigin();
    for (const View* v = this; v != nullptr; v = v->superview_) {
        p = p + v->frame_.origin;
        if (v->superview_ != nullptr) {
            p = p - v->superview_->boundsOrigin();
        }
    }
    return p;
}

Point View::convertFromWindow(Point windowPoint) const {
    Point zero = convertToWindow(Point{});
    return windowPoint - zero;
}

Point View::convertPoint(Point local, const View* target) const {
    Point inWindow = convertToWindow(local);
    return target != nullptr ? target->convertFromWindow(inWindow) : inWindow;
}

Rect View::convertRect(const Rect& local, const View* target) const {
    return Rect(convertPoint(local.origin, target), local.size);
}

View* View::hitTest(Point point) {
    if (hidden_ || alpha_ < 0.01 || !userInteractionEnabled_ || !bounds().contains(point)) {
        return nullptr;
    }
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        View* child = it->get();
        Point inChild = point - child->frame_.origin + child->boundsOrigin();
        if (View* hit = child->hitTest(inChild)) {
            return hit;
        }
    }
    return this;
}

void View::sizeToFit() {
    Size size = sizeThatFits(frame_.size);
    setFrame(Rect(frame_.origin, size));
}

void View::addGestureRecognizer(GestureRecognizerPtr recognizer) {
    if (!recognizer) {
        return;
    }
    if (View* previous = recognizer->view(); previous != nullptr && previous != this) {
        previous->removeGestureRecognizer(recognizer.get());
    }
    recognizer->setView(this);
    gestureRecognizers_.push_back(std::move(recognizer));
}

void View::removeGestureRecognizer(const GestureRecognizer* recognizer) {
    auto it = std::find_if(gestureRecognizers_.begin(), gestureRecognizers_.end(),
                           [&](const GestureRecognizerPtr& r) { return r.get() == recognizer; });
    if (it != gestureRecognizers_.end()) {
        (*it)->setView(nullptr);
        gestureRecognizers_.erase(it);
    }
}

bool View::handleTap(Point point) {
    bool handled = false;
    // A recognizer's action may remove recognizers; work on a copy.
    for (auto& recognizer : std::vector<GestureRecognizerPtr>(gestureRecognizers_)) {
        if (recognizer->kind() == GestureRecognizer::Kind::Tap && recognizer->isEnabled()) {
            recognizer->recognizeTap(point);
            handled = true;
        }
    }
    return handled;
}

}  // namespace zorlet
