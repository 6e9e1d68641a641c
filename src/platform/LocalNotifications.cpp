#include "platform/LocalNotifications.h"

#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"

namespace zorlet {

LocalNotifications& LocalNotifications::shared() {
    static LocalNotifications notifications;
    return notifications;
}

std::filesystem::path LocalNotifications::storePath() const {
    return DataFolder::shared().file("local_notifications.json");
}

std::vector<LocalNotification> LocalNotifications::scheduledLocalNotifications() const {
    std::lock_guard lock(mutex_);
    return read();
}

std::vector<LocalNotification> LocalNotifications::read() const {
    std::vector<LocalNotification> result;
    auto text = AtomicFile::read(storePath());
    if (!text) {
        return result;
    }
    auto json = parseJson(*text);
    if (!json || !json->is_array()) {
        log().warn("the local notification schedule is unreadable; treating it as empty");
        return result;
    }
    for (const auto& entry : *json) {
        if (auto notification = LocalNotification::fromJson(entry)) {
            result.push_back(std::move(*notification));
        }
    }
    return result;
}

bool LocalNotifications::write(const std::vector<LocalNotification>& notifications) const {
    Json list = Json::array();
    for (const auto& notification : notifications) {
        list.push_back(notification.toJson());
    }
    std::string error = AtomicFile::write(storePath(), list.dump(2));
    if (!error.empty()) {
        log().error("could not write the local notification schedule: {}", error);
        return false;
    }
    return true;
}

bool LocalNotifications::scheduleLocalNotification(const LocalNotification& notification) {
    std::lock_guard lock(mutex_);
    auto notifications = read();
    notifications.push_back(notification);
    return write(notifications);
}

bool LocalNotifications::cancelAllLocalNotifications() {
    std::lock_guard lock(mutex_);
    return write({});
}

void LocalNotifications::deliverLocalNotification(const LocalNotification& notification) {
    MainLoop::main().post([this, notification] {
        if (didReceive_) {
            didReceive_(notification);
        }
    });
}

}  // namespace zorlet
