#pragma once

#include "ui/MapView.h"

#include <optional>
#include <vector>

namespace zorlet {

// The device's position as the location service reports it. A front-end or
// test sets it; every map showing the user's location gets the fix on the
// main loop, as a real location service delivers it later, not at once.
class UserLocationSource {
public:
    static UserLocationSource& shared();

    const std::optional<Coordinate>& location() const { return location_; }
    void setLocation(Coordinate location);
    // Location services off or denied: maps asking for a fix are told it failed.
    void setAvailable(bool available);

    // Used by MapView.
    void startUpdating(MapView* map);
    void stopUpdating(MapView* map);

    // Test support.
    void reset();

private:
    void deliverLater(MapView* map);

    std::optional<Coordinate> location_;
    bool available_ = true;
    std::vector<MapView*> maps_;
};

}  // namespace zorlet
