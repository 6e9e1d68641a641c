#include "UiTestSupport.h"

#include "ui/Animator.h"
#include "ui/Renderer.h"
#include "ui/View.h"
#include "ui/Window.h"

#include <chrono>
#include <optional>

using namespace zorlet;
using namespace std::chrono_literals;

namespace {

class AnimationTest : public zorlet::test::UiTest {
protected:
    static void advance(Duration delta) { MainLoop::main().advance(delta); }
    static Animator& animator() { return Animator::shared(); }

    std::shared_ptr<View> box = std::make_shared<View>(Rect(0, 0, 100, 100));
    std::optional<bool> finished;
    std::function<void(bool)> record() {
        return [this](bool done) { finished = done; };
    }
};

TEST_F(AnimationTest, PropertiesTakeTheirEndAtOnceWhileTheScreenMovesWithTheClock) {
    View::animate(
        1.0, AnimationCurve::Linear,
        [&] {
            box->setFrame(Rect(200, 100, 50, 20));
            box->setAlpha(0);
            box->setTransform(AffineTransform::scale(3, 3));
        },
        record());
    // Screen logic sees where the view ends up.
    EXPECT_EQ(box->frame(), Rect(200, 100, 50, 20));
    EXPECT_EQ(box->alpha(), 0);
    EXPECT_TRUE(animator().isAnimating());
    EXPECT_TRUE(animator().isAnimating(*box));
    EXPECT_EQ(animator().presentationFrame(*box), Rect(0, 0, 100, 100));
    EXPECT_EQ(animator().presentationAlpha(*box), 1);

    advance(250ms);
    EXPECT_EQ(animator().presentationFrame(*box), Rect(50, 25, 87.5, 80));
    EXPECT_DOUBLE_EQ(animator().presentationAlpha(*box), 0.75);
    EXPECT_DOUBLE_EQ(animator().presentationTransform(*box).a, 1.5);
    EXPECT_FALSE(finished);

    advance(749ms);
    EXPECT_FALSE(finished);
    EXPECT_TRUE(animator().isAnimating());
    advance(1ms);
    EXPECT_EQ(finished, true);
    EXPECT_FALSE(animator().isAnimating());
    EXPECT_EQ(animator().presentationFrame(*box), Rect(200, 100, 50, 20));
    EXPECT_EQ(animator().presentationAlpha(*box), 0);
    EXPECT_EQ(animator().presentationTransform(*box), AffineTransform::scale(3, 3));
}

TEST_F(AnimationTest, CurvesStartSlowEndSlowOrFollowTheKeyboard) {
    for (AnimationCurve curve : {AnimationCurve::EaseInOut, AnimationCurve::EaseIn, AnimationCurve::EaseOut,
                                 AnimationCurve::Linear, AnimationCurve::Keyboard}) {
        EXPECT_EQ(animationProgress(curve, 0), 0);
        EXPECT_EQ(animationProgress(curve, 1), 1);
        EXPECT_EQ(animationProgress(curve, 2), 1);
        double last = 0;
        for (int step = 1; step <= 20; ++step) {
            double p = animationProgress(curve, step / 20.0);
            EXPECT_GE(p, last) << static_cast<int>(curve) << " at " << step;
            last = p;
        }
    }
    EXPECT_NEAR(animationProgress(AnimationCurve::EaseInOut, 0.5), 0.5, 1e-6);
    EXPECT_LT(animationProgress(AnimationCurve::EaseInOut, 0.2), 0.15);
    EXPECT_GT(animationProgress(AnimationCurve::EaseInOut, 0.8), 0.85);
    EXPECT_LT(animationProgress(AnimationCurve::EaseIn, 0.5), 0.4);
    EXPECT_GT(animationProgress(AnimationCurve::EaseOut, 0.5), 0.6);
    EXPECT_DOUBLE_EQ(animationProgress(AnimationCurve::Linear, 0.3), 0.3);
    // The keyboard is most of the way up in the first quarter.
    EXPECT_GT(animationProgress(AnimationCurve::Keyboard, 0.25), 0.5);

    EXPECT_EQ(animationCurveFromNumber(7), AnimationCurve::Keyboard);
    EXPECT_EQ(animationCurveFromNumber(3), AnimationCurve::Linear);
    EXPECT_EQ(animationCurveFromNumber(1), AnimationCurve::EaseIn);
    EXPECT_EQ(animationCurveFromNumber(2), AnimationCurve::EaseOut);
    EXPECT_EQ(animationCurveFromNumber(42), AnimationCurve::EaseInOut);

    // A curve shapes the screen's values, not their end.
    View::animate(1.0, AnimationCurve::EaseIn, [&] { box->setAlpha(0); });
    advance(500ms);
    EXPECT_GT(animator().presentationAlpha(*box), 0.6);
}

TEST_F(AnimationTest, ALaterAnimationTakesOverFromWhereTheScreenIs) {
    std::optional<bool> second;
    View::animate(
        1.0, AnimationCurve::Linear, [&] { box->setFrame(Rect(100, 0, 100, 100)); }, record());
    advance(500ms);
    View::animate(
        1.0, AnimationCurve::Linear, [&] { box->setFrame(Rect(0, 0, 100, 100)); },
        [&](bool done) { second = done; });
    // The first learns it was cut short on the next turn of the loop, not inside the call.
    EXPECT_FALSE(finished);
    advance(0ms);
    EXPECT_EQ(finished, false);
    EXPECT_EQ(animator().presentationFrame(*box).x(), 50);
    advance(500ms);
    EXPECT_EQ(animator().presentationFrame(*box).x(), 25);
    advance(500ms);
    EXPECT_EQ(second, true);
    EXPECT_EQ(animator().animationCount(), 0u);
}

TEST_F(AnimationTest, SettingAPropertyDirectlyOrCancellingStopsItsAnimation) {
    auto other = std::make_shared<View>(Rect(0, 0, 10, 10));
    View::animate(
        1.0, AnimationCurve::Linear,
        [&] {
            box->setAlpha(0);
            other->setAlpha(0.5);
        },
        record());
    advance(200ms);
    box->setAlpha(0.3);
    EXPECT_EQ(animator().presentationAlpha(*box), 0.3);
    // The other view still moves, but the group no longer ends as it was asked.
    EXPECT_DOUBLE_EQ(animator().presentationAlpha(*other), 0.9);
    advance(800ms);
    EXPECT_EQ(finished, false);

    finished.reset();
    View::animate(
        1.0, AnimationCurve::Linear, [&] { box->setFrame(Rect(0, 0, 300, 300)); }, record());
    advance(100ms);
    animator().cancelAnimations(*box);
    EXPECT_EQ(animator().presentationFrame(*box), Rect(0, 0, 300, 300));
    advance(0ms);
    EXPECT_EQ(finished, false);
    EXPECT_FALSE(animator().isAnimating());
}

TEST_F(AnimationTest, ZeroDurationNoChangeAndUnownedViewsApplyAtOnceAndStillComplete) {
    View::animate(
        0, AnimationCurve::EaseInOut, [&] { box->setAlpha(0.2); }, record());
    EXPECT_EQ(animator().presentationAlpha(*box), 0.2);
    EXPECT_FALSE(finished);  // never inside the call
    advance(0ms);
    EXPECT_EQ(finished, true);

    finished.reset();
    View::animate(
        0.5, AnimationCurve::EaseInOut, [&] { box->setAlpha(0.2); }, record());
    advance(0ms);
    EXPECT_EQ(finished, true);

    finished.reset();
    View onStack(Rect(0, 0, 10, 10));
    View::animate(
        0.5, AnimationCurve::EaseInOut, [&] { onStack.setAlpha(0); }, record());
    EXPECT_EQ(animator().presentationAlpha(onStack), 0);
    advance(0ms);
    EXPECT_EQ(finished, true);
    EXPECT_FALSE(animator().isAnimating());
}

TEST_F(AnimationTest, AViewGoingAwayMidAnimationAndCompletionsThatAnimateAgain) {
    auto doomed = std::make_shared<View>(Rect(0, 0, 10, 10));
    View::animate(
        0.3, AnimationCurve::Linear, [&] { doomed->setAlpha(0); }, record());
    advance(100ms);
    doomed.reset();
    advance(200ms);
    EXPECT_EQ(finished, true);

    // A completion may chain the next step.
    std::vector<std::string> steps;
    View::animate(
        0.2, AnimationCurve::Linear, [&] { box->setFrame(Rect(50, 0, 100, 100)); },
        [&](bool) {
            steps.push_back("out");
            View::animate(
                0.2, AnimationCurve::Linear, [&] { box->setFrame(Rect(0, 0, 100, 100)); },
                [&](bool done) { steps.push_back(done ? "back" : "cut"); });
        });
    advance(300ms);
    EXPECT_EQ(steps, (std::vector<std::string>{"out"}));
    EXPECT_EQ(animator().presentationFrame(*box).x(), 25);
    advance(100ms);
    EXPECT_EQ(steps, (std::vector<std::string>{"out", "back"}));
}

TEST_F(AnimationTest, TheRendererDrawsWhatIsOnScreenNow) {
    auto window = std::make_shared<Window>();
    auto red = std::make_shared<View>(Rect(0, 100, 100, 100));
    red->setBackgroundColor(Color::redColor());
    window->addSubview(red);
    auto pixel = [&](double x, double y) {
        return Renderer::renderWindow(*window, 1)->pixelAt(static_cast<int>(x), static_cast<int>(y));
    };
    EXPECT_EQ(pixel(50, 150), 0xFFFF0000u);

    View::animate(1.0, AnimationCurve::Linear, [&] { red->setFrame(Rect(200, 100, 100, 100)); });
    EXPECT_EQ(pixel(50, 150), 0xFFFF0000u);  // still where it started
    advance(500ms);
    EXPECT_EQ(pixel(50, 150), 0xFF000000u);
    EXPECT_EQ(pixel(150, 150), 0xFFFF0000u);
    advance(500ms);
    EXPECT_EQ(pixel(250, 150), 0xFFFF0000u);

    // Scaled about its centre, then faded half way.
    red->setTransform(AffineTransform::scale(0.5, 0.5));
    EXPECT_EQ(pixel(210, 150), 0xFF000000u);
    EXPECT_EQ(pixel(240, 150), 0xFFFF0000u);
    View::animate(1.0, AnimationCurve::Linear, [&] { red->setAlpha(0); });
    advance(500ms);
    std::uint32_t faded = pixel(250, 150);
    EXPECT_NEAR(static_cast<int>((faded >> 16) & 0xFF), 128, 3);
    EXPECT_EQ(faded & 0xFFFF, 0u);
    // Squashed flat it is simply not there, and drawing goes on.
    red->setTransform(AffineTransform::scale(0, 1));
    EXPECT_EQ(pixel(250, 150), 0xFF000000u);
}

}  // namespace
