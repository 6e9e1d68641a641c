#include "ui/ActivityIndicatorView.h"

#include "ui/Painter.h"

#include <cmath>

namespace zorlet {

ActivityIndicatorView::ActivityIndicatorView(Rect frame) : View(frame) {
    setHidden(true);
    setUserInteractionEnabled(false);
}

void ActivityIndicatorView::startAnimating() {
    animating_ = true;
    setHidden(false);
}

void ActivityIndicatorView::stopAnimating() {
    animating_ = false;
    if (hidesWhenStopped_) {
        setHidden(true);
    }
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides) {
    hidesWhenStopped_ = hides;
    setHidden(hides && !animating_);
}

void ActivityIndicatorView::draw(Painter& painter) const {
    // Twelve spokes fading around the wheel, the still frame of the spin.
    Point centre{frame().size.width / 2, frame().size.height / 2};
    double outer = std::min(frame().size.width, frame().size.height) / 2;
    for (int i = 0; i < 12; ++i) {
        double angle = i * M_PI / 6;
        Point from{centre.x + std::cos(angle) * outer * 0.45, centre.y + std::sin(angle) * outer * 0.45};
        Point to{centre.x + std::cos(angle) * outer * 0.95, centre.y + std::sin(angle) * outer * 0.95};
        painter.drawLine(from, to, Color::white(0.3 + 0.05 * i), 2);
    }
}

void ActivityIndicatorView::describe(std::string& out) const {
    out += animating_ ? " animating" : " stopped";
}

}  // namespace zorlet
