#include "UiTestSupport.h"

#include "ui/Renderer.h"
#include "ui/TextField.h"
#include "ui/UserInput.h"
#include "ui/ViewTreeDump.h"
#include "ui/Window.h"

using namespace zorlet;

namespace {

class RefusingClear : public TextFieldDelegate {
public:
    bool allow = false;
    int asked = 0;
    bool textFieldShouldClear(TextField&) override {
        ++asked;
        return allow;
    }
};

class TextFieldAccessoryTest : public zorlet::test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        window->makeKeyAndVisible();
        window->addSubview(field);
        window->addSubview(other);
    }
    View* clearButton() const {
        for (const auto& child : field->subviews()) {
            if (child->id() == "clearButton") {
                return child.get();
            }
        }
        return nullptr;
    }

    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<TextField> field = std::make_shared<TextField>(Rect(10, 40, 300, 31));
    std::shared_ptr<TextField> other = std::make_shared<TextField>(Rect(10, 100, 300, 31));
};

TEST_F(TextFieldAccessoryTest, TheClearButtonShowsByModeOnlyOverSomeText) {
    struct Case {
        TextFieldViewMode mode;
        bool editing;
        bool shown;
    };
    const Case cases[] = {
        {TextFieldViewMode::Never, false, false},        {TextFieldViewMode::Never, true, false},
        {TextFieldViewMode::WhileEditing, false, false}, {TextFieldViewMode::WhileEditing, true, true},
        {TextFieldViewMode::UnlessEditing, false, true}, {TextFieldViewMode::UnlessEditing, true, false},
        {TextFieldViewMode::Always, false, true},        {TextFieldViewMode::Always, true, true},
    };
    for (const Case& c : cases) {
        field->setClearButtonMode(c.mode);
        field->setText("北京");
        if (c.editing) {
            ASSERT_TRUE(field->becomeFirstResponder());
        } else {
            ASSERT_TRUE(field->resignFirstResponder());
        }
        SCOPED_TRACE(static_cast<int>(c.mode) * 2 + c.editing);
        EXPECT_EQ(field->isClearButtonShown(), c.shown);
        View* button = clearButton();
        EXPECT_EQ(button != nullptr && button->isVisibleInWindow(), c.shown);
        // The text stops short of the button.
        EXPECT_EQ(field->textRect().maxX(),
                  c.shown ? field->clearButtonRect().x() : 300 - TextField::kTextInset);
        field->setText("");
        EXPECT_FALSE(field->isClearButtonShown());
    }

    // Typing and deleting bring it and take it away.
    field->setClearButtonMode(TextFieldViewMode::WhileEditing);
    ASSERT_TRUE(UserInput::tap(*field));
    EXPECT_FALSE(field->isClearButtonShown());
    ASSERT_TRUE(UserInput::typeText("a"));
    EXPECT_TRUE(field->isClearButtonShown());
    EXPECT_NE(ViewTreeDump::dump(*field).find("TextFieldClearButton (275,5.5,20,20) id=clearButton"),
              std::string::npos)
        << ViewTreeDump::dump(*field);
    ASSERT_TRUE(UserInput::deleteBackward());
    EXPECT_FALSE(field->isClearButtonShown());
    // Moving the focus elsewhere ends this field's editing.
    ASSERT_TRUE(UserInput::typeText("b"));
    ASSERT_TRUE(UserInput::tap(*other));
    EXPECT_FALSE(field->isClearButtonShown());
}

TEST_F(TextFieldAccessoryTest, TappingTheClearButtonEmptiesTheFieldAsAnEditWould) {
    field->setClearButtonMode(TextFieldViewMode::Always);
    field->setText("三里屯");
    int changes = 0;
    int notes = 0;
    field->addTarget(EditingChanged, [&](Control&) { ++changes; });
    NotificationCenter::defaultCenter().addObserver(this, TextField::kTextDidChangeNotification,
                                                    [&](const Notification& n) {
                                                        if (n.object == field.get()) {
                                                            ++notes;
                                                        }
                                                    });
    RefusingClear delegate;
    field->setDelegate(&delegate);
    ASSERT_NE(clearButton(), nullptr);
    UserInput::tap(*clearButton());
    EXPECT_EQ(delegate.asked, 1);
    EXPECT_EQ(field->text(), "三里屯");
    EXPECT_EQ(changes, 0);

    delegate.allow = true;
    ASSERT_TRUE(
        UserInput::tapAt(*window, field->convertToWindow(field->clearButtonRect().origin) + Point{10, 10}));
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(notes, 1);
    EXPECT_FALSE(field->isClearButtonShown());
    NotificationCenter::defaultCenter().removeObserver(this);
    field->setDelegate(nullptr);
}

TEST_F(TextFieldAccessoryTest, ALeftViewPadsTheTextWhileItsModeShowsIt) {
    auto padding = std::make_shared<View>(Rect(0, 0, 10, 31));
    padding->setBackgroundColor(Color::redColor());
    field->setLeftView(padding);
    EXPECT_EQ(padding->superview(), field.get());
    EXPECT_FALSE(field->isLeftViewShown());  // never, until a mode says otherwise
    EXPECT_EQ(field->textRect().x(), TextField::kTextInset);

    field->setLeftViewMode(TextFieldViewMode::Always);
    EXPECT_TRUE(field->isLeftViewShown());
    EXPECT_EQ(field->leftViewRect(), Rect(0, 0, 10, 31));
    EXPECT_EQ(field->textRect(), Rect(10, 0, 284, 31));
    auto picture = Renderer::renderWindow(*window, 1);
    EXPECT_EQ(picture->pixelAt(15, 55), 0xFFFF0000u);
    EXPECT_NE(picture->pixelAt(25, 55), 0xFFFF0000u);

    field->setLeftViewMode(TextFieldViewMode::WhileEditing);
    EXPECT_FALSE(field->isLeftViewShown());
    EXPECT_NE(Renderer::renderWindow(*window, 1)->pixelAt(15, 55), 0xFFFF0000u);
    ASSERT_TRUE(UserInput::tap(*field));
    EXPECT_TRUE(field->isLeftViewShown());

    // A tap on the left view still focuses the field; a taller view is centred.
    field->resignFirstResponder();
    field->setLeftViewMode(TextFieldViewMode::Always);
    ASSERT_TRUE(UserInput::tapAt(*window, {12, 50}));
    EXPECT_TRUE(field->isFirstResponder());
    auto icon = std::make_shared<View>(Rect(0, 0, 20, 11));
    field->setLeftView(icon);
    EXPECT_EQ(padding->superview(), nullptr);
    EXPECT_EQ(icon->frame(), Rect(0, 10, 20, 11));
    EXPECT_EQ(field->textRect().x(), 20);
}

}  // namespace
