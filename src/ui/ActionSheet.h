#pragma once

#include "ui/View.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zorlet {

class ActionSheet;

class ActionSheetDelegate {
public:
    virtual ~ActionSheetDelegate();
    virtual void actionSheetClickedButton(ActionSheet&, int index) {}
    virtual void actionSheetDidDismiss(ActionSheet&, int index) {}
};

// A sheet of choices sliding up over a view. Button order: the destructive
// button, the other buttons, then the cancel button. A sheet may also carry
// custom content (subviews); then its height follows `contentHeight`.
class ActionSheet : public View {
public:
    ActionSheet(std::string title, ActionSheetDelegate* delegate, std::string cancelButtonTitle,
                std::string destructiveButtonTitle, std::vector<std::string> otherButtonTitles = {});
    static std::shared_ptr<ActionSheet> create(std::string title, ActionSheetDelegate* delegate,
                                               std::string cancelButtonTitle,
                                               std::string destructiveButtonTitle,
                                               std::vector<std::string> otherButtonTitles = {});
    ~ActionSheet() override;
    const char* typeName() const override { return "ActionSheet"; }

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    ActionSheetDelegate* delegate() const { return delegate_; }
    void setDelegate(ActionSheetDelegate* delegate) { delegate_ = delegate; }
    void setOnDismiss(std::function<void(int)> onDismiss) { onDismiss_ = std::move(onDismiss); }

    int addButtonWithTitle(std::string title);
    const std::vector<std::string>& buttonTitles() const { return buttons_; }
    std::string buttonTitle(int index) const;
    int numberOfButtons() const { return static_cast<int>(buttons_.size()); }
    int cancelButtonIndex() const { return cancelIndex_; }
    void setCancelButtonIndex(int index) { cancelIndex_ = index; }
    int destructiveButtonIndex() const { return destructiveIndex_; }
    int firstOtherButtonIndex() const;

    bool isVisible() const { return visible_; }
    // The view it was shown in (not owned).
    View* shownInView() const { return shownIn_; }
    void showInView(View* view);
    void clickButton(int index);
    void dismissWithClickedButtonIndex(int index, bool animated);

    void layoutForScreen(Size screen);
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    friend class AlertRegistry;
    std::string title_;
    ActionSheetDelegate* delegate_;
    std::function<void(int)> onDismiss_;
    std::vector<std::string> buttons_;
    int cancelIndex_ = -1;
    int destructiveIndex_ = -1;
    bool visible_ = false;
    View* shownIn_ = nullptr;
};

using ActionSheetPtr = std::shared_ptr<ActionSheet>;

}  // namespace zorlet
