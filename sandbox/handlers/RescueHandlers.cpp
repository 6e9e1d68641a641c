#include "sandbox/handlers/RescueHandlers.h"

#include "sandbox/CallParams.h"
#include "sandbox/Connection.h"
#include "sandbox/Dialogs.h"
#include "sandbox/Envelope.h"
#include "sandbox/Records.h"
#include "sandbox/Relations.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TextRules.h"

#include <cmath>
#include <vector>

namespace zorlet::sandbox {

namespace {

constexpr int suggestionCount = 20;
constexpr std::size_t longestInvitation = 1000;

// Users near the poster (nearest first; without a position, the most recently
// active) who are not the poster and have no blocking with them.
Reply rescueUsers(Call& call) {
    Reply reply;
    call.service.database.read([&](Connection& connection) {
        auto me = Records::user(connection, *call.uid);
        if (!me) {
            reply = Envelope::unauthorized();
            return;
        }
        std::string order = "users.last_active DESC, users.uid DESC";
        if (me->longitude && me->latitude) {
            // A flat approximation is enough to rank neighbours; NULL positions go last.
            order =
                "users.latitude IS NULL, ((users.latitude - ?2) * (users.latitude - ?2) + "
                "(users.longitude - ?3) * (users.longitude - ?3)), users.uid";
        }
        auto select = connection.prepare("SELECT users.uid FROM users WHERE users.uid != ?1 AND " +
                                         Relations::notBlockedSql("users.uid", 1) + " ORDER BY " + order +
                                         " LIMIT " + std::to_string(suggestionCount));
        select.bind(1, *call.uid);
        if (me->longitude && me->latitude) {
            select.bind(2, *me->latitude).bind(3, *me->longitude);
        }
        std::vector<std::int64_t> uids;
        while (select.step()) {
            uids.push_back(select.integer(0));
        }
        nlohmann::json list = nlohmann::json::array();
        for (auto uid : uids) {
            if (auto user = Records::user(connection, uid)) {
                list.push_back(Views::user(connection, *user, call.view, false));
            }
        }
        reply = Envelope::ok({{"list", list}});
    });
    return reply;
}

// The invitation arrives in the other user's messages with the post's text.
Reply rescueUser(Call& call) {
    auto target = CallParams::id(call, "uid");
    if (!target) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定要邀请的用户");
    }
    if (*target == *call.uid) {
        return Envelope::refuse(ErrorCode::NotAllowed, "不能邀请自己");
    }
    std::string postContent = call.params.text("postContent").value_or("");
    if (postContent.size() > longestInvitation) {
        return Envelope::refuse(ErrorCode::BadParameter, "邀请内容过长");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        if (!Records::user(connection, *target)) {
            reply = Envelope::refuse(ErrorCode::NotFound, "该用户不存在");
            return;
        }
        if (Relations::isBlockedEitherWay(connection, *call.uid, *target)) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "你们之间有屏蔽关系，无法邀请");
            return;
        }
        NewMessage message;
        message.fromUid = *call.uid;
        message.toUid = *target;
        message.content = postContent.empty() ? "我发布了一个Zorlet，一起去吧？"
                                              : "我发布了一个Zorlet：" + postContent + "，一起去吧？";
        message.created = call.view.now;
        Dialogs::insert(connection, message);
        reply = Envelope::ok();
    });
    return reply;
}

// Kept for the operators; the client does not read the answer.
Reply invite(Call& call) {
    std::string content = call.params.text("content").value_or("");
    if (content.size() > longestInvitation) {
        return Envelope::refuse(ErrorCode::BadParameter, "邀请内容过长");
    }
    call.service.database.write([&](Connection& connection) {
        connection.prepare("INSERT INTO invitations (uid, content, created) VALUES (?, ?, ?)")
            .bind(1, *call.uid)
            .bind(2, content)
            .bind(3, call.view.now)
            .run();
    });
    return Envelope::ok();
}

}  // namespace

void RescueHandlers::install(Routes& routes) {
    routes.api("/post/v135/rescueUsers", Access::SignedIn, rescueUsers);
    routes.api("/dialog/v135/rescueUser", Access::SignedIn, rescueUser);
    routes.api("/home/invite", Access::SignedIn, invite);
}

}  // namespace zorlet::sandbox
