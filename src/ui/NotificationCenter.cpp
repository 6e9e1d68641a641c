#include "ui/NotificationCenter.h"

#include <algorithm>

namespace zorlet {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const void* owner, std::string name, Observer observer,
                                     const void* object) {
    registrations_.push_back({nextId_++, owner, std::move(name), object, std::move(observer)});
}

void NotificationCenter::removeObserver(const void* owner) {
    std::erase_if(registrations_, [&](const Registration& r) { return r.owner == owner; });
}

void NotificationCenter::removeObserver(const void* owner, const std::string& name) {
    std::erase_if(registrations_, [&](const Registration& r) { return r.owner == owner && r.name == name; });
}

bool NotificationCenter::hasObserver(const void* owner, const std::string& name) const {
    return std::any_of(registrations_.begin(), registrations_.end(),
                       [&](const Registration& r) { return r.owner == owner && r.name == name; });
}

void NotificationCenter::post(const Notification& notification) {
    // Observers may add or remove registrations while being told; deliver to
    // those registered now and still registered when their turn comes.
    std::vector<std::uint64_t> ids;
    for (const auto& r : registrations_) {
        if (r.name == notification.name && (r.object == nullptr || r.object == notification.object)) {
            ids.push_back(r.id);
        }
    }
    for (std::uint64_t id : ids) {
        auto it = std::find_if(registrations_.begin(), registrations_.end(),
                               [&](const Registration& r) { return r.id == id; });
        if (it != registrations_.end() && it->observer) {
            Observer observer = it->observer;
            observer(notification);
        }
    }
}

void NotificationCenter::post(std::string name, const void* object, Json userInfo) {
    post(Notification{std::move(name), object, std::move(userInfo)});
}

}  // namespace zorlet
