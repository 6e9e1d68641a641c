#include "ui/TextFieldClearButton.h"

#include "ui/Painter.h"

namespace zorlet {

TextFieldClearButton::TextFieldClearButton() : Button(Rect(0, 0, kSide, kSide)) {
    setId("clearButton");
}

void TextFieldClearButton::draw(Painter& painter) const {
    Point centre{frame().width() / 2, frame().height() / 2};
    double radius = std::min(frame().width(), frame().height()) / 2 - 2;
    painter.fillCircle(centre, radius, isHighlighted() ? Color::white(0.45) : Color::white(0.7));
    double arm = radius * 0.45;
    painter.drawLine({centre.x - arm, centre.y - arm}, {centre.x + arm, centre.y + arm}, Color::whiteColor(),
                     1.5);
    painter.drawLine({centre.x - arm, centre.y + arm}, {centre.x + arm, centre.y - arm}, Color::whiteColor(),
                     1.5);
}

}  // namespace zorlet
