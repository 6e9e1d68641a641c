#include "UiTestSupport.h"

#include "ui/Button.h"
#include "ui/GestureRecognizer.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/UserInput.h"
#include "ui/Window.h"

using namespace zorlet;

namespace {

using ViewTreeTest = zorlet::test::UiTest;

TEST_F(ViewTreeTest, SubviewsKeepTheirOrderAndMoveBetweenParents) {
    auto parent = std::make_shared<View>(Rect(0, 0, 100, 100));
    auto a = std::make_shared<View>();
    auto b = std::make_shared<View>();
    auto c = std::make_shared<View>();
    parent->addSubview(a);
    parent->addSubview(c);
    parent->insertSubviewBelow(b, c.get());
    EXPECT_EQ(parent->subviews(), (std::vector<ViewPtr>{a, b, c}));
    parent->insertSubviewAbove(a, c.get());
    EXPECT_EQ(parent->subviews(), (std::vector<ViewPtr>{b, c, a}));
    parent->sendSubviewToBack(a.get());
    parent->bringSubviewToFront(b.get());
    EXPECT_EQ(parent->subviews(), (std::vector<ViewPtr>{a, c, b}));

    auto other = std::make_shared<View>();
    other->addSubview(b);
    EXPECT_EQ(parent->subviews().size(), 2u);
    EXPECT_EQ(b->superview(), other.get());

    // A view cannot be put inside itself or its own subview.
    a->addSubview(parent);
    EXPECT_EQ(parent->superview(), nullptr);
    EXPECT_TRUE(a->subviews().empty());
}

TEST_F(ViewTreeTest, TagsAndCoordinatesFollowTheTreeAndScrollOffsets) {
    auto window = std::make_shared<Window>();
    auto scroll = std::make_shared<ScrollView>(Rect(0, 20, 320, 200));
    auto label = std::make_shared<Label>(Rect(10, 300, 100, 20));
    label->setTag(1000);
    scroll->setContentSize({320, 1000});
    scroll->addSubview(label);
    window->addSubview(scroll);
    EXPECT_EQ(window->viewWithTag(1000), label.get());
    EXPECT_EQ(window->viewWithTag(5), nullptr);
    EXPECT_EQ(label->convertToWindow({0, 0}), (Point{10, 320}));
    scroll->setContentOffset({0, 250});
    EXPECT_EQ(label->convertToWindow({0, 0}), (Point{10, 70}));
    EXPECT_EQ(label->convertFromWindow({15, 75}), (Point{5, 5}));
    EXPECT_EQ(label->convertPoint({0, 0}, scroll.get()), (Point{10, 300}));
    EXPECT_EQ(label->window(), window.get());
}

TEST_F(ViewTreeTest, TapsGoToTheTopmostViewAndUpToWhoeverHandlesThem) {
    auto window = std::make_shared<Window>();
    auto container = std::make_shared<View>(Rect(0, 100, 320, 100));
    int containerTaps = 0;
    Point tapLocation;
    container->addGestureRecognizer(GestureRecognizer::tap([&](GestureRecognizer& tap) {
        ++containerTaps;
        tapLocation = tap.location();
    }));
    auto label = std::make_shared<Label>(Rect(0, 0, 100, 100));
    label->setText("文字");
    container->addSubview(label);
    auto button = std::make_shared<Button>(Rect(200, 0, 100, 100));
    int buttonTaps = 0;
    button->addTarget(TouchUpInside, [&](Control&) { ++buttonTaps; });
    container->addSubview(button);
    window->addSubview(container);

    EXPECT_TRUE(UserInput::tapAt(*window, {50, 150}));  // the label does not take taps
    EXPECT_EQ(containerTaps, 1);
    EXPECT_EQ(tapLocation, (Point{50, 50}));
    EXPECT_TRUE(UserInput::tap(*button));  // a control takes its own taps
    EXPECT_EQ(buttonTaps, 1);
    EXPECT_EQ(containerTaps, 1);

    button->setEnabled(false);
    UserInput::tap(*button);
    EXPECT_EQ(buttonTaps, 1);
    button->setEnabled(true);
    button->setHidden(true);
    EXPECT_FALSE(UserInput::tap(*button));

    // A recognizer removed by its own action is safe.
    auto self = std::make_shared<View>(Rect(0, 300, 50, 50));
    window->addSubview(self);
    self->addGestureRecognizer(GestureRecognizer::tap([&](GestureRecognizer& tap) {
        tap.view()->removeGestureRecognizer(&tap);
        self->removeFromSuperview();
    }));
    EXPECT_TRUE(UserInput::tap(*self));
    EXPECT_TRUE(self->gestureRecognizers().empty());
}

TEST_F(ViewTreeTest, ButtonsFallBackToTheNormalStateAndReportEveryTouchPhase) {
    Button button(Rect(0, 0, 60, 30));
    button.setTitle("关注");
    button.setTitle("已关注", Selected);
    button.setBackgroundImage(ImageAsset::named("no_such_button_link.png"));
    button.setBackgroundImage(ImageAsset::named("no_such_button_hover.png"), Highlighted);
    EXPECT_EQ(button.currentTitle(), "关注");
    button.setSelected(true);
    EXPECT_EQ(button.currentTitle(), "已关注");
    button.setHighlighted(true);
    EXPECT_EQ(button.currentTitle(), "已关注");  // selected+highlighted falls back to selected
    EXPECT_EQ(button.currentBackgroundImage()->name(), "no_such_button_link.png");
    button.setSelected(false);
    EXPECT_EQ(button.currentBackgroundImage()->name(), "no_such_button_hover.png");
    button.setHighlighted(false);

    std::vector<unsigned> events;
    button.addTarget(TouchDown | TouchUpInside | TouchUpOutside | TouchDragOutside | TouchDragInside,
                     [&](Control& c) { events.push_back(c.isHighlighted() ? 1u : 0u); });
    button.touch(TouchDown);
    button.touch(TouchDragOutside);
    button.touch(TouchDragInside);
    button.touch(TouchUpOutside);
    EXPECT_EQ(events, (std::vector<unsigned>{1, 0, 1, 0}));

    // A picture without a file still has a size to lay out with.
    button.sizeToFit();
    EXPECT_EQ(button.frame().size, (Size{ImageAsset::kStandInSide, ImageAsset::kStandInSide}));
}

TEST_F(ViewTreeTest, PansReportBeganChangedEnded) {
    View view(Rect(0, 0, 100, 100));
    std::vector<std::string> states;
    view.addGestureRecognizer(GestureRecognizer::pan([&](GestureRecognizer& pan) {
        states.push_back(std::to_string(static_cast<int>(pan.state())) + ":" +
                         std::to_string(static_cast<int>(pan.translation().y)));
    }));
    EXPECT_TRUE(UserInput::pan(view, {0, 40}));
    EXPECT_EQ(states, (std::vector<std::string>{"1:0", "2:40", "3:40"}));
}

TEST_F(ViewTreeTest, LabelsMeasureThroughTextLayout) {
    Label label(Rect(0, 0, 100, 0));
    label.setFont(Font::systemFont(14));
    label.setText("一二三四五六七八九十一二三四五六七八九十");
    label.setNumberOfLines(0);
    Size wrapped = label.sizeThatFits({100, 0});
    EXPECT_LE(wrapped.width, 100);
    double line = TextLayout::shared().lineHeight(Font::systemFont(14));
    EXPECT_EQ(wrapped.height, 3 * line);  // 14-point characters: 7 to a 100-point line
    label.setNumberOfLines(2);
    EXPECT_EQ(label.sizeThatFits({100, 0}).height, 2 * line);
    label.setNumberOfLines(1);
    EXPECT_GT(label.sizeThatFits({100, 0}).width, 100);  // one line labels are not wrapped
}

}  // namespace
