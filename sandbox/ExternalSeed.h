#pragma once

namespace zorlet::sandbox {

class Connection;

// The places of the external review service: twelve categories and 180
// places in five cities, with addresses, coordinates, ratings and photos
// (drawn when asked for). Among them a place named "798" and one with a
// very long name, the two ends of what sharing a place must cope with.
class ExternalSeed {
public:
    static constexpr int categoryCount = 12;
    static constexpr int placesPerCity = 36;
    static constexpr int cityCount = 5;

    // Plants inside the caller's transaction; the same content on every run.
    static void plant(Connection& connection);
};

}  // namespace zorlet::sandbox
