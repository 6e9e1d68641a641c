#pragma once

#include "platform/Clock.h"

#include <optional>
#include <string>

namespace zorlet {

// Gregorian calendar fields of an instant in a time zone.
struct DateParts {
    int year = 1970;
    int month = 1;  // 1...12
    int day = 1;    // 1...31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 5;  // 1 = Sunday ... 7 = Saturday
};

// Calendar arithmetic and date formatting on ICU. The zone defaults to the
// main clock's zone so a test that pins the zone pins every date text.
class Calendar {
public:
    static DateParts partsOf(SystemTime time, const std::string& zone = {});
    // Fields out of range roll over the way a calendar does (day 32 = next month).
    static SystemTime timeOf(const DateParts& parts, const std::string& zone = {});
    // ICU/CLDR pattern, e.g. "yyyy.MM.dd", "MM-dd", "HH:mm".
    static std::string format(SystemTime time, const std::string& pattern, const std::string& zone = {});
    // Parses text in the pattern; nothing on failure.
    static std::optional<SystemTime> parse(const std::string& text, const std::string& pattern,
                                           const std::string& zone = {});
    static std::string effectiveZone(const std::string& zone);
};

}  // namespace zorlet
