#include "ui/Switch.h"

#include "ui/Painter.h"

namespace zorlet {

Switch::Switch() : Control(Rect(0, 0, 79, 27)) {}

Switch::Switch(Rect frame) : Control(Rect(frame.origin, {79, 27})) {}

void Switch::tapped(Point) {
    on_ = !on_;
    sendActionsForControlEvents(ValueChanged);
}

void Switch::draw(Painter& painter) const {
    Rect box(0, 0, frame().width(), frame().height());
    painter.fillRoundedRect(box, box.height() / 2, on_ ? Color::rgb(0, 127, 234) : Color::white(0.93));
    painter.strokeRoundedRect(box, box.height() / 2, Color::white(0.6));
    double knob = box.height() - 2;
    painter.fillCircle({on_ ? box.width() - 1 - knob / 2 : 1 + knob / 2, box.height() / 2}, knob / 2,
                       Color::whiteColor());
    painter.drawText(on_ ? Rect(6, 0, box.width() - knob - 8, box.height())
                         : Rect(knob + 2, 0, box.width() - knob - 8, box.height()),
                     on_ ? "ON" : "OFF", Font::boldSystemFont(13),
                     on_ ? Color::whiteColor() : Color::white(0.5), TextAlignment::Center);
}

void Switch::describe(std::string& out) const {
    out += on_ ? " on" : " off";
    Control::describe(out);
}

}  // namespace zorlet
