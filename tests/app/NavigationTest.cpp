#include "AppTestSupport.h"

#include "app/CustomNavigationController.h"
#include "app/MessageNavigationController.h"
#include "ui/Button.h"
#include "ui/UserInput.h"

namespace zorlet::test {
namespace {

class NavigationTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        window_ = std::make_shared<Window>();
        home_ = std::make_shared<ViewController>();
        window_->setRootViewController(home_);
        window_->makeKeyAndVisible();
    }
    void TearDown() override {
        window_.reset();
        AppTest::TearDown();
    }
    // Taps the back item of the top screen of `navigation`.
    static bool tapBack(NavigationController& navigation) {
        auto& item = navigation.topViewController()->navigationItem();
        return item.leftBarButtonItem() && UserInput::tapBarButton(*item.leftBarButtonItem());
    }

    std::shared_ptr<Window> window_;
    std::shared_ptr<ViewController> home_;
};

TEST_F(NavigationTest, PushedScreensShareOneBackItemAndOneHomeItem) {
    auto navigation = std::make_shared<CustomNavigationController>(std::make_shared<ViewController>());
    home_->presentModalViewController(navigation, false);
    EXPECT_FALSE(navigation->topViewController()->navigationItem().leftBarButtonItem());

    auto second = std::make_shared<ViewController>();
    auto third = std::make_shared<ViewController>();
    navigation->pushViewController(second, false);
    navigation->pushViewController(third, false);
    EXPECT_EQ(second->navigationItem().leftBarButtonItem(), navigation->backButton());
    EXPECT_EQ(third->navigationItem().leftBarButtonItem(), navigation->backButton());
    EXPECT_EQ(third->navigationItem().rightBarButtonItem(), navigation->homeButton());
    EXPECT_TRUE(third->navigationItem().hidesBackButton());

    // A screen with a left item of its own keeps it.
    auto own = std::make_shared<BarButtonItem>("关闭", BarButtonItem::Style::Plain, nullptr);
    auto fourth = std::make_shared<ViewController>();
    fourth->navigationItem().setLeftBarButtonItem(own);
    navigation->pushViewController(fourth, false);
    EXPECT_EQ(fourth->navigationItem().leftBarButtonItem(), own);
    EXPECT_FALSE(fourth->navigationItem().rightBarButtonItem());

    ASSERT_TRUE(UserInput::tapBarButton(*third->navigationItem().rightBarButtonItem()));
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
    EXPECT_EQ(home_->modalViewController(), navigation.get());
}

TEST_F(NavigationTest, LeavingAnEditorWithUnsavedChangesAsksFirst) {
    auto navigation = std::make_shared<CustomNavigationController>(std::make_shared<ViewController>());
    home_->presentModalViewController(navigation, false);
    auto editor = std::make_shared<ViewController>();
    navigation->pushViewController(editor, false);
    navigation->setPopAlert(true);

    ASSERT_TRUE(tapBack(*navigation));
    AlertView* alert = AlertRegistry::shared().topAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "提示");
    EXPECT_EQ(alert->message(), "有修改未保存，要放弃么？");
    EXPECT_EQ(alert->buttonTitles(), (std::vector<std::string>{"取消", "放弃"}));
    EXPECT_EQ(navigation->topViewController(), editor.get());

    ASSERT_TRUE(UserInput::answerAlert(0));
    EXPECT_EQ(navigation->topViewController(), editor.get());
    EXPECT_TRUE(navigation->popAlert());

    ASSERT_TRUE(tapBack(*navigation));
    ASSERT_TRUE(UserInput::answerAlert(1));
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
    EXPECT_FALSE(navigation->popAlert());
    EXPECT_EQ(home_->modalViewController(), navigation.get());
}

TEST_F(NavigationTest, BackFromTheOnlyScreenOfAModalStackClosesIt) {
    auto navigation = std::make_shared<CustomNavigationController>(std::make_shared<ViewController>());
    home_->presentModalViewController(navigation, false);
    navigation->popViewController();
    EXPECT_EQ(home_->modalViewController(), nullptr);
    EXPECT_EQ(window_->topViewController(), home_.get());

    // A stack that was not presented (a tab's) stays where it is.
    auto tabStack = std::make_shared<CustomNavigationController>(std::make_shared<ViewController>());
    window_->setRootViewController(tabStack);
    tabStack->popViewController();
    EXPECT_EQ(window_->rootViewController(), tabStack.get());
    EXPECT_EQ(tabStack->viewControllers().size(), 1u);
}

TEST_F(NavigationTest, TheMessageStackOffersTwoSegmentButtons) {
    MessageNavigationController navigation(std::make_shared<ViewController>());
    auto first = navigation.buttonFor(0);
    auto second = navigation.buttonFor(1);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->title(), "私信");
    EXPECT_EQ(second->title(), "留言");
    EXPECT_EQ(first->frame().width(), 51);
    EXPECT_EQ(second->frame().width(), 51);
    EXPECT_TRUE(first->isSelected());
    EXPECT_FALSE(second->isSelected());
    EXPECT_FALSE(navigation.buttonFor(2));
}

}  // namespace
}  // namespace zorlet::test
