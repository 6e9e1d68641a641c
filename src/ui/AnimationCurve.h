#pragma once

namespace zorlet {

// How an animation's progress follows time. The numbers are the phone
// framework's, so a keyboard notification's curve (7) converts directly.
enum class AnimationCurve {
    EaseInOut = 0,
    EaseIn = 1,
    EaseOut = 2,
    Linear = 3,
    Keyboard = 7,
};

// The curve a notification's number names; unknown numbers ease in and out.
AnimationCurve animationCurveFromNumber(int number);
// Progress (0..1) of an animation with `curve` after the fraction `t` (0..1) of its duration.
double animationProgress(AnimationCurve curve, double t);

}  // namespace zorlet
