#pragma once

#include "platform/Json.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zorlet {

struct Notification {
    std::string name;
    const void* object = nullptr;  // the sender, compared by address only
    Json userInfo;
};

// Broadcasts named notifications to observers on the main loop thread.
// Observers are grouped by an owner address so an object can remove all of its
// registrations at once (typically in its destructor).
class NotificationCenter {
public:
    using Observer = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // `object` filters by sender when not null.
    void addObserver(const void* owner, std::string name, Observer observer, const void* object = nullptr);
    void removeObserver(const void* owner);
    void removeObserver(const void* owner, const std::string& name);
    bool hasObserver(const void* owner, const std::string& name) const;
    void post(const Notification& notification);
    void post(std::string name, const void* object = nullptr, Json userInfo = nullptr);

private:
    struct Registration {
        std::uint64_t id;
        const void* owner;
        std::string name;
        const void* object;
        Observer observer;
    };
    std::vector<Registration> registrations_;
    std::uint64_t nextId_ = 1;
};

}  // namespace zorlet
