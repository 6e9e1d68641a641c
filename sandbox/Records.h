#pragma once

#include "sandbox/PostRecord.h"
#include "sandbox/UserRecord.h"

#include <cstdint>
#include <optional>

namespace zorlet::sandbox {

class Connection;

// What a user's view counts. The follow counts are the lengths of the two follow lists.
struct UserTallies {
    std::int64_t following = 0;
    std::int64_t followers = 0;
    std::int64_t posts = 0;
    bool followedByViewer = false;
};

// Reading users and posts from storage.
class Records {
public:
    static std::optional<UserRecord> user(Connection& connection, std::int64_t uid);
    static std::optional<UserRecord> userByAccount(Connection& connection, const std::string& account);
    static std::optional<UserRecord> userByExternal(Connection& connection, std::int64_t tpId,
                                                    const std::string& externalAccount);
    static std::optional<PostRecord> post(Connection& connection, std::int64_t postId);
    static std::optional<PostRecord> latestPost(Connection& connection, std::int64_t uid);
    static std::int64_t postCount(Connection& connection, std::int64_t uid);
    // One statement for all of them: a feed page shows twenty users.
    static UserTallies tallies(Connection& connection, std::int64_t uid, std::optional<std::int64_t> viewer);
    static bool hasResponded(Connection& connection, std::int64_t postId, std::int64_t uid);
    static bool nicknameTaken(Connection& connection, const std::string& nickname, std::int64_t exceptUid);
};

}  // namespace zorlet::sandbox
