#pragma once

#include "ui/Button.h"
#include "ui/View.h"
#include "widgets/CustomSegmentedControlDelegate.h"

#include <memory>
#include <optional>
#include <vector>

namespace zorlet {

class ImageView;

// Segments made of the delegate's own buttons, side by side with a divider
// picture between neighbours. The touched button shows selected; the control
// selects nothing by itself, so the screen picks its first segment (and keeps
// the current one in the tag).
class CustomSegmentedControl : public View {
public:
    CustomSegmentedControl(std::size_t segmentCount, Size segmentSize, ImageAssetPtr dividerImage, int tag,
                           CustomSegmentedControlDelegate* delegate);
    static std::shared_ptr<CustomSegmentedControl> create(std::size_t segmentCount, Size segmentSize,
                                                          ImageAssetPtr dividerImage, int tag,
                                                          CustomSegmentedControlDelegate* delegate);
    ~CustomSegmentedControl() override;
    const char* typeName() const override { return "CustomSegmentedControl"; }

    const std::vector<std::shared_ptr<Button>>& buttons() const { return buttons_; }
    const std::vector<std::shared_ptr<ImageView>>& dividers() const { return dividers_; }
    CustomSegmentedControlDelegate* delegate() const { return delegate_; }
    void setDelegate(CustomSegmentedControlDelegate* delegate) { delegate_ = delegate; }

    // The position of `button` in `buttons()`, if it is one of them.
    std::optional<std::size_t> indexOfButton(const Control& button) const;

    // `button` shows selected, every other segment plain; none stays highlighted.
    void dimAllButtonsExcept(Control& button);
    void touchDownAction(Control& button);
    void touchUpInsideAction(Control& button);
    // A touch leaving or re-entering a segment keeps the look without telling anyone.
    void otherTouchesAction(Control& button);

    void describe(std::string& out) const override;

private:
    CustomSegmentedControlDelegate* delegate_;
    std::vector<std::shared_ptr<Button>> buttons_;
    std::vector<std::shared_ptr<ImageView>> dividers_;
    // The buttons' actions reach this control through it, so a button kept
    // beyond the control's life does nothing when touched.
    std::shared_ptr<CustomSegmentedControl*> self_;
};

}  // namespace zorlet
