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
    // An SQL condition, true when the user in `uidColumn` and the user bound to the numbered
    // parameter `viewerParam` have not blocked each other.
    static std::string notBlockedSql(const std::string& uidColumn, int viewerParam);
};

}  // namespace zorlet::sandbox
