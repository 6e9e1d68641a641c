#pragma once

#include "ui/NavigationItem.h"
#include "ui/TabBarItem.h"
#include "ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace zorlet {

class NavigationController;
class TabBarController;
class ViewController;

using ViewControllerPtr = std::shared_ptr<ViewController>;

// A screen: owns its view (loaded on first use) and gets the life-cycle calls
// as it comes and goes. Containers (navigation, tab bar) own their children;
// a presented (modal) controller is owned by the one that presented it.
class ViewController : public std::enable_shared_from_this<ViewController> {
public:
    // The content area under the status bar of a 320 × 480 screen.
    static constexpr double kScreenWidth = 320;
    static constexpr double kScreenHeight = 480;
    static constexpr double kStatusBarHeight = 20;

    ViewController();
    virtual ~ViewController();
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // The name logs and page-view reports use.
    virtual std::string className() const { return "ViewController"; }

    View& view();
    const ViewPtr& viewPtr();
    bool isViewLoaded() const { return view_ != nullptr; }
    void setView(ViewPtr view) { view_ = std::move(view); }

    // Life cycle; overrides call nothing of the base (the base does nothing).
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool animated) {}
    virtual void viewDidAppear(bool animated) {}
    virtual void viewWillDisappear(bool animated) {}
    virtual void viewDidDisappear(bool animated) {}
    virtual void didReceiveMemoryWarning() {}

    // Shown: between viewWillAppear and viewWillDisappear.
    bool isAppeared() const {
        return appearance_ == Appearance::Appearing || appearance_ == Appearance::Appeared;
    }

    const std::string& title() const { return title_; }
    // Also the navigation item's and tab bar item's title, as the phone framework does.
    void setTitle(std::string title);
    NavigationItem& navigationItem() { return navigationItem_; }
    TabBarItem& tabBarItem() { return tabBarItem_; }
    bool hidesBottomBarWhenPushed() const { return hidesBottomBarWhenPushed_; }
    void setHidesBottomBarWhenPushed(bool hides) { hidesBottomBarWhenPushed_ = hides; }

    ViewController* parentViewController() const { return parent_; }
    NavigationController* navigationController() const;
    TabBarController* tabBarController() const;

    // Modal presentation: the presented controller covers the screen until dismissed.
    void presentModalViewController(ViewControllerPtr controller, bool animated);
    // Called on the presenter, closes what it presented; called on the presented one, closes itself.
    void dismissModalViewController(bool animated);
    ViewController* modalViewController() const;
    ViewController* presentingViewController() const { return presenting_; }
    bool lastModalTransitionAnimated() const { return lastModalAnimated_; }

    // Containers list their children; the ones on screen get the life-cycle calls with them.
    virtual std::vector<ViewController*> childViewControllers() const { return {}; }
    virtual std::vector<ViewController*> visibleChildViewControllers() const { return {}; }

    // Used by containers and the window to run the life-cycle calls.
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition();
    // Tells this controller, its children and what it presented of a memory warning.
    void deliverMemoryWarning();

protected:
    void setParent(ViewController* parent) { parent_ = parent; }
    // Keeps a controller alive until the loop runs again, so one that removes
    // itself (a back button, a close button) can finish its own call first.
    static void releaseLater(ViewControllerPtr controller);

private:
    friend class NavigationController;
    friend class TabBarController;
    friend class Window;

    enum class Appearance { Disappeared, Appearing, Appeared, Disappearing };
    ViewController* outermost();

    ViewPtr view_;
    std::string title_;
    NavigationItem navigationItem_;
    TabBarItem tabBarItem_;
    bool hidesBottomBarWhenPushed_ = false;
    ViewController* parent_ = nullptr;
    ViewControllerPtr modal_;
    ViewController* presenting_ = nullptr;
    bool lastModalAnimated_ = false;
    Appearance appearance_ = Appearance::Disappeared;
    bool transitionAnimated_ = false;
};

}  // namespace zorlet
