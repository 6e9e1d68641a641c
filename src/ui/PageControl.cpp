#include "ui/PageControl.h"

#include "ui/Painter.h"

#include <algorithm>

namespace zorlet {

namespace {
constexpr double kDotSpacing = 16;
constexpr double kDotRadius = 3.5;
}  // namespace

void PageControl::setNumberOfPages(int pages) {
    numberOfPages_ = std::max(0, pages);
    setCurrentPage(currentPage_);
}

void PageControl::setCurrentPage(int page) {
    currentPage_ = numberOfPages_ > 0 ? std::clamp(page, 0, numberOfPages_ - 1) : 0;
}

double PageControl::dotX(int page) const {
    double start = (frame().width() - kDotSpacing * (numberOfPages_ - 1)) / 2;
    return start + kDotSpacing * page;
}

void PageControl::tapped(Point point) {
    if (numberOfPages_ < 2) {
        return;
    }
    int target = point.x < dotX(currentPage_) ? currentPage_ - 1 : currentPage_ + 1;
    target = std::clamp(target, 0, numberOfPages_ - 1);
    if (target != currentPage_) {
        currentPage_ = target;
        sendActionsForControlEvents(ValueChanged);
    }
}

void PageControl::draw(Painter& painter) const {
    for (int page = 0; page < numberOfPages_; ++page) {
        painter.fillCircle({dotX(page), frame().height() / 2}, kDotRadius,
                           page == currentPage_ ? Color::whiteColor() : Color::white(1, 0.35));
    }
}

void PageControl::describe(std::string& out) const {
    Control::describe(out);
    out += " page=" + std::to_string(currentPage_) + "/" + std::to_string(numberOfPages_);
}

}  // namespace zorlet
