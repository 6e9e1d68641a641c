#pragma once

#include "ui/ImageView.h"
#include "ui/TextView.h"
#include "widgets/CustomTextViewDelegate.h"

#include <memory>
#include <string>

namespace zorlet {

// A text view with a placeholder and a background picture. The placeholder is
// displayed as the view's own text (in grey) while the view is empty and not
// focused; `text()` never answers it. The background picture sits in the
// superview just below this view, 2 points taller, so the box outlines the text.
class CustomTextView : public TextView {
public:
    static constexpr double kBackgroundExtraHeight = 2;
    // The bottom inset the view keeps under the last line while scrolling through its text.
    static constexpr double kScrollBottomInset = 8;

    CustomTextView();
    explicit CustomTextView(Rect frame);
    ~CustomTextView() override;
    const char* typeName() const override { return "CustomTextView"; }

    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder);
    bool isShowingPlaceholder() const { return placeholderShown_; }

    // Hides the view's own background picture: this one is drawn behind the view.
    const ImageAssetPtr& backgroundImage() const { return backgroundImage_; }
    void setBackgroundImage(ImageAssetPtr image);
    // The picture view behind this one, while there is a picture and a superview.
    const std::shared_ptr<ImageView>& backgroundImageView() const { return backgroundImageView_; }

    // The text typed or set: empty while the placeholder is displayed.
    std::string text() const override;
    void setText(std::string text) override;
    // Installs the screen as the view's delegate.
    virtual void setCustomDelegate(CustomTextViewDelegate* delegate) { setTextViewDelegate(delegate); }

    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void insertText(const std::string& text) override;
    void deleteBackward() override;

    void setFrame(const Rect& frame) override;
    void setContentSize(const Size& size) override;
    void setContentOffset(Point offset, bool animated = false) override;
    void setContentInset(const EdgeInsets& insets) override;

    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

protected:
    void didMoveToSuperview() override;
    void didMoveToWindow() override;

private:
    void showPlaceholderIfIdle();
    void hidePlaceholder();
    void updateBackgroundImageView();

    std::string placeholder_;
    bool placeholderShown_ = false;
    ImageAssetPtr backgroundImage_;
    std::shared_ptr<ImageView> backgroundImageView_;
};

}  // namespace zorlet
