#include "ui/UserLocationSource.h"

#include "platform/MainLoop.h"

#include <algorithm>

namespace zorlet {

UserLocationSource& UserLocationSource::shared() {
    static UserLocationSource source;
    return source;
}

void UserLocationSource::deliverLater(MapView* map) {
    // The map may stop or go away before the loop runs; check it is still listening then.
    MainLoop::main().post([this, map] {
        if (std::find(maps_.begin(), maps_.end(), map) == maps_.end()) {
            return;
        }
        if (!available_) {
            map->deliverLocationFailure();
        } else if (location_) {
            map->deliverUserLocation(*location_);
        }
    });
}

void UserLocationSource::setLocation(Coordinate location) {
    location_ = location;
    for (MapView* map : maps_) {
        deliverLater(map);
    }
}

void UserLocationSource::setAvailable(bool available) {
    available_ = available;
    if (!available) {
        for (MapView* map : maps_) {
            deliverLater(map);
        }
    }
}

void UserLocationSource::startUpdating(MapView* map) {
    if (std::find(maps_.begin(), maps_.end(), map) != maps_.end()) {
        return;
    }
    maps_.push_back(map);
    if (location_ || !available_) {
        deliverLater(map);
    }
}

void UserLocationSource::stopUpdating(MapView* map) {
    std::erase(maps_, map);
}

void UserLocationSource::reset() {
    location_.reset();
    available_ = true;
    maps_.clear();
}

}  // namespace zorlet
