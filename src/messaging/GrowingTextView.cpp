#include "messaging/GrowingTextView.h"

#include <cmath>

namespace zorlet {

bool GrowingTextViewDelegate::textViewShouldBeginEditing(TextView& view) {
    return customDelegate ? customDelegate->textViewShouldBeginEditing(view) : true;
}

void GrowingTextViewDelegate::textViewDidBeginEditing(TextView& view) {
    if (customDelegate) {
        customDelegate->textViewDidBeginEditing(view);
    }
}

bool GrowingTextViewDelegate::textViewShouldEndEditing(TextView& view) {
    return customDelegate ? customDelegate->textViewShouldEndEditing(view) : true;
}

void GrowingTextViewDelegate::textViewDidEndEditing(TextView& view) {
    if (customDelegate) {
        customDelegate->textViewDidEndEditing(view);
    }
}

bool GrowingTextViewDelegate::textViewShouldChangeText(TextView& view, TextRange range,
                                                       const std::string& replacement) {
    return customDelegate ? customDelegate->textViewShouldChangeText(view, range, replacement) : true;
}

void GrowingTextViewDelegate::textViewDidChange(TextView&) {
    owner_.textDidChange();
}

GrowingTextView::GrowingTextView() : growingDelegate_(*this) {
    setTextViewDelegate(&growingDelegate_);
}

GrowingTextView::GrowingTextView(Rect frame) : CustomTextView(frame), growingDelegate_(*this) {
    setTextViewDelegate(&growingDelegate_);
}

void GrowingTextView::setCustomDelegate(CustomTextViewDelegate* delegate) {
    growingDelegate_.customDelegate = delegate;
}

double GrowingTextView::measureLines(int lines) {
    // Measured on the view itself, so font, width and padding are exactly what typing will show.
    std::string kept = text();
    setTextViewDelegate(nullptr);
    bool wasHidden = isHidden();
    setHidden(true);
    std::string sample = "-";
    for (int line = 1; line < lines; ++line) {
        sample += "\n|W|";
    }
    CustomTextView::setText(sample);
    // Whole points, as the frame takes them, so a measured height compares equal to the frame.
    double height = std::round(contentSize().height);
    CustomTextView::setText(kept);
    setHidden(wasHidden);
    setTextViewDelegate(&growingDelegate_);
    return height;
}

void GrowingTextView::setMinNumberOfLines(int lines) {
    minHeight_ = measureLines(lines);
    sizeToFit();
    minNumberOfLines_ = lines;
}

void GrowingTextView::setMaxNumberOfLines(int lines) {
    maxHeight_ = measureLines(lines);
    sizeToFit();
    maxNumberOfLines_ = lines;
}

void GrowingTextView::setText(std::string text) {
    CustomTextView::setText(std::move(text));
    textDidChange();
}

void GrowingTextView::sizeToFit() {
    if (text().empty() && minHeight_ > 0) {
        Rect frame = this->frame();
        frame.size.height = minHeight_;
        setFrame(frame);
    }
}

void GrowingTextView::resizeTextView(int height) {
    if (auto* delegate = customDelegate()) {
        delegate->textViewWillChangeHeight(*this, height - frame().height());
    }
    Rect frame = this->frame();
    frame.size.height = height;
    setFrame(frame);
}

void GrowingTextView::textDidChange() {
    if (minHeight_ <= 0 || maxHeight_ <= 0) {
        return;
    }
    double newHeight = std::round(contentSize().height);
    if (newHeight < minHeight_ || text().empty()) {
        newHeight = minHeight_;
    }
    double current = frame().height();
    if (current > maxHeight_) {
        newHeight = maxHeight_;
    }
    if (current != newHeight) {
        if (newHeight > maxHeight_ && current <= maxHeight_) {
            newHeight = maxHeight_;
        }
        if (newHeight <= maxHeight_) {
            double before = current;
            resizeTextView(static_cast<int>(newHeight));
            if (auto* delegate = customDelegate()) {
                delegate->textViewDidChangeHeight(*this, frame().height() - before);
            }
        }
        // Within the maximum the whole text shows; beyond it the view scrolls.
        setScrollEnabled(newHeight >= maxHeight_);
    }
    if (auto* delegate = customDelegate()) {
        delegate->textViewDidChange(*this);
    }
}

}  // namespace zorlet
