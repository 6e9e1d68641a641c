#pragma once

#include "ui/Button.h"
#include "ui/TextField.h"

#include <memory>
#include <string>

namespace zorlet {

class SearchBar;

// What a search bar asks and tells its owner, all optional.
class SearchBarDelegate {
public:
    virtual ~SearchBarDelegate() = default;
    virtual bool searchBarShouldBeginEditing(SearchBar&) { return true; }
    virtual void searchBarTextDidBeginEditing(SearchBar&) {}
    virtual void searchBarTextDidEndEditing(SearchBar&) {}
    // `range` is in UTF-8 bytes of the current text; `replacement` replaces it.
    virtual bool searchBarShouldChangeText(SearchBar&, TextRange range, const std::string& replacement) {
        return true;
    }
    // Typing, deleting and the clear button; setting `text` is not an edit.
    virtual void textDidChange(SearchBar&, const std::string& searchText) {}
    // The keyboard's search (return) key.
    virtual void searchBarSearchButtonClicked(SearchBar&) {}
    virtual void searchBarCancelButtonClicked(SearchBar&) {}
};

// A search field with an optional cancel button, 44 points high. The field
// (automation id "searchField") takes the focus when tapped and typing goes
// into it; the cancel button (id "searchCancelButton", title "取消") shows
// only when asked. The bar leaves editing and its text to the delegate.
class SearchBar : public View, private TextFieldDelegate {
public:
    static constexpr double kHeight = 44;
    static constexpr const char* kCancelTitle = "取消";
    static constexpr double kCancelAnimationDuration = 0.25;

    SearchBar();
    explicit SearchBar(Rect frame);
    const char* typeName() const override { return "SearchBar"; }

    const std::string& text() const { return field_->text(); }
    void setText(std::string text) { field_->setText(std::move(text)); }
    const std::string& placeholder() const { return field_->placeholder(); }
    void setPlaceholder(std::string placeholder) { field_->setPlaceholder(std::move(placeholder)); }
    bool showsCancelButton() const { return showsCancelButton_; }
    void setShowsCancelButton(bool shows, bool animated = false);

    SearchBarDelegate* delegate() const { return delegate_; }
    void setDelegate(SearchBarDelegate* delegate) { delegate_ = delegate; }

    TextField& searchField() const { return *field_; }
    Button& cancelButton() const { return *cancelButton_; }

    bool becomeFirstResponder() { return field_->becomeFirstResponder(); }
    bool resignFirstResponder() { return field_->resignFirstResponder(); }
    bool isFirstResponder() const { return field_->isFirstResponder(); }

    void layoutSubviews() override;
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    void build();
    Rect fieldFrame() const;
    Rect cancelFrame() const;

    // TextFieldDelegate of the inner field, passed on to the bar's delegate.
    bool textFieldShouldBeginEditing(TextField&) override;
    void textFieldDidBeginEditing(TextField&) override;
    void textFieldDidEndEditing(TextField&) override;
    bool textFieldShouldChangeCharacters(TextField&, TextRange range,
                                         const std::string& replacement) override;
    bool textFieldShouldReturn(TextField&) override;

    std::shared_ptr<TextField> field_;
    std::shared_ptr<Button> cancelButton_;
    bool showsCancelButton_ = false;
    SearchBarDelegate* delegate_ = nullptr;
};

}  // namespace zorlet
