#pragma once

#include "platform/Json.h"
#include "platform/LocalNotification.h"

#include <optional>

namespace zorlet {

// Why the app was started: by the user, or by opening a notification.
struct LaunchOptions {
    std::optional<LocalNotification> localNotification;
    std::optional<Json> remoteNotification;
};

}  // namespace zorlet
