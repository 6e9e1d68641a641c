#pragma once

#include "ui/TextField.h"
#include "ui/View.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zorlet {

class AlertView;

// Told when the user answers an alert; `index` is the button's index.
class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate();
    virtual void alertViewClickedButton(AlertView&, int index) {}
    virtual void alertViewWillDismiss(AlertView&, int index) {}
    virtual void alertViewDidDismiss(AlertView&, int index) {}
};

// A modal message with buttons. The cancel button (if any) is index 0 and the
// other buttons follow in order. A shown alert keeps itself alive in the
// AlertRegistry until it is dismissed.
class AlertView : public View {
public:
    enum class Style { Default, PlainTextInput, SecureTextInput };

    AlertView(std::string title, std::string message, AlertViewDelegate* delegate,
              std::string cancelButtonTitle, std::vector<std::string> otherButtonTitles = {});
    static std::shared_ptr<AlertView> create(std::string title, std::string message,
                                             AlertViewDelegate* delegate, std::string cancelButtonTitle,
                                             std::vector<std::string> otherButtonTitles = {});
    ~AlertView() override;
    const char* typeName() const override { return "AlertView"; }

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    const std::string& message() const { return message_; }
    AlertViewDelegate* delegate() const { return delegate_; }
    void setDelegate(AlertViewDelegate* delegate) { delegate_ = delegate; }
    // Called after the delegate with the clicked index; for callers that prefer a closure.
    void setOnDismiss(std::function<void(int)> onDismiss) { onDismiss_ = std::move(onDismiss); }

    int addButtonWithTitle(std::string title);
    const std::vector<std::string>& buttonTitles() const { return buttons_; }
    std::string buttonTitle(int index) const;
    int numberOfButtons() const { return static_cast<int>(buttons_.size()); }
    int cancelButtonIndex() const { return cancelIndex_; }
    void setCancelButtonIndex(int index) { cancelIndex_ = index; }
    int firstOtherButtonIndex() const;

    void setAlertViewStyle(Style style);
    // The input of a text-input alert (index 0), or null.
    TextField* textFieldAtIndex(int index) const;

    bool isVisible() const { return visible_; }
    void show();
    // The user's tap on button `index`: clicked, will-dismiss, gone, did-dismiss.
    void clickButton(int index);
    // Closes without the clicked call, as code does it.
    void dismissWithClickedButtonIndex(int index, bool animated);

    void layoutForScreen(Size screen);
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    friend class AlertRegistry;
    std::string title_;
    std::string message_;
    AlertViewDelegate* delegate_;
    std::function<void(int)> onDismiss_;
    std::vector<std::string> buttons_;
    int cancelIndex_ = -1;
    std::shared_ptr<TextField> textField_;
    bool visible_ = false;
};

using AlertViewPtr = std::shared_ptr<AlertView>;

}  // namespace zorlet
