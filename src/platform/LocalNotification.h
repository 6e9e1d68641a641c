#pragma once

#include "platform/Clock.h"
#include "platform/Json.h"

#include <optional>
#include <string>

namespace zorlet {

// One scheduled local notification: when it first fires, how it repeats (in
// which calendar and time zone) and what it shows and plays.
struct LocalNotification {
    enum class RepeatInterval { None, Day, Week, Month, Year };

    static constexpr const char* kDefaultSoundName = "default";

    SystemTime fireDate;
    RepeatInterval repeatInterval = RepeatInterval::None;
    std::string repeatCalendar = "gregorian";
    std::string timeZone;   // IANA name; empty means the device's zone at firing time
    std::string soundName;  // empty means silent
    std::string alertBody;
    Json userInfo = Json::object();

    // The fire date of the n-th repetition (0 = the first), in the notification's zone.
    SystemTime fireDateOfRepetition(int n) const;

    Json toJson() const;
    static std::optional<LocalNotification> fromJson(const Json& json);
    static std::string repeatIntervalName(RepeatInterval interval);
    // The zone the device is in now, by name ("Asia/Shanghai").
    static std::string defaultTimeZoneName();
};

}  // namespace zorlet
