#include "ui/ScrollView.h"

#include "ui/ViewTreeDump.h"

#include <algorithm>
#include <cmath>

namespace zorlet {

ScrollView::ScrollView() {
    setClipsToBounds(true);
}

ScrollView::ScrollView(Rect frame) : View(frame) {
    setClipsToBounds(true);
}

void ScrollView::setContentOffset(Point offset, bool animated) {
    lastAnimated_ = animated;
    contentOffset_ = offset;
    didScroll();
    if (delegate_ != nullptr) {
        delegate_->scrollViewDidScroll(*this);
        if (animated) {
            delegate_->scrollViewDidEndScrollingAnimation(*this);
        }
    }
}

Point ScrollView::minContentOffset() const {
    return {-contentInset_.left, -contentInset_.top};
}

Point ScrollView::maxContentOffset() const {
    Point min = minContentOffset();
    return {std::max(min.x, contentSize_.width + contentInset_.right - frame().width()),
            std::max(min.y, contentSize_.height + contentInset_.bottom - frame().height())};
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated) {
    Point offset = contentOffset_;
    if (rect.y() < offset.y) {
        offset.y = rect.y();
    } else if (rect.maxY() > offset.y + frame().height()) {
        offset.y = rect.maxY() - frame().height();
    }
    if (rect.x() < offset.x) {
        offset.x = rect.x();
    } else if (rect.maxX() > offset.x + frame().width()) {
        offset.x = rect.maxX() - frame().width();
    }
    Point min = minContentOffset();
    Point max = maxContentOffset();
    offset = {std::clamp(offset.x, min.x, max.x), std::clamp(offset.y, min.y, max.y)};
    if (offset != contentOffset_) {
        setContentOffset(offset, animated);
    }
}

void ScrollView::beginDragging() {
    if (!scrollEnabled_) {
        return;
    }
    dragging_ = true;
    if (delegate_ != nullptr) {
        delegate_->scrollViewWillBeginDragging(*this);
    }
}

void ScrollView::dragTo(Point offset) {
    if (!dragging_) {
        return;
    }
    setContentOffset(offset, false);
}

Point ScrollView::settledOffset() const {
    Point min = minContentOffset();
    Point max = maxContentOffset();
    Point settled{std::clamp(contentOffset_.x, min.x, max.x), std::clamp(contentOffset_.y, min.y, max.y)};
    if (pagingEnabled_) {
        if (frame().width() > 0) {
            settled.x = std::clamp(std::round(settled.x / frame().width()) * frame().width(), min.x, max.x);
        }
        if (frame().height() > 0) {
            settled.y = std::clamp(std::round(settled.y / frame().height()) * frame().height(), min.y, max.y);
        }
    }
    return settled;
}

void ScrollView::endDragging() {
    if (!dragging_) {
        return;
    }
    dragging_ = false;
    // The delegate may change the insets (a pull header opening), so settle afterwards.
    Point settled = settledOffset();
    bool willDecelerate = settled != contentOffset_;
    if (delegate_ != nullptr) {
        delegate_->scrollViewDidEndDragging(*this, willDecelerate);
    }
    settled = settledOffset();
    if (settled != contentOffset_) {
        decelerating_ = true;
        setContentOffset(settled, false);
        decelerating_ = false;
        if (delegate_ != nullptr) {
            delegate_->scrollViewDidEndDecelerating(*this);
        }
    }
}

void ScrollView::describe(std::string& out) const {
    out += " offset=" + ViewTreeDump::point(contentOffset_) + " content=" + ViewTreeDump::size(contentSize_);
}

}  // namespace zorlet
