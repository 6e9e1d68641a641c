#include "platform/LocalNotifications.h"

#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"

#include <algorithm>

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
    for (const auto& entry : storedEntries()) {
        if (auto notification = LocalNotification::fromJson(entry)) {
            result.push_back(std::move(*notification));
        }
    }
    return result;
}

Json LocalNotifications::storedEntries() const {
    auto text = AtomicFile::read(storePath());
    if (!text) {
        return Json::array();
    }
    auto json = parseJson(*text);
    if (!json || !json->is_array()) {
        log().warn("the local notification schedule is unreadable; treating it as empty");
        return Json::array();
    }
    return std::move(*json);
}

bool LocalNotifications::writeEntries(const Json& entries) const {
    std::string error = AtomicFile::write(storePath(), entries.dump(2));
    if (!error.empty()) {
        log().error("could not write the local notification schedule: {}", error);
        return false;
    }
    return true;
}

// The stored entries are kept as they are: formatting every earlier date
// again made each launch slower than the one before.
bool LocalNotifications::scheduleLocalNotification(const LocalNotification& notification) {
    std::lock_guard lock(mutex_);
    Json entries = storedEntries();
    // Entries that do not read as a notification are not listed either; they go.
    std::erase_if(entries.get_ref<Json::array_t&>(),
                  [](const Json& stored) { return !LocalNotification::fromJson(stored); });
    Json entry = notification.toJson();
    if (std::find(entries.begin(), entries.end(), entry) != entries.end()) {
        // The same alert at the same moment would only show twice.
        return true;
    }
    entries.push_back(std::move(entry));
    if (entries.size() > kMaxScheduled) {
        entries.erase(entries.begin(),
                      entries.begin() + static_cast<std::ptrdiff_t>(entries.size() - kMaxScheduled));
    }
    return writeEntries(entries);
}

bool LocalNotifications::cancelAllLocalNotifications() {
    std::lock_guard lock(mutex_);
    return writeEntries(Json::array());
}

void LocalNotifications::deliverLocalNotification(const LocalNotification& notification) {
    MainLoop::main().post([this, notification] {
        if (didReceive_) {
            didReceive_(notification);
        }
    });
}

}  // namespace zorlet
