#include "UiTestSupport.h"

#include "ui/TextField.h"
#include "ui/TextView.h"
#include "ui/UserInput.h"
#include "ui/Window.h"

using namespace zorlet;
using Lines = std::vector<std::string>;

namespace {

class KeyboardTest : public zorlet::test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        window->makeKeyAndVisible();
        window->addSubview(field);
        window->addSubview(textView);
        auto& center = NotificationCenter::defaultCenter();
        center.addObserver(this, Keyboard::kWillShowNotification, [this](const Notification& n) {
            notes.push_back("show");
            shown = Keyboard::Info::from(n);
        });
        center.addObserver(this, Keyboard::kWillHideNotification, [this](const Notification& n) {
            notes.push_back("hide");
            hidden = Keyboard::Info::from(n);
        });
    }
    void TearDown() override {
        NotificationCenter::defaultCenter().removeObserver(this);
        UiTest::TearDown();
    }

    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<TextField> field = std::make_shared<TextField>(Rect(10, 30, 300, 31));
    std::shared_ptr<TextView> textView = std::make_shared<TextView>(Rect(10, 80, 300, 100));
    Lines notes;
    Keyboard::Info shown;
    Keyboard::Info hidden;
};

TEST_F(KeyboardTest, FocusRaisesTheKeyboardAndResigningLowersIt) {
    ASSERT_TRUE(UserInput::tap(*field));
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_EQ(notes, (Lines{"show"}));
    EXPECT_EQ(shown.frameEnd, Rect(0, 480 - 216, 320, 216));
    EXPECT_EQ(shown.frameBegin, Rect(0, 480, 320, 216));
    EXPECT_DOUBLE_EQ(shown.animationDuration, 0.25);
    EXPECT_EQ(shown.animationCurve, 7);

    // Moving the focus keeps the keyboard up.
    ASSERT_TRUE(textView->becomeFirstResponder());
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(notes, (Lines{"show"}));

    EXPECT_TRUE(textView->resignFirstResponder());
    EXPECT_EQ(notes, (Lines{"show", "hide"}));
    EXPECT_EQ(hidden.frameEnd, Rect(0, 480, 320, 216));
    EXPECT_FALSE(UserInput::typeText("x"));
}

TEST_F(KeyboardTest, TheDelegateSeesEveryChangeAndCanRefuseIt) {
    struct Delegate : TextFieldDelegate {
        Lines events;
        bool textFieldShouldChangeCharacters(TextField& f, TextRange range,
                                             const std::string& replacement) override {
            events.push_back(std::to_string(range.location) + "+" + std::to_string(range.length) + ":" +
                             replacement);
            // Refuses everything while the emoji keyboard is on, as the sign-in fields do.
            return Keyboard::shared().currentInputMode() != "emoji";
        }
        void textFieldDidBeginEditing(TextField&) override { events.push_back("begin"); }
        void textFieldDidEndEditing(TextField&) override { events.push_back("end"); }
        bool textFieldShouldReturn(TextField& f) override {
            f.resignFirstResponder();
            return true;
        }
    } delegate;
    field->setDelegate(&delegate);
    field->becomeFirstResponder();
    UserInput::typeText("a你");
    EXPECT_EQ(field->text(), "a你");
    Keyboard::shared().setCurrentInputMode("emoji");
    UserInput::typeText("b");
    UserInput::deleteBackward();
    EXPECT_EQ(field->text(), "a你");
    Keyboard::shared().setCurrentInputMode("zh-Hans");
    UserInput::deleteBackward();
    EXPECT_EQ(field->text(), "a");
    UserInput::pressReturn();
    EXPECT_EQ(delegate.events, (Lines{"begin", "0+0:a", "1+0:你", "4+0:b", "1+3:", "1+3:", "end"}));
    EXPECT_FALSE(field->isFirstResponder());
}

TEST_F(KeyboardTest, ATextViewGrowsItsContentWithTheTextAndTellsItsDelegate) {
    struct Delegate : TextViewDelegate {
        int changes = 0;
        bool textViewShouldChangeText(TextView&, TextRange, const std::string& text) override {
            return text != "\n";
        }
        void textViewDidChange(TextView&) override { ++changes; }
    } delegate;
    textView->setTextViewDelegate(&delegate);
    textView->becomeFirstResponder();
    double oneLine = textView->contentSize().height;
    UserInput::pasteText(
        "这是一段很长的文字，用来确认文本视图会随着内容的增加而变高，并且会换行显示在多行之中。");
    UserInput::pressReturn();  // refused by the delegate
    EXPECT_EQ(delegate.changes, 1);
    EXPECT_EQ(textView->text().find('\n'), std::string::npos);
    EXPECT_GT(textView->contentSize().height, oneLine);
}

TEST_F(KeyboardTest, AnInputRemovedFromTheWindowLosesTheFocus) {
    field->becomeFirstResponder();
    field->removeFromSuperview();
    EXPECT_FALSE(Keyboard::shared().isShown());
    EXPECT_EQ(notes, (Lines{"show", "hide"}));
    // A destroyed focused input leaves no dangling focus.
    auto temporary = std::make_shared<TextField>(Rect(0, 0, 100, 30));
    temporary->becomeFirstResponder();
    temporary.reset();
    EXPECT_EQ(Keyboard::shared().firstResponder(), nullptr);
}

TEST_F(KeyboardTest, EndEditingOnlyResignsInputsInsideTheGivenView) {
    auto other = std::make_shared<View>(Rect(0, 300, 320, 100));
    window->addSubview(other);
    field->becomeFirstResponder();
    EXPECT_TRUE(Keyboard::shared().endEditing(other.get()));
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(Keyboard::shared().endEditing(window.get()));
    EXPECT_FALSE(field->isFirstResponder());
}

}  // namespace
