#include "sandbox/Relations.h"

#include "sandbox/Connection.h"

namespace zorlet::sandbox {

bool Relations::isBlockedEitherWay(Connection& connection, std::int64_t a, std::int64_t b) {
    auto query = connection.prepare(
        "SELECT 1 FROM blacklist WHERE (uid = ?1 AND shield_uid = ?2) OR (uid = ?2 AND shield_uid = ?1) "
        "LIMIT 1");
    query.bind(1, a).bind(2, b);
    return query.step();
}

std::string Relations::notBlockedSql(const std::string& uidColumn, int viewerParam) {
    auto viewer = "?" + std::to_string(viewerParam);
    return "(" + uidColumn + " NOT IN (SELECT shield_uid FROM blacklist WHERE uid = " + viewer + ") AND " +
           uidColumn + " NOT IN (SELECT uid FROM blacklist WHERE shield_uid = " + viewer + "))";
}

}  // namespace zorlet::sandbox
