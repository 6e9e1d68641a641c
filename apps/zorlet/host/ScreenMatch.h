#pragma once

#include "ui/Geometry.h"

#include <string>

namespace zorlet {

class View;

// Something on screen a flow can point at: a view, or a part of one that is
// drawn rather than made of views (an alert's button, a tab, a segment).
struct ScreenMatch {
    enum class Kind { View, AlertButton, SheetButton, TabItem, Segment };

    Kind kind = Kind::View;
    View* view = nullptr;
    // The button, tab or segment index for the drawn parts.
    int index = -1;
    // The visible part, in window coordinates (alerts and sheets: their own frame).
    Rect area;
    std::string text;

    Point center() const { return {area.midX(), area.midY()}; }
    // "Button "登录" at (10,20,300,44)", for step logs and errors.
    std::string describe() const;
};

}  // namespace zorlet
