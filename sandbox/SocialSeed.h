#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorlet::sandbox {

class Connection;

// What the demo users have done with each other: more posts (one user with
// more than a page of them, and some of the demo account's own), responses
// (one post with more responders than a page), follows around the demo
// account, questionnaire answers, phones, social links and privacy choices.
// Nobody is blocked, so every demo user stays in the feeds.
class SocialSeed {
public:
    static constexpr int busyAuthorPosts = 13;
    static constexpr int crowdedPostResponders = 25;

    // Runs inside the caller's transaction, after the users and their first posts exist.
    // `otherUids` are the demo users in seed order, `sceneries` stored picture names.
    static void plant(Connection& connection, std::int64_t demoUid,
                      const std::vector<std::int64_t>& otherUids, const std::vector<std::string>& sceneries,
                      std::int64_t now);
};

}  // namespace zorlet::sandbox
