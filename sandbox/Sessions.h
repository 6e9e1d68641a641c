#pragma once

#include <httplib.h>

#include <cstdint>
#include <optional>
#include <string>

namespace zorlet::sandbox {

class Connection;
class Database;

struct SessionTokens {
    std::string pToken;
    std::string lToken;
};

// Server-side sessions behind the `p_token` and `l_token` cookies.
class Sessions {
public:
    // A session ends this long after sign-in, as the long-lived cookie's Max-Age says.
    static constexpr std::int64_t lifetimeSeconds = 30 * 24 * 60 * 60;

    explicit Sessions(Database& database) : database_(database) {}

    // Opens a session for `uid` inside the caller's transaction.
    SessionTokens open(Connection& connection, std::int64_t uid);
    // The signed-in user of a request, or nothing when the cookies are
    // missing, unknown, revoked or expired. Marks the user active.
    std::optional<std::int64_t> userOf(const httplib::Request& request);
    void revoke(const httplib::Request& request);
    void revokeAll(Connection& connection, std::int64_t uid);

    static std::optional<std::string> cookie(const httplib::Request& request, const std::string& name);
    // The Set-Cookie values that hand the tokens to the client.
    static std::string pTokenCookie(const std::string& value);
    static std::string lTokenCookie(const std::string& value, bool remember);
    static std::string expiredCookie(const std::string& name);

private:
    // The cookies that could name a session; nothing when neither looks like a token.
    struct PresentedTokens {
        std::optional<std::string> pToken;
        std::optional<std::string> lToken;
    };
    static std::optional<PresentedTokens> presentedTokens(const httplib::Request& request);
    static std::optional<std::int64_t> sessionIn(Connection& connection, const PresentedTokens& tokens);
    Database& database_;
};

}  // namespace zorlet::sandbox
