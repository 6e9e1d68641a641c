#include "ui/AnimationCurve.h"

#include <algorithm>

namespace zorlet {

namespace {

// A timing curve through (0,0), (x1,y1), (x2,y2), (1,1), as CSS and the
// phone framework define their named curves.
struct CubicBezier {
    double x1, y1, x2, y2;

    static double at(double p1, double p2, double s) {
        double u = 1 - s;
        return 3 * u * u * s * p1 + 3 * u * s * s * p2 + s * s * s;
    }

    double progress(double t) const {
        // x grows monotonically with s for these control points, so bisection finds s for t.
        double low = 0;
        double high = 1;
        for (int i = 0; i < 40; ++i) {
            double middle = (low + high) / 2;
            if (at(x1, x2, middle) < t) {
                low = middle;
            } else {
                high = middle;
            }
        }
        return at(y1, y2, (low + high) / 2);
    }
};

constexpr CubicBezier kEaseInOut{0.42, 0, 0.58, 1};
constexpr CubicBezier kEaseIn{0.42, 0, 1, 1};
constexpr CubicBezier kEaseOut{0, 0, 0.58, 1};
// The keyboard moves fast at first and settles long, like a damped spring.
constexpr CubicBezier kKeyboard{0.38, 0.7, 0.125, 1};

}  // namespace

AnimationCurve animationCurveFromNumber(int number) {
    switch (number) {
        case 1:
            return AnimationCurve::EaseIn;
        case 2:
            return AnimationCurve::EaseOut;
        case 3:
            return AnimationCurve::Linear;
        case 7:
            return AnimationCurve::Keyboard;
        default:
            return AnimationCurve::EaseInOut;
    }
}

double animationProgress(AnimationCurve curve, double t) {
    t = std::clamp(t, 0.0, 1.0);
    if (t <= 0 || t >= 1) {
        return t;
    }
    switch (curve) {
        case AnimationCurve::Linear:
            return t;
        case AnimationCurve::EaseIn:
            return kEaseIn.progress(t);
        case AnimationCurve::EaseOut:
            return kEaseOut.progress(t);
        case AnimationCurve::Keyboard:
            return kKeyboard.progress(t);
        case AnimationCurve::EaseInOut:
            break;
    }
    return kEaseInOut.progress(t);
}

}  // namespace zorlet
