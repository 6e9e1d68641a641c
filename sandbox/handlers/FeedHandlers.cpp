#include "sandbox/handlers/FeedHandlers.h"

#include "sandbox/Envelope.h"
#include "sandbox/Records.h"
#include "sandbox/Relations.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TextRules.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace zorlet::sandbox {

namespace {

constexpr int pageSize = 20;
constexpr long long highestPage = 100000;

struct FeedQuery {
    int page = 1;
    std::optional<int> gender;
};

// Reads `page` and `gender`; a refusal when either is malformed.
std::optional<Reply> readFeedQuery(const Call& call, FeedQuery& query) {
    if (auto page = call.params.text("page"); page && !page->empty()) {
        auto number = TextRules::parseInteger(*page);
        if (!number || *number > highestPage) {
            return Envelope::refuse(ErrorCode::BadParameter, "页码不正确");
        }
        query.page = *number < 1 ? 1 : static_cast<int>(*number);  // the client sends 1 for anything below
    }
    if (auto gender = call.params.text("gender"); gender && !gender->empty()) {
        auto number = TextRules::parseInteger(*gender);
        if (!number || *number < 0 || *number > 2) {
            return Envelope::refuse(ErrorCode::BadParameter, "性别筛选条件不正确");
        }
        if (*number <= 1) {
            query.gender = static_cast<int>(*number);
        }
    }
    return std::nullopt;
}

double distanceInMetres(double longitude1, double latitude1, double longitude2, double latitude2) {
    constexpr double earthRadius = 6371008.8;
    constexpr double toRadians = std::numbers::pi / 180.0;
    double dLatitude = (latitude2 - latitude1) * toRadians;
    double dLongitude = (longitude2 - longitude1) * toRadians;
    double a = std::pow(std::sin(dLatitude / 2), 2) + std::cos(latitude1 * toRadians) *
                                                          std::cos(latitude2 * toRadians) *
                                                          std::pow(std::sin(dLongitude / 2), 2);
    return 2 * earthRadius * std::asin(std::min(1.0, std::sqrt(a)));
}

nlohmann::json usersWithPosts(Connection& connection, const std::vector<std::int64_t>& uids,
                              const Call& call) {
    auto list = nlohmann::json::array();
    for (auto uid : uids) {
        if (auto user = Records::user(connection, uid)) {
            list.push_back(Views::user(connection, *user, call.view, true));
        }
    }
    return list;
}

// Users who finished their profile card are the ones the feeds show, except those
// the viewer blocked or was blocked by. ?1 is the gender filter, NULL for everyone;
// the numbered parameter `viewerParam` is the viewer.
std::string feedFilter(int viewerParam) {
    return "has_guided = 1 AND (?1 IS NULL OR gender = ?1) AND " +
           Relations::notBlockedSql("uid", viewerParam);
}

Reply nearbyUsers(Call& call) {
    FeedQuery query;
    if (auto refusal = readFeedQuery(call, query)) {
        return *refusal;
    }
    Reply reply;
    call.service.database.read([&](Connection& connection) {
        auto me = Records::user(connection, *call.uid);
        if (!me) {
            reply = Envelope::unauthorized();
            return;
        }
        struct Candidate {
            std::int64_t uid;
            std::optional<double> distance;
            std::int64_t lastActive;
        };
        std::vector<Candidate> candidates;
        auto select = connection.prepare(
            "SELECT uid, longitude, latitude, last_active, location_secret FROM users WHERE " +
            feedFilter(2) + " AND uid != ?2");
        select.bind(1, query.gender).bind(2, *call.uid);
        while (select.step()) {
            Candidate candidate{select.integer(0), std::nullopt, select.integer(3)};
            // A hidden position must not show through the order either.
            if (me->longitude && me->latitude && !select.isNull(1) && !select.isNull(2) &&
                select.integer(4) == 0) {
                candidate.distance =
                    distanceInMetres(*me->longitude, *me->latitude, select.real(1), select.real(2));
            }
            candidates.push_back(candidate);
        }
        // Nearest first; users without a known position after them, most recently active first.
        // Every tie is broken by uid so that pages never overlap or skip.
        std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
            if (a.distance.has_value() != b.distance.has_value()) {
                return a.distance.has_value();
            }
            if (a.distance && *a.distance != *b.distance) {
                return *a.distance < *b.distance;
            }
            if (!a.distance && a.lastActive != b.lastActive) {
                return a.lastActive > b.lastActive;
            }
            return a.uid < b.uid;
        });
        std::vector<std::int64_t> pageUids;
        auto offset = static_cast<size_t>(query.page - 1) * pageSize;
        for (size_t i = offset; i < candidates.size() && i < offset + pageSize; ++i) {
            pageUids.push_back(candidates[i].uid);
        }
        reply = Envelope::ok(Envelope::page(query.page, pageSize, static_cast<long long>(candidates.size()),
                                            usersWithPosts(connection, pageUids, call)));
    });
    return reply;
}

Reply userPosts(Call& call) {
    FeedQuery query;
    if (auto refusal = readFeedQuery(call, query)) {
        return *refusal;
    }
    auto orderType = call.params.text("orderType").value_or("online");
    std::string order;
    if (orderType == "online") {
        order = "last_active DESC, uid DESC";
    } else if (orderType == "new") {
        order =
            "(SELECT MAX(created) FROM posts WHERE posts.uid = users.uid AND deleted = 0) DESC NULLS LAST, "
            "(SELECT MAX(post_id) FROM posts WHERE posts.uid = users.uid AND deleted = 0) DESC NULLS LAST, "
            "uid DESC";
    } else {
        return Envelope::refuse(ErrorCode::BadParameter, "排序方式不正确");
    }
    Reply reply;
    call.service.database.read([&](Connection& connection) {
        auto count = connection.prepare("SELECT COUNT(*) FROM users WHERE " + feedFilter(4));
        count.bind(1, query.gender).bind(4, *call.uid);
        count.step();
        auto total = count.integer(0);
        auto select = connection.prepare("SELECT uid FROM users WHERE " + feedFilter(4) + " ORDER BY " +
                                         order + " LIMIT ?2 OFFSET ?3");
        select.bind(1, query.gender)
            .bind(2, pageSize)
            .bind(3, static_cast<std::int64_t>(query.page - 1) * pageSize)
            .bind(4, *call.uid);
        std::vector<std::int64_t> pageUids;
        while (select.step()) {
            pageUids.push_back(select.integer(0));
        }
        reply = Envelope::ok(
            Envelope::page(query.page, pageSize, total, usersWithPosts(connection, pageUids, call)));
    });
    return reply;
}

}  // namespace

void FeedHandlers::install(Routes& routes) {
    routes.api("/post/v134/nearbyUsers", Access::SignedIn, nearbyUsers);
    routes.api("/post/v134/userPosts", Access::SignedIn, userPosts);
}

}  // namespace zorlet::sandbox
