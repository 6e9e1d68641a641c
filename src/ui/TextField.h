#pragma once

#include "platform/TextLayout.h"
#include "ui/Control.h"
#include "ui/TextInput.h"

#include <string>

namespace zorlet {

class TextField;

// Editing questions and events of a text field, all optional.
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual bool textFieldShouldBeginEditing(TextField&) { return true; }
    virtual void textFieldDidBeginEditing(TextField&) {}
    virtual bool textFieldShouldEndEditing(TextField&) { return true; }
    virtual void textFieldDidEndEditing(TextField&) {}
    // `range` is in UTF-8 bytes of the current text; `replacement` replaces it.
    virtual bool textFieldShouldChangeCharacters(TextField&, TextRange range,
                                                 const std::string& replacement) {
        return true;
    }
    virtual bool textFieldShouldClear(TextField&) { return true; }
    virtual bool textFieldShouldReturn(TextField&) { return true; }
};

// When a text field shows its clear button or its left view.
enum class TextFieldViewMode { Never, WhileEditing, UnlessEditing, Always };

enum class KeyboardType { Default, EmailAddress, NumberPad, PhonePad, Url, NumbersAndPunctuation };
enum class ReturnKeyType { Default, Go, Next, Done, Send, Search, Join };

// A one-line text input.
class TextField : public Control, public TextInput {
public:
    static constexpr const char* kTextDidChangeNotification = "TextFieldTextDidChangeNotification";
    enum class BorderStyle { None, Line, Bezel, RoundedRect };
    // Between the text and an edge without a left view or clear button.
    static constexpr double kTextInset = 6;

    TextField();
    explicit TextField(Rect frame);
    ~TextField() override;
    const char* typeName() const override { return "TextField"; }

    const std::string& text() const { return text_; }
    // Setting the text is not an edit: no delegate question, no change events.
    void setText(std::string text);
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder) { placeholder_ = std::move(placeholder); }
    const Font& font() const { return font_; }
    void setFont(const Font& font) { font_ = font; }
    const Color& textColor() const { return textColor_; }
    void setTextColor(const Color& color) { textColor_ = color; }
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment) { alignment_ = alignment; }
    BorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(BorderStyle style) { borderStyle_ = style; }
    bool isSecureTextEntry() const { return secure_; }
    void setSecureTextEntry(bool secure) { secure_ = secure; }
    KeyboardType keyboardType() const { return keyboardType_; }
    void setKeyboardType(KeyboardType type) { keyboardType_ = type; }
    ReturnKeyType returnKeyType() const { return returnKeyType_; }
    void setReturnKeyType(ReturnKeyType type) { returnKeyType_ = type; }
    // The clear button (automation id "clearButton") shows only over some text.
    TextFieldViewMode clearButtonMode() const { return clearButtonMode_; }
    void setClearButtonMode(TextFieldViewMode mode);
    // A view at the left edge (a padding, an icon); the text starts after it while it shows.
    void setLeftView(ViewPtr view);
    void setLeftViewMode(TextFieldViewMode mode);
    bool isClearButtonShown() const;
    bool isLeftViewShown() const;
    // In the field's bounds: where the text goes, between the left view and the clear button.
    Rect textRect() const;
    Rect leftViewRect() const;
    Rect clearButtonRect() const;

    TextFieldDelegate* delegate() const { return delegate_; }
    void setDelegate(TextFieldDelegate* delegate) { delegate_ = delegate; }

    bool isEditing() const { return isFirstResponder(); }

    // TextInput
    View& inputView() override { return *this; }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void insertText(const std::string& text) override;
    void deleteBackward() override;
    void pressReturn() override;
    // The clear button.
    void clear();

    void layoutSubviews() override;
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

protected:
    void tapped(Point point) override;
    void didMoveToWindow() override;

private:
    void replace(TextRange range, const std::string& replacement);
    static bool shows(TextFieldViewMode mode, bool editing);
    // The clear button and the left view follow the text and the focus.
    void updateAccessories();

    std::string text_;
    std::string placeholder_;
    Font font_ = Font::systemFont(17);
    Color textColor_ = Color::blackColor();
    TextAlignment alignment_ = TextAlignment::Left;
    BorderStyle borderStyle_ = BorderStyle::None;
    bool secure_ = false;
    KeyboardType keyboardType_ = KeyboardType::Default;
    ReturnKeyType returnKeyType_ = ReturnKeyType::Default;
    TextFieldViewMode clearButtonMode_ = TextFieldViewMode::Never;
    ViewPtr clearButton_;
    ViewPtr leftView_;
    TextFieldViewMode leftViewMode_ = TextFieldViewMode::Never;
    TextFieldDelegate* delegate_ = nullptr;
};

}  // namespace zorlet
