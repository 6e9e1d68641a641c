#include "ui/Label.h"

#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

namespace zorlet {

Label::Label() {
    setUserInteractionEnabled(false);
}

Label::Label(Rect frame) : View(frame) {
    setUserInteractionEnabled(false);
}

Size Label::sizeThatFits(Size limit) const {
    // One line labels measure unbounded in width, as the phone framework does.
    double width = numberOfLines_ == 1 ? 0 : limit.width;
    auto measured =
        TextLayout::shared().measure(text_, font_, width, limit.height, lineBreakMode_, numberOfLines_);
    return {measured.width, measured.height};
}

void Label::draw(Painter& painter) const {
    painter.drawText(Rect(0, 0, frame().width(), frame().height()), text_, font_,
                     highlighted_ ? highlightedTextColor_ : textColor_, alignment_, lineBreakMode_,
                     numberOfLines_);
}

void Label::describe(std::string& out) const {
    out += " text=" + ViewTreeDump::quoted(text_);
    if (highlighted_) {
        out += " highlighted";
    }
}

}  // namespace zorlet
