#pragma once

#include "sandbox/PostRecord.h"
#include "sandbox/UserRecord.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace zorlet::sandbox {

class Connection;

// Who is looking and where pictures are served from: what every view depends on.
struct ViewContext {
    std::string baseUrl;
    std::optional<std::int64_t> viewerUid;
    std::int64_t now = 0;
};

// The JSON objects the client reads: users, posts and homes.
class Views {
public:
    static nlohmann::json user(Connection& connection, const UserRecord& user, const ViewContext& context,
                               bool withLatestPost);
    static nlohmann::json post(Connection& connection, const PostRecord& post, const ViewContext& context);
    static nlohmann::json home(Connection& connection, const UserRecord& user, const ViewContext& context);

    static std::string constellation(std::int64_t month, std::int64_t day);
    // 0 online now, 1 visited today, 2 visited recently.
    static int onlineStatus(std::int64_t lastActive, std::int64_t now);
    static std::string providerName(std::int64_t tpId);
};

}  // namespace zorlet::sandbox
