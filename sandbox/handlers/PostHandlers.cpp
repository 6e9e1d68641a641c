#include "sandbox/handlers/PostHandlers.h"

#include "sandbox/Envelope.h"
#include "sandbox/Records.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TextRules.h"

namespace zorlet::sandbox {

namespace {

Reply respond(Call& call) {
    auto postId = TextRules::parseInteger(call.params.text("postId").value_or(""));
    if (!postId || *postId <= 0)
        return Envelope::refuse(ErrorCode::BadParameter, "请指定要响应的Zorlet");
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto post = Records::post(connection, *postId);
        if (!post) {
            reply = Envelope::refuse(ErrorCode::NotFound, "这条Zorlet已经不存在了");
            return;
        }
        if (post->uid == *call.uid) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "不能响应自己的Zorlet");
            return;
        }
        // Responding twice is one response: the count and the author's notice move only the first time.
        connection.prepare("INSERT OR IGNORE INTO post_responses (post_id, uid, created) VALUES (?, ?, ?)")
            .bind(1, *postId)
            .bind(2, *call.uid)
            .bind(3, call.view.now)
            .run();
        if (connection.changes() == 1) {
            connection.prepare("UPDATE posts SET resp_cnt = resp_cnt + 1 WHERE post_id = ?")
                .bind(1, *postId)
                .run();
            connection.prepare("UPDATE users SET unread_notices = unread_notices + 1 WHERE uid = ?")
                .bind(1, post->uid)
                .run();
        }
        reply = Envelope::ok(Views::post(connection, *Records::post(connection, *postId), call.view));
    });
    return reply;
}

}  // namespace

void PostHandlers::install(Routes& routes) {
    routes.api("/post/respPost", Access::SignedIn, respond);
}

}  // namespace zorlet::sandbox
