#pragma once

#include "platform/TextLayout.h"
#include "ui/View.h"

#include <string>

namespace zorlet {

// Read-only text. Sizes go through TextLayout.
class Label : public View {
public:
    Label();
    explicit Label(Rect frame);
    const char* typeName() const override { return "Label"; }

    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    const Font& font() const { return font_; }
    void setFont(const Font& font) { font_ = font; }
    const Color& textColor() const { return textColor_; }
    void setTextColor(const Color& color) { textColor_ = color; }
    void setHighlightedTextColor(const Color& color) { highlightedTextColor_ = color; }
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted) { highlighted_ = highlighted; }
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment) { alignment_ = alignment; }
    void setLineBreakMode(LineBreakMode mode) { lineBreakMode_ = mode; }
    // 0 means as many lines as the frame holds.
    int numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(int lines) { numberOfLines_ = lines; }

    // The size the text needs within `limit` (a zero dimension is unbounded).
    Size sizeThatFits(Size limit) const override;
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    std::string text_;
    Font font_ = Font::systemFont(17);
    Color textColor_ = Color::blackColor();
    Color highlightedTextColor_ = Color::whiteColor();
    bool highlighted_ = false;
    TextAlignment alignment_ = TextAlignment::Left;
    LineBreakMode lineBreakMode_ = LineBreakMode::TailTruncation;
    int numberOfLines_ = 1;
};

}  // namespace zorlet
