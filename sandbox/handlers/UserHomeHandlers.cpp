#include "sandbox/handlers/UserHomeHandlers.h"

#include "sandbox/CallParams.h"
#include "sandbox/Envelope.h"
#include "sandbox/Records.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"

#include <vector>

namespace zorlet::sandbox {

namespace {

// Post rows are tall; a page of ten fills a phone screen about twice.
constexpr int postPageSize = 10;

Reply unknownUser() {
    return Envelope::refuse(ErrorCode::NotFound, "该用户不存在");
}

Reply userInfo(Call& call) {
    auto uid = CallParams::id(call, "uid");
    if (!uid) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定要查看的用户");
    }
    Reply reply;
    call.service.database.read([&](Connection& connection) {
        auto user = Records::user(connection, *uid);
        reply = user ? Envelope::ok(Views::home(connection, *user, call.view)) : unknownUser();
    });
    return reply;
}

// The posts of `uid`, or of the signed-in user when no uid is given, newest first.
Reply userPosts(Call& call) {
    auto uid = *call.uid;
    if (auto uidText = call.params.text("uid"); uidText && !uidText->empty()) {
        auto asked = CallParams::id(call, "uid");
        if (!asked) {
            return Envelope::refuse(ErrorCode::BadParameter, "用户参数不正确");
        }
        uid = *asked;
    }
    auto page = CallParams::page(call);
    if (!page) {
        return Envelope::refuse(ErrorCode::BadParameter, "页码不正确");
    }
    Reply reply;
    call.service.database.read([&](Connection& connection) {
        if (!Records::user(connection, uid)) {
            reply = unknownUser();
            return;
        }
        auto select = connection.prepare(
            "SELECT post_id FROM posts WHERE uid = ? AND deleted = 0 ORDER BY created DESC, post_id DESC "
            "LIMIT ? OFFSET ?");
        select.bind(1, uid)
            .bind(2, postPageSize)
            .bind(3, static_cast<std::int64_t>(*page - 1) * postPageSize);
        std::vector<std::int64_t> postIds;
        while (select.step()) {
            postIds.push_back(select.integer(0));
        }
        auto list = nlohmann::json::array();
        for (auto postId : postIds) {
            if (auto post = Records::post(connection, postId)) {
                list.push_back(Views::post(connection, *post, call.view));
            }
        }
        reply = Envelope::ok(
            Envelope::page(*page, postPageSize, Records::postCount(connection, uid), std::move(list)));
    });
    return reply;
}

}  // namespace

void UserHomeHandlers::install(Routes& routes) {
    routes.api("/home/v132/userInfo", Access::SignedIn, userInfo);
    routes.api("/home/posts", Access::SignedIn, userPosts);
}

}  // namespace zorlet::sandbox
