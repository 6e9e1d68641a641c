#include "UiTestSupport.h"

#include "ui/NavigationController.h"
#include "ui/TabBarController.h"
#include "ui/UserInput.h"
#include "ui/Window.h"

using namespace zorlet;
using zorlet::test::CallLog;
using Lines = std::vector<std::string>;

namespace {

class Screen : public ViewController {
public:
    Screen(std::string name, CallLog& log) : name_(std::move(name)), log_(log) { setTitle(name_); }
    std::string className() const override { return name_; }
    void viewDidLoad() override { log_.add(name_ + ".load"); }
    void viewWillAppear(bool animated) override { log_.add(name_ + ".willAppear" + (animated ? "+" : "")); }
    void viewDidAppear(bool animated) override { log_.add(name_ + ".didAppear" + (animated ? "+" : "")); }
    void viewWillDisappear(bool animated) override {
        log_.add(name_ + ".willDisappear" + (animated ? "+" : ""));
    }
    void viewDidDisappear(bool animated) override {
        log_.add(name_ + ".didDisappear" + (animated ? "+" : ""));
    }
    void didReceiveMemoryWarning() override { log_.add(name_ + ".memory"); }

private:
    std::string name_;
    CallLog& log_;
};

class NavigationDelegate : public NavigationControllerDelegate {
public:
    explicit NavigationDelegate(CallLog& log) : log_(log) {}
    void willShowViewController(NavigationController&, ViewController& shown, bool) override {
        log_.add("nav.willShow " + shown.className());
    }

private:
    CallLog& log_;
};

class LifeCycleTest : public zorlet::test::UiTest {
protected:
    std::shared_ptr<Screen> screen(const std::string& name) { return std::make_shared<Screen>(name, log); }

    CallLog log;
    std::shared_ptr<Window> window = std::make_shared<Window>();
};

TEST_F(LifeCycleTest, PushAndPopRunTheCallsInOrderAndReleaseThePoppedScreen) {
    auto root = screen("A");
    auto navigation = std::make_shared<NavigationController>(root);
    NavigationDelegate delegate(log);
    navigation->setDelegate(&delegate);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    EXPECT_EQ(log.take(), (Lines{"A.load", "A.willAppear", "A.didAppear"}));

    auto pushed = screen("B");
    std::weak_ptr<Screen> weakPushed = pushed;
    navigation->pushViewController(pushed, true);
    EXPECT_EQ(log.take(), (Lines{"B.load", "nav.willShow B", "A.willDisappear+", "B.willAppear+",
                                 "A.didDisappear+", "B.didAppear+"}));
    EXPECT_EQ(pushed->navigationController(), navigation.get());
    EXPECT_EQ(navigation->navigationBar().backButton()->currentTitle(), "A");
    EXPECT_TRUE(pushed->view().isVisibleInWindow());
    EXPECT_FALSE(root->view().isVisibleInWindow());
    pushed.reset();

    // The back button pops; the popped screen lives until the loop runs again.
    ASSERT_TRUE(UserInput::tapBackButton(*navigation));
    EXPECT_EQ(log.take(), (Lines{"nav.willShow A", "B.willDisappear+", "A.willAppear+", "B.didDisappear+",
                                 "A.didAppear+"}));
    EXPECT_FALSE(weakPushed.expired());
    MainLoop::main().runPending();
    EXPECT_TRUE(weakPushed.expired());
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
    EXPECT_EQ(navigation->popViewController(true), nullptr);  // the root stays
}

TEST_F(LifeCycleTest, PopToRootOnlyTellsTheTopAndTheRoot) {
    auto navigation = std::make_shared<NavigationController>(screen("A"));
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    navigation->pushViewController(screen("B"), false);
    navigation->pushViewController(screen("C"), false);
    log.take();
    auto removed = navigation->popToRootViewController(false);
    ASSERT_EQ(removed.size(), 2u);
    EXPECT_EQ(log.take(), (Lines{"C.willDisappear", "A.willAppear", "C.didDisappear", "A.didAppear"}));
    EXPECT_EQ(removed[0]->parentViewController(), nullptr);
}

TEST_F(LifeCycleTest, ModalPresentAndDismissCoverAndUncoverTheScreen) {
    auto root = screen("A");
    auto navigation = std::make_shared<NavigationController>(root);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    log.take();

    auto modal = screen("M");
    root->presentModalViewController(modal, true);
    EXPECT_EQ(log.take(),
              (Lines{"M.load", "A.willDisappear+", "M.willAppear+", "A.didDisappear+", "M.didAppear+"}));
    EXPECT_EQ(root->modalViewController(), modal.get());
    EXPECT_EQ(modal->presentingViewController(), navigation.get());
    EXPECT_EQ(window->topViewController(), modal.get());
    EXPECT_TRUE(modal->view().isVisibleInWindow());
    EXPECT_TRUE(modal->lastModalTransitionAnimated());

    // The presented screen closes itself.
    modal->dismissModalViewController(false);
    EXPECT_EQ(log.take(), (Lines{"M.willDisappear", "A.willAppear", "M.didDisappear", "A.didAppear"}));
    EXPECT_EQ(root->modalViewController(), nullptr);
    EXPECT_FALSE(modal->view().isVisibleInWindow());
    EXPECT_FALSE(navigation->lastModalTransitionAnimated());
}

TEST_F(LifeCycleTest, ReplacingTheRootSwapsTheScreensAndClosesWhatTheOldOnePresented) {
    auto first = screen("A");
    window->setRootViewController(first);
    window->makeKeyAndVisible();
    first->presentModalViewController(screen("M"), false);
    log.take();

    auto second = screen("B");
    window->setRootViewController(second);
    EXPECT_EQ(log.take(),
              (Lines{"B.load", "M.willDisappear", "B.willAppear", "M.didDisappear", "B.didAppear"}));
    EXPECT_EQ(window->rootViewController(), second.get());
    EXPECT_EQ(window->subviews().size(), 1u);
    EXPECT_EQ(window->subviews()[0].get(), &second->view());
    EXPECT_EQ(second->view().frame(), Rect(0, 20, 320, 460));
}

TEST_F(LifeCycleTest, TabsSwitchScreensAndTellTheDelegateOnEveryTap) {
    auto tabs = std::make_shared<TabBarController>();
    auto first = std::make_shared<NavigationController>(screen("A"));
    auto second = std::make_shared<NavigationController>(screen("B"));
    tabs->setViewControllers({first, second});
    window->setRootViewController(tabs);
    window->makeKeyAndVisible();
    EXPECT_EQ(log.take(), (Lines{"A.load", "A.willAppear", "A.didAppear"}));

    struct Delegate : TabBarControllerDelegate {
        std::vector<int> selected;
        bool refuse = false;
        bool shouldSelectViewController(TabBarController&, ViewController&) override { return !refuse; }
        void didSelectViewController(TabBarController& tabs, ViewController&) override {
            selected.push_back(tabs.selectedIndex());
        }
    } delegate;
    tabs->setDelegate(&delegate);

    ASSERT_TRUE(UserInput::selectTab(*tabs, 1));
    EXPECT_EQ(log.take(),
              (Lines{"B.load", "A.willDisappear", "B.willAppear", "A.didDisappear", "B.didAppear"}));
    UserInput::selectTab(*tabs, 1);  // the selected tab again: told, nothing changes
    EXPECT_EQ(delegate.selected, (std::vector<int>{1, 1}));
    EXPECT_TRUE(log.take().empty());

    delegate.refuse = true;
    UserInput::selectTab(*tabs, 0);
    EXPECT_EQ(tabs->selectedIndex(), 1);

    // Taps on the bar itself reach the same path.
    delegate.refuse = false;
    Window& w = *window;
    ASSERT_TRUE(UserInput::tapAt(w, {80, 480 - 20}));
    EXPECT_EQ(tabs->selectedIndex(), 0);
    EXPECT_EQ(delegate.selected.back(), 0);

    first->tabBarItem().setBadgeValue("3");
    EXPECT_EQ(tabs->tabBar().items()[0]->badgeValue(), "3");
}

TEST_F(LifeCycleTest, APushedScreenThatAsksHidesTheTabBar) {
    auto tabs = std::make_shared<TabBarController>();
    auto navigation = std::make_shared<NavigationController>(screen("A"));
    tabs->setViewControllers({navigation});
    window->setRootViewController(tabs);
    window->makeKeyAndVisible();
    EXPECT_FALSE(tabs->tabBar().isHidden());
    EXPECT_EQ(navigation->view().frame().height(), 460 - TabBar::kHeight);

    auto detail = screen("B");
    detail->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(detail, false);
    EXPECT_TRUE(tabs->tabBar().isHidden());
    EXPECT_EQ(navigation->view().frame().height(), 460);
    EXPECT_EQ(detail->view().frame(), Rect(0, 44, 320, 416));
    navigation->popViewController(false);
    EXPECT_FALSE(tabs->tabBar().isHidden());
}

TEST_F(LifeCycleTest, MemoryWarningsReachEveryScreenOfTheKeyWindow) {
    auto tabs = std::make_shared<TabBarController>();
    auto navigation = std::make_shared<NavigationController>(screen("A"));
    navigation->pushViewController(screen("B"), false);
    tabs->setViewControllers({navigation, screen("C")});
    window->setRootViewController(tabs);
    window->makeKeyAndVisible();
    log.take();
    Application::shared().simulateMemoryWarning();
    EXPECT_EQ(log.take(), (Lines{"A.memory", "B.memory", "C.memory"}));
}

TEST_F(LifeCycleTest, AScreenCannotBeInTwoPlaces) {
    auto shared = screen("A");
    auto first = std::make_shared<NavigationController>(shared);
    auto second = std::make_shared<NavigationController>(screen("B"));
    second->pushViewController(shared, false);
    EXPECT_EQ(second->viewControllers().size(), 1u);
    EXPECT_EQ(shared->navigationController(), first.get());
}

}  // namespace
