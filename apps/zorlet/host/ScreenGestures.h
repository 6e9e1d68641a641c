#pragma once

#include "host/ScreenMatch.h"
#include "platform/Result.h"

namespace zorlet {

class Window;

// What a finger and a keyboard do to the screen, for flows and the window:
// taps that respect what is on top (an alert takes every tap while shown),
// the back gesture, swipes on scroll views. Each fails, saying why, when the
// input reached nothing.
class ScreenGestures {
public:
    explicit ScreenGestures(Window& window) : window_(window) {}

    Status tap(const ScreenMatch& match);
    Status tapAt(Point windowPoint);
    // The way back from the visible screen: the navigation stack's back item,
    // or closing a stack presented over another screen.
    Status back();
    // A finger moving from `start` to `end` (window points) over a scroll view;
    // pulling down at the top of a list pulls its refresh header.
    Status swipe(Point start, Point end);

private:
    Window& window_;
};

}  // namespace zorlet
