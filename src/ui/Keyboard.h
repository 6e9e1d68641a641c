#pragma once

#include "ui/Geometry.h"
#include "ui/NotificationCenter.h"

#include <string>

namespace zorlet {

class TextInput;
class View;

// The on-screen keyboard: which input has the focus, whether the keyboard is
// up, and its notifications. Focusing an input while the keyboard is down
// posts will-show/did-show; the last input giving up the focus posts
// will-hide/did-hide. Moving the focus between inputs posts nothing.
class Keyboard {
public:
    static constexpr const char* kWillShowNotification = "KeyboardWillShowNotification";
    static constexpr const char* kDidShowNotification = "KeyboardDidShowNotification";
    static constexpr const char* kWillHideNotification = "KeyboardWillHideNotification";
    static constexpr const char* kDidHideNotification = "KeyboardDidHideNotification";
    static constexpr double kHeight = 216;
    static constexpr double kAnimationDuration = 0.25;
    static constexpr int kAnimationCurve = 7;

    // What a keyboard notification carries, frames in window coordinates.
    struct Info {
        Rect frameBegin;
        Rect frameEnd;
        double animationDuration = kAnimationDuration;
        int animationCurve = kAnimationCurve;
        static Info from(const Notification& notification);
    };

    static Keyboard& shared();

    TextInput* firstResponder() const { return firstResponder_; }
    bool isShown() const { return firstResponder_ != nullptr; }
    // The keyboard's frame in window coordinates while shown.
    Rect frame() const;

    // "zh-Hans" unless set; screens refuse input while it is "emoji".
    const std::string& currentInputMode() const { return inputMode_; }
    void setCurrentInputMode(std::string mode) { inputMode_ = std::move(mode); }

    // Used by inputs: take the focus (the current holder resigns first; false
    // when it refuses) and give it up.
    bool focus(TextInput* input);
    void unfocus(TextInput* input);
    // The input is going away: drop the focus and lower the keyboard.
    void forget(TextInput* input);
    // Asks the focused input inside `root` (or anywhere, when null) to resign.
    bool endEditing(View* root = nullptr);

    // Test support: no focus, keyboard down, default input mode, no notifications.
    void reset();

private:
    void postShowOrHide(bool show);

    TextInput* firstResponder_ = nullptr;
    bool handingOver_ = false;
    std::string inputMode_ = "zh-Hans";
};

}  // namespace zorlet
