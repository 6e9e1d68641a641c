#include "ui/Control.h"

namespace zorlet {

unsigned Control::state() const {
    unsigned s = Normal;
    if (highlighted_) {
        s |= Highlighted;
    }
    if (!enabled_) {
        s |= Disabled;
    }
    if (selected_) {
        s |= Selected;
    }
    return s;
}

void Control::addTarget(unsigned events, Action action) {
    targets_.push_back({events, std::move(action)});
}

void Control::sendActionsForControlEvents(unsigned events) {
    // An action may destroy this control (a screen rebuilding its bar) or add targets.
    auto keepAlive = weak_from_this().lock();
    std::vector<Target> targets = targets_;
    for (const auto& target : targets) {
        if ((target.events & events) && target.action) {
            target.action(*this);
        }
    }
}

void Control::touch(ControlEvent event) {
    if (!enabled_) {
        return;
    }
    switch (event) {
        case TouchDown:
        case TouchDragInside:
        case TouchDragEnter:
            setHighlighted(true);
            break;
        case TouchDragOutside:
        case TouchDragExit:
        case TouchUpInside:
        case TouchUpOutside:
        case TouchCancel:
            setHighlighted(false);
            break;
        default:
            break;
    }
    sendActionsForControlEvents(event);
}

bool Control::handleTap(Point point) {
    if (!enabled_) {
        return true;  // a disabled control swallows the touch
    }
    auto keepAlive = weak_from_this().lock();
    touch(TouchDown);
    touch(TouchUpInside);
    tapped(point);
    return true;
}

void Control::describe(std::string& out) const {
    if (!enabled_) {
        out += " disabled";
    }
    if (selected_) {
        out += " selected";
    }
    if (highlighted_) {
        out += " highlighted";
    }
}

}  // namespace zorlet
