#include "UiTestSupport.h"

#include "ui/Animator.h"
#include "ui/Renderer.h"
#include "ui/ViewTreeDump.h"
#include "ui/Window.h"

#include <chrono>

using namespace zorlet;
using namespace std::chrono_literals;

namespace {

class Screen : public ViewController {
public:
    std::string className() const override { return "Screen"; }
    void viewDidLoad() override { view().setBackgroundColor(Color::redColor()); }
};

class StatusBarTest : public zorlet::test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        window->setRootViewController(root);
        window->makeKeyAndVisible();
    }
    std::uint32_t pixel(double x, double y) const {
        return Renderer::renderWindow(*window, 1)->pixelAt(static_cast<int>(x), static_cast<int>(y));
    }
    static Application& app() { return Application::shared(); }

    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<Screen> root = std::make_shared<Screen>();
};

TEST_F(StatusBarTest, HidingTheBarGivesTheScreensTheWholeWindowAndShowingTakesItBack) {
    EXPECT_FALSE(app().isStatusBarHidden());
    EXPECT_EQ(window->contentFrame(), Rect(0, 20, 320, 460));
    EXPECT_EQ(root->view().frame(), Rect(0, 20, 320, 460));
    auto modal = std::make_shared<Screen>();
    root->presentModalViewController(modal, false);

    app().setStatusBarHidden(true);
    EXPECT_TRUE(app().isStatusBarHidden());
    EXPECT_EQ(window->contentFrame(), Rect(0, 0, 320, 480));
    EXPECT_EQ(root->view().frame(), Rect(0, 0, 320, 480));
    EXPECT_EQ(modal->view().frame(), Rect(0, 0, 320, 480));
    EXPECT_EQ(ViewTreeDump::dump(*window).rfind("Window (0,0,320,480) key statusBar=hidden\n", 0), 0u);
    EXPECT_EQ(pixel(160, 10), 0xFFFF0000u);  // the screen shows where the bar was

    // A window made while the bar is hidden starts at the top; one made after it shows starts below it.
    Window another;
    EXPECT_EQ(another.contentFrame().y(), 0);
    app().setStatusBarHidden(false);
    EXPECT_EQ(another.contentFrame().y(), 20);
    EXPECT_EQ(root->view().frame(), Rect(0, 20, 320, 460));
    EXPECT_EQ(modal->view().frame(), Rect(0, 20, 320, 460));
    EXPECT_NE(pixel(160, 10), 0xFFFF0000u);
}

TEST_F(StatusBarTest, AnAnimatedChangeSlidesTheScreenAndFadesTheBar) {
    app().setStatusBarHidden(true, true);
    EXPECT_EQ(root->view().frame(), Rect(0, 0, 320, 480));
    EXPECT_TRUE(Animator::shared().isAnimating());
    MainLoop::main().advance(150ms);
    Rect moving = Animator::shared().presentationFrame(root->view());
    EXPECT_NEAR(moving.y(), 10, 1e-9);
    EXPECT_NEAR(moving.height(), 470, 1e-9);
    EXPECT_NEAR(Animator::shared().presentationAlpha(window->statusBar()), 0.5, 1e-9);
    MainLoop::main().advance(150ms);
    EXPECT_FALSE(Animator::shared().isAnimating());
    EXPECT_EQ(pixel(160, 10), 0xFFFF0000u);

    // Without a visible window there is nothing to watch move.
    auto hidden = std::make_shared<Window>();
    auto other = std::make_shared<Screen>();
    hidden->setRootViewController(other);
    app().setStatusBarHidden(false, true);
    EXPECT_FALSE(Animator::shared().isAnimating(other->view()));
    EXPECT_TRUE(Animator::shared().isAnimating(root->view()));
}

TEST_F(StatusBarTest, TheStyleColoursTheBarAndTheDumpNamesIt) {
    MainLoop::main().clock().pinNow(SystemTime(std::chrono::seconds(1700000000)));
    EXPECT_EQ(app().statusBarStyle(), StatusBarStyle::Default);
    std::uint32_t light = pixel(300, 3);
    EXPECT_GT(light & 0xFF, 200u);

    app().setStatusBarStyle(StatusBarStyle::BlackOpaque);
    EXPECT_EQ(pixel(300, 3), 0xFF000000u);
    EXPECT_NE(ViewTreeDump::line(*window).find("statusBar=blackOpaque"), std::string::npos);

    // Light content draws only its text, over the window's own black.
    app().setStatusBarStyle(StatusBarStyle::LightContent);
    window->setBackgroundColor(Color::blueColor());
    EXPECT_EQ(pixel(300, 3), 0xFF0000FFu);
    EXPECT_NE(ViewTreeDump::line(*window).find("statusBar=lightContent"), std::string::npos);

    // The time is drawn in the middle of the bar in the text colour.
    auto picture = Renderer::renderWindow(*window, 1);
    bool text = false;
    for (int x = 140; x < 180 && !text; ++x) {
        for (int y = 4; y < 16 && !text; ++y) {
            text = (picture->pixelAt(x, y) & 0xFF) > 200 && ((picture->pixelAt(x, y) >> 16) & 0xFF) > 200;
        }
    }
    EXPECT_TRUE(text);
    MainLoop::main().clock().unpinNow();

    app().reset();
    EXPECT_EQ(app().statusBarStyle(), StatusBarStyle::Default);
    EXPECT_FALSE(app().isStatusBarHidden());
}

}  // namespace
