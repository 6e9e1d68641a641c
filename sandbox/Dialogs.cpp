#include "sandbox/Dialogs.h"

#include "sandbox/Connection.h"
#include "sandbox/Pictures.h"

#include <algorithm>

namespace zorlet::sandbox {

namespace {

constexpr const char* messageColumns = "id, from_uid, to_uid, content, pic, created, is_read, client_msg_id";

MessageRecord readMessage(const Statement& row) {
    MessageRecord message;
    message.id = row.integer(0);
    message.fromUid = row.integer(1);
    message.toUid = row.integer(2);
    message.content = row.text(3);
    message.pic = row.text(4);
    message.created = row.integer(5);
    message.isRead = row.integer(6) != 0;
    message.clientMsgId = row.isNull(7) ? std::string() : row.text(7);
    return message;
}

// Messages up to this id are deleted for `viewer`; 0 when nothing was.
std::int64_t clearedThrough(Connection& connection, std::int64_t viewer, std::int64_t otherUid) {
    auto query = connection.prepare(
        "SELECT c.cleared_through FROM dialogs d JOIN dialog_cleared c ON c.dialog_id = d.dialog_id "
        "WHERE d.low_uid = ? AND d.high_uid = ? AND c.uid = ?");
    query.bind(1, std::min(viewer, otherUid)).bind(2, std::max(viewer, otherUid)).bind(3, viewer);
    return query.step() ? query.integer(0) : 0;
}

// Both directions of one pair, ?1 the viewer, ?2 the other user, ?3 the deletion mark.
constexpr const char* pairVisible =
    "((from_uid = ?1 AND to_uid = ?2) OR (from_uid = ?2 AND to_uid = ?1)) AND id > ?3";

// Each of ?1's messages with the other party and whether ?1 deleted it.
constexpr const char* visibleOfUser = R"sql(
WITH mine AS (
    SELECT CASE WHEN from_uid = ?1 THEN to_uid ELSE from_uid END AS other, id
    FROM messages WHERE from_uid = ?1 OR to_uid = ?1
), visible AS (
    SELECT mine.other AS other, mine.id AS id FROM mine
    LEFT JOIN dialogs d ON d.low_uid = MIN(?1, mine.other) AND d.high_uid = MAX(?1, mine.other)
    LEFT JOIN dialog_cleared c ON c.dialog_id = d.dialog_id AND c.uid = ?1
    WHERE mine.id > COALESCE(c.cleared_through, 0)
)
)sql";

}  // namespace

std::int64_t Dialogs::insert(Connection& connection, const NewMessage& message) {
    connection
        .prepare(
            "INSERT INTO messages (from_uid, to_uid, content, pic, created, client_msg_id) VALUES (?, ?, ?, "
            "?, ?, ?)")
        .bind(1, message.fromUid)
        .bind(2, message.toUid)
        .bind(3, message.content)
        .bind(4, message.pic)
        .bind(5, message.created)
        .bind(6, message.clientMsgId.empty() ? std::nullopt : std::optional<std::string>(message.clientMsgId))
        .run();
    auto id = connection.lastInsertId();
    dialogId(connection, message.fromUid, message.toUid);
    return id;
}

std::optional<MessageRecord> Dialogs::byClientId(Connection& connection, std::int64_t fromUid,
                                                 const std::string& clientMsgId) {
    auto query = connection.prepare(std::string("SELECT ") + messageColumns +
                                    " FROM messages WHERE from_uid = ? AND client_msg_id = ?");
    query.bind(1, fromUid).bind(2, clientMsgId);
    if (!query.step()) {
        return std::nullopt;
    }
    return readMessage(query);
}

std::optional<MessageRecord> Dialogs::message(Connection& connection, std::int64_t id) {
    auto query = connection.prepare(std::string("SELECT ") + messageColumns + " FROM messages WHERE id = ?");
    query.bind(1, id);
    if (!query.step()) {
        return std::nullopt;
    }
    return readMessage(query);
}

std::int64_t Dialogs::dialogId(Connection& connection, std::int64_t uid, std::int64_t otherUid) {
    auto low = std::min(uid, otherUid);
    auto high = std::max(uid, otherUid);
    connection.prepare("INSERT OR IGNORE INTO dialogs (low_uid, high_uid) VALUES (?, ?)")
        .bind(1, low)
        .bind(2, high)
        .run();
    auto query = connection.prepare("SELECT dialog_id FROM dialogs WHERE low_uid = ? AND high_uid = ?");
    query.bind(1, low).bind(2, high);
    query.step();
    return query.integer(0);
}

std::optional<std::int64_t> Dialogs::otherOf(Connection& connection, std::int64_t dialogId,
                                             std::int64_t uid) {
    auto query = connection.prepare("SELECT low_uid, high_uid FROM dialogs WHERE dialog_id = ?");
    query.bind(1, dialogId);
    if (!query.step()) {
        return std::nullopt;
    }
    auto low = query.integer(0);
    auto high = query.integer(1);
    if (low == uid) {
        return high;
    }
    if (high == uid) {
        return low;
    }
    return std::nullopt;
}

std::vector<Dialogs::DialogRow> Dialogs::dialogsOf(Connection& connection, std::int64_t uid, int offset,
                                                   int limit) {
    struct Found {
        std::int64_t other;
        std::int64_t latest;
        std::int64_t count;
    };
    std::vector<Found> found;
    {
        auto query = connection.prepare(
            std::string(visibleOfUser) +
            "SELECT other, MAX(id) AS latest, COUNT(*) FROM visible GROUP BY other ORDER BY latest DESC "
            "LIMIT ?2 OFFSET ?3");
        query.bind(1, uid).bind(2, limit).bind(3, offset);
        while (query.step()) {
            found.push_back({query.integer(0), query.integer(1), query.integer(2)});
        }
    }
    std::vector<DialogRow> rows;
    for (const auto& each : found) {
        auto latest = message(connection, each.latest);
        if (!latest) {
            continue;
        }
        rows.push_back({dialogId(connection, uid, each.other), each.other, *latest, each.count});
    }
    return rows;
}

std::int64_t Dialogs::dialogCount(Connection& connection, std::int64_t uid) {
    auto query = connection.prepare(std::string(visibleOfUser) + "SELECT COUNT(DISTINCT other) FROM visible");
    query.bind(1, uid);
    query.step();
    return query.integer(0);
}

std::vector<MessageRecord> Dialogs::conversation(Connection& connection, std::int64_t viewer,
                                                 std::int64_t otherUid, int offset, int limit) {
    auto query = connection.prepare(std::string("SELECT ") + messageColumns + " FROM messages WHERE " +
                                    pairVisible + " ORDER BY id DESC LIMIT ?4 OFFSET ?5");
    query.bind(1, viewer)
        .bind(2, otherUid)
        .bind(3, clearedThrough(connection, viewer, otherUid))
        .bind(4, limit)
        .bind(5, offset);
    std::vector<MessageRecord> messages;
    while (query.step()) {
        messages.push_back(readMessage(query));
    }
    return messages;
}

std::int64_t Dialogs::conversationCount(Connection& connection, std::int64_t viewer, std::int64_t otherUid) {
    auto query = connection.prepare(std::string("SELECT COUNT(*) FROM messages WHERE ") + pairVisible);
    query.bind(1, viewer).bind(2, otherUid).bind(3, clearedThrough(connection, viewer, otherUid));
    query.step();
    return query.integer(0);
}

std::vector<MessageRecord> Dialogs::unreadFrom(Connection& connection, std::int64_t viewer,
                                               std::int64_t otherUid) {
    auto query = connection.prepare(std::string("SELECT ") + messageColumns +
                                    " FROM messages WHERE from_uid = ? AND to_uid = ? AND is_read = 0 "
                                    "ORDER BY id");
    query.bind(1, otherUid).bind(2, viewer);
    std::vector<MessageRecord> messages;
    while (query.step()) {
        messages.push_back(readMessage(query));
    }
    return messages;
}

void Dialogs::markRead(Connection& connection, std::int64_t viewer, std::int64_t otherUid) {
    connection.prepare("UPDATE messages SET is_read = 1 WHERE from_uid = ? AND to_uid = ? AND is_read = 0")
        .bind(1, otherUid)
        .bind(2, viewer)
        .run();
}

std::int64_t Dialogs::unreadCount(Connection& connection, std::int64_t viewer) {
    auto query = connection.prepare("SELECT COUNT(*) FROM messages WHERE to_uid = ? AND is_read = 0");
    query.bind(1, viewer);
    query.step();
    return query.integer(0);
}

void Dialogs::clear(Connection& connection, std::int64_t dialogId, std::int64_t uid) {
    auto other = otherOf(connection, dialogId, uid);
    if (!other) {
        return;
    }
    auto query = connection.prepare(
        "SELECT COALESCE(MAX(id), 0) FROM messages WHERE (from_uid = ?1 AND to_uid = ?2) OR (from_uid = ?2 "
        "AND to_uid = ?1)");
    query.bind(1, uid).bind(2, *other);
    query.step();
    auto through = query.integer(0);
    connection
        .prepare(
            "INSERT INTO dialog_cleared (dialog_id, uid, cleared_through) VALUES (?, ?, ?) ON CONFLICT "
            "(dialog_id, uid) DO UPDATE SET cleared_through = excluded.cleared_through")
        .bind(1, dialogId)
        .bind(2, uid)
        .bind(3, through)
        .run();
    markRead(connection, uid, *other);
}

bool Dialogs::isBlocked(Connection& connection, std::int64_t uid, std::int64_t byUid) {
    auto query = connection.prepare("SELECT 1 FROM blacklist WHERE uid = ? AND shield_uid = ?");
    query.bind(1, byUid).bind(2, uid);
    return query.step();
}

nlohmann::json Dialogs::messageView(const MessageRecord& message, const ViewContext& context) {
    auto picture = Pictures::url(context.baseUrl, message.pic);
    auto pictureJson = picture.empty() ? nlohmann::json() : nlohmann::json(picture);
    return {
        {"dialogContentId", message.id},
        {"content", message.content},
        {"senderUid", message.fromUid},
        {"receiverUid", message.toUid},
        {"createTime", message.created * 1000},
        {"imgUrl", pictureJson},
        {"bigImgUrl", pictureJson},
        {"originalImgUrl", pictureJson},
        {"clientMsgId", message.clientMsgId.empty() ? nlohmann::json() : nlohmann::json(message.clientMsgId)},
    };
}

}  // namespace zorlet::sandbox
