#include "UiTestSupport.h"

#include "ui/NavigationController.h"
#include "ui/Toolbar.h"
#include "ui/UserInput.h"
#include "ui/ViewTreeDump.h"
#include "ui/Window.h"

using namespace zorlet;

namespace {

using NavigationBarTest = zorlet::test::UiTest;

TEST_F(NavigationBarTest, TheBarShowsTheTopScreensItemsAndItsActionsRun) {
    auto root = std::make_shared<ViewController>();
    root->setTitle("消息");
    EXPECT_EQ(root->tabBarItem().title(), "消息");
    root->navigationItem().setBackBarButtonItem(
        std::make_shared<BarButtonItem>("返回列表", BarButtonItem::Style::Bordered, nullptr));
    auto navigation = std::make_shared<NavigationController>(root);
    auto window = std::make_shared<Window>();
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    NavigationBar& bar = navigation->navigationBar();
    EXPECT_EQ(bar.backButton(), nullptr);
    EXPECT_EQ(bar.titleLabel()->text(), "消息");

    auto detail = std::make_shared<ViewController>();
    int saves = 0;
    detail->navigationItem().setRightBarButtonItem(std::make_shared<BarButtonItem>(
        "保存", BarButtonItem::Style::Done, [&](BarButtonItem&) { ++saves; }));
    auto title = std::make_shared<View>(Rect(0, 0, 100, 30));
    detail->navigationItem().setTitleView(title);
    navigation->pushViewController(detail, true);
    ASSERT_NE(bar.backButton(), nullptr);
    EXPECT_EQ(bar.backButton()->currentTitle(), "返回列表");
    EXPECT_EQ(title->superview(), &bar);
    EXPECT_EQ(title->frame(), Rect(110, 7, 100, 30));
    ASSERT_TRUE(UserInput::tap(*bar.rightButton()));
    EXPECT_EQ(saves, 1);

    // A left item or a hidden back button takes the back button away.
    detail->navigationItem().setHidesBackButton(true);
    navigation->refreshNavigationBar();
    EXPECT_EQ(bar.backButton(), nullptr);
    EXPECT_FALSE(UserInput::tapBackButton(*navigation));

    navigation->setNavigationBarHidden(true);
    EXPECT_EQ(detail->view().frame(), Rect(0, 0, 320, 460));
}

TEST_F(NavigationBarTest, ANavigationSubclassCanHoldABackTapWithAQuestion) {
    // As a screen with unsaved changes asks before it is left.
    class AskingNavigation : public NavigationController {
    public:
        using NavigationController::NavigationController;
        bool confirmed = false;
        int asked = 0;
        ViewControllerPtr popViewController(bool animated) override {
            ++asked;
            return confirmed ? NavigationController::popViewController(animated) : nullptr;
        }
    };
    auto navigation = std::make_shared<AskingNavigation>(std::make_shared<ViewController>());
    navigation->view();
    navigation->pushViewController(std::make_shared<ViewController>(), false);
    UserInput::tapBackButton(*navigation);
    EXPECT_EQ(navigation->asked, 1);
    EXPECT_EQ(navigation->viewControllers().size(), 2u);
    navigation->confirmed = true;
    UserInput::tapBackButton(*navigation);
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
}

TEST_F(NavigationBarTest, ToolbarsShareTheSpaceLeftBetweenFlexibleSpaces) {
    Toolbar toolbar(Rect(0, 0, 320, 44));
    int done = 0;
    auto cancel = std::make_shared<BarButtonItem>("取消", BarButtonItem::Style::Bordered, nullptr);
    auto title = std::make_shared<BarButtonItem>("选择城市", BarButtonItem::Style::Plain, nullptr);
    title->setWidth(220);
    auto finish =
        std::make_shared<BarButtonItem>("完成", BarButtonItem::Style::Done, [&](BarButtonItem&) { ++done; });
    auto flexible = [] { return std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::FlexibleSpace); };
    toolbar.setItems({cancel, flexible(), title, flexible(), finish});
    View* left = toolbar.viewForItem(0);
    View* middle = toolbar.viewForItem(2);
    View* right = toolbar.viewForItem(4);
    ASSERT_TRUE(left && middle && right);
    EXPECT_EQ(toolbar.viewForItem(1), nullptr);
    EXPECT_EQ(left->frame().x(), 6);
    EXPECT_EQ(right->frame().maxX(), 320 - 6);
    EXPECT_NEAR(middle->frame().x() - left->frame().maxX(), right->frame().x() - middle->frame().maxX(),
                0.01);
    EXPECT_TRUE(UserInput::tap(*right));
    EXPECT_EQ(done, 1);
    EXPECT_NE(ViewTreeDump::dump(toolbar).find("text=\"选择城市\""), std::string::npos);
}

TEST_F(NavigationBarTest, SubviewsFollowTheirParentsSizeAsTheirMaskSays) {
    View parent(Rect(0, 0, 320, 460));
    auto fill = std::make_shared<View>(Rect(0, 0, 320, 416));
    fill->setAutoresizingMask(View::FlexibleSize);
    auto bottomBar = std::make_shared<View>(Rect(0, 416, 320, 44));
    bottomBar->setAutoresizingMask(View::FlexibleTopMargin | View::FlexibleWidth);
    auto pinned = std::make_shared<View>(Rect(10, 10, 50, 50));
    parent.addSubview(fill);
    parent.addSubview(bottomBar);
    parent.addSubview(pinned);
    parent.setFrame(Rect(0, 0, 320, 244));  // the keyboard took 216 points
    EXPECT_EQ(fill->frame(), Rect(0, 0, 320, 200));
    EXPECT_EQ(bottomBar->frame(), Rect(0, 200, 320, 44));
    EXPECT_EQ(pinned->frame(), Rect(10, 10, 50, 50));
    parent.setFrame(Rect(0, 0, 160, 244));
    EXPECT_EQ(bottomBar->frame().width(), 160);
}

TEST_F(NavigationBarTest, ObserversMayRemoveThemselvesWhileBeingTold) {
    auto& center = NotificationCenter::defaultCenter();
    int first = 0;
    int second = 0;
    int owner1 = 0;
    int owner2 = 0;
    center.addObserver(&owner1, "Changed", [&](const Notification&) {
        ++first;
        center.removeObserver(&owner2);
    });
    center.addObserver(&owner2, "Changed", [&](const Notification&) { ++second; });
    center.post("Changed");
    center.post("Changed");
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 0);
    center.removeObserver(&owner1);
    EXPECT_FALSE(center.hasObserver(&owner1, "Changed"));
}

TEST_F(NavigationBarTest, DumpsSkipHiddenViewsAndPrintTidyNumbers) {
    View root(Rect(0, 0, 100.5, 1.0 / 3));
    auto hidden = std::make_shared<View>(Rect(0, 0, 10, 10));
    hidden->setHidden(true);
    hidden->addSubview(std::make_shared<View>());
    root.addSubview(hidden);
    auto faded = std::make_shared<View>(Rect(-2, 0, 10, 10));
    faded->setAlpha(0.5);
    faded->setTag(4);
    root.addSubview(faded);
    EXPECT_EQ(ViewTreeDump::dump(root), "View (0,0,100.5,0.33)\n  View (-2,0,10,10) tag=4 alpha=0.5\n");
}

}  // namespace
