#include "ui/TextField.h"

#include "ui/Keyboard.h"
#include "ui/NotificationCenter.h"
#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

#include <algorithm>

namespace zorlet {

namespace {

std::string bullets(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) {
            out += "\xE2\x80\xA2";  // •
        }
    }
    return out;
}

}  // namespace

TextField::TextField() = default;

TextField::TextField(Rect frame) : Control(frame) {}

TextField::~TextField() {
    Keyboard::shared().forget(this);
}

bool TextField::becomeFirstResponder() {
    if (isFirstResponder()) {
        return true;
    }
    if (!isEnabled()) {
        return false;
    }
    if (delegate_ != nullptr && !delegate_->textFieldShouldBeginEditing(*this)) {
        return false;
    }
    if (!Keyboard::shared().focus(this)) {
        return false;
    }
    if (clearsOnBeginEditing_) {
        text_.clear();
    }
    if (delegate_ != nullptr) {
        delegate_->textFieldDidBeginEditing(*this);
    }
    sendActionsForControlEvents(EditingDidBegin);
    return true;
}

bool TextField::resignFirstResponder() {
    if (!isFirstResponder()) {
        return true;
    }
    if (delegate_ != nullptr && !delegate_->textFieldShouldEndEditing(*this)) {
        return false;
    }
    Keyboard::shared().unfocus(this);
    if (delegate_ != nullptr) {
        delegate_->textFieldDidEndEditing(*this);
    }
    sendActionsForControlEvents(EditingDidEnd);
    return true;
}

void TextField::replace(TextRange range, const std::string& replacement) {
    if (range.location > text_.size() || range.length > text_.size() - range.location) {
        return;
    }
    if (delegate_ != nullptr && !delegate_->textFieldShouldChangeCharacters(*this, range, replacement)) {
        return;
    }
    text_.replace(range.location, range.length, replacement);
    sendActionsForControlEvents(EditingChanged);
    NotificationCenter::defaultCenter().post(kTextDidChangeNotification, this);
}

void TextField::insertText(const std::string& text) {
    replace({text_.size(), 0}, text);
}

void TextField::deleteBackward() {
    std::size_t length = lastCharacterLength(text_);
    if (length > 0) {
        replace({text_.size() - length, length}, "");
    }
}

void TextField::pressReturn() {
    bool shouldReturn = delegate_ == nullptr || delegate_->textFieldShouldReturn(*this);
    if (shouldReturn) {
        sendActionsForControlEvents(EditingDidEndOnExit);
    }
}

void TextField::clear() {
    if (delegate_ != nullptr && !delegate_->textFieldShouldClear(*this)) {
        return;
    }
    text_.clear();
    sendActionsForControlEvents(EditingChanged);
    NotificationCenter::defaultCenter().post(kTextDidChangeNotification, this);
}

void TextField::tapped(Point) {
    becomeFirstResponder();
}

void TextField::didMoveToWindow() {
    // An input taken off the screen cannot keep the keyboard.
    if (window() == nullptr && isFirstResponder()) {
        Keyboard::shared().forget(this);
    }
}

void TextField::draw(Painter& painter) const {
    Rect box(0, 0, frame().width(), frame().height());
    if (borderStyle_ == BorderStyle::RoundedRect) {
        painter.fillRoundedRect(box, 6, Color::whiteColor());
        painter.strokeRoundedRect(box, 6, Color::white(0.7));
    } else if (borderStyle_ == BorderStyle::Line || borderStyle_ == BorderStyle::Bezel) {
        painter.strokeRect(box, Color::white(0.3));
    }
    Rect textBox = box.insetBy({0, 6, 0, 6});
    if (text_.empty()) {
        painter.drawText(textBox, placeholder_, font_, Color::white(0.7), alignment_);
    } else {
        painter.drawText(textBox, secure_ ? bullets(text_) : text_, font_, textColor_, alignment_);
    }
    if (isFirstResponder()) {
        painter.fillRect(Rect(box.width() - 8, 6, 2, std::max(0.0, box.height() - 12)),
                         Color::rgb(66, 107, 242));
    }
}

void TextField::describe(std::string& out) const {
    out += " text=" + ViewTreeDump::quoted(secure_ ? bullets(text_) : text_);
    if (!placeholder_.empty()) {
        out += " placeholder=" + ViewTreeDump::quoted(placeholder_);
    }
    if (isFirstResponder()) {
        out += " focused";
    }
    Control::describe(out);
}

}  // namespace zorlet
