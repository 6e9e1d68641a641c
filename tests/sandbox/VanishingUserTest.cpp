#include "SandboxFixture.h"

#include "sandbox/Connection.h"

#include <chrono>
#include <future>
#include <thread>

namespace zorlet::sandbox::test {

namespace {

using namespace std::chrono_literals;

// Deletes a user in a transaction that stays open for a moment, as a reset does
// while calls are in flight: a call that found the session before the delete must
// then cope with the user being gone.
class SlowDeletion {
public:
    SlowDeletion(const std::filesystem::path& database, std::int64_t uid) {
        auto opened = Connection::open(database.string());
        if (!opened) {
            ADD_FAILURE() << opened.error();
            return;
        }
        connection_ = std::move(*opened);
        connection_->execute("BEGIN IMMEDIATE");
        connection_->prepare("DELETE FROM users WHERE uid = ?").bind(1, uid).run();
    }
    void commit() { connection_->execute("COMMIT"); }

private:
    std::unique_ptr<Connection> connection_;
};

void makeActivityStale(const std::filesystem::path& database, std::int64_t uid) {
    // A stale activity stamp makes the session check write, so it waits for the deletion too.
    auto connection = Connection::open(database.string());
    ASSERT_TRUE(connection) << connection.error();
    (*connection)->prepare("UPDATE users SET last_active = 0 WHERE uid = ?").bind(1, uid).run();
}

}  // namespace

TEST_F(SandboxTest, CallsOfAUserDeletedMidwayAnswerSignedOutInsteadOfCrashing) {
    struct Case {
        const char* path;
        httplib::Params params;
        bool readsOnly;
    };
    const Case cases[] = {
        {"/profile/save", {{"nickname", "新名字"}}, false},
        {"/passport/authorize/v132/bind/access/6", {{"code", "0123456789abcdef"}}, false},
        {"/passport/authorize/v132/expired/access/6", {{"code", "0123456789abcdef"}}, false},
        {"/post/v134/nearbyUsers", {{"gender", "2"}, {"currentPage", "1"}}, true},
        {"/home/v132/refresh", {}, true},
    };
    auto database = folder_ / "sandbox.db";
    int index = 0;
    for (const auto& call : cases) {
        std::int64_t uid = 0;
        auto client = newSignedInUser("消失的人" + std::to_string(++index), &uid);
        if (call.readsOnly) {
            makeActivityStale(database, uid);
        }
        SlowDeletion deletion(database, uid);
        auto answer = std::async(std::launch::async, [&] { return client->post(call.path, call.params); });
        std::this_thread::sleep_for(300ms);
        deletion.commit();
        auto answered = answer.get();
        EXPECT_EQ(answered.status, 401) << call.path << ": " << answered.text;
        EXPECT_FALSE(answered.success()) << call.path;
    }
}

TEST_F(SandboxTest, SessionCheckAndSignInOfAUserDeletedMidwayAreRefused) {
    auto database = folder_ / "sandbox.db";
    std::int64_t uid = 0;
    auto client = newSignedInUser("查登录", &uid);
    makeActivityStale(database, uid);
    {
        SlowDeletion deletion(database, uid);
        auto check = std::async(std::launch::async, [&] { return client->post("/passport/v132/login"); });
        std::this_thread::sleep_for(300ms);
        deletion.commit();
        auto answered = check.get();
        EXPECT_EQ(answered.status, 200) << answered.text;
        EXPECT_FALSE(answered.success());
        EXPECT_EQ(answered.errorInfo(), "登录已失效，请重新登录");
    }

    ASSERT_TRUE(control().createUser({"gone@example.com", "secret99", "将要消失"}));
    auto goneUid = control().uidOf("gone@example.com");
    ASSERT_TRUE(goneUid);
    ApiClient signingIn(port());
    SlowDeletion deletion(database, *goneUid);
    auto login = std::async(std::launch::async, [&] {
        return signingIn.post("/passport/v132/login",
                              {{"account", "gone@example.com"}, {"password", "secret99"}});
    });
    std::this_thread::sleep_for(300ms);
    deletion.commit();
    auto answered = login.get();
    EXPECT_EQ(answered.status, 200) << answered.text;
    EXPECT_FALSE(answered.success());
    EXPECT_EQ(answered.errorInfo(), "账号或密码错误");
    EXPECT_TRUE(signingIn.cookies.empty());
}

}  // namespace zorlet::sandbox::test
