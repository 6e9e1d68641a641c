#include "host/ScreenGestures.h"
#include "host/ScreenQuery.h"

#include "app/CustomNavigationController.h"
#include "platform/MainLoop.h"
#include "ui/ActionSheet.h"
#include "ui/AlertRegistry.h"
#include "ui/AlertView.h"
#include "ui/Button.h"
#include "ui/Keyboard.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/ScrollView.h"
#include "ui/TabBarController.h"
#include "ui/TextField.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

namespace zorlet::test {
namespace {

// A screen with the cases a finger meets: a button, hidden and covered text,
// text scrolled out of sight, a field.
class SampleScreen : public ViewController {
public:
    std::string className() const override { return "SampleScreen"; }
    void viewDidLoad() override {
        auto title = std::make_shared<Label>(Rect(10, 10, 200, 30));
        title->setText("周末去哪");
        view().addSubview(title);

        button = std::make_shared<Button>(Rect(10, 50, 120, 44));
        button->setTitle("出  发");
        button->setId("go");
        button->addTarget(TouchUpInside, [this](Control&) { ++taps; });
        view().addSubview(button);

        auto hidden = std::make_shared<Label>(Rect(10, 100, 200, 30));
        hidden->setText("藏起来");
        hidden->setHidden(true);
        view().addSubview(hidden);

        auto covered = std::make_shared<Label>(Rect(10, 140, 200, 30));
        covered->setText("被挡住");
        view().addSubview(covered);
        auto cover = std::make_shared<View>(Rect(0, 130, 320, 50));
        cover->setBackgroundColor(Color::whiteColor());
        view().addSubview(cover);

        auto scroll = std::make_shared<ScrollView>(Rect(0, 200, 320, 100));
        scroll->setContentSize({320, 1000});
        auto near = std::make_shared<Label>(Rect(10, 10, 200, 30));
        near->setText("第一行");
        auto far = std::make_shared<Label>(Rect(10, 800, 200, 30));
        far->setText("第二十行");
        scroll->addSubview(near);
        scroll->addSubview(far);
        view().addSubview(scroll);
        scrollView = scroll.get();

        field = std::make_shared<TextField>(Rect(10, 320, 200, 30));
        field->setPlaceholder("昵称");
        field->setId("nicknameField");
        view().addSubview(field);
    }
    std::shared_ptr<Button> button;
    std::shared_ptr<TextField> field;
    ScrollView* scrollView = nullptr;
    int taps = 0;
};

class ScreenQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        MainLoop::main().clock().setVirtual(true);
        AlertRegistry::shared().clear();
        Keyboard::shared().reset();
        screen_ = std::make_shared<SampleScreen>();
        window_ = std::make_shared<Window>();
        window_->setRootViewController(screen_);
        window_->makeKeyAndVisible();
    }
    void TearDown() override {
        AlertRegistry::shared().clear();
        Keyboard::shared().reset();
        window_.reset();
        MainLoop::main().runPending();
    }
    std::vector<std::string> texts(const std::string& pattern) const {
        std::vector<std::string> out;
        for (const auto& match : ScreenQuery(*window_).findText(pattern)) {
            out.push_back(match.text);
        }
        return out;
    }

    std::shared_ptr<SampleScreen> screen_;
    std::shared_ptr<Window> window_;
};

TEST_F(ScreenQueryTest, OnlyWhatAUserCanSeeIsFound) {
    EXPECT_EQ(texts("周末去哪"), std::vector<std::string>{"周末去哪"});
    EXPECT_EQ(texts("出  发").size(), 1u);
    EXPECT_TRUE(texts("藏起来").empty());
    EXPECT_TRUE(texts("被挡住").empty());
    EXPECT_EQ(texts("第一行").size(), 1u);
    EXPECT_TRUE(texts("第二十行").empty());
    // An empty field shows its placeholder.
    EXPECT_EQ(texts("昵称").size(), 1u);

    // Scrolling brings the far row in and takes the near one out.
    screen_->scrollView->setContentOffset({0, 780});
    EXPECT_EQ(texts("第二十行").size(), 1u);
    EXPECT_TRUE(texts("第一行").empty());
}

TEST_F(ScreenQueryTest, TextIsMatchedWholeOrAsARegularExpression) {
    EXPECT_EQ(texts("第.行").size(), 1u);
    EXPECT_TRUE(texts("周末").empty());  // a part is not the whole text
    EXPECT_EQ(texts("周末.*").size(), 1u);
    EXPECT_TRUE(ScreenQuery::textMatches("a(b", "a(b"));  // not an expression: exact only
    EXPECT_FALSE(ScreenQuery::textMatches("", "x"));
}

TEST_F(ScreenQueryTest, TapsByIdAndTextReachTheControl) {
    ScreenQuery query(*window_);
    auto byId = query.findId("go");
    ASSERT_EQ(byId.size(), 1u);
    EXPECT_EQ(byId[0].view, screen_->button.get());
    ScreenGestures actions(*window_);
    auto tapped = actions.tap(byId[0]);
    EXPECT_TRUE(tapped) << tapped.error();
    tapped = actions.tap(query.findText("出  发").at(0));
    EXPECT_TRUE(tapped) << tapped.error();
    EXPECT_EQ(screen_->taps, 2);

    tapped = actions.tap(query.findId("nicknameField").at(0));
    EXPECT_TRUE(tapped) << tapped.error();
    EXPECT_EQ(Keyboard::shared().firstResponder(), screen_->field.get());
    // A view under the keyboard is out of reach.
    screen_->button->setFrame(Rect(10, 400, 120, 44));
    EXPECT_TRUE(query.findId("go").empty());
}

TEST_F(ScreenQueryTest, AShownAlertIsTheWholeScreen) {
    int answered = -1;
    auto alert = AlertView::create("提示", "确定退出吗？", nullptr, "取消", {"确认"});
    alert->setOnDismiss([&](int index) { answered = index; });
    alert->show();

    ScreenQuery query(*window_);
    EXPECT_TRUE(query.findId("go").empty());
    EXPECT_TRUE(query.findText("周末去哪").empty());
    EXPECT_EQ(query.findText("确定退出吗？").size(), 1u);
    EXPECT_EQ(query.screenName(), "SampleScreen+alert");

    // Two buttons side by side at the bottom of the alert: a tap on the right half is "确认".
    alert->layoutForScreen(window_->frame().size);
    Rect frame = alert->frame();
    ScreenGestures actions(*window_);
    auto missed = actions.tapAt({frame.midX(), frame.y() + 5});
    EXPECT_FALSE(missed);
    EXPECT_NE(missed.error().find("missed"), std::string::npos) << missed.error();
    auto hit = actions.tapAt({frame.x() + frame.width() * 0.75, frame.maxY() - 20});
    EXPECT_TRUE(hit) << hit.error();
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(screen_->taps, 0);
    EXPECT_EQ(ScreenQuery(*window_).shownAlert(), nullptr);
}

TEST_F(ScreenQueryTest, AlertButtonsByTextAndSheetButtonsByPoint) {
    int alertAnswer = -1;
    auto alert = AlertView::create("网络状态", "网络不存在", nullptr, "确定");
    alert->setOnDismiss([&](int index) { alertAnswer = index; });
    alert->show();
    auto matches = ScreenQuery(*window_).findText("确定");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].kind, ScreenMatch::Kind::AlertButton);
    auto tapped = ScreenGestures(*window_).tap(matches[0]);
    EXPECT_TRUE(tapped) << tapped.error();
    EXPECT_EQ(alertAnswer, 0);

    int sheetAnswer = -1;
    auto sheet = ActionSheet::create("", nullptr, "取消", "删除", {"编辑"});
    sheet->setOnDismiss([&](int index) { sheetAnswer = index; });
    sheet->showInView(&screen_->view());
    sheet->layoutForScreen(window_->frame().size);
    // From the bottom: the cancel button, then "编辑" above it.
    Rect frame = sheet->frame();
    tapped = ScreenGestures(*window_).tapAt({160, frame.maxY() - 16 - 22});
    EXPECT_TRUE(tapped) << tapped.error();
    EXPECT_EQ(sheetAnswer, sheet->cancelButtonIndex());

    auto again = ActionSheet::create("", nullptr, "取消", "删除", {"编辑"});
    again->setOnDismiss([&](int index) { sheetAnswer = index; });
    again->showInView(&screen_->view());
    again->layoutForScreen(window_->frame().size);
    frame = again->frame();
    tapped = ScreenGestures(*window_).tapAt({160, frame.maxY() - 16 - 44 - 16 - 22});
    EXPECT_TRUE(tapped) << tapped.error();
    EXPECT_EQ(again->buttonTitle(sheetAnswer), "编辑");
}

TEST_F(ScreenQueryTest, TabsAreFoundByTitleAndTappedWhereTheyAreDrawn) {
    auto tabs = std::make_shared<TabBarController>();
    auto first = std::make_shared<SampleScreen>();
    auto second = std::make_shared<SampleScreen>();
    first->setTitle("附近");
    second->setTitle("好主意");
    tabs->setViewControllers({first, second});
    window_->setRootViewController(tabs);

    auto matches = ScreenQuery(*window_).findText("好主意");
    ASSERT_FALSE(matches.empty());
    EXPECT_EQ(matches[0].kind, ScreenMatch::Kind::TabItem);
    auto tapped = ScreenGestures(*window_).tap(matches[0]);
    EXPECT_TRUE(tapped) << tapped.error();
    EXPECT_EQ(tabs->selectedIndex(), 1);
    EXPECT_EQ(ScreenQuery(*window_).visibleViewController(), second.get());
}

TEST_F(ScreenQueryTest, BackLeavesPushedScreensAndClosesPresentedStacks) {
    auto navigation = std::make_shared<CustomNavigationController>(std::make_shared<SampleScreen>());
    window_->setRootViewController(navigation);
    ScreenGestures actions(*window_);
    auto back = actions.back();
    EXPECT_FALSE(back);
    EXPECT_EQ(back.error(), "already at the first screen");

    navigation->pushViewController(std::make_shared<SampleScreen>(), false);
    back = actions.back();
    EXPECT_TRUE(back) << back.error();
    MainLoop::main().runPending();
    EXPECT_EQ(navigation->viewControllers().size(), 1u);

    auto modal = std::make_shared<CustomNavigationController>(std::make_shared<SampleScreen>());
    navigation->topViewController()->presentModalViewController(modal, false);
    EXPECT_EQ(ScreenQuery(*window_).visibleNavigationController(), modal.get());
    back = actions.back();
    EXPECT_TRUE(back) << back.error();
    MainLoop::main().runPending();
    EXPECT_EQ(navigation->topViewController()->modalViewController(), nullptr);
}

TEST_F(ScreenQueryTest, SwipesScrollAndPullTheScrollViewUnderTheFinger) {
    ScreenGestures actions(*window_);
    ScrollView* scroll = screen_->scrollView;
    auto swiped = actions.swipe({160, 290}, {160, 210});
    EXPECT_TRUE(swiped) << swiped.error();
    EXPECT_GT(scroll->contentOffset().y, 0);
    // Outside any scroll view the largest one on screen takes the swipe, as a flow's `scroll` expects.
    double before = scroll->contentOffset().y;
    swiped = actions.swipe({160, 460}, {160, 400});
    EXPECT_TRUE(swiped) << swiped.error();
    EXPECT_GT(scroll->contentOffset().y, before);
}

}  // namespace
}  // namespace zorlet::test
