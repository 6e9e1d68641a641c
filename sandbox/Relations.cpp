#include "sandbox/Relations.h"

#include "sandbox/Connection.h"

namespace zorlet::sandbox {

namespace {

std::int64_t countOf(Connection& connection, const char* sql, std::int64_t uid) {
    auto query = connection.prepare(sql);
    query.bind(1, uid);
    query.step();
    return query.integer(0);
}

}  // namespace

bool Relations::isBlockedEitherWay(Connection& connection, std::int64_t a, std::int64_t b) {
    auto query = connection.prepare(
        "SELECT 1 FROM blacklist WHERE (uid = ?1 AND shield_uid = ?2) OR (uid = ?2 AND shield_uid = ?1) "
        "LIMIT 1");
    query.bind(1, a).bind(2, b);
    return query.step();
}

bool Relations::isFollowing(Connection& connection, std::int64_t follower, std::int64_t followed) {
    auto query = connection.prepare("SELECT 1 FROM interests WHERE uid = ? AND interest_uid = ?");
    query.bind(1, follower).bind(2, followed);
    return query.step();
}

std::int64_t Relations::followingCount(Connection& connection, std::int64_t uid) {
    return countOf(connection, "SELECT COUNT(*) FROM interests WHERE uid = ?", uid);
}

std::int64_t Relations::followerCount(Connection& connection, std::int64_t uid) {
    return countOf(connection, "SELECT COUNT(*) FROM interests WHERE interest_uid = ?", uid);
}

std::string Relations::notBlockedSql(const std::string& uidColumn, int viewerParam) {
    auto viewer = "?" + std::to_string(viewerParam);
    return "(" + uidColumn + " NOT IN (SELECT shield_uid FROM blacklist WHERE uid = " + viewer + ") AND " +
           uidColumn + " NOT IN (SELECT uid FROM blacklist WHERE shield_uid = " + viewer + "))";
}

}  // namespace zorlet::sandbox
