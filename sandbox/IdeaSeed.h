#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorlet::sandbox {

class Connection;
class Pictures;
class ReferenceData;

// The demo ideas: sixty outing suggestions over every category in five
// cities, with posters, places and coordinates, some with a time span, and
// demo users who already want to go (one idea with more takers than a page).
class IdeaSeed {
public:
    static constexpr int ideaCount = 60;

    // The posters, drawn apart from planting (see DemoSeed::paint).
    static std::vector<std::string> paint();

    // Plants the ideas inside the caller's transaction, after the demo users
    // exist; `demoUid` (the demo account) is never made a taker, so it can
    // still mark any idea.
    static void plant(Connection& connection, const ReferenceData& reference, Pictures& pictures,
                      const std::vector<std::string>& posters, std::int64_t demoUid, std::int64_t now);
};

}  // namespace zorlet::sandbox
