#pragma once

#include "ui/NavigationBar.h"
#include "ui/ViewController.h"

#include <vector>

namespace zorlet {

class NavigationController;

class NavigationControllerDelegate {
public:
    virtual ~NavigationControllerDelegate() = default;
    virtual void willShowViewController(NavigationController&, ViewController&, bool animated) {}
};

// A stack of screens under a navigation bar; the top one is shown.
class NavigationController : public ViewController {
public:
    explicit NavigationController(ViewControllerPtr root = nullptr);
    ~NavigationController() override;
    std::string className() const override { return "NavigationController"; }

    const std::vector<ViewControllerPtr>& viewControllers() const { return stack_; }
    ViewController* topViewController() const { return stack_.empty() ? nullptr : stack_.back().get(); }
    // The top screen, or what it presented.
    ViewController* visibleViewController() const;

    virtual void pushViewController(ViewControllerPtr controller, bool animated);
    // Returns the removed screen (nothing when only the root is left).
    virtual ViewControllerPtr popViewController(bool animated);
    virtual std::vector<ViewControllerPtr> popToRootViewController(bool animated);
    virtual std::vector<ViewControllerPtr> popToViewController(const ViewController* controller,
                                                               bool animated);
    void setViewControllers(std::vector<ViewControllerPtr> controllers, bool animated);

    NavigationBar& navigationBar();
    void setNavigationBarHidden(bool hidden, bool animated = false);
    // Rebuilds the bar from the top screen's navigation item (after the item changed).
    void refreshNavigationBar();

    NavigationControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(NavigationControllerDelegate* delegate) { delegate_ = delegate; }

    void loadView() override;
    std::vector<ViewController*> childViewControllers() const override;
    std::vector<ViewController*> visibleChildViewControllers() const override;

    // Places the top screen's view under the bar (after a frame change).
    void layoutContent();

private:
    void transition(ViewController* from, ViewController* to, bool animated,
                    const std::vector<ViewControllerPtr>& removed);

    std::vector<ViewControllerPtr> stack_;
    std::shared_ptr<NavigationBar> bar_;
    bool barHidden_ = false;
    NavigationControllerDelegate* delegate_ = nullptr;
};

}  // namespace zorlet
