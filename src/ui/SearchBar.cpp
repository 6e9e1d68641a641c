#include "ui/SearchBar.h"

#include "platform/WeakSelf.h"
#include "ui/Painter.h"

namespace zorlet {

namespace {

constexpr double kMargin = 6;
constexpr double kFieldHeight = 30;
constexpr double kCancelWidth = 52;
constexpr double kGlassWidth = 26;

// The magnifying glass at the start of the field.
class SearchGlassView : public View {
public:
    SearchGlassView() : View(Rect(0, 0, kGlassWidth, kFieldHeight)) { setUserInteractionEnabled(false); }
    const char* typeName() const override { return "SearchGlassView"; }
    void draw(Painter& painter) const override {
        Color grey = Color::white(0.55);
        painter.strokeRoundedRect(Rect(8, 8, 10, 10), 5, grey, 1.5);
        painter.drawLine({16.5, 16.5}, {21, 21}, grey, 2);
    }
};

}  // namespace

SearchBar::SearchBar() : View(Rect(0, 0, 320, kHeight)) {
    build();
}

SearchBar::SearchBar(Rect frame) : View(frame) {
    build();
}

void SearchBar::build() {
    setBackgroundColor(Color::rgb(189, 198, 208));
    field_ = std::make_shared<TextField>(fieldFrame());
    field_->setId("searchField");
    field_->setBorderStyle(TextField::BorderStyle::RoundedRect);
    field_->setFont(Font::systemFont(14));
    field_->setReturnKeyType(ReturnKeyType::Search);
    field_->setClearButtonMode(TextFieldViewMode::WhileEditing);
    field_->setLeftView(std::make_shared<SearchGlassView>());
    field_->setLeftViewMode(TextFieldViewMode::Always);
    field_->setDelegate(this);
    // The clear button edits as typing does, so both reach the delegate here.
    field_->addTarget(EditingChanged, [this](Control&) {
        if (delegate_ != nullptr) {
            delegate_->textDidChange(*this, field_->text());
        }
    });
    addSubview(field_);

    cancelButton_ = std::make_shared<Button>(Button::Type::RoundedRect);
    cancelButton_->setId("searchCancelButton");
    cancelButton_->setTitle(kCancelTitle);
    cancelButton_->setTitleColor(Color::rgb(66, 107, 242));
    cancelButton_->setTitleColor(Color::whiteColor(), Highlighted);
    cancelButton_->setTitleFont(Font::boldSystemFont(13));
    cancelButton_->setHidden(true);
    cancelButton_->addTarget(TouchUpInside, [this](Control&) {
        if (delegate_ != nullptr) {
            delegate_->searchBarCancelButtonClicked(*this);
        }
    });
    addSubview(cancelButton_);
    layoutSubviews();
}

Rect SearchBar::fieldFrame() const {
    double right = showsCancelButton_ ? kCancelWidth + 2 * kMargin : kMargin;
    return Rect(kMargin, (frame().height() - kFieldHeight) / 2,
                std::max(0.0, frame().width() - kMargin - right), kFieldHeight);
}

Rect SearchBar::cancelFrame() const {
    return Rect(frame().width() - kMargin - kCancelWidth, (frame().height() - kFieldHeight) / 2, kCancelWidth,
                kFieldHeight);
}

void SearchBar::layoutSubviews() {
    field_->setFrame(fieldFrame());
    cancelButton_->setFrame(cancelFrame());
}

void SearchBar::setShowsCancelButton(bool shows, bool animated) {
    if (shows == showsCancelButton_) {
        return;
    }
    showsCancelButton_ = shows;
    if (!animated) {
        cancelButton_->setHidden(!shows);
        cancelButton_->setAlpha(1);
        layoutSubviews();
        return;
    }
    if (shows) {
        cancelButton_->setAlpha(0);
        cancelButton_->setHidden(false);
    }
    auto weak = weakSelf(this);
    View::animate(
        kCancelAnimationDuration, AnimationCurve::EaseInOut,
        [this] {
            layoutSubviews();
            cancelButton_->setAlpha(showsCancelButton_ ? 1 : 0);
        },
        [weak](bool) {
            auto self = weak.lock();
            // Shown again meanwhile: the button stays.
            if (self && !self->showsCancelButton_) {
                self->cancelButton_->setHidden(true);
                self->cancelButton_->setAlpha(1);
            }
        });
}

bool SearchBar::textFieldShouldBeginEditing(TextField&) {
    return delegate_ == nullptr || delegate_->searchBarShouldBeginEditing(*this);
}

void SearchBar::textFieldDidBeginEditing(TextField&) {
    if (delegate_ != nullptr) {
        delegate_->searchBarTextDidBeginEditing(*this);
    }
}

void SearchBar::textFieldDidEndEditing(TextField&) {
    if (delegate_ != nullptr) {
        delegate_->searchBarTextDidEndEditing(*this);
    }
}

bool SearchBar::textFieldShouldChangeCharacters(TextField&, TextRange range, const std::string& replacement) {
    return delegate_ == nullptr || delegate_->searchBarShouldChangeText(*this, range, replacement);
}

bool SearchBar::textFieldShouldReturn(TextField&) {
    if (delegate_ != nullptr) {
        delegate_->searchBarSearchButtonClicked(*this);
    }
    // The search key leaves the focus where it is; the delegate decides.
    return false;
}

void SearchBar::draw(Painter& painter) const {
    painter.drawLine({0, frame().height() - 0.5}, {frame().width(), frame().height() - 0.5},
                     Color::white(0.6));
}

void SearchBar::describe(std::string& out) const {
    if (showsCancelButton_) {
        out += " cancel";
    }
}

}  // namespace zorlet
