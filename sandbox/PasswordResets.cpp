#include "sandbox/PasswordResets.h"

#include "sandbox/Connection.h"
#include "sandbox/Passwords.h"
#include "sandbox/TextRules.h"

namespace zorlet::sandbox {

std::string PasswordResets::issue(Connection& connection, std::int64_t uid, std::int64_t now) {
    auto token = Passwords::randomHex(16);
    // Spent and expired tokens are of no use to anyone.
    connection.prepare("DELETE FROM password_resets WHERE used = 1 OR created <= ?")
        .bind(1, now - lifetimeSeconds)
        .run();
    connection.prepare("INSERT INTO password_resets (token, uid, created) VALUES (?, ?, ?)")
        .bind(1, token)
        .bind(2, uid)
        .bind(3, now)
        .run();
    return token;
}

std::optional<std::int64_t> PasswordResets::holder(Connection& connection, const std::string& token,
                                                   std::int64_t now) {
    if (token.size() != 32 || !TextRules::isHex(token)) {
        return std::nullopt;
    }
    auto query = connection.prepare(
        "SELECT uid FROM password_resets WHERE token = ? AND used = 0 AND created > ? AND created <= ?");
    query.bind(1, token).bind(2, now - lifetimeSeconds).bind(3, now);
    if (!query.step()) {
        return std::nullopt;
    }
    return query.integer(0);
}

void PasswordResets::closeAll(Connection& connection, std::int64_t uid) {
    connection.prepare("UPDATE password_resets SET used = 1 WHERE uid = ?").bind(1, uid).run();
}

}  // namespace zorlet::sandbox
