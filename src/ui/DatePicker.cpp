#include "ui/DatePicker.h"

#include "platform/Calendar.h"
#include "platform/MainLoop.h"
#include "ui/Painter.h"
#include "ui/PickerView.h"
#include "ui/ViewTreeDump.h"

namespace zorlet {

DatePicker::DatePicker() : Control(Rect(0, 0, 320, PickerView::kDefaultHeight)) {
    date_ = MainLoop::main().clock().now();
}

DatePicker::DatePicker(Rect frame)
    : Control(Rect(frame.origin, {frame.width(), PickerView::kDefaultHeight})) {
    date_ = MainLoop::main().clock().now();
}

SystemTime DatePicker::clamped(SystemTime date) const {
    if (minimum_ && date < *minimum_) {
        date = *minimum_;
    }
    if (maximum_ && date > *maximum_) {
        date = *maximum_;
    }
    return date;
}

void DatePicker::setDate(SystemTime date, bool animated) {
    date_ = clamped(date);
}

void DatePicker::setMinimumDate(std::optional<SystemTime> date) {
    minimum_ = date;
    date_ = clamped(date_);
}

void DatePicker::setMaximumDate(std::optional<SystemTime> date) {
    maximum_ = date;
    date_ = clamped(date_);
}

void DatePicker::pickDate(SystemTime date) {
    if (!isEnabled()) {
        return;
    }
    date_ = clamped(date);
    sendActionsForControlEvents(ValueChanged);
}

std::string DatePicker::shownText() const {
    std::string zone = timeZone_.empty() ? MainLoop::main().clock().timeZone() : timeZone_;
    switch (mode_) {
        case Mode::Time:
            return Calendar::format(date_, "HH:mm", zone);
        case Mode::Date:
            return Calendar::format(date_, "yyyy-MM-dd", zone);
        case Mode::DateAndTime:
            return Calendar::format(date_, "yyyy-MM-dd HH:mm", zone);
        case Mode::CountDownTimer:
            return Calendar::format(date_, "H:mm", zone);
    }
    return {};
}

void DatePicker::draw(Painter& painter) const {
    Rect box(0, 0, frame().width(), frame().height());
    painter.fillRect(box, Color::white(0.85));
    painter.fillRect(box.insetBy({8, 10, 8, 10}), Color::whiteColor());
    painter.fillRect(Rect(6, box.height() / 2 - 22, box.width() - 12, 44), Color::rgb(150, 160, 220, 0.25));
    painter.drawText(Rect(10, box.height() / 2 - 22, box.width() - 20, 44), shownText(),
                     Font::boldSystemFont(20), Color::blackColor(), TextAlignment::Center);
}

void DatePicker::describe(std::string& out) const {
    out += " date=" + ViewTreeDump::quoted(shownText());
    Control::describe(out);
}

}  // namespace zorlet
