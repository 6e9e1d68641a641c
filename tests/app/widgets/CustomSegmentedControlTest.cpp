#include "WidgetTest.h"

#include "ui/ImageView.h"
#include "ui/UserInput.h"
#include "widgets/CustomSegmentedControl.h"

#include <string>
#include <vector>

using namespace zorlet;

namespace {

// An order bar like the users feed's: one titled 65-point button per segment.
class OrderBar : public CustomSegmentedControlDelegate {
public:
    std::vector<std::string> titles{"活跃", "附近", "最新"};
    std::vector<std::string> calls;
    bool answerNull = false;

    std::shared_ptr<Button> buttonFor(CustomSegmentedControl& control, std::size_t index) override {
        calls.push_back("buttonFor " + std::to_string(index));
        if (answerNull) {
            return nullptr;
        }
        auto button = std::make_shared<Button>(Rect(5, 5, 65, 30));
        button->setTitle(titles.at(index));
        return button;
    }
    void touchDownAtSegmentIndex(std::size_t index) override {
        calls.push_back("down " + std::to_string(index));
    }
    void touchUpInsideSegmentIndex(std::size_t index) override {
        calls.push_back("up " + std::to_string(index));
    }
};

ImageAssetPtr divider() {
    return ImageAsset::fromImage(std::make_shared<Image>(2, 30), "divider.png");
}

std::vector<bool> selection(const CustomSegmentedControl& control) {
    std::vector<bool> out;
    for (const auto& button : control.buttons()) {
        out.push_back(button->isSelected());
        EXPECT_FALSE(button->isHighlighted());
    }
    return out;
}

using CustomSegmentedControlTest = zorlet::test::WidgetTest;

TEST_F(CustomSegmentedControlTest, LaysTheDelegatesButtonsOutWithDividersBetween) {
    OrderBar bar;
    auto control = CustomSegmentedControl::create(3, Size{65, 30}, divider(), 0, &bar);

    EXPECT_EQ(bar.calls, (std::vector<std::string>{"buttonFor 0", "buttonFor 1", "buttonFor 2"}));
    EXPECT_EQ(control->frame(), Rect(0, 0, 199, 30));
    ASSERT_EQ(control->buttons().size(), 3u);
    EXPECT_EQ(control->buttons()[0]->frame(), Rect(0, 0, 65, 30));
    EXPECT_EQ(control->buttons()[1]->frame(), Rect(67, 0, 65, 30));
    EXPECT_EQ(control->buttons()[2]->frame(), Rect(134, 0, 65, 30));
    EXPECT_EQ(control->buttons()[2]->title(), "最新");
    ASSERT_EQ(control->dividers().size(), 2u);
    EXPECT_EQ(control->dividers()[0]->frame(), Rect(65, 0, 2, 30));
    EXPECT_EQ(control->dividers()[1]->frame(), Rect(132, 0, 2, 30));
    EXPECT_EQ(control->subviews().size(), 5u);
    // Nothing is chosen until the screen chooses.
    EXPECT_EQ(selection(*control), (std::vector<bool>{false, false, false}));
}

TEST_F(CustomSegmentedControlTest, ButtonsKeepTheirOwnSizeAndMissingOnesKeepTheIndexes) {
    OrderBar sized;
    auto wide = CustomSegmentedControl::create(3, Size{70, 44}, divider(), 0, &sized);
    EXPECT_EQ(wide->frame(), Rect(0, 0, 214, 44));
    EXPECT_EQ(wide->buttons()[1]->frame(), Rect(72, 0, 65, 30));
    EXPECT_EQ(wide->dividers()[1]->frame(), Rect(142, 0, 2, 30));

    OrderBar bar;
    bar.answerNull = true;
    CustomSegmentedControl control(2, Size{80, 40}, nullptr, 1, &bar);
    EXPECT_EQ(control.tag(), 1);
    EXPECT_EQ(control.frame(), Rect(0, 0, 160, 40));
    ASSERT_EQ(control.buttons().size(), 2u);
    EXPECT_EQ(control.buttons()[1]->frame(), Rect(80, 0, 80, 40));
    EXPECT_TRUE(control.dividers().empty());

    bar.calls.clear();
    UserInput::tap(*control.buttons()[1]);
    EXPECT_EQ(bar.calls, (std::vector<std::string>{"down 1", "up 1"}));
}

TEST_F(CustomSegmentedControlTest, ATapSelectsTheSegmentAndReportsItsIndex) {
    OrderBar bar;
    auto control = CustomSegmentedControl::create(3, Size{65, 30}, divider(), 0, &bar);
    control->dimAllButtonsExcept(*control->buttons()[0]);  // the screen's first segment
    EXPECT_EQ(selection(*control), (std::vector<bool>{true, false, false}));
    bar.calls.clear();

    ASSERT_TRUE(UserInput::tap(*control->buttons()[2]));
    EXPECT_EQ(bar.calls, (std::vector<std::string>{"down 2", "up 2"}));
    EXPECT_EQ(selection(*control), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(control->tag(), 0);  // the screen keeps the choice, not the control
}

TEST_F(CustomSegmentedControlTest, AFingerLeavingASegmentKeepsTheLookAndTellsNothing) {
    OrderBar bar;
    auto control = CustomSegmentedControl::create(3, Size{65, 30}, divider(), 0, &bar);
    control->dimAllButtonsExcept(*control->buttons()[0]);
    bar.calls.clear();

    Button& middle = *control->buttons()[1];
    middle.touch(TouchDown);
    EXPECT_EQ(bar.calls, (std::vector<std::string>{"down 1"}));
    EXPECT_FALSE(middle.isHighlighted());
    middle.touch(TouchDragOutside);
    middle.touch(TouchDragInside);
    middle.touch(TouchUpOutside);
    EXPECT_EQ(bar.calls, (std::vector<std::string>{"down 1"}));
    EXPECT_EQ(selection(*control), (std::vector<bool>{false, true, false}));
}

TEST_F(CustomSegmentedControlTest, AButtonOutlivingItsControlIsInert) {
    OrderBar bar;
    auto control = CustomSegmentedControl::create(3, Size{65, 30}, divider(), 0, &bar);
    std::shared_ptr<Button> kept = control->buttons()[0];
    control.reset();
    bar.calls.clear();

    EXPECT_TRUE(UserInput::tap(*kept));
    EXPECT_TRUE(bar.calls.empty());
}

}  // namespace
