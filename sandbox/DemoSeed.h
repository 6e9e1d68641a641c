#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorlet::sandbox {

class Connection;
class Pictures;
class ReferenceData;

// The demo data set: a demo account and forty people around Beijing and
// Shanghai with profiles, generated photos and recent posts. The content is
// the same on every run; times are relative to when it is planted.
class DemoSeed {
public:
    static constexpr const char* demoAccount = "demo@zorlet.local";
    static constexpr const char* demoPassword = "zorlet123";
    static constexpr int otherUsers = 40;

    // The generated pictures, as PNG files; drawn apart from planting so the
    // drawing can overlap the (deliberately slow) password hashing.
    struct Artwork {
        std::vector<std::string> avatars;    // the demo account first, then each user
        std::vector<std::string> sceneries;  // post pictures
        std::vector<std::string> ideaPosters;
    };
    static Artwork paint();

    // Fills an empty database inside the caller's transaction. `passwordHash`
    // is the hash of `demoPassword`, shared by every demo account.
    static void plant(Connection& connection, const ReferenceData& reference, Pictures& pictures,
                      const Artwork& artwork, const std::string& passwordHash, std::int64_t now);
};

}  // namespace zorlet::sandbox
