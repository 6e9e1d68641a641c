#include "UiTestSupport.h"

#include "ui/Animator.h"
#include "ui/Renderer.h"
#include "ui/SearchBar.h"
#include "ui/UserInput.h"
#include "ui/ViewTreeDump.h"
#include "ui/Window.h"

#include <chrono>

using namespace zorlet;
using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

namespace {

class LoggingDelegate : public SearchBarDelegate {
public:
    Lines log;
    bool mayBegin = true;
    bool refuseDigits = false;
    bool searchBarShouldBeginEditing(SearchBar&) override {
        log.push_back("shouldBegin");
        return mayBegin;
    }
    void searchBarTextDidBeginEditing(SearchBar& bar) override {
        log.push_back("didBegin");
        bar.setShowsCancelButton(true, true);
    }
    void searchBarTextDidEndEditing(SearchBar&) override { log.push_back("didEnd"); }
    bool searchBarShouldChangeText(SearchBar&, TextRange, const std::string& text) override {
        return !(refuseDigits && !text.empty() && text[0] >= '0' && text[0] <= '9');
    }
    void textDidChange(SearchBar&, const std::string& text) override { log.push_back("changed " + text); }
    void searchBarSearchButtonClicked(SearchBar& bar) override { log.push_back("search " + bar.text()); }
    void searchBarCancelButtonClicked(SearchBar& bar) override {
        log.push_back("cancel");
        bar.setText("");
        bar.setShowsCancelButton(false, true);
        bar.resignFirstResponder();
    }
};

class SearchBarTest : public zorlet::test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        window->makeKeyAndVisible();
        bar->setId("searchBar");
        bar->setPlaceholder("搜索商户");
        bar->setDelegate(&delegate);
        window->addSubview(bar);
    }
    void TearDown() override {
        bar->setDelegate(nullptr);
        UiTest::TearDown();
    }

    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<SearchBar> bar = std::make_shared<SearchBar>(Rect(0, 64, 320, SearchBar::kHeight));
    LoggingDelegate delegate;
};

TEST_F(SearchBarTest, TappingTypingSearchingAndCancellingReachTheDelegate) {
    EXPECT_FALSE(bar->cancelButton().isVisibleInWindow());
    ASSERT_TRUE(UserInput::tap(*bar));
    EXPECT_TRUE(bar->isFirstResponder());
    EXPECT_EQ(Keyboard::shared().firstResponder(), &bar->searchField());
    EXPECT_EQ(delegate.log, (Lines{"shouldBegin", "didBegin"}));
    EXPECT_TRUE(bar->showsCancelButton());
    EXPECT_TRUE(bar->cancelButton().isVisibleInWindow());
    delegate.log.clear();

    ASSERT_TRUE(UserInput::typeText("火锅"));
    ASSERT_TRUE(UserInput::deleteBackward());
    EXPECT_EQ(delegate.log, (Lines{"changed 火", "changed 火锅", "changed 火"}));
    delegate.log.clear();

    // The search key reports and leaves the keyboard up.
    ASSERT_TRUE(UserInput::pressReturn());
    EXPECT_EQ(delegate.log, (Lines{"search 火"}));
    EXPECT_TRUE(bar->isFirstResponder());
    delegate.log.clear();

    // The field's clear button is an edit like any other.
    View* clear = nullptr;
    for (const auto& child : bar->searchField().subviews()) {
        if (child->id() == "clearButton") {
            clear = child.get();
        }
    }
    ASSERT_NE(clear, nullptr);
    ASSERT_TRUE(UserInput::typeText("粥"));
    delegate.log.clear();
    ASSERT_TRUE(UserInput::tap(*clear));
    EXPECT_EQ(delegate.log, (Lines{"changed "}));
    EXPECT_EQ(bar->text(), "");
    delegate.log.clear();

    ASSERT_TRUE(UserInput::typeText("面"));
    delegate.log.clear();
    ASSERT_TRUE(UserInput::tap(bar->cancelButton()));
    EXPECT_EQ(delegate.log, (Lines{"cancel", "didEnd"}));
    EXPECT_EQ(bar->text(), "");
    EXPECT_FALSE(Keyboard::shared().isShown());
    EXPECT_EQ(bar->cancelButton().alpha(), 0);
    MainLoop::main().advance(250ms);
    EXPECT_FALSE(bar->cancelButton().isVisibleInWindow());
}

TEST_F(SearchBarTest, TheDelegateMayRefuseTheFocusOrAnEditAndSettingTheTextIsNoEdit) {
    delegate.mayBegin = false;
    UserInput::tap(*bar);
    EXPECT_FALSE(bar->isFirstResponder());
    EXPECT_EQ(delegate.log, (Lines{"shouldBegin"}));
    delegate.log.clear();

    bar->setText("咖啡");
    EXPECT_EQ(bar->text(), "咖啡");
    EXPECT_EQ(bar->searchField().text(), "咖啡");
    EXPECT_TRUE(delegate.log.empty());

    delegate.mayBegin = true;
    delegate.refuseDigits = true;
    ASSERT_TRUE(bar->becomeFirstResponder());
    delegate.log.clear();
    ASSERT_TRUE(UserInput::typeText("7馆"));
    EXPECT_EQ(bar->text(), "咖啡馆");
    EXPECT_EQ(delegate.log, (Lines{"changed 咖啡馆"}));
}

TEST_F(SearchBarTest, TheCancelButtonMakesRoomForItselfAndFadesWhenAnimated) {
    Rect wide = bar->searchField().frame();
    EXPECT_EQ(wide, Rect(6, 7, 308, 30));
    bar->setShowsCancelButton(true);
    EXPECT_FALSE(Animator::shared().isAnimating());
    EXPECT_LT(bar->searchField().frame().width(), wide.width());
    EXPECT_LE(bar->searchField().frame().maxX(), bar->cancelButton().frame().x());
    EXPECT_EQ(bar->cancelButton().currentTitle(), "取消");
    EXPECT_EQ(bar->cancelButton().id(), "searchCancelButton");
    EXPECT_NE(ViewTreeDump::dump(*bar).find("SearchBar (0,64,320,44) id=searchBar cancel"),
              std::string::npos);

    bar->setShowsCancelButton(false, true);
    // Gone for a finger at once, fading on screen.
    EXPECT_EQ(bar->searchField().frame(), wide);
    EXPECT_FALSE(bar->cancelButton().isVisibleInWindow() && bar->cancelButton().alpha() > 0);
    EXPECT_EQ(UserInput::tap(bar->cancelButton()), false);
    MainLoop::main().advance(125ms);
    EXPECT_NEAR(Animator::shared().presentationAlpha(bar->cancelButton()), 0.5, 1e-6);
    MainLoop::main().advance(125ms);
    EXPECT_TRUE(bar->cancelButton().isHidden());

    // Shown again before a hide ends: it stays.
    bar->setShowsCancelButton(true, true);
    bar->setShowsCancelButton(false, true);
    bar->setShowsCancelButton(true, true);
    MainLoop::main().advance(300ms);
    EXPECT_TRUE(bar->cancelButton().isVisibleInWindow());
    EXPECT_EQ(bar->cancelButton().alpha(), 1);
}

TEST_F(SearchBarTest, TheRendererDrawsThePlaceholderTheFieldAndTheCancelButton) {
    auto pictureOf = [&] { return Renderer::renderView(*bar, 1); };
    auto plain = pictureOf();
    // The rounded field is white inside the bar's grey.
    EXPECT_EQ(plain->pixelAt(160, 10), 0xFFFFFFFFu);
    EXPECT_NE(plain->pixelAt(2, 22), 0xFFFFFFFFu);
    bool placeholderInk = false;
    for (int x = 32; x < 100 && !placeholderInk; ++x) {
        placeholderInk = plain->pixelAt(x, 22) != 0xFFFFFFFFu;
    }
    EXPECT_TRUE(placeholderInk);

    bar->setShowsCancelButton(true);
    auto withCancel = pictureOf();
    bool differs = false;
    for (int x = 262; x < 314 && !differs; ++x) {
        differs = withCancel->pixelAt(x, 22) != plain->pixelAt(x, 22);
    }
    EXPECT_TRUE(differs);
}

}  // namespace
