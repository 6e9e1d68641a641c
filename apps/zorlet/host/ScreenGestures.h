#pragma once

#include "host/ScreenMatch.h"

#include <string>

namespace zorlet {

class Window;

// What a finger and a keyboard do to the screen, for flows and the window:
// taps that respect what is on top (an alert takes every tap while shown),
// the back gesture, swipes on scroll views. Each returns false, with `error`
// saying why, when the input reached nothing.
class ScreenGestures {
public:
    explicit ScreenGestures(Window& window) : window_(window) {}

    bool tap(const ScreenMatch& match, std::string& error);
    bool tapAt(Point windowPoint, std::string& error);
    // The way back from the visible screen: the navigation stack's back item,
    // or closing a stack presented over another screen.
    bool back(std::string& error);
    // A finger moving from `start` to `end` (window points) over a scroll view;
    // pulling down at the top of a list pulls its refresh header.
    bool swipe(Point start, Point end, std::string& error);

private:
    Window& window_;
};

}  // namespace zorlet
