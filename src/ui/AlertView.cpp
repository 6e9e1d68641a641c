#include "ui/AlertView.h"

#include "ui/AlertRegistry.h"
#include "ui/Keyboard.h"
#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

#include <algorithm>

namespace zorlet {

namespace {
constexpr double kWidth = 284;
constexpr double kButtonHeight = 43;
constexpr double kPadding = 16;
const Font kTitleFont = Font::boldSystemFont(17);
const Font kMessageFont = Font::systemFont(15);
}  // namespace

AlertViewDelegate::~AlertViewDelegate() {
    AlertRegistry::shared().forgetDelegate(this);
}

AlertView::AlertView(std::string title, std::string message, AlertViewDelegate* delegate,
                     std::string cancelButtonTitle, std::vector<std::string> otherButtonTitles)
    : title_(std::move(title)), message_(std::move(message)), delegate_(delegate) {
    if (!cancelButtonTitle.empty()) {
        cancelIndex_ = 0;
        buttons_.push_back(std::move(cancelButtonTitle));
    }
    for (auto& other : otherButtonTitles) {
        buttons_.push_back(std::move(other));
    }
}

std::shared_ptr<AlertView> AlertView::create(std::string title, std::string message,
                                             AlertViewDelegate* delegate, std::string cancelButtonTitle,
                                             std::vector<std::string> otherButtonTitles) {
    return std::make_shared<AlertView>(std::move(title), std::move(message), delegate,
                                       std::move(cancelButtonTitle), std::move(otherButtonTitles));
}

AlertView::~AlertView() = default;

int AlertView::addButtonWithTitle(std::string title) {
    buttons_.push_back(std::move(title));
    return static_cast<int>(buttons_.size()) - 1;
}

std::string AlertView::buttonTitle(int index) const {
    if (index < 0 || index >= numberOfButtons()) {
        return {};
    }
    return buttons_[static_cast<std::size_t>(index)];
}

int AlertView::firstOtherButtonIndex() const {
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i != cancelIndex_) {
            return i;
        }
    }
    return -1;
}

void AlertView::setAlertViewStyle(Style style) {
    if (style == Style::Default) {
        if (textField_) {
            textField_->removeFromSuperview();
            textField_.reset();
        }
        return;
    }
    if (!textField_) {
        textField_ = std::make_shared<TextField>(Rect(0, 0, kWidth - 2 * kPadding, 29));
        textField_->setBorderStyle(TextField::BorderStyle::Line);
        textField_->setBackgroundColor(Color::whiteColor());
        textField_->setFont(Font::systemFont(15));
        addSubview(textField_);
    }
    textField_->setSecureTextEntry(style == Style::SecureTextInput);
}

TextField* AlertView::textFieldAtIndex(int index) const {
    return index == 0 ? textField_.get() : nullptr;
}

void AlertView::show() {
    if (visible_) {
        return;
    }
    visible_ = true;
    AlertRegistry::shared().add(std::static_pointer_cast<AlertView>(shared_from_this()));
    if (textField_) {
        textField_->becomeFirstResponder();
    }
}

void AlertView::clickButton(int index) {
    if (!visible_ || index < 0 || index >= numberOfButtons()) {
        return;
    }
    auto keepAlive = shared_from_this();
    if (delegate_ != nullptr) {
        delegate_->alertViewClickedButton(*this, index);
    }
    dismissWithClickedButtonIndex(index, true);
}

void AlertView::dismissWithClickedButtonIndex(int index, bool animated) {
    if (!visible_) {
        return;
    }
    auto keepAlive = weak_from_this().lock();
    visible_ = false;
    if (textField_) {
        Keyboard::shared().forget(textField_.get());
    }
    if (delegate_ != nullptr) {
        delegate_->alertViewWillDismiss(*this, index);
    }
    AlertRegistry::shared().remove(this);
    if (delegate_ != nullptr) {
        delegate_->alertViewDidDismiss(*this, index);
    }
    if (onDismiss_) {
        auto onDismiss = onDismiss_;
        onDismiss(index);
    }
}

void AlertView::layoutForScreen(Size screen) {
    double textWidth = kWidth - 2 * kPadding;
    double height = kPadding;
    if (!title_.empty()) {
        height += TextLayout::shared().measure(title_, kTitleFont, textWidth).height + 6;
    }
    if (!message_.empty()) {
        height += TextLayout::shared().measure(message_, kMessageFont, textWidth).height + 6;
    }
    if (textField_) {
        textField_->setFrame(Rect(kPadding, height + 4, textWidth, 29));
        height += 37;
    }
    int rows = numberOfButtons() == 2 ? 1 : numberOfButtons();
    height += 8 + rows * (kButtonHeight + 6) + 8;
    setFrame(Rect((screen.width - kWidth) / 2, std::max(10.0, (screen.height - height) / 2), kWidth, height));
}

void AlertView::draw(Painter& painter) const {
    Rect box(0, 0, frame().width(), frame().height());
    painter.fillRoundedRect(box, 10, Color::rgb(20, 37, 86, 0.92));
    painter.strokeRoundedRect(box, 10, Color::white(1, 0.8), 2);
    double textWidth = box.width() - 2 * kPadding;
    double y = kPadding;
    if (!title_.empty()) {
        double h = TextLayout::shared().measure(title_, kTitleFont, textWidth).height;
        painter.drawText(Rect(kPadding, y, textWidth, h), title_, kTitleFont, Color::whiteColor(),
                         TextAlignment::Center, LineBreakMode::WordWrap, 0);
        y += h + 6;
    }
    if (!message_.empty()) {
        double h = TextLayout::shared().measure(message_, kMessageFont, textWidth).height;
        painter.drawText(Rect(kPadding, y, textWidth, h), message_, kMessageFont, Color::whiteColor(),
                         TextAlignment::Center, LineBreakMode::WordWrap, 0);
        y += h + 6;
    }
    if (textField_) {
        y += 37;
    }
    y += 8;
    int count = numberOfButtons();
    for (int i = 0; i < count; ++i) {
        Rect button;
        if (count == 2) {
            double w = (textWidth - 8) / 2;
            button = Rect(kPadding + i * (w + 8), y, w, kButtonHeight);
        } else {
            button = Rect(kPadding, y + i * (kButtonHeight + 6), textWidth, kButtonHeight);
        }
        painter.fillRoundedRect(button, 6,
                                i == cancelIndex_ ? Color::white(0.35, 0.8) : Color::white(0.55, 0.8));
        painter.drawText(button, buttons_[static_cast<std::size_t>(i)], kTitleFont, Color::whiteColor(),
                         TextAlignment::Center);
    }
}

void AlertView::describe(std::string& out) const {
    out += " title=" + ViewTreeDump::quoted(title_);
    if (!message_.empty()) {
        out += " message=" + ViewTreeDump::quoted(message_);
    }
    out += " buttons=[";
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        out += (i > 0 ? "," : "") + ViewTreeDump::quoted(buttons_[i]);
    }
    out += "]";
    if (tag() != 0) {
        out += " tag=" + std::to_string(tag());
    }
}

}  // namespace zorlet
