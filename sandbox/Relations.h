#pragma once

#include <cstdint>
#include <string>

namespace zorlet::sandbox {

class Connection;

// How two users stand to each other: following and blocking.
class Relations {
public:
    // True when either user has blocked the other; such users never see each
    // other in the feeds and cannot message each other.
    static bool isBlockedEitherWay(Connection& connection, std::int64_t a, std::int64_t b);
    static bool isFollowing(Connection& connection, std::int64_t follower, std::int64_t followed);
    // How many users `uid` follows, and how many follow `uid`: the lengths of the two follow lists.
    static std::int64_t followingCount(Connection& connection, std::int64_t uid);
    static std::int64_t followerCount(Connection& connection, std::int64_t uid);
    // An SQL condition, true when the user in `uidColumn` and the user bound to the numbered
    // parameter `viewerParam` have not blocked each other.
    static std::string notBlockedSql(const std::string& uidColumn, int viewerParam);
};

}  // namespace zorlet::sandbox
