#pragma once

#include "ui/AlertView.h"
#include "ui/BarButtonItem.h"
#include "ui/NavigationController.h"

namespace zorlet {

// The navigation controller every screen of the app is pushed on: pushed
// screens get a shared back item and a home item (back to the root), and an
// editor with unsaved changes (`popAlert`) is left only after the user agrees.
class CustomNavigationController : public NavigationController, public AlertViewDelegate {
public:
    explicit CustomNavigationController(ViewControllerPtr root = nullptr);
    std::string className() const override { return "CustomNavigationController"; }

    void pushViewController(ViewControllerPtr controller, bool animated) override;
    using NavigationController::popViewController;
    // The back action: asks first while `popAlert` is set; leaving the only
    // screen of a modally presented stack closes the stack.
    void popViewController();

    // Made on first use, then shared by every screen pushed here.
    const BarButtonItemPtr& backButton();
    const BarButtonItemPtr& homeButton();

    bool popAlert() const { return popAlert_; }
    void setPopAlert(bool popAlert) { popAlert_ = popAlert; }

    void alertViewClickedButton(AlertView& alertView, int index) override;

    static constexpr const char* kPopAlertMessage = "有修改未保存，要放弃么？";

private:
    bool popAlert_ = false;
    BarButtonItemPtr backButton_;
    BarButtonItemPtr homeButton_;
};

}  // namespace zorlet
