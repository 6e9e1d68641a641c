#include "ui/TextField.h"

#include "ui/Keyboard.h"
#include "ui/NotificationCenter.h"
#include "ui/Painter.h"
#include "ui/TextFieldClearButton.h"
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

void TextField::setText(std::string text) {
    text_ = std::move(text);
    updateAccessories();
}

void TextField::setClearButtonMode(TextFieldViewMode mode) {
    clearButtonMode_ = mode;
    if (mode != TextFieldViewMode::Never && !clearButton_) {
        auto button = std::make_shared<TextFieldClearButton>();
        button->addTarget(TouchUpInside, [](Control& control) {
            if (auto* field = dynamic_cast<TextField*>(control.superview())) {
                field->clear();
            }
        });
        clearButton_ = button;
        addSubview(clearButton_);
    }
    updateAccessories();
}

void TextField::setLeftView(ViewPtr view) {
    if (leftView_ == view) {
        return;
    }
    if (leftView_ && leftView_->superview() == this) {
        leftView_->removeFromSuperview();
    }
    leftView_ = std::move(view);
    if (leftView_) {
        insertSubview(leftView_, 0);
    }
    updateAccessories();
}

void TextField::setLeftViewMode(TextFieldViewMode mode) {
    leftViewMode_ = mode;
    updateAccessories();
}

bool TextField::shows(TextFieldViewMode mode, bool editing) {
    switch (mode) {
        case TextFieldViewMode::Never:
            return false;
        case TextFieldViewMode::WhileEditing:
            return editing;
        case TextFieldViewMode::UnlessEditing:
            return !editing;
        case TextFieldViewMode::Always:
            return true;
    }
    return false;
}

bool TextField::isClearButtonShown() const {
    // Nothing to clear in an empty field.
    return clearButton_ && !text_.empty() && shows(clearButtonMode_, isEditing());
}

bool TextField::isLeftViewShown() const {
    return leftView_ && shows(leftViewMode_, isEditing());
}

Rect TextField::leftViewRect() const {
    if (!leftView_) {
        return {};
    }
    Size size = leftView_->frame().size;
    return Rect(0, (frame().height() - size.height) / 2, size.width, size.height);
}

Rect TextField::clearButtonRect() const {
    double side = TextFieldClearButton::kSide;
    return Rect(frame().width() - side - 5, (frame().height() - side) / 2, side, side);
}

Rect TextField::textRect() const {
    double left = isLeftViewShown() ? leftViewRect().maxX() : kTextInset;
    double right = isClearButtonShown() ? frame().width() - clearButtonRect().x() : kTextInset;
    return Rect(0, 0, frame().width(), frame().height()).insetBy({0, left, 0, right});
}

void TextField::updateAccessories() {
    if (clearButton_) {
        clearButton_->setHidden(!isClearButtonShown());
    }
    if (leftView_) {
        leftView_->setHidden(!isLeftViewShown());
    }
    layoutSubviews();
}

void TextField::layoutSubviews() {
    if (clearButton_) {
        clearButton_->setFrame(clearButtonRect());
    }
    if (leftView_ && leftView_->superview() == this) {
        leftView_->setFrame(leftViewRect());
    }
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
    updateAccessories();
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
    updateAccessories();
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
    updateAccessories();
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
    updateAccessories();
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
        updateAccessories();
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
    Rect textBox = textRect();
    if (text_.empty()) {
        painter.drawText(textBox, placeholder_, font_, Color::white(0.7), alignment_);
    } else {
        painter.drawText(textBox, secure_ ? bullets(text_) : text_, font_, textColor_, alignment_);
    }
    if (isFirstResponder()) {
        painter.fillRect(Rect(textBox.maxX() - 2, 6, 2, std::max(0.0, box.height() - 12)),
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
