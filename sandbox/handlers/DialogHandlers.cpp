#include "sandbox/handlers/DialogHandlers.h"

#include "platform/UnicodeText.h"
#include "sandbox/Dialogs.h"
#include "sandbox/Envelope.h"
#include "sandbox/Pictures.h"
#include "sandbox/Records.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TextRules.h"

namespace zorlet::sandbox {

namespace {

constexpr int dialogPageSize = 10;
constexpr int conversationPageSize = 20;
constexpr long long highestPage = 100000;
constexpr int shortestMessage = 1;
constexpr int longestMessage = 400;
constexpr size_t longestClientId = 64;
constexpr const char* lengthRule = "私聊内容字数控制在1-200个汉字内";

std::optional<int> pageOf(const Call& call) {
    auto text = call.params.text("page").value_or("");
    if (text.empty()) {
        return 1;
    }
    auto number = TextRules::parseInteger(text);
    if (!number || *number > highestPage) {
        return std::nullopt;
    }
    return *number < 1 ? 1 : static_cast<int>(*number);
}

std::optional<std::int64_t> positiveInteger(const Call& call, const std::string& name) {
    auto number = TextRules::parseInteger(call.params.text(name).value_or(""));
    if (!number || *number <= 0) {
        return std::nullopt;
    }
    return number;
}

// Client ids are opaque to the service; only their size and alphabet are bounded.
bool isUsableClientId(const std::string& id) {
    if (id.size() > longestClientId) {
        return false;
    }
    for (char c : id) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') {
            return false;
        }
    }
    return true;
}

Reply dialogList(Call& call) {
    auto page = pageOf(call);
    if (!page) {
        return Envelope::refuse(ErrorCode::BadParameter, "页码不正确");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto uid = *call.uid;
        auto list = nlohmann::json::array();
        for (const auto& row :
             Dialogs::dialogsOf(connection, uid, (*page - 1) * dialogPageSize, dialogPageSize)) {
            auto other = Records::user(connection, row.otherUid);
            if (!other) {
                continue;
            }
            list.push_back({
                {"dialogId", row.dialogId},
                {"receiverUid", row.latest.toUid},
                {"latestContent", row.latest.content},
                {"createTime", row.latest.created * 1000},
                {"dialogContentCount", row.count},
                {"targetUser", Views::user(connection, *other, call.view, false)},
            });
        }
        // Opening the message tab is when the other notices count as seen; unread
        // messages stay counted until their conversation is read.
        if (*page == 1) {
            connection.prepare("UPDATE users SET unread_notices = 0 WHERE uid = ?").bind(1, uid).run();
        }
        reply =
            Envelope::ok(Envelope::page(*page, dialogPageSize, Dialogs::dialogCount(connection, uid), list));
    });
    return reply;
}

Reply deleteDialog(Call& call) {
    auto dialogId = positiveInteger(call, "dialogId");
    if (!dialogId) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定要删除的对话");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        if (!Dialogs::otherOf(connection, *dialogId, *call.uid)) {
            reply = Envelope::refuse(ErrorCode::NotFound, "这个对话已经不存在了");
            return;
        }
        Dialogs::clear(connection, *dialogId, *call.uid);
        reply = Envelope::ok();
    });
    return reply;
}

Reply sendSms(Call& call) {
    auto receiver = positiveInteger(call, "uid");
    if (!receiver) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定收信人");
    }
    auto content = UnicodeText::trimmed(call.params.text("content").value_or(""));
    auto length = static_cast<std::int64_t>(UnicodeText::chineseLength(content));
    if (length < shortestMessage || length > longestMessage) {
        return Envelope::refuse(ErrorCode::BadParameter, lengthRule);
    }
    auto clientMsgId = call.params.text("clientMsgId").value_or("");
    if (!isUsableClientId(clientMsgId)) {
        return Envelope::refuse(ErrorCode::BadParameter, "消息编号不正确");
    }
    std::optional<Pictures::Checked> picture;
    const auto* file = call.params.file("dialogImg");
    if (file) {
        if (file->content.size() > Pictures::maxBytes) {
            return Envelope::refuse(ErrorCode::BadPicture, "图片不能超过5MB");
        }
        picture = Pictures::check(file->content);
        if (!picture) {
            return Envelope::refuse(ErrorCode::BadPicture, "图片格式不正确，请选择JPEG或PNG图片");
        }
    }
    auto sender = *call.uid;
    if (*receiver == sender) {
        return Envelope::refuse(ErrorCode::NotAllowed, "不能给自己发私信");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        // A resend of a message already stored answers with the stored one, so the
        // sender can forget it from its outbox without a second copy arriving.
        if (!clientMsgId.empty()) {
            if (auto stored = Dialogs::byClientId(connection, sender, clientMsgId)) {
                reply = Envelope::ok(Dialogs::messageView(*stored, call.view));
                return;
            }
        }
        if (!Records::user(connection, *receiver)) {
            reply = Envelope::refuse(ErrorCode::NotFound, "对方账号不存在");
            return;
        }
        if (Dialogs::isBlocked(connection, sender, *receiver)) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "对方已将你加入黑名单，无法发送私信");
            return;
        }
        if (Dialogs::isBlocked(connection, *receiver, sender)) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "你已将对方加入黑名单，请先解除屏蔽再发私信");
            return;
        }
        NewMessage message{sender, *receiver, content, "", call.view.now, clientMsgId};
        if (picture) {
            auto stored = call.service.pictures.store(connection, file->content, *picture, sender);
            if (!stored) {
                reply = Envelope::serverFault();
                return;
            }
            message.pic = *stored;
        }
        auto id = Dialogs::insert(connection, message);
        connection.prepare("UPDATE users SET last_active = ? WHERE uid = ?")
            .bind(1, call.view.now)
            .bind(2, sender)
            .run();
        reply = Envelope::ok(Dialogs::messageView(*Dialogs::message(connection, id), call.view));
    });
    return reply;
}

Reply dialogContentList(Call& call) {
    auto other = positiveInteger(call, "uid");
    if (!other) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定对话的用户");
    }
    auto page = pageOf(call);
    if (!page) {
        return Envelope::refuse(ErrorCode::BadParameter, "页码不正确");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto viewer = *call.uid;
        auto list = nlohmann::json::array();
        for (const auto& message : Dialogs::conversation(
                 connection, viewer, *other, (*page - 1) * conversationPageSize, conversationPageSize)) {
            list.push_back(Dialogs::messageView(message, call.view));
        }
        Dialogs::markRead(connection, viewer, *other);
        reply = Envelope::ok(Envelope::page(*page, conversationPageSize,
                                            Dialogs::conversationCount(connection, viewer, *other), list));
    });
    return reply;
}

// What arrived from the other user since the viewer last read the conversation.
Reply refreshDialogContent(Call& call) {
    auto other = positiveInteger(call, "uid");
    if (!other) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定对话的用户");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto viewer = *call.uid;
        auto list = nlohmann::json::array();
        for (const auto& message : Dialogs::unreadFrom(connection, viewer, *other)) {
            list.push_back(Dialogs::messageView(message, call.view));
        }
        Dialogs::markRead(connection, viewer, *other);
        reply = Envelope::ok({{"list", list}});
    });
    return reply;
}

}  // namespace

void DialogHandlers::install(Routes& routes) {
    routes.api("/dialog/dialogList", Access::SignedIn, dialogList);
    routes.api("/dialog/deleteDialog", Access::SignedIn, deleteDialog);
    routes.api("/dialog/sendSms", Access::SignedIn, sendSms);
    routes.api("/dialog/dialogContentList", Access::SignedIn, dialogContentList);
    routes.api("/dialog/refreshDialogContent", Access::SignedIn, refreshDialogContent);
}

}  // namespace zorlet::sandbox
