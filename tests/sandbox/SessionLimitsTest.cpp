#include "SandboxFixture.h"

#include "sandbox/Connection.h"

namespace zorlet::sandbox::test {

namespace {

constexpr std::int64_t day = 24 * 60 * 60;

void ageSessions(const std::filesystem::path& database, std::int64_t uid, std::int64_t seconds) {
    auto connection = Connection::open(database.string());
    ASSERT_TRUE(connection) << connection.error();
    (*connection)
        ->prepare("UPDATE sessions SET created = created - ? WHERE uid = ?")
        .bind(1, seconds)
        .bind(2, uid)
        .run();
}

Answer attempt(ApiClient& client, const std::string& account, const std::string& password) {
    return client.post("/passport/v132/login", {{"account", account}, {"password", password}});
}

}  // namespace

TEST_F(SandboxTest, SessionsEndThirtyDaysAfterSignIn) {
    std::int64_t recent = 0;
    std::int64_t old = 0;
    auto recentClient = newSignedInUser("新登录", &recent);
    auto oldClient = newSignedInUser("老登录", &old);
    ageSessions(folder_ / "sandbox.db", recent, 29 * day);
    ageSessions(folder_ / "sandbox.db", old, 30 * day + 60);

    EXPECT_EQ(recentClient->get("/dialog/notice/nums").status, 200);
    EXPECT_TRUE(recentClient->post("/passport/v132/login").success());
    EXPECT_EQ(oldClient->get("/dialog/notice/nums").status, 401);
    auto check = oldClient->post("/passport/v132/login");
    EXPECT_FALSE(check.success());
    EXPECT_EQ(check.errorInfo(), "登录已失效，请重新登录");
    // Only the session ended: signing in again works.
    oldClient->cookies.clear();
    EXPECT_TRUE(oldClient->signIn("tester2@example.com", "secret99").is_object());
}

TEST_F(SandboxTest, RepeatedWrongPasswordsLockTheAccountForAWhile) {
    ASSERT_TRUE(control().createUser({"target@example.com", "rightpass", "被猜的人"}));
    ASSERT_TRUE(control().createUser({"bystander@example.com", "rightpass", "旁观者"}));
    ApiClient guesser(port());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(attempt(guesser, "target@example.com", "guess" + std::to_string(i)).errorInfo(),
                  "账号或密码错误");
    }
    // Locked: even the right password is turned away, so guessing gains nothing.
    auto locked = attempt(guesser, "Target@Example.com", "rightpass");
    EXPECT_EQ(locked.status, 200);
    EXPECT_FALSE(locked.success());
    EXPECT_EQ(locked.errorInfo(), "密码错误次数过多，请15分钟后再试");
    EXPECT_TRUE(guesser.cookies.empty());
    // Other accounts are not affected.
    EXPECT_TRUE(attempt(guesser, "bystander@example.com", "rightpass").success());
}

TEST_F(SandboxTest, ManyFailedSignInsFromOneAddressAreSlowedDown) {
    ASSERT_TRUE(control().createUser({"real@example.com", "rightpass", "真用户"}));
    ApiClient sprayer(port());
    int refusedAsWrong = 0;
    for (int i = 0; i < 40; ++i) {
        auto answer = attempt(sprayer, "guess" + std::to_string(i) + "@example.com", "password");
        if (answer.errorInfo() == "账号或密码错误") {
            ++refusedAsWrong;
        }
    }
    EXPECT_LT(refusedAsWrong, 40);
    auto blocked = attempt(sprayer, "real@example.com", "rightpass");
    EXPECT_FALSE(blocked.success());
    EXPECT_EQ(blocked.errorInfo(), "登录尝试过于频繁，请15分钟后再试");
}

}  // namespace zorlet::sandbox::test
