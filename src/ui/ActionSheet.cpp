#include "ui/ActionSheet.h"

#include "ui/AlertRegistry.h"
#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

#include <algorithm>

namespace zorlet {

namespace {
constexpr double kButtonHeight = 44;
constexpr double kGap = 8;
constexpr double kPadding = 20;
const Font kTitleFont = Font::systemFont(13);
const Font kButtonFont = Font::boldSystemFont(19);
}  // namespace

ActionSheetDelegate::~ActionSheetDelegate() {
    AlertRegistry::shared().forgetDelegate(this);
}

ActionSheet::ActionSheet(std::string title, ActionSheetDelegate* delegate, std::string cancelButtonTitle,
                         std::string destructiveButtonTitle, std::vector<std::string> otherButtonTitles)
    : title_(std::move(title)), delegate_(delegate) {
    if (!destructiveButtonTitle.empty()) {
        destructiveIndex_ = addButtonWithTitle(std::move(destructiveButtonTitle));
    }
    for (auto& other : otherButtonTitles) {
        addButtonWithTitle(std::move(other));
    }
    if (!cancelButtonTitle.empty()) {
        cancelIndex_ = addButtonWithTitle(std::move(cancelButtonTitle));
    }
}

std::shared_ptr<ActionSheet> ActionSheet::create(std::string title, ActionSheetDelegate* delegate,
                                                 std::string cancelButtonTitle,
                                                 std::string destructiveButtonTitle,
                                                 std::vector<std::string> otherButtonTitles) {
    return std::make_shared<ActionSheet>(std::move(title), delegate, std::move(cancelButtonTitle),
                                         std::move(destructiveButtonTitle), std::move(otherButtonTitles));
}

ActionSheet::~ActionSheet() = default;

int ActionSheet::addButtonWithTitle(std::string title) {
    buttons_.push_back(std::move(title));
    return static_cast<int>(buttons_.size()) - 1;
}

std::string ActionSheet::buttonTitle(int index) const {
    if (index < 0 || index >= numberOfButtons()) {
        return {};
    }
    return buttons_[static_cast<std::size_t>(index)];
}

int ActionSheet::firstOtherButtonIndex() const {
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i != cancelIndex_ && i != destructiveIndex_) {
            return i;
        }
    }
    return -1;
}

void ActionSheet::showInView(View* view) {
    if (visible_) {
        return;
    }
    visible_ = true;
    shownIn_ = view;
    AlertRegistry::shared().add(std::static_pointer_cast<ActionSheet>(shared_from_this()));
}

void ActionSheet::clickButton(int index) {
    if (!visible_ || index < 0 || index >= numberOfButtons()) {
        return;
    }
    auto keepAlive = shared_from_this();
    if (delegate_ != nullptr) {
        delegate_->actionSheetClickedButton(*this, index);
    }
    dismissWithClickedButtonIndex(index, true);
}

void ActionSheet::dismissWithClickedButtonIndex(int index, bool animated) {
    if (!visible_) {
        return;
    }
    auto keepAlive = weak_from_this().lock();
    visible_ = false;
    AlertRegistry::shared().remove(this);
    shownIn_ = nullptr;
    if (delegate_ != nullptr) {
        delegate_->actionSheetDidDismiss(*this, index);
    }
    if (onDismiss_) {
        auto onDismiss = onDismiss_;
        onDismiss(index);
    }
}

void ActionSheet::layoutForScreen(Size screen) {
    double height = 0;
    if (!subviews().empty()) {
        // Custom content: as tall as its lowest subview.
        for (const auto& child : subviews()) {
            height = std::max(height, child->frame().maxY());
        }
    } else {
        height = kGap;
        if (!title_.empty()) {
            height +=
                TextLayout::shared().measure(title_, kTitleFont, screen.width - 2 * kPadding).height + kGap;
        }
        height += numberOfButtons() * (kButtonHeight + kGap) + kGap;
        if (cancelIndex_ >= 0) {
            height += kGap;
        }
    }
    setFrame(Rect(0, screen.height - height, screen.width, height));
}

void ActionSheet::draw(Painter& painter) const {
    Rect box(0, 0, frame().width(), frame().height());
    painter.fillRect(box, Color::rgb(40, 40, 48, 0.92));
    if (!subviews().empty()) {
        return;
    }
    double y = kGap;
    double width = box.width() - 2 * kPadding;
    if (!title_.empty()) {
        double h = TextLayout::shared().measure(title_, kTitleFont, width).height;
        painter.drawText(Rect(kPadding, y, width, h), title_, kTitleFont, Color::white(0.85),
                         TextAlignment::Center, LineBreakMode::WordWrap, 0);
        y += h + kGap;
    }
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i == cancelIndex_) {
            y += kGap;
        }
        Rect button(kPadding, y, width, kButtonHeight);
        Color fill = i == destructiveIndex_ ? Color::rgb(200, 30, 30)
                                            : (i == cancelIndex_ ? Color::white(0.25) : Color::white(0.92));
        painter.fillRoundedRect(button, 8, fill);
        painter.drawText(
            button, buttons_[static_cast<std::size_t>(i)], kButtonFont,
            i == destructiveIndex_ || i == cancelIndex_ ? Color::whiteColor() : Color::blackColor(),
            TextAlignment::Center);
        y += kButtonHeight + kGap;
    }
}

void ActionSheet::describe(std::string& out) const {
    out += " title=" + ViewTreeDump::quoted(title_) + " buttons=[";
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        out += (i > 0 ? "," : "") + ViewTreeDump::quoted(buttons_[i]);
    }
    out += "]";
    if (cancelIndex_ >= 0) {
        out += " cancel=" + std::to_string(cancelIndex_);
    }
    if (destructiveIndex_ >= 0) {
        out += " destructive=" + std::to_string(destructiveIndex_);
    }
    if (tag() != 0) {
        out += " tag=" + std::to_string(tag());
    }
}

}  // namespace zorlet
