#pragma once

#include "platform/Json.h"
#include "platform/LocalNotification.h"

#include <filesystem>
#include <functional>
#include <mutex>
#include <vector>

namespace zorlet {

// The system's schedule of local notifications. What the app schedules is
// kept in a file of the data folder, so the host app (and tests) can list it
// and it survives the app's exit, as the system's schedule does. The host
// hands a notification to the app when it fires.
class LocalNotifications {
public:
    using NotificationHandler = std::function<void(const LocalNotification&)>;

    static LocalNotifications& shared();

    // Like the phone's own schedule, this one holds at most 64 notifications;
    // an app that schedules one at every launch would otherwise grow it (and
    // the launch's work) without end, and repeat the same alert that often.
    static constexpr std::size_t kMaxScheduled = 64;

    // Appends to the schedule; scheduling never replaces earlier
    // notifications, except that the earliest scheduled go beyond the limit.
    // One equal in every field to a scheduled one is already there.
    bool scheduleLocalNotification(const LocalNotification& notification);
    std::vector<LocalNotification> scheduledLocalNotifications() const;
    bool cancelAllLocalNotifications();

    void setHandler(NotificationHandler didReceive) { didReceive_ = std::move(didReceive); }
    // The notification fired while the app runs: told to the app on the main loop.
    void deliverLocalNotification(const LocalNotification& notification);

    std::filesystem::path storePath() const;

private:
    LocalNotifications() = default;
    // All with the lock held.
    std::vector<LocalNotification> read() const;
    // The stored array as it is, or an empty one.
    Json storedEntries() const;
    bool writeEntries(const Json& entries) const;

    mutable std::mutex mutex_;
    NotificationHandler didReceive_;
};

}  // namespace zorlet
