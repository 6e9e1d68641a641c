#include "ui/GestureRecognizer.h"

namespace zorlet {

GestureRecognizer::GestureRecognizer(Kind kind, Action action) : kind_(kind), action_(std::move(action)) {}

void GestureRecognizer::fire(State state) {
    state_ = state;
    if (action_) {
        // The action may remove this recognizer from its view; keep the callable alive.
        Action action = action_;
        action(*this);
    }
}

void GestureRecognizer::recognizeTap(Point location) {
    if (!enabled_ || kind_ != Kind::Tap) {
        return;
    }
    location_ = location;
    fire(State::Recognized);
    state_ = State::Possible;
}

void GestureRecognizer::recognizePan(Point start, Point translation) {
    if (!enabled_ || kind_ != Kind::Pan) {
        return;
    }
    location_ = start;
    translation_ = {};
    fire(State::Began);
    translation_ = translation;
    location_ = start + translation;
    fire(State::Changed);
    fire(State::Ended);
    state_ = State::Possible;
}

}  // namespace zorlet
