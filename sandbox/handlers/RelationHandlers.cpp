#include "sandbox/handlers/RelationHandlers.h"

#include "sandbox/CallParams.h"
#include "sandbox/Connection.h"
#include "sandbox/Envelope.h"
#include "sandbox/Records.h"
#include "sandbox/Relations.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/Views.h"
#include "sandbox/handlers/RelationCalls.h"

namespace zorlet::sandbox {

namespace {

Reply unknownUser() {
    return Envelope::refuse(ErrorCode::NotFound, "该用户不存在");
}

Reply follow(Call& call) {
    return RelationCalls::changeWith(
        call, "uid", "关注", RelationCalls::Self::Refused,
        [&](Connection& connection, const UserRecord& other) {
            if (Relations::isBlockedEitherWay(connection, *call.uid, other.uid)) {
                return Envelope::refuse(ErrorCode::NotAllowed, "你们之间有屏蔽关系，无法关注");
            }
            // Following twice is following once.
            connection
                .prepare("INSERT OR IGNORE INTO interests (uid, interest_uid, created) VALUES (?, ?, ?)")
                .bind(1, *call.uid)
                .bind(2, other.uid)
                .bind(3, call.view.now)
                .run();
            return Envelope::ok(Views::user(connection, other, call.view, false));
        });
}

Reply unfollow(Call& call) {
    return RelationCalls::changeWith(
        call, "uid", "取消关注", RelationCalls::Self::Refused,
        [&](Connection& connection, const UserRecord& other) {
            connection.prepare("DELETE FROM interests WHERE uid = ? AND interest_uid = ?")
                .bind(1, *call.uid)
                .bind(2, other.uid)
                .run();
            return Envelope::ok(Views::user(connection, other, call.view, false));
        });
}

// The users the signed-in user follows (`following`) or who follow them, latest first.
Reply followList(Call& call, bool following) {
    std::string source = following ? "FROM interests JOIN users ON users.uid = interests.interest_uid "
                                     "WHERE interests.uid = ?1"
                                   : "FROM interests JOIN users ON users.uid = interests.uid "
                                     "WHERE interests.interest_uid = ?1";
    return RelationCalls::userPage(call, source, "interests.created DESC, users.uid DESC");
}

Reply shield(Call& call) {
    return RelationCalls::changeWith(
        call, "shieldUid", "屏蔽", RelationCalls::Self::Refused,
        [&](Connection& connection, const UserRecord& other) {
            connection.prepare("INSERT OR IGNORE INTO blacklist (uid, shield_uid, created) VALUES (?, ?, ?)")
                .bind(1, *call.uid)
                .bind(2, other.uid)
                .bind(3, call.view.now)
                .run();
            // Blocked users stop following each other, so neither stays in the other's follow lists.
            connection
                .prepare(
                    "DELETE FROM interests WHERE (uid = ?1 AND interest_uid = ?2) OR (uid = ?2 AND "
                    "interest_uid "
                    "= ?1)")
                .bind(1, *call.uid)
                .bind(2, other.uid)
                .run();
            return Envelope::ok();
        });
}

Reply report(Call& call) {
    auto target = CallParams::id(call, "reportUid");
    if (!target) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定要举报的用户");
    }
    auto reportType = CallParams::code(call, "reportType");
    auto contentType = CallParams::code(call, "contentType");
    auto contentId = CallParams::id(call, "contentId");
    if (!reportType || !contentType || !contentId) {
        return Envelope::refuse(ErrorCode::BadParameter, "举报内容不完整");
    }
    if (*target == *call.uid) {
        return Envelope::refuse(ErrorCode::NotAllowed, "不能举报自己");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        if (!Records::user(connection, *target)) {
            reply = unknownUser();
            return;
        }
        connection
            .prepare(
                "INSERT INTO reports (uid, report_uid, report_type, content_type, content_id, created) "
                "VALUES (?, ?, ?, ?, ?, ?)")
            .bind(1, *call.uid)
            .bind(2, *target)
            .bind(3, *reportType)
            .bind(4, *contentType)
            .bind(5, *contentId)
            .bind(6, call.view.now)
            .run();
        reply = Envelope::ok();
    });
    return reply;
}

}  // namespace

void RelationHandlers::install(Routes& routes) {
    routes.api("/home/interest", Access::SignedIn, follow);
    routes.api("/home/removeInterest", Access::SignedIn, unfollow);
    routes.api("/home/interestList", Access::SignedIn, [](Call& call) { return followList(call, true); });
    routes.api("/home/interestMeList", Access::SignedIn, [](Call& call) { return followList(call, false); });
    routes.api("/home/v133/blacklist/shield", Access::SignedIn, shield);
    routes.api("/home/v133/report/save", Access::SignedIn, report);
}

}  // namespace zorlet::sandbox
