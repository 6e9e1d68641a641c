#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zorlet::sandbox {

class Connection;

// The links of "forgot password" mails: a random token per request, good for one
// use within a day.
class PasswordResets {
public:
    static constexpr std::int64_t lifetimeSeconds = 24 * 60 * 60;

    // A new token for `uid`, stored inside the caller's transaction.
    static std::string issue(Connection& connection, std::int64_t uid, std::int64_t now);
    // The user a token may still reset; nothing for unknown, used or expired tokens.
    static std::optional<std::int64_t> holder(Connection& connection, const std::string& token,
                                              std::int64_t now);
    // Uses up every open token of the user, so older mails stop working too.
    static void closeAll(Connection& connection, std::int64_t uid);
};

}  // namespace zorlet::sandbox
