#include "sandbox/TestControl.h"

#include "platform/UnicodeText.h"
#include "sandbox/Accounts.h"
#include "sandbox/Dialogs.h"
#include "sandbox/Records.h"
#include "sandbox/ServiceContext.h"

#include "platform/Log.h"

#include <ctime>

namespace zorlet::sandbox {

namespace {

std::int64_t now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

}  // namespace

bool TestControl::change(const std::function<bool(Connection&)>& work) {
    bool done = false;
    try {
        service_.database.write([&](Connection& connection) { done = work(connection); });
    } catch (const std::exception& e) {
        zorlet::log().warn("sandbox test control: {}", e.what());
        return false;
    }
    return done;
}

std::optional<std::int64_t> TestControl::createUser(const TestUser& newUser) {
    if (!UnicodeText::isValidUtf8(newUser.nickname) || newUser.nickname.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> hash;
    if (!newUser.account.empty()) {
        hash = Passwords::hash(newUser.password, service_.options.passwordCost);
        if (!hash) {
            return std::nullopt;
        }
    }
    std::optional<std::int64_t> uid;
    change([&](Connection& connection) {
        if ((!newUser.account.empty() && Records::userByAccount(connection, newUser.account)) ||
            Records::nicknameTaken(connection, newUser.nickname, 0)) {
            return false;
        }
        NewUser user;
        if (!newUser.account.empty()) {
            user.account = newUser.account;
        }
        user.passwordHash = hash;
        user.nickname = newUser.nickname;
        user.gender = newUser.gender;
        if (auto city = service_.reference.city(newUser.cityId)) {
            user.cityId = city->cityId;
            user.cityName = city->cityName;
            user.provinceId = city->provinceId;
            user.provinceName = city->provinceName;
        } else {
            user.cityId = newUser.cityId;
        }
        user.hasGuided = newUser.hasGuided;
        user.longitude = newUser.longitude;
        user.latitude = newUser.latitude;
        user.tpId = newUser.tpId;
        if (!newUser.tpAccount.empty()) {
            user.tpAccount = newUser.tpAccount;
        }
        uid = Accounts::create(connection, user);
        return true;
    });
    return uid;
}

std::optional<std::int64_t> TestControl::createPost(std::int64_t uid, const TestPost& post) {
    std::optional<std::int64_t> postId;
    change([&](Connection& connection) {
        if (!Records::user(connection, uid)) {
            return false;
        }
        connection
            .prepare(
                "INSERT INTO posts (uid, purpose, content, place, date_string, category_id, category_name, "
                "created) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
            .bind(1, uid)
            .bind(2, post.purpose)
            .bind(3, post.content)
            .bind(4, post.place)
            .bind(5, post.dateString)
            .bind(6, post.categoryId)
            .bind(7, service_.reference.categoryName(post.categoryId).value_or(""))
            .bind(8, now())
            .run();
        postId = connection.lastInsertId();
        return true;
    });
    return postId;
}

std::optional<std::int64_t> TestControl::uidOf(const std::string& account) {
    std::optional<std::int64_t> uid;
    try {
        service_.database.read([&](Connection& connection) {
            if (auto user = Records::userByAccount(connection, account)) {
                uid = user->uid;
            }
        });
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return uid;
}

std::optional<std::string> TestControl::nicknameOf(std::int64_t uid) {
    std::optional<std::string> nickname;
    try {
        service_.database.read([&](Connection& connection) {
            if (auto user = Records::user(connection, uid)) {
                nickname = user->nickname;
            }
        });
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return nickname;
}

bool TestControl::signOut(std::int64_t uid) {
    return change([&](Connection& connection) {
        service_.sessions.revokeAll(connection, uid);
        return true;
    });
}

bool TestControl::expireAuthorization(std::int64_t uid) {
    return change([&](Connection& connection) {
        connection.prepare("UPDATE users SET token_expired = 1 WHERE uid = ? AND tp_id > 0")
            .bind(1, uid)
            .run();
        return connection.changes() == 1;
    });
}

bool TestControl::setUnreadNotices(std::int64_t uid, std::int64_t count) {
    if (count < 0) {
        return false;
    }
    return change([&](Connection& connection) {
        connection.prepare("UPDATE users SET unread_notices = ? WHERE uid = ?")
            .bind(1, count)
            .bind(2, uid)
            .run();
        return connection.changes() == 1;
    });
}

std::optional<std::int64_t> TestControl::unreadNotices(std::int64_t uid) {
    std::optional<std::int64_t> count;
    try {
        service_.database.read([&](Connection& connection) {
            auto query = connection.prepare("SELECT unread_notices FROM users WHERE uid = ?");
            query.bind(1, uid);
            if (query.step()) {
                count = query.integer(0);
            }
        });
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return count;
}

std::optional<std::int64_t> TestControl::injectMessage(std::int64_t fromUid, std::int64_t toUid,
                                                       const std::string& content) {
    if (fromUid == toUid || content.empty() || !UnicodeText::isValidUtf8(content)) {
        return std::nullopt;
    }
    std::optional<std::int64_t> id;
    change([&](Connection& connection) {
        if (!Records::user(connection, fromUid) || !Records::user(connection, toUid)) {
            return false;
        }
        id = Dialogs::insert(connection, NewMessage{fromUid, toUid, content, "", now(), ""});
        return true;
    });
    return id;
}

bool TestControl::shield(std::int64_t uid, std::int64_t shieldUid) {
    if (uid == shieldUid) {
        return false;
    }
    return change([&](Connection& connection) {
        if (!Records::user(connection, uid) || !Records::user(connection, shieldUid)) {
            return false;
        }
        connection.prepare("INSERT OR IGNORE INTO blacklist (uid, shield_uid, created) VALUES (?, ?, ?)")
            .bind(1, uid)
            .bind(2, shieldUid)
            .bind(3, now())
            .run();
        return true;
    });
}

std::optional<std::int64_t> TestControl::postCount(std::int64_t uid) {
    std::optional<std::int64_t> count;
    try {
        service_.database.read([&](Connection& connection) { count = Records::postCount(connection, uid); });
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return count;
}

std::vector<StoredMessage> TestControl::messagesFrom(std::int64_t fromUid) {
    std::vector<StoredMessage> messages;
    try {
        service_.database.read([&](Connection& connection) {
            auto query = connection.prepare(
                "SELECT id, to_uid, content, pic, COALESCE(client_msg_id, '') FROM messages "
                "WHERE from_uid = ? ORDER BY id");
            query.bind(1, fromUid);
            while (query.step()) {
                messages.push_back(
                    {query.integer(0), query.integer(1), query.text(2), query.text(3), query.text(4)});
            }
        });
    } catch (const std::exception&) {
        return {};
    }
    return messages;
}

std::vector<FiledReport> TestControl::reports() {
    std::vector<FiledReport> reports;
    try {
        service_.database.read([&](Connection& connection) {
            auto query = connection.prepare(
                "SELECT id, uid, report_uid, report_type, content_type, content_id, created FROM reports "
                "ORDER BY id DESC");
            while (query.step()) {
                reports.push_back({query.integer(0), query.integer(1), query.integer(2), query.integer(3),
                                   query.integer(4), query.integer(5), query.integer(6)});
            }
        });
    } catch (const std::exception&) {
        return {};
    }
    return reports;
}

std::vector<SentMail> TestControl::outbox(const std::string& recipient) {
    std::vector<SentMail> mails;
    try {
        service_.database.read([&](Connection& connection) {
            auto query = connection.prepare(
                "SELECT recipient, subject, body FROM outbox WHERE recipient = ? COLLATE NOCASE ORDER BY id");
            query.bind(1, recipient);
            while (query.step()) {
                mails.push_back({query.text(0), query.text(1), query.text(2)});
            }
        });
    } catch (const std::exception&) {
        return {};
    }
    return mails;
}

bool TestControl::reset() {
    return reset_();
}

}  // namespace zorlet::sandbox
