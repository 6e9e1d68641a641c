#include "HostTestSupport.h"

#include "app/GuidanceViewController.h"
#include "ui/Animator.h"
#include "ui/ViewTreeDump.h"
#include "ui/Window.h"

#include <optional>

namespace zorlet::test {
namespace {

class FlowAnimationTest : public HostTest {
protected:
    std::string rootClass() const {
        ViewController* root = app_.window() ? app_.window()->rootViewController() : nullptr;
        return root ? root->className() : "(none)";
    }
};

TEST_F(FlowAnimationTest, WaitingForAnimationsWaitsForMovingViewsWithinItsBound) {
    ASSERT_TRUE(runFlow("- launchApp: {clearState: true, skipGuidance: true}\n").passed);
    auto box = std::make_shared<View>(Rect(0, 100, 100, 100));
    app_.window()->addSubview(box);
    std::optional<bool> finished;
    // The tree shows the end at once, so only the animator knows the box still moves.
    View::animate(
        1.2, AnimationCurve::EaseOut, [&] { box->setAlpha(0); }, [&](bool done) { finished = done; });
    Duration before = MainLoop::main().clock().uptime();
    auto result = runFlow("- waitForAnimationToEnd\n");
    ASSERT_TRUE(result.passed) << result.message;
    EXPECT_EQ(finished, true);
    EXPECT_FALSE(Animator::shared().isAnimating());
    EXPECT_GE(MainLoop::main().clock().uptime() - before, Duration(1200));

    // One that outlasts the wait does not hold the flow forever.
    finished.reset();
    View::animate(
        60, AnimationCurve::Linear, [&] { box->setAlpha(1); }, [&](bool done) { finished = done; });
    before = MainLoop::main().clock().uptime();
    ASSERT_TRUE(runFlow("- waitForAnimationToEnd: {timeout: 500}\n").passed);
    EXPECT_LE(MainLoop::main().clock().uptime() - before, Duration(600));
    EXPECT_FALSE(finished);
    box->removeFromSuperview();
}

TEST_F(FlowAnimationTest, TheGuidanceFadesIntoTheWelcomeScreenWhichHidesTheStatusBar) {
    ASSERT_TRUE(runFlow("- launchApp: {clearState: true}\n").passed);
    auto* guidance = dynamic_cast<GuidanceViewController*>(app_.window()->rootViewController());
    ASSERT_NE(guidance, nullptr);
    EXPECT_NE(ViewTreeDump::line(*app_.window()).find("statusBar=blackOpaque"), std::string::npos);
    guidance->finish();
    EXPECT_TRUE(Animator::shared().isAnimating(guidance->view()));
    ASSERT_TRUE(runFlow("- waitForAnimationToEnd\n").passed);
    EXPECT_EQ(rootClass(), "WelcomeViewController");
    EXPECT_EQ(ViewTreeDump::line(*app_.window()), "Window (0,0,320,480) key statusBar=hidden");
    EXPECT_EQ(app_.window()->rootViewController()->view().frame(), Rect(0, 0, 320, 480));
}

}  // namespace
}  // namespace zorlet::test
