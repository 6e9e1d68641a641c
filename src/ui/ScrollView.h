#pragma once

#include "ui/View.h"

namespace zorlet {

class ScrollView;

// Scroll events, all optional.
class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;
    virtual void scrollViewDidScroll(ScrollView&) {}
    virtual void scrollViewWillBeginDragging(ScrollView&) {}
    virtual void scrollViewDidEndDragging(ScrollView&, bool willDecelerate) {}
    virtual void scrollViewDidEndDecelerating(ScrollView&) {}
    virtual void scrollViewDidEndScrollingAnimation(ScrollView&) {}
};

// A view whose content is larger than its frame. The content offset is the
// bounds origin, so subviews are placed in content coordinates.
class ScrollView : public View {
public:
    ScrollView();
    explicit ScrollView(Rect frame);
    const char* typeName() const override { return "ScrollView"; }

    Point boundsOrigin() const override { return contentOffset_; }

    const Size& contentSize() const { return contentSize_; }
    virtual void setContentSize(const Size& size) { contentSize_ = size; }
    const Point& contentOffset() const { return contentOffset_; }
    virtual void setContentOffset(Point offset, bool animated = false);
    const EdgeInsets& contentInset() const { return contentInset_; }
    virtual void setContentInset(const EdgeInsets& insets) { contentInset_ = insets; }

    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    bool isPagingEnabled() const { return pagingEnabled_; }
    void setPagingEnabled(bool enabled) { pagingEnabled_ = enabled; }
    void setShowsVerticalScrollIndicator(bool shows) { showsVertical_ = shows; }
    bool showsHorizontalScrollIndicator() const { return showsHorizontal_; }
    void setShowsHorizontalScrollIndicator(bool shows) { showsHorizontal_ = shows; }
    void setScrollsToTop(bool scrolls) { scrollsToTop_ = scrolls; }

    ScrollViewDelegate* delegate() const { return delegate_; }
    void setDelegate(ScrollViewDelegate* delegate) { delegate_ = delegate; }

    bool isDragging() const { return dragging_; }
    bool isDecelerating() const { return decelerating_; }
    // Whether the last programmatic offset change asked for animation.
    bool lastOffsetChangeAnimated() const { return lastAnimated_; }

    // The offsets the content may rest at (insets included).
    Point minContentOffset() const;
    Point maxContentOffset() const;
    void scrollRectToVisible(const Rect& rect, bool animated);

    // A finger drag: begin, move the content to offsets, release. After the
    // release the content settles inside its range (and on a page when paging).
    void beginDragging();
    void dragTo(Point offset);
    void endDragging();

    void describe(std::string& out) const override;

protected:
    virtual void didScroll() {}

private:
    Point settledOffset() const;

    Size contentSize_;
    Point contentOffset_;
    EdgeInsets contentInset_;
    bool scrollEnabled_ = true;
    bool pagingEnabled_ = false;
    bool showsVertical_ = true;
    bool showsHorizontal_ = true;
    bool scrollsToTop_ = true;
    bool dragging_ = false;
    bool decelerating_ = false;
    bool lastAnimated_ = false;
    ScrollViewDelegate* delegate_ = nullptr;
};

}  // namespace zorlet
