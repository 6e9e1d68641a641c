#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zorlet::sandbox {

class Connection;
struct ServiceContext;

struct TestUser {
    std::string account = {};  // empty: an account-less user (as external sign-in creates)
    std::string password = {};
    std::string nickname = {};
    std::optional<int> gender = 1;
    std::int64_t cityId = 0;
    std::optional<double> longitude = {};
    std::optional<double> latitude = {};
    bool hasGuided = true;
    std::int64_t tpId = 0;
    std::string tpAccount = {};
};

struct TestPost {
    std::string purpose = {};
    std::string content = {};
    std::string place = {};
    std::string dateString = {};
    std::int64_t categoryId = 0;
};

// A private message as stored.
struct StoredMessage {
    std::int64_t id = 0;
    std::int64_t toUid = 0;
    std::string content;
    std::string pic;
    std::string clientMsgId;
};

// A report a user filed about another user, for the operators.
struct FiledReport {
    std::int64_t id = 0;
    std::int64_t uid = 0;
    std::int64_t reportUid = 0;
    std::int64_t reportType = 0;
    std::int64_t contentType = 0;
    std::int64_t contentId = 0;
    std::int64_t created = 0;
};

struct SentMail {
    std::string recipient;
    std::string subject;
    std::string body;
};

// What tests and demos may do behind the API's back. Every operation reports
// failure as a value; none throws.
class TestControl {
public:
    TestControl(ServiceContext& service, std::function<bool()> reset)
        : service_(service), reset_(std::move(reset)) {}

    // The new uid; nothing when the account or nickname is taken or the input is unusable.
    std::optional<std::int64_t> createUser(const TestUser& user);
    std::optional<std::int64_t> createPost(std::int64_t uid, const TestPost& post);
    std::optional<std::int64_t> uidOf(const std::string& account);
    std::optional<std::string> nicknameOf(std::int64_t uid);
    // Revokes every session of the user; its next call answers 401.
    bool signOut(std::int64_t uid);
    bool expireAuthorization(std::int64_t uid);
    bool setUnreadNotices(std::int64_t uid, std::int64_t count);
    std::optional<std::int64_t> unreadNotices(std::int64_t uid);
    // A message from one user to another, unread by the recipient.
    std::optional<std::int64_t> injectMessage(std::int64_t fromUid, std::int64_t toUid,
                                              const std::string& content);
    // `uid` blocks `shieldUid`: messages from `shieldUid` to `uid` are refused.
    bool shield(std::int64_t uid, std::int64_t shieldUid);
    // How many posts the user has that are not deleted.
    std::optional<std::int64_t> postCount(std::int64_t uid);
    // Every message the user sent, oldest first.
    std::vector<StoredMessage> messagesFrom(std::int64_t fromUid);
    std::vector<SentMail> outbox(const std::string& recipient);
    // Every report filed, newest first.
    std::vector<FiledReport> reports();
    // Empties the database and the picture folder, then plants the demo data again when the service was
    // seeded.
    bool reset();

private:
    bool change(const std::function<bool(Connection&)>& work);
    ServiceContext& service_;
    std::function<bool()> reset_;
};

}  // namespace zorlet::sandbox
