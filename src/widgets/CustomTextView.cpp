#include "widgets/CustomTextView.h"

#include "model/EmptyText.h"
#include "ui/Painter.h"

#include <algorithm>

namespace zorlet {

CustomTextView::CustomTextView() = default;

CustomTextView::CustomTextView(Rect frame) : TextView(frame) {}

// The picture view is left where it is: it belongs to the superview's tree,
// which may itself be in the middle of being torn down.
CustomTextView::~CustomTextView() = default;

void CustomTextView::setPlaceholder(std::string placeholder) {
    placeholder_ = std::move(placeholder);
    if (placeholderShown_) {
        if (isEmpty(placeholder_)) {
            hidePlaceholder();
        } else {
            TextView::setText(placeholder_);
        }
        return;
    }
    showPlaceholderIfIdle();
}

std::string CustomTextView::text() const {
    return placeholderShown_ ? std::string() : TextView::text();
}

void CustomTextView::setText(std::string text) {
    bool scrolls = isScrollEnabled();
    setScrollEnabled(true);
    placeholderShown_ = false;
    TextView::setText(std::move(text));
    setScrollEnabled(scrolls);
    showPlaceholderIfIdle();
}

void CustomTextView::showPlaceholderIfIdle() {
    if (placeholderShown_ || isFirstResponder() || isEmpty(placeholder_) || !displayedText().empty()) {
        return;
    }
    placeholderShown_ = true;
    TextView::setText(placeholder_);
}

void CustomTextView::hidePlaceholder() {
    if (!placeholderShown_) {
        return;
    }
    placeholderShown_ = false;
    TextView::setText({});
}

bool CustomTextView::becomeFirstResponder() {
    hidePlaceholder();
    bool focused = TextView::becomeFirstResponder();
    if (!focused) {
        showPlaceholderIfIdle();
    }
    return focused;
}

bool CustomTextView::resignFirstResponder() {
    // Given up first: a view that refuses to let go keeps its (empty) text to type into.
    bool resigned = TextView::resignFirstResponder();
    showPlaceholderIfIdle();
    return resigned;
}

void CustomTextView::insertText(const std::string& text) {
    hidePlaceholder();
    TextView::insertText(text);
    showPlaceholderIfIdle();
}

void CustomTextView::deleteBackward() {
    hidePlaceholder();
    TextView::deleteBackward();
    showPlaceholderIfIdle();
}

void CustomTextView::setBackgroundImage(ImageAssetPtr image) {
    backgroundImage_ = std::move(image);
    updateBackgroundImageView();
}

void CustomTextView::updateBackgroundImageView() {
    if (!backgroundImage_) {
        if (backgroundImageView_) {
            backgroundImageView_->removeFromSuperview();
        }
        return;
    }
    if (!backgroundImageView_) {
        backgroundImageView_ = std::make_shared<ImageView>();
    }
    backgroundImageView_->setImage(backgroundImage_);
    Rect box = frame();
    box.size.height += kBackgroundExtraHeight;
    backgroundImageView_->setFrame(box);

    View* parent = superview();
    if (parent == nullptr) {
        backgroundImageView_->removeFromSuperview();
        return;
    }
    const auto& siblings = parent->subviews();
    auto self =
        std::find_if(siblings.begin(), siblings.end(), [&](const ViewPtr& v) { return v.get() == this; });
    bool justBelow =
        self != siblings.begin() && self != siblings.end() && (self - 1)->get() == backgroundImageView_.get();
    if (!justBelow) {
        parent->insertSubviewBelow(backgroundImageView_, this);
    }
}

void CustomTextView::setFrame(const Rect& frame) {
    TextView::setFrame(frame);
    if (backgroundImage_) {
        updateBackgroundImageView();
    }
}

void CustomTextView::didMoveToSuperview() {
    TextView::didMoveToSuperview();
    updateBackgroundImageView();
}

void CustomTextView::didMoveToWindow() {
    TextView::didMoveToWindow();
    showPlaceholderIfIdle();
}

// The scrolling adjustments keep the text from jumping while the view grows
// and shrinks with its content: no top inset ever, and a small bottom one only
// while the content is scrolled above its end.
void CustomTextView::setContentInset(const EdgeInsets& insets) {
    EdgeInsets adjusted = insets;
    adjusted.top = 0;
    if (adjusted.bottom > kScrollBottomInset) {
        adjusted.bottom = 0;
    }
    TextView::setContentInset(adjusted);
}

void CustomTextView::setContentSize(const Size& size) {
    if (size.height < contentSize().height) {
        EdgeInsets insets = contentInset();
        insets.top = 0;
        insets.bottom = 0;
        setContentInset(insets);
    }
    TextView::setContentSize(size);
}

void CustomTextView::setContentOffset(Point offset, bool animated) {
    EdgeInsets insets = contentInset();
    if (isDragging() || isDecelerating()) {
        insets.top = 0;
        insets.bottom = 0;
        setContentInset(insets);
    } else if (isScrollEnabled() && offset.y < contentSize().height - frame().height() + insets.bottom) {
        insets.top = 0;
        insets.bottom = kScrollBottomInset;
        setContentInset(insets);
    }
    TextView::setContentOffset(offset, animated);
}

void CustomTextView::draw(Painter& painter) const {
    if (!placeholderShown_) {
        TextView::draw(painter);
        return;
    }
    Rect box(kTextPadding, kTextPadding - contentOffset().y,
             std::max(0.0, frame().width() - 2 * kTextPadding), textContentHeight() - 2 * kTextPadding);
    painter.drawText(box, placeholder_, font(), Color::lightGrayColor(), textAlignment(),
                     LineBreakMode::WordWrap, 0);
}

void CustomTextView::describe(std::string& out) const {
    TextView::describe(out);
    if (placeholderShown_) {
        out += " placeholder-shown";
    }
}

}  // namespace zorlet
