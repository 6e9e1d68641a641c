#include "WidgetTest.h"

#include "ui/UserInput.h"
#include "widgets/CustomTextView.h"

#include <string>
#include <vector>

using namespace zorlet;

namespace {

// What the view shows, placeholder included.
std::string displayed(const CustomTextView& view) {
    return view.TextView::text();
}

class Screen : public CustomTextViewDelegate {
public:
    bool mayBegin = true;
    bool mayEnd = true;
    std::vector<std::string> seen;

    bool textViewShouldBeginEditing(TextView&) override { return mayBegin; }
    bool textViewShouldEndEditing(TextView&) override { return mayEnd; }
    void textViewDidBeginEditing(TextView& view) override { seen.push_back("begin:" + view.text()); }
    void textViewDidChange(TextView& view) override { seen.push_back("change:" + view.text()); }
};

using CustomTextViewTest = zorlet::test::WidgetTest;

TEST_F(CustomTextViewTest, ThePlaceholderComesAndGoesWithFocusAndContent) {
    auto view = std::make_shared<CustomTextView>(Rect(10, 10, 300, 100));
    Screen screen;
    view->setCustomDelegate(&screen);
    view->setPlaceholder("说点什么吧");

    EXPECT_EQ(displayed(*view), "说点什么吧");
    EXPECT_TRUE(view->isShowingPlaceholder());
    EXPECT_EQ(view->text(), "");

    // Focusing clears the display before the screen hears of it.
    ASSERT_TRUE(UserInput::tap(*view));
    EXPECT_TRUE(view->isFirstResponder());
    EXPECT_EQ(displayed(*view), "");
    UserInput::typeText("周末");
    EXPECT_EQ(view->text(), "周末");
    EXPECT_EQ(screen.seen, (std::vector<std::string>{"begin:", "change:周", "change:周末"}));

    // Leaving with text keeps it; leaving empty shows the placeholder again.
    ASSERT_TRUE(view->resignFirstResponder());
    EXPECT_EQ(view->text(), "周末");
    EXPECT_FALSE(view->isShowingPlaceholder());
    ASSERT_TRUE(view->becomeFirstResponder());
    UserInput::deleteBackward();
    UserInput::deleteBackward();
    EXPECT_EQ(displayed(*view), "");  // still focused: nothing to hide the caret behind
    ASSERT_TRUE(view->resignFirstResponder());
    EXPECT_EQ(displayed(*view), "说点什么吧");
    EXPECT_EQ(view->text(), "");
}

TEST_F(CustomTextViewTest, TextThatHappensToMatchThePlaceholderIsStillText) {
    CustomTextView view(Rect(0, 0, 300, 100));
    view.setPlaceholder("邀请理由");
    ASSERT_TRUE(view.becomeFirstResponder());
    UserInput::typeText("邀请理由");
    ASSERT_TRUE(view.resignFirstResponder());
    EXPECT_EQ(view.text(), "邀请理由");
    EXPECT_FALSE(view.isShowingPlaceholder());
}

TEST_F(CustomTextViewTest, SettingTextReplacesOrRestoresThePlaceholderAndKeepsScrolling) {
    CustomTextView view(Rect(0, 0, 300, 100));
    view.setScrollEnabled(false);
    view.setPlaceholder("简介");

    view.setText("喜欢爬山");
    EXPECT_EQ(view.text(), "喜欢爬山");
    EXPECT_FALSE(view.isShowingPlaceholder());
    EXPECT_FALSE(view.isScrollEnabled());

    view.setText("");
    EXPECT_EQ(displayed(view), "简介");
    EXPECT_EQ(view.text(), "");

    // A new placeholder replaces the shown one; an empty one leaves the view empty.
    view.setPlaceholder("自我介绍");
    EXPECT_EQ(displayed(view), "自我介绍");
    view.setPlaceholder("");
    EXPECT_EQ(displayed(view), "");
    EXPECT_FALSE(view.isShowingPlaceholder());

    // Focused, an emptied view stays empty to type into.
    view.setPlaceholder("简介");
    ASSERT_TRUE(view.becomeFirstResponder());
    view.setText("");
    EXPECT_EQ(displayed(view), "");
}

TEST_F(CustomTextViewTest, RefusedFocusChangesKeepThePlaceholderOutOfTheTypedText) {
    CustomTextView view(Rect(0, 0, 300, 100));
    Screen screen;
    view.setCustomDelegate(&screen);
    view.setPlaceholder("简介");

    screen.mayBegin = false;
    EXPECT_FALSE(view.becomeFirstResponder());
    EXPECT_EQ(displayed(view), "简介");

    screen.mayBegin = true;
    screen.mayEnd = false;
    ASSERT_TRUE(view.becomeFirstResponder());
    EXPECT_FALSE(view.resignFirstResponder());
    EXPECT_EQ(displayed(view), "");
    UserInput::typeText("a");
    EXPECT_EQ(view.text(), "a");

    // Text put in while unfocused never lands inside the placeholder.
    screen.mayEnd = true;
    UserInput::deleteBackward();
    ASSERT_TRUE(view.resignFirstResponder());
    view.insertText("b");
    EXPECT_EQ(view.text(), "b");
}

TEST_F(CustomTextViewTest, TheBackgroundPictureSitsJustBelowInTheSuperviewTwoPointsTaller) {
    auto form = std::make_shared<View>(Rect(0, 0, 320, 480));
    auto title = std::make_shared<View>(Rect(0, 0, 320, 40));
    auto view = std::make_shared<CustomTextView>(Rect(10, 50, 300, 90));
    auto box = ImageAsset::fromImage(std::make_shared<Image>(20, 20), "textarea_bg.png");

    // Set before the view has a superview: placed once it gets one.
    view->setBackgroundImage(box);
    EXPECT_EQ(view->backgroundImageView()->superview(), nullptr);
    form->addSubview(title);
    form->addSubview(view);
    ASSERT_EQ(form->subviews().size(), 3u);
    EXPECT_EQ(form->subviews()[1], view->backgroundImageView());
    EXPECT_EQ(form->subviews()[2], view);
    EXPECT_EQ(view->backgroundImageView()->frame(), Rect(10, 50, 300, 92));
    EXPECT_EQ(view->backgroundImageView()->image(), box);

    view->setFrame(Rect(10, 60, 300, 120));
    EXPECT_EQ(view->backgroundImageView()->frame(), Rect(10, 60, 300, 122));

    view->setBackgroundImage(nullptr);
    EXPECT_EQ(form->subviews().size(), 2u);
    EXPECT_EQ(view->backgroundImageView()->superview(), nullptr);

    view->setBackgroundImage(box);
    EXPECT_EQ(form->subviews().size(), 3u);
    view->removeFromSuperview();
    EXPECT_EQ(form->subviews().size(), 1u);
}

TEST_F(CustomTextViewTest, ScrollingKeepsNoTopInsetAndASmallBottomOne) {
    CustomTextView view(Rect(0, 0, 300, 100));
    view.setContentInset(EdgeInsets{10, 0, 20, 0});
    EXPECT_EQ(view.contentInset(), (EdgeInsets{0, 0, 0, 0}));
    view.setContentInset(EdgeInsets{10, 3, 6, 3});
    EXPECT_EQ(view.contentInset(), (EdgeInsets{0, 3, 6, 3}));

    view.setContentSize(Size{300, 400});
    // Scrolled above the end: the bottom inset becomes 8.
    view.setContentOffset(Point{0, 100});
    EXPECT_EQ(view.contentInset(), (EdgeInsets{0, 3, 8, 3}));
    // At the end it is left alone.
    view.setContentOffset(Point{0, 308});
    EXPECT_EQ(view.contentInset(), (EdgeInsets{0, 3, 8, 3}));
    // A finger on the content drops it.
    view.beginDragging();
    view.dragTo(Point{0, 200});
    EXPECT_EQ(view.contentInset(), (EdgeInsets{0, 3, 0, 3}));
    view.endDragging();

    // Shrinking content drops the insets too; growing content keeps them.
    view.setContentOffset(Point{0, 50});
    EXPECT_EQ(view.contentInset().bottom, 8);
    view.setContentSize(Size{300, 500});
    EXPECT_EQ(view.contentInset().bottom, 8);
    view.setContentSize(Size{300, 200});
    EXPECT_EQ(view.contentInset().bottom, 0);

    // Without scrolling the offset leaves the insets alone.
    view.setScrollEnabled(false);
    view.setContentOffset(Point{0, 10});
    EXPECT_EQ(view.contentInset().bottom, 0);
}

}  // namespace
