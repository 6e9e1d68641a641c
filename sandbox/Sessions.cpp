#include "sandbox/Sessions.h"

#include "platform/UnicodeText.h"
#include "sandbox/Database.h"
#include "sandbox/Passwords.h"
#include "sandbox/TextRules.h"

#include <ctime>
#include <sstream>

namespace zorlet::sandbox {

namespace {

// Activity is what the feed's "online" order shows; once a minute is precise enough
// and keeps reads from turning into writes.
constexpr std::int64_t activityGranularity = 60;

bool looksLikeToken(const std::string& value) {
    return value.size() == 32 && TextRules::isHex(value);
}

std::int64_t now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

// Sessions created at or before this are over.
std::int64_t oldestLive() {
    return now() - Sessions::lifetimeSeconds;
}

}  // namespace

SessionTokens Sessions::open(Connection& connection, std::int64_t uid) {
    SessionTokens tokens{Passwords::randomHex(16), Passwords::randomHex(16)};
    // Ended sessions are of no use; dropping them at each sign-in keeps the table small.
    connection.prepare("DELETE FROM sessions WHERE uid = ? AND (revoked = 1 OR created <= ?)")
        .bind(1, uid)
        .bind(2, oldestLive())
        .run();
    connection.prepare("INSERT INTO sessions (p_token, l_token, uid, created) VALUES (?, ?, ?, ?)")
        .bind(1, tokens.pToken)
        .bind(2, tokens.lToken)
        .bind(3, uid)
        .bind(4, now())
        .run();
    return tokens;
}

std::optional<std::string> Sessions::cookie(const httplib::Request& request, const std::string& name) {
    auto [begin, end] = request.headers.equal_range("Cookie");
    for (auto header = begin; header != end; ++header) {
        std::istringstream pairs(header->second);
        std::string pair;
        while (std::getline(pairs, pair, ';')) {
            auto equals = pair.find('=');
            if (equals == std::string::npos) {
                continue;
            }
            if (UnicodeText::trimmed(pair.substr(0, equals)) == name) {
                return UnicodeText::trimmed(pair.substr(equals + 1));
            }
        }
    }
    return std::nullopt;
}

std::optional<Sessions::PresentedTokens> Sessions::presentedTokens(const httplib::Request& request) {
    auto pToken = cookie(request, "p_token");
    auto lToken = cookie(request, "l_token");
    PresentedTokens tokens;
    if (pToken && looksLikeToken(*pToken)) {
        tokens.pToken = std::move(*pToken);
    }
    if (lToken && looksLikeToken(*lToken)) {
        tokens.lToken = std::move(*lToken);
    }
    if (!tokens.pToken && !tokens.lToken) {
        return std::nullopt;
    }
    return tokens;
}

std::optional<std::int64_t> Sessions::sessionIn(Connection& connection, const PresentedTokens& tokens) {
    // Either token names the session; when both are sent they must name the same one.
    auto query = connection.prepare(
        "SELECT id, p_token, l_token FROM sessions WHERE revoked = 0 AND (p_token = ? OR l_token = ?) "
        "AND created > ?");
    query.bind(1, tokens.pToken.value_or(std::string()))
        .bind(2, tokens.lToken.value_or(std::string()))
        .bind(3, oldestLive());
    std::optional<std::int64_t> id;
    while (query.step()) {
        bool pMatches = !tokens.pToken || query.text(1) == *tokens.pToken;
        bool lMatches = !tokens.lToken || query.text(2) == *tokens.lToken;
        if (pMatches && lMatches) {
            id = query.integer(0);
        }
    }
    return id;
}

std::optional<std::int64_t> Sessions::userOf(const httplib::Request& request) {
    auto tokens = presentedTokens(request);
    if (!tokens) {
        return std::nullopt;
    }
    std::optional<std::int64_t> uid;
    std::int64_t lastActive = 0;
    database_.read([&](Connection& connection) {
        auto id = sessionIn(connection, *tokens);
        if (!id) {
            return;
        }
        auto query = connection.prepare(
            "SELECT users.uid, users.last_active FROM sessions JOIN users ON users.uid = sessions.uid "
            "WHERE sessions.id = ?");
        query.bind(1, *id);
        if (query.step()) {
            uid = query.integer(0);
            lastActive = query.integer(1);
        }
    });
    auto moment = now();
    if (uid && moment - lastActive >= activityGranularity) {
        database_.write([&](Connection& connection) {
            connection.prepare("UPDATE users SET last_active = ? WHERE uid = ? AND last_active < ?")
                .bind(1, moment)
                .bind(2, *uid)
                .bind(3, moment)
                .run();
        });
    }
    return uid;
}

void Sessions::revoke(const httplib::Request& request) {
    auto tokens = presentedTokens(request);
    if (!tokens) {
        return;
    }
    database_.write([&](Connection& connection) {
        if (auto id = sessionIn(connection, *tokens)) {
            connection.prepare("UPDATE sessions SET revoked = 1 WHERE id = ?").bind(1, *id).run();
        }
    });
}

void Sessions::revokeAll(Connection& connection, std::int64_t uid) {
    connection.prepare("UPDATE sessions SET revoked = 1 WHERE uid = ?").bind(1, uid).run();
}

std::string Sessions::pTokenCookie(const std::string& value) {
    return "p_token=" + value + "; Path=/; HttpOnly";
}

std::string Sessions::lTokenCookie(const std::string& value, bool remember) {
    // "Remember me" keeps the long-lived token across browser restarts; the client persists both anyway.
    return "l_token=" + value + "; Path=/; HttpOnly" +
           (remember ? "; Max-Age=" + std::to_string(lifetimeSeconds) : "");
}

std::string Sessions::expiredCookie(const std::string& name) {
    return name + "=; Path=/; HttpOnly; Max-Age=0";
}

}  // namespace zorlet::sandbox
