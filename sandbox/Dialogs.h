#pragma once

#include "sandbox/Views.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorlet::sandbox {

class Connection;

// One row of the messages table.
struct MessageRecord {
    std::int64_t id = 0;
    std::int64_t fromUid = 0;
    std::int64_t toUid = 0;
    std::string content;
    std::string pic;
    std::int64_t created = 0;
    bool isRead = false;
    std::string clientMsgId;
};

struct NewMessage {
    std::int64_t fromUid = 0;
    std::int64_t toUid = 0;
    std::string content;
    std::string pic;  // a stored picture name, or empty
    std::int64_t created = 0;
    std::string clientMsgId;  // empty for messages the service writes itself
};

// Private messages and the dialogs made of them. Every function runs inside
// the caller's transaction. A dialog is the pair of its users; what one user
// deleted stays visible to the other.
class Dialogs {
public:
    // The stored id. Other parts of the service (invitations, comments) post through here too.
    static std::int64_t insert(Connection& connection, const NewMessage& message);
    // The message the sender already stored under that client id, if any.
    static std::optional<MessageRecord> byClientId(Connection& connection, std::int64_t fromUid,
                                                   const std::string& clientMsgId);
    static std::optional<MessageRecord> message(Connection& connection, std::int64_t id);
    // The stable id of the pair's dialog, made on first need.
    static std::int64_t dialogId(Connection& connection, std::int64_t uid, std::int64_t otherUid);
    // The other user of a dialog that `uid` takes part in; nothing for someone else's dialog.
    static std::optional<std::int64_t> otherOf(Connection& connection, std::int64_t dialogId,
                                               std::int64_t uid);

    // `uid`'s dialogs with something visible in them, latest message first.
    struct DialogRow {
        std::int64_t dialogId = 0;
        std::int64_t otherUid = 0;
        MessageRecord latest;
        std::int64_t count = 0;
    };
    static std::vector<DialogRow> dialogsOf(Connection& connection, std::int64_t uid, int offset, int limit);
    static std::int64_t dialogCount(Connection& connection, std::int64_t uid);

    // Messages between the two that `viewer` has not deleted, newest first.
    static std::vector<MessageRecord> conversation(Connection& connection, std::int64_t viewer,
                                                   std::int64_t otherUid, int offset, int limit);
    static std::int64_t conversationCount(Connection& connection, std::int64_t viewer, std::int64_t otherUid);
    // The other's messages `viewer` has not read yet, oldest first.
    static std::vector<MessageRecord> unreadFrom(Connection& connection, std::int64_t viewer,
                                                 std::int64_t otherUid);
    static void markRead(Connection& connection, std::int64_t viewer, std::int64_t otherUid);
    static std::int64_t unreadCount(Connection& connection, std::int64_t viewer);
    // Hides everything up to now for `uid` alone; unread messages in it count as read.
    static void clear(Connection& connection, std::int64_t dialogId, std::int64_t uid);

    static bool isBlocked(Connection& connection, std::int64_t uid, std::int64_t byUid);

    static nlohmann::json messageView(const MessageRecord& message, const ViewContext& context);
};

}  // namespace zorlet::sandbox
