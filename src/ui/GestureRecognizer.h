#pragma once

#include "ui/Geometry.h"

#include <functional>
#include <memory>

namespace zorlet {

class View;

// A tap or pan hook on a view. Input delivered to the view (by a front-end or a
// test) runs the action; a pan runs it once per state change.
class GestureRecognizer {
public:
    enum class Kind { Tap, Pan };
    enum class State { Possible, Began, Changed, Ended, Recognized };
    using Action = std::function<void(GestureRecognizer&)>;

    GestureRecognizer(Kind kind, Action action);

    static std::shared_ptr<GestureRecognizer> tap(Action action) {
        return std::make_shared<GestureRecognizer>(Kind::Tap, std::move(action));
    }
    static std::shared_ptr<GestureRecognizer> pan(Action action) {
        return std::make_shared<GestureRecognizer>(Kind::Pan, std::move(action));
    }

    Kind kind() const { return kind_; }
    State state() const { return state_; }
    View* view() const { return view_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    // Where the gesture is, in its view's coordinates.
    Point location() const { return location_; }
    // A pan's movement since it began.
    Point translation() const { return translation_; }

    void recognizeTap(Point location);
    void recognizePan(Point start, Point translation);

private:
    friend class View;
    void setView(View* view) { view_ = view; }
    void fire(State state);

    Kind kind_;
    Action action_;
    State state_ = State::Possible;
    View* view_ = nullptr;
    bool enabled_ = true;
    Point location_;
    Point translation_;
};

}  // namespace zorlet
