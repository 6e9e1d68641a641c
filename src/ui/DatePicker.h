#pragma once

#include "platform/Clock.h"
#include "ui/Control.h"

#include <optional>

namespace zorlet {

// Picks a date and/or time, kept between the minimum and maximum dates.
class DatePicker : public Control {
public:
    enum class Mode { Time, Date, DateAndTime, CountDownTimer };

    DatePicker();
    explicit DatePicker(Rect frame);
    const char* typeName() const override { return "DatePicker"; }

    void setDatePickerMode(Mode mode) { mode_ = mode; }
    SystemTime date() const { return date_; }
    void setDate(SystemTime date, bool animated = false);
    const std::optional<SystemTime>& minimumDate() const { return minimum_; }
    void setMinimumDate(std::optional<SystemTime> date);
    void setMaximumDate(std::optional<SystemTime> date);
    // An IANA zone; empty means the clock's zone.
    const std::string& timeZone() const { return timeZone_; }
    void setTimeZone(std::string zone) { timeZone_ = std::move(zone); }

    // A user's spin to `date` (kept within the limits); sends ValueChanged.
    void pickDate(SystemTime date);

    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    SystemTime clamped(SystemTime date) const;
    std::string shownText() const;

    Mode mode_ = Mode::DateAndTime;
    SystemTime date_;
    std::optional<SystemTime> minimum_;
    std::optional<SystemTime> maximum_;
    std::string timeZone_;
};

}  // namespace zorlet
