#include "platform/LocalNotification.h"

#include "platform/Calendar.h"
#include "platform/MainLoop.h"

#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <array>
#include <chrono>
#include <memory>
#include <utility>

namespace zorlet {

namespace {

constexpr std::array<std::pair<LocalNotification::RepeatInterval, const char*>, 5> kIntervalNames = {{
    {LocalNotification::RepeatInterval::None, "none"},
    {LocalNotification::RepeatInterval::Day, "day"},
    {LocalNotification::RepeatInterval::Week, "week"},
    {LocalNotification::RepeatInterval::Month, "month"},
    {LocalNotification::RepeatInterval::Year, "year"},
}};

}  // namespace

std::string LocalNotification::repeatIntervalName(RepeatInterval interval) {
    for (const auto& [value, name] : kIntervalNames) {
        if (value == interval) {
            return name;
        }
    }
    return "none";
}

std::string LocalNotification::defaultTimeZoneName() {
    std::string zone = MainLoop::main().clock().timeZone();
    if (!zone.empty()) {
        return zone;
    }
    std::unique_ptr<icu::TimeZone> system(icu::TimeZone::createDefault());
    icu::UnicodeString id;
    system->getID(id);
    id.toUTF8String(zone);
    return zone;
}

SystemTime LocalNotification::fireDateOfRepetition(int n) const {
    if (n <= 0 || repeatInterval == RepeatInterval::None) {
        return fireDate;
    }
    // Calendar arithmetic, so a weekly reminder stays at 10:00 across a daylight-saving change.
    DateParts parts = Calendar::partsOf(fireDate, timeZone);
    switch (repeatInterval) {
        case RepeatInterval::Day:
            parts.day += n;
            break;
        case RepeatInterval::Week:
            parts.day += 7 * n;
            break;
        case RepeatInterval::Month:
            parts.month += n;
            break;
        case RepeatInterval::Year:
            parts.year += n;
            break;
        case RepeatInterval::None:
            break;
    }
    return Calendar::timeOf(parts, timeZone);
}

Json LocalNotification::toJson() const {
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(fireDate.time_since_epoch()).count();
    return Json{
        {"fireDate", seconds},
        // Readable for whoever lists the schedule; fireDate is what counts.
        {"fireDateText", Calendar::format(fireDate, "yyyy-MM-dd HH:mm:ss ZZZZZ", timeZone)},
        {"repeatInterval", repeatIntervalName(repeatInterval)},
        {"repeatCalendar", repeatCalendar},
        {"timeZone", timeZone},
        {"soundName", soundName},
        {"alertBody", alertBody},
        {"userInfo", userInfo},
    };
}

std::optional<LocalNotification> LocalNotification::fromJson(const Json& json) {
    if (!json.is_object() || !json.contains("fireDate") || !json["fireDate"].is_number()) {
        return std::nullopt;
    }
    LocalNotification notification;
    notification.fireDate = SystemTime(std::chrono::seconds(jsonInt(json, "fireDate")));
    std::string interval = jsonString(json, "repeatInterval");
    for (const auto& [value, name] : kIntervalNames) {
        if (interval == name) {
            notification.repeatInterval = value;
        }
    }
    notification.repeatCalendar = jsonString(json, "repeatCalendar");
    notification.timeZone = jsonString(json, "timeZone");
    notification.soundName = jsonString(json, "soundName");
    notification.alertBody = jsonString(json, "alertBody");
    notification.userInfo = jsonObject(json, "userInfo");
    return notification;
}

}  // namespace zorlet
