#include "sandbox/UserPages.h"

#include "sandbox/Connection.h"
#include "sandbox/Envelope.h"
#include "sandbox/Records.h"
#include "sandbox/Views.h"

#include <vector>

namespace zorlet::sandbox {

nlohmann::json UserPages::page(Connection& connection, const ViewContext& view, const std::string& source,
                               const std::string& order, std::int64_t key, int page, int pageSize) {
    auto count = connection.prepare("SELECT COUNT(*) " + source);
    count.bind(1, key);
    count.step();
    auto total = count.integer(0);

    auto select =
        connection.prepare("SELECT users.uid " + source + " ORDER BY " + order + " LIMIT ?2 OFFSET ?3");
    select.bind(1, key).bind(2, pageSize).bind(3, static_cast<std::int64_t>(page - 1) * pageSize);
    std::vector<std::int64_t> uids;
    while (select.step()) {
        uids.push_back(select.integer(0));
    }

    auto list = nlohmann::json::array();
    for (auto uid : uids) {
        if (auto user = Records::user(connection, uid)) {
            list.push_back(Views::user(connection, *user, view, false));
        }
    }
    return Envelope::page(page, pageSize, total, std::move(list));
}

}  // namespace zorlet::sandbox
