#include "sandbox/handlers/PostDetailHandlers.h"

#include "platform/UnicodeText.h"
#include "sandbox/CallParams.h"
#include "sandbox/Dialogs.h"
#include "sandbox/Envelope.h"
#include "sandbox/Records.h"
#include "sandbox/Relations.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/UserPages.h"

namespace zorlet::sandbox {

namespace {

constexpr int pageSize = 20;
constexpr int longestComment = 200;  // length units, as the detail screen counts them

Reply postGone() {
    return Envelope::refuse(ErrorCode::NotFound, "这条Zorlet已经不存在了");
}

// A comment is a private message to the author; it names the post so the author
// knows, in the dialog list, what the message answers.
std::string commentMessage(const PostRecord& post, const std::string& comment) {
    auto headline = post.purpose.empty() ? post.content : post.purpose;
    return "回复你的Zorlet「" + headline + "」：" + comment;
}

Reply comment(Call& call) {
    auto postId = CallParams::id(call, "postId");
    if (!postId) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定要留言的Zorlet");
    }
    auto content = UnicodeText::trimmed(call.params.text("content").value_or(""));
    auto length = static_cast<std::int64_t>(UnicodeText::chineseLength(content));
    if (length <= 0) {
        return Envelope::refuse(ErrorCode::BadParameter, "请先输入内容");
    }
    if (length > longestComment) {
        return Envelope::refuse(ErrorCode::BadParameter, "请不要超过100字");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto post = Records::post(connection, *postId);
        if (!post) {
            reply = postGone();
            return;
        }
        if (post->uid == *call.uid) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "不能给自己的Zorlet留言");
            return;
        }
        if (Relations::isBlockedEitherWay(connection, *call.uid, post->uid)) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "你们之间有屏蔽关系，无法留言");
            return;
        }
        Dialogs::insert(connection, NewMessage{*call.uid, post->uid, commentMessage(*post, content), "",
                                               call.view.now, ""});
        reply = Envelope::ok();
    });
    return reply;
}

Reply deletePost(Call& call) {
    auto postId = CallParams::id(call, "postId");
    if (!postId) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定要删除的Zorlet");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto post = Records::post(connection, *postId);
        if (!post) {
            reply = postGone();
            return;
        }
        if (post->uid != *call.uid) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "只能删除自己的Zorlet");
            return;
        }
        // Kept as deleted rather than removed: messages and responses may still refer to it.
        connection.prepare("UPDATE posts SET deleted = 1 WHERE post_id = ?").bind(1, *postId).run();
        reply = Envelope::ok();
    });
    return reply;
}

Reply respondedUsers(Call& call) {
    auto postId = CallParams::id(call, "postId");
    if (!postId) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定Zorlet");
    }
    auto page = CallParams::page(call);
    if (!page) {
        return Envelope::refuse(ErrorCode::BadParameter, "页码不正确");
    }
    Reply reply;
    call.service.database.read([&](Connection& connection) {
        if (!Records::post(connection, *postId)) {
            reply = postGone();
            return;
        }
        reply = Envelope::ok(UserPages::page(connection, call.view,
                                             "FROM post_responses JOIN users ON users.uid = "
                                             "post_responses.uid WHERE post_responses.post_id = ?1",
                                             "post_responses.created DESC, users.uid DESC", *postId, *page,
                                             pageSize));
    });
    return reply;
}

}  // namespace

void PostDetailHandlers::install(Routes& routes) {
    routes.api("/post/v133/comment", Access::SignedIn, comment);
    routes.api("/post/v133/delete", Access::SignedIn, deletePost);
    routes.api("/post/respUsers", Access::SignedIn, respondedUsers);
}

}  // namespace zorlet::sandbox
