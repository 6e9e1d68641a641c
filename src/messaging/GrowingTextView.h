#pragma once

#include "widgets/CustomTextView.h"
#include "widgets/CustomTextViewDelegate.h"

#include <string>

namespace zorlet {

class GrowingTextView;

// Installed as the growing view's own text delegate: it resizes the view as
// the text changes and forwards every call to the screen's delegate.
class GrowingTextViewDelegate : public TextViewDelegate {
public:
    explicit GrowingTextViewDelegate(GrowingTextView& owner) : owner_(owner) {}

    bool textViewShouldBeginEditing(TextView& view) override;
    void textViewDidBeginEditing(TextView& view) override;
    bool textViewShouldEndEditing(TextView& view) override;
    void textViewDidEndEditing(TextView& view) override;
    bool textViewShouldChangeText(TextView& view, TextRange range, const std::string& replacement) override;
    void textViewDidChange(TextView& view) override;

    // The screen; not owned.
    CustomTextViewDelegate* customDelegate = nullptr;

private:
    GrowingTextView& owner_;
};

// A text input that grows with its text between a minimum and a maximum
// number of lines, then scrolls. Set the font and frame, then the line counts
// (which measure the heights in that font and width); the delegate hears
// `textViewWillChangeHeight` before and `textViewDidChangeHeight` after each
// change of height, with the difference, so a screen can move what surrounds
// the input. Reusable wherever a message is typed.
class GrowingTextView : public CustomTextView {
public:
    GrowingTextView();
    explicit GrowingTextView(Rect frame);
    const char* typeName() const override { return "GrowingTextView"; }

    int minNumberOfLines() const { return minNumberOfLines_; }
    int maxNumberOfLines() const { return maxNumberOfLines_; }
    void setMinNumberOfLines(int lines);
    void setMaxNumberOfLines(int lines);
    double getMinHeight() const { return minHeight_; }
    double getMaxHeight() const { return maxHeight_; }

    void setCustomDelegate(CustomTextViewDelegate* delegate) override;
    CustomTextViewDelegate* customDelegate() const { return growingDelegate_.customDelegate; }

    // Sets the text, then resizes as if the user had typed it.
    void setText(std::string text) override;
    // Back to the minimum height when empty; otherwise the frame stays.
    void sizeToFit();
    // Tells the delegate the coming difference, then takes the new height.
    void resizeTextView(int height);

    // The growth rule, run on every change of text.
    void textDidChange();

private:
    // The content height of `lines` lines in the current font and width.
    double measureLines(int lines);

    GrowingTextViewDelegate growingDelegate_;
    int minNumberOfLines_ = 0;
    int maxNumberOfLines_ = 0;
    double minHeight_ = 0;
    double maxHeight_ = 0;
};

}  // namespace zorlet
