#include "ui/TextView.h"

#include "ui/Keyboard.h"
#include "ui/NotificationCenter.h"
#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

#include <algorithm>

namespace zorlet {

TextView::TextView() {
    setBackgroundColor(Color::whiteColor());
}

TextView::TextView(Rect frame) : ScrollView(frame) {
    setBackgroundColor(Color::whiteColor());
}

TextView::~TextView() {
    Keyboard::shared().forget(this);
}

void TextView::setText(std::string text) {
    text_ = std::move(text);
    selectedRange_ = {text_.size(), 0};
    updateContentSize();
}

void TextView::setFont(const Font& font) {
    font_ = font;
    updateContentSize();
}

void TextView::setFrame(const Rect& frame) {
    bool widthChanged = frame.width() != this->frame().width();
    ScrollView::setFrame(frame);
    if (widthChanged) {
        updateContentSize();
    }
}

double TextView::textContentHeight() const {
    double width = std::max(1.0, frame().width() - 2 * kTextPadding);
    // An empty text (or one ending in a line break) still has a line to type on.
    std::string measured = text_.empty() || text_.back() == '\n' ? text_ + " " : text_;
    return TextLayout::shared().measure(measured, font_, width).height + 2 * kTextPadding;
}

void TextView::updateContentSize() {
    Size size{frame().width(), textContentHeight()};
    if (size != contentSize()) {
        setContentSize(size);
    }
}

bool TextView::becomeFirstResponder() {
    if (isFirstResponder()) {
        return true;
    }
    if (textDelegate_ != nullptr && !textDelegate_->textViewShouldBeginEditing(*this)) {
        return false;
    }
    if (!Keyboard::shared().focus(this)) {
        return false;
    }
    if (textDelegate_ != nullptr) {
        textDelegate_->textViewDidBeginEditing(*this);
    }
    return true;
}

bool TextView::resignFirstResponder() {
    if (!isFirstResponder()) {
        return true;
    }
    if (textDelegate_ != nullptr && !textDelegate_->textViewShouldEndEditing(*this)) {
        return false;
    }
    Keyboard::shared().unfocus(this);
    if (textDelegate_ != nullptr) {
        textDelegate_->textViewDidEndEditing(*this);
    }
    return true;
}

void TextView::replace(TextRange range, const std::string& replacement) {
    if (range.location > text_.size() || range.length > text_.size() - range.location) {
        return;
    }
    if (textDelegate_ != nullptr && !textDelegate_->textViewShouldChangeText(*this, range, replacement)) {
        return;
    }
    text_.replace(range.location, range.length, replacement);
    selectedRange_ = {range.location + replacement.size(), 0};
    updateContentSize();
    if (textDelegate_ != nullptr) {
        textDelegate_->textViewDidChange(*this);
    }
    NotificationCenter::defaultCenter().post(kTextDidChangeNotification, this);
}

void TextView::insertText(const std::string& text) {
    TextRange at = selectedRange_;
    if (at.location > text_.size() || at.length > text_.size() - at.location) {
        at = {text_.size(), 0};
    }
    replace(at, text);
}

void TextView::deleteBackward() {
    TextRange at = selectedRange_;
    if (at.length > 0 && at.location + at.length <= text_.size()) {
        replace(at, "");
        return;
    }
    std::size_t end = std::min(at.location, text_.size());
    std::size_t length = lastCharacterLength(text_.substr(0, end));
    if (length > 0) {
        replace({end - length, length}, "");
    }
}

bool TextView::handleTap(Point point) {
    if (View::handleTap(point)) {
        return true;
    }
    becomeFirstResponder();
    return true;
}

void TextView::didMoveToWindow() {
    if (window() == nullptr && isFirstResponder()) {
        Keyboard::shared().forget(this);
    }
}

void TextView::draw(Painter& painter) const {
    // Drawn in frame coordinates: shift by the scroll offset ourselves.
    Rect box(kTextPadding, kTextPadding - contentOffset().y,
             std::max(0.0, frame().width() - 2 * kTextPadding), textContentHeight() - 2 * kTextPadding);
    painter.drawText(box, text_, font_, textColor_, alignment_, LineBreakMode::WordWrap, 0);
}

void TextView::describe(std::string& out) const {
    out += " text=" + ViewTreeDump::quoted(text_);
    if (isFirstResponder()) {
        out += " focused";
    }
    if (!isScrollEnabled()) {
        out += " scrolling=off";
    }
    ScrollView::describe(out);
}

}  // namespace zorlet
