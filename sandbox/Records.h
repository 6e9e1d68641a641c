#pragma once

#include "sandbox/PostRecord.h"
#include "sandbox/UserRecord.h"

#include <cstdint>
#include <optional>

namespace zorlet::sandbox {

class Connection;

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
    static bool hasResponded(Connection& connection, std::int64_t postId, std::int64_t uid);
    static bool nicknameTaken(Connection& connection, const std::string& nickname, std::int64_t exceptUid);
};

}  // namespace zorlet::sandbox
