#include "WidgetTest.h"

#include "ui/UserInput.h"
#include "widgets/GenderButton.h"

#include <string>
#include <vector>

using namespace zorlet;

namespace {

class ListScreen : public GenderButtonDelegate {
public:
    View view{Rect(0, 0, 320, 480)};
    std::vector<int> changes;
    int tagSeenWhenTold = -1;

    View* actionSheetShowInView() override { return &view; }
    void genderButton(GenderButton& button, int gender) override {
        changes.push_back(gender);
        tagSeenWhenTold = button.tag();
    }
};

std::string pictures(const GenderButton& button) {
    return button.backgroundImage(Normal)->name() + " " + button.backgroundImage(Highlighted)->name();
}

using GenderButtonTest = zorlet::test::WidgetTest;

TEST_F(GenderButtonTest, StartsOnItsTagWithThePicturesOfThatTag) {
    GenderButton all;
    EXPECT_EQ(all.tag(), GenderButton::kAll);
    EXPECT_EQ(pictures(all), "sex_2_link.png sex_2_hover.png");
    EXPECT_EQ(all.frame().size, all.backgroundImage(Normal)->size());

    auto women = GenderButton::create(GenderButton::kFemale);
    EXPECT_EQ(women->tag(), 0);
    EXPECT_EQ(pictures(*women), "sex_0_link.png sex_0_hover.png");
}

TEST_F(GenderButtonTest, WithoutADelegateATapOffersNothing) {
    auto button = GenderButton::create();
    EXPECT_TRUE(UserInput::tap(*button));
    EXPECT_TRUE(AlertRegistry::shared().sheets().empty());
}

TEST_F(GenderButtonTest, ATapOffersTheThreeFiltersInTheDelegatesView) {
    ListScreen screen;
    auto button = GenderButton::create();
    button->setDelegate(&screen);
    ASSERT_TRUE(UserInput::tap(*button));

    ActionSheet* sheet = AlertRegistry::shared().topSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->title(), "筛选");
    EXPECT_EQ(sheet->buttonTitles(), (std::vector<std::string>{"全部", "宅男", "宅女", "取消"}));
    EXPECT_EQ(sheet->cancelButtonIndex(), 3);
    EXPECT_EQ(sheet->shownInView(), &screen.view);
}

TEST_F(GenderButtonTest, ReportsOnlyChoicesThatChangeTheFilter) {
    ListScreen screen;
    auto button = GenderButton::create();
    button->setDelegate(&screen);

    // "宅女" on "all": the tag, the pictures and the delegate follow.
    UserInput::tap(*button);
    ASSERT_TRUE(UserInput::answerSheet(2));
    EXPECT_EQ(button->tag(), 0);
    EXPECT_EQ(pictures(*button), "sex_0_link.png sex_0_hover.png");
    EXPECT_EQ(screen.changes, (std::vector<int>{0}));
    EXPECT_EQ(screen.tagSeenWhenTold, 0);

    // Choosing the current filter again, or cancelling, tells nothing.
    UserInput::tap(*button);
    ASSERT_TRUE(UserInput::answerSheet(2));
    UserInput::tap(*button);
    ASSERT_TRUE(UserInput::answerSheet(3));
    EXPECT_EQ(button->tag(), 0);
    EXPECT_EQ(screen.changes, (std::vector<int>{0}));

    UserInput::tap(*button);
    ASSERT_TRUE(UserInput::answerSheet(1));
    UserInput::tap(*button);
    ASSERT_TRUE(UserInput::answerSheet(0));
    EXPECT_EQ(button->tag(), 2);
    EXPECT_EQ(pictures(*button), "sex_2_link.png sex_2_hover.png");
    EXPECT_EQ(screen.changes, (std::vector<int>{0, 1, 2}));
}

TEST_F(GenderButtonTest, AllOnAnAllButtonTellsNothing) {
    ListScreen screen;
    GenderButton button;
    button.setDelegate(&screen);
    button.selectGender();
    ASSERT_TRUE(UserInput::answerSheet(0));
    EXPECT_EQ(button.tag(), 2);
    EXPECT_TRUE(screen.changes.empty());
}

TEST_F(GenderButtonTest, ASheetAnsweredAfterItsButtonIsGoneChangesNothing) {
    ListScreen screen;
    auto button = GenderButton::create();
    button->setDelegate(&screen);
    button->selectGender();
    button.reset();  // the list screen rebuilt its bar under the open sheet

    EXPECT_TRUE(UserInput::answerSheet(1));
    EXPECT_TRUE(screen.changes.empty());
    EXPECT_TRUE(AlertRegistry::shared().sheets().empty());
}

}  // namespace
