#pragma once

#include "ui/TabBar.h"
#include "ui/ViewController.h"

#include <vector>

namespace zorlet {

class TabBarController;

class TabBarControllerDelegate {
public:
    virtual ~TabBarControllerDelegate() = default;
    virtual bool shouldSelectViewController(TabBarController&, ViewController&) { return true; }
    // Told on every tap on a tab, also on the tab already selected.
    virtual void didSelectViewController(TabBarController&, ViewController&) {}
};

// Screens side by side behind a tab bar; the selected one is shown.
class TabBarController : public ViewController {
public:
    TabBarController();
    ~TabBarController() override;
    std::string className() const override { return "TabBarController"; }

    const std::vector<ViewControllerPtr>& viewControllers() const { return controllers_; }
    void setViewControllers(std::vector<ViewControllerPtr> controllers, bool animated = false);
    int selectedIndex() const { return selected_; }
    // Selection made by code: the delegate is not told.
    void setSelectedIndex(int index);
    ViewController* selectedViewController() const;

    // A tap on tab `index`: asks the delegate, selects, tells the delegate.
    void userSelectTab(int index);

    TabBar& tabBar() { return *tabBar_; }
    TabBarControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(TabBarControllerDelegate* delegate) { delegate_ = delegate; }

    void loadView() override;
    std::vector<ViewController*> childViewControllers() const override;
    std::vector<ViewController*> visibleChildViewControllers() const override;

    // Sizes the selected screen and hides the bar while a pushed screen asks for it.
    void layoutContent();

private:
    bool bottomBarHidden() const;
    void syncTabBar();

    std::vector<ViewControllerPtr> controllers_;
    int selected_ = 0;
    std::shared_ptr<TabBar> tabBar_;
    TabBarControllerDelegate* delegate_ = nullptr;
};

}  // namespace zorlet
