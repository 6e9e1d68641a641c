#pragma once

#include "platform/TextLayout.h"
#include "ui/ScrollView.h"
#include "ui/TextField.h"
#include "ui/TextInput.h"

#include <string>

namespace zorlet {

class TextView;

// Editing questions and events of a text view, all optional.
class TextViewDelegate {
public:
    virtual ~TextViewDelegate() = default;
    virtual bool textViewShouldBeginEditing(TextView&) { return true; }
    virtual void textViewDidBeginEditing(TextView&) {}
    virtual bool textViewShouldEndEditing(TextView&) { return true; }
    virtual void textViewDidEndEditing(TextView&) {}
    // `range` is in UTF-8 bytes of the current text; "\n" is the return key.
    virtual bool textViewShouldChangeText(TextView&, TextRange range, const std::string& replacement) {
        return true;
    }
    virtual void textViewDidChange(TextView&) {}
};

// A multi-line, scrolling text input. Its content size follows its text.
class TextView : public ScrollView, public TextInput {
public:
    static constexpr const char* kTextDidChangeNotification = "TextViewTextDidChangeNotification";
    // The space around the text inside the view, as the phone framework leaves it.
    static constexpr double kTextPadding = 8;

    TextView();
    explicit TextView(Rect frame);
    ~TextView() override;
    const char* typeName() const override { return "TextView"; }

    // The text shown.
    virtual std::string text() const { return text_; }
    virtual void setText(std::string text);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    const Color& textColor() const { return textColor_; }
    void setTextColor(const Color& color) { textColor_ = color; }
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment) { alignment_ = alignment; }
    ReturnKeyType returnKeyType() const { return returnKeyType_; }
    void setReturnKeyType(ReturnKeyType type) { returnKeyType_ = type; }

    void setTextViewDelegate(TextViewDelegate* delegate) { textDelegate_ = delegate; }

    // The height the text needs at the view's width, padding included.
    double textContentHeight() const;

    // TextInput
    View& inputView() override { return *this; }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void insertText(const std::string& text) override;
    void deleteBackward() override;
    void pressReturn() override { insertText("\n"); }

    void setFrame(const Rect& frame) override;
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

protected:
    // The shown text itself, without any subclass's reading of it.
    const std::string& displayedText() const { return text_; }
    bool handleTap(Point point) override;
    void didMoveToWindow() override;
    void updateContentSize();

private:
    void replace(TextRange range, const std::string& replacement);

    std::string text_;
    Font font_ = Font::systemFont(12);
    Color textColor_ = Color::blackColor();
    TextAlignment alignment_ = TextAlignment::Left;
    ReturnKeyType returnKeyType_ = ReturnKeyType::Default;
    TextRange selectedRange_;
    TextViewDelegate* textDelegate_ = nullptr;
};

}  // namespace zorlet
