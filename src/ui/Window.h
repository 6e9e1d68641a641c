#pragma once

#include "ui/StatusBar.h"
#include "ui/View.h"
#include "ui/ViewController.h"

namespace zorlet {

// The root of a view tree on screen. Shows its root view controller's view
// under the status bar; presented screens, HUDs and popovers are added above.
class Window : public View {
public:
    explicit Window(Rect frame = Rect(0, 0, ViewController::kScreenWidth, ViewController::kScreenHeight));
    ~Window() override;
    const char* typeName() const override { return "Window"; }

    ViewController* rootViewController() const { return root_.get(); }
    // Replacing the root while the window is visible runs the life-cycle
    // calls: the old screens (and what they presented) disappear, the new appear.
    void setRootViewController(ViewControllerPtr controller);

    void makeKeyAndVisible();
    bool isKeyWindow() const;
    bool isVisible() const { return visible_; }

    // The controller whose screen is on top: the root or the last presented one.
    ViewController* topViewController() const;
    // Where a controller's view goes: the screen under the status bar, or all
    // of it while the bar is hidden.
    Rect contentFrame() const;
    // Drawn over the tree; transparent while the application hides it.
    const StatusBar& statusBar() const { return *statusBar_; }
    // The application showed or hid the bar: the screens move to the new content frame.
    void statusBarDidChange(bool animated);

    void describe(std::string& out) const override;

private:
    ViewControllerPtr root_;
    std::shared_ptr<StatusBar> statusBar_;
    bool visible_ = false;
};

}  // namespace zorlet
