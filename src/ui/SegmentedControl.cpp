#include "ui/SegmentedControl.h"

#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

#include <algorithm>

namespace zorlet {

SegmentedControl::SegmentedControl(std::vector<std::string> items) : items_(std::move(items)) {
    setFrame(Rect(0, 0, 60.0 * std::max<std::size_t>(1, items_.size()), 30));
}

void SegmentedControl::setTitle(std::string title, std::size_t segment) {
    if (segment < items_.size()) {
        items_[segment] = std::move(title);
    }
}

void SegmentedControl::setSelectedSegmentIndex(int index) {
    selected_ = index >= 0 && static_cast<std::size_t>(index) < items_.size() ? index : kNoSegment;
}

void SegmentedControl::chooseSegment(int index) {
    if (!isEnabled() || index < 0 || static_cast<std::size_t>(index) >= items_.size()) {
        return;
    }
    setSelectedSegmentIndex(index);
    sendActionsForControlEvents(ValueChanged);
}

void SegmentedControl::tapped(Point point) {
    if (items_.empty() || frame().width() <= 0) {
        return;
    }
    int index = static_cast<int>(point.x / (frame().width() / static_cast<double>(items_.size())));
    chooseSegment(std::clamp(index, 0, static_cast<int>(items_.size()) - 1));
}

void SegmentedControl::draw(Painter& painter) const {
    if (items_.empty()) {
        return;
    }
    double width = frame().width() / static_cast<double>(items_.size());
    for (std::size_t i = 0; i < items_.size(); ++i) {
        Rect segment(width * static_cast<double>(i), 0, width, frame().height());
        bool chosen = static_cast<int>(i) == selected_;
        painter.fillRect(segment, chosen ? Color::rgb(66, 107, 242) : Color::white(0.95));
        painter.strokeRect(segment, Color::white(0.6));
        painter.drawText(segment, items_[i], Font::boldSystemFont(13),
                         chosen ? Color::whiteColor() : Color::white(0.3), TextAlignment::Center);
    }
}

void SegmentedControl::describe(std::string& out) const {
    out += " segments=[";
    for (std::size_t i = 0; i < items_.size(); ++i) {
        out += (i > 0 ? "," : "") + ViewTreeDump::quoted(items_[i]);
    }
    out += "] selected=" + std::to_string(selected_);
    Control::describe(out);
}

}  // namespace zorlet
