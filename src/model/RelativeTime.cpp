#include "model/RelativeTime.h"

#include "platform/Calendar.h"
#include "platform/MainLoop.h"

#include <chrono>
#include <cmath>
#include <string>

namespace zorlet {

std::string showBefore(SystemTime date) {
    SystemTime now = MainLoop::main().clock().now();
    double seconds = std::chrono::duration<double>(now - date).count();
    if (!(seconds > 0)) {
        return "0秒前";
    }
    if (seconds < 60) {
        return std::to_string(static_cast<long long>(seconds)) + "秒前";
    }
    double minutes = seconds / 60;
    if (minutes < 60) {
        return std::to_string(static_cast<long long>(minutes)) + "分钟前";
    }
    double hours = seconds / 3600;
    if (hours < 24) {
        return std::to_string(static_cast<long long>(hours)) + "小时前";
    }
    double days = std::trunc(hours / 24);
    if (days == 1) {
        return "昨天";
    }
    if (days == 2) {
        return "前天";
    }
    bool sameYear = Calendar::partsOf(date).year == Calendar::partsOf(now).year;
    return Calendar::format(date, sameYear ? "MM-dd" : "yyyy-MM-dd");
}

}  // namespace zorlet
