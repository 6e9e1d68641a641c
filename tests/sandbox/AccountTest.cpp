#include "SandboxFixture.h"

#include "sandbox/DemoSeed.h"
#include "sandbox/TextRules.h"

namespace zorlet::sandbox::test {

namespace {

void expectEnvelope(const Answer& answer) {
    ASSERT_TRUE(answer.body.is_object()) << answer.text;
    EXPECT_TRUE(answer.body.at("success").is_boolean());
    EXPECT_TRUE(answer.body.at("errorCode").is_number_integer());
    EXPECT_TRUE(answer.body.at("errorInfo").is_string());
}

}  // namespace

TEST_F(DemoSandboxTest, DemoAccountSignsInAndTheCookiesCarryTheSession) {
    ApiClient client(port());
    auto answer = client.post(
        "/passport/v132/login",
        {{"account", DemoSeed::demoAccount}, {"password", DemoSeed::demoPassword}, {"remember", "1"}});
    expectEnvelope(answer);
    ASSERT_TRUE(answer.success()) << answer.text;
    const auto& home = answer.result();
    EXPECT_EQ(home["userView"]["nickname"], "Zorlet体验官");
    EXPECT_EQ(home["userView"]["hasGuided"], 1);
    EXPECT_TRUE(home["preferenceViews"].is_array());
    EXPECT_TRUE(home["registerTime"].is_number_integer());

    // Both cookies: 128 random bits in hex, HttpOnly, for the whole host.
    int sessionCookies = 0;
    auto [begin, end] = answer.headers.equal_range("Set-Cookie");
    for (auto it = begin; it != end; ++it) {
        EXPECT_NE(it->second.find("HttpOnly"), std::string::npos) << it->second;
        EXPECT_NE(it->second.find("Path=/"), std::string::npos) << it->second;
        ++sessionCookies;
    }
    EXPECT_EQ(sessionCookies, 2);
    for (const char* name : {"p_token", "l_token"}) {
        ASSERT_TRUE(client.cookies.count(name)) << name;
        EXPECT_EQ(client.cookies[name].size(), 32u);
        EXPECT_TRUE(TextRules::isHex(client.cookies[name]));
    }
    EXPECT_NE(client.cookies["p_token"], client.cookies["l_token"]);

    // The session check: no parameters, cookies only.
    auto check = client.post("/passport/v132/login");
    ASSERT_TRUE(check.success()) << check.text;
    EXPECT_EQ(check.result()["userView"]["uid"], home["userView"]["uid"]);
    // Either cookie alone still names the session.
    ApiClient longLived(port());
    longLived.cookies["l_token"] = client.cookies["l_token"];
    EXPECT_TRUE(longLived.post("/passport/v132/login").success());
}

TEST_F(SandboxTest, SessionCheckRefusesWithoutAValidSessionButAnswers200) {
    ApiClient client(port());
    auto none = client.post("/passport/v132/login");
    EXPECT_EQ(none.status, 200);
    EXPECT_FALSE(none.success());
    EXPECT_FALSE(none.errorInfo().empty());
    client.cookies["p_token"] = std::string(32, 'a');
    client.cookies["l_token"] = std::string(32, 'b');
    auto unknown = client.post("/passport/v132/login");
    EXPECT_EQ(unknown.status, 200);
    EXPECT_FALSE(unknown.success());
}

TEST_F(SandboxTest, WrongOrMissingCredentialsAreRefused) {
    TestUser user{"ann@example.com", "goodpass", "安"};
    ASSERT_TRUE(control().createUser(user));
    ApiClient client(port());
    auto wrong =
        client.post("/passport/v132/login", {{"account", "ann@example.com"}, {"password", "badpass1"}});
    EXPECT_FALSE(wrong.success());
    EXPECT_EQ(wrong.errorInfo(), "账号或密码错误");
    auto unknown =
        client.post("/passport/v132/login", {{"account", "nobody@example.com"}, {"password", "goodpass"}});
    EXPECT_EQ(unknown.errorInfo(), "账号或密码错误");
    auto missing = client.post("/passport/v132/login", {{"account", "ann@example.com"}});
    EXPECT_EQ(missing.errorInfo(), "请输入登录账号和密码");
    EXPECT_TRUE(client.cookies.empty());
    // Accounts are e-mail addresses: letter case does not matter.
    EXPECT_TRUE(
        client.post("/passport/v132/login", {{"account", "Ann@Example.com"}, {"password", "goodpass"}})
            .success());
}

TEST_F(SandboxTest, EndpointsNeedingAUserAnswer401WhenTheSessionIsMissingUnknownOrRevoked) {
    const char* const guarded[] = {
        "/dialog/notice/nums", "/post/v134/nearbyUsers", "/post/v134/userPosts",
        "/home/updateloc",     "/home/v132/updatePhone", "/post/respPost",
        "/profile/save",       "/profile/guide",         "/passport/registerDevice"};
    ApiClient anonymous(port());
    for (const char* path : guarded) {
        auto answer = anonymous.get(path);
        EXPECT_EQ(answer.status, 401) << path;
        expectEnvelope(answer);
    }
    ApiClient forged(port());
    forged.cookies["p_token"] = "0123456789abcdef0123456789abcdef";
    EXPECT_EQ(forged.get("/dialog/notice/nums").status, 401);

    std::int64_t uid = 0;
    auto client = newSignedInUser("小明", &uid);
    EXPECT_EQ(client->get("/dialog/notice/nums").status, 200);
    ASSERT_TRUE(control().signOut(uid));
    EXPECT_EQ(client->get("/dialog/notice/nums").status, 401);

    auto other = newSignedInUser("小红");
    auto saved = other->cookies;
    EXPECT_TRUE(other->get("/passport/logout").success());
    EXPECT_TRUE(other->cookies.empty());
    other->cookies = saved;  // a client that kept its tokens after signing out
    EXPECT_EQ(other->get("/dialog/notice/nums").status, 401);
    EXPECT_FALSE(other->post("/passport/v132/login").success());
}

TEST_F(SandboxTest, RegistrationValidatesLikeTheClientAndSignsTheNewUserIn) {
    ApiClient client(port());
    auto attempt = [&](const std::string& account, const std::string& nickname, const std::string& password,
                       const std::string& confirmation) {
        return client.post(
            "/passport/v132/register",
            {{"account", account}, {"nickname", nickname}, {"pwd", password}, {"confirmPwd", confirmation}});
    };
    EXPECT_EQ(attempt("", "甲", "123456", "123456").errorInfo(), "请输入正确格式的邮箱");
    EXPECT_EQ(attempt("a.@b.com", "甲", "123456", "123456").errorInfo(), "请输入正确格式的邮箱");
    EXPECT_EQ(attempt("a@b.com.", "甲", "123456", "123456").errorInfo(), "请输入正确格式的邮箱");
    EXPECT_EQ(attempt("a@b.com", "", "123456", "123456").errorInfo(), "昵称不能为空");
    EXPECT_EQ(attempt("a@b.com", "一二三四五六七八九十一", "123456", "123456").errorInfo(),
              "昵称不能超过10个字");
    EXPECT_EQ(attempt("a@b.com", "甲", "12345", "12345").errorInfo(), "密码控制在6~32位之间");
    EXPECT_EQ(attempt("a@b.com", "甲", std::string(33, 'x'), std::string(33, 'x')).errorInfo(),
              "密码控制在6~32位之间");
    EXPECT_EQ(attempt("a@b.com", "甲", "123456", "").errorInfo(), "请输入确认密码");
    EXPECT_EQ(attempt("a@b.com", "甲", "123456", "654321").errorInfo(), "两次输入的密码不相符");
    EXPECT_TRUE(client.cookies.empty());

    // Limits are inclusive: ten Chinese characters, a 32-character password, a domain without a dot.
    auto ok =
        attempt("new_user-1@localhost", "一二三四五六七八九十", std::string(32, 'p'), std::string(32, 'p'));
    ASSERT_TRUE(ok.success()) << ok.text;
    EXPECT_EQ(ok.result()["userView"]["hasGuided"], 0);
    EXPECT_EQ(client.cookies.size(), 2u);
    EXPECT_TRUE(client.post("/passport/v132/login").success());

    ApiClient second(port());
    auto duplicate = second.post("/passport/v132/register", {{"account", "NEW_USER-1@localhost"},
                                                             {"nickname", "乙"},
                                                             {"pwd", "123456"},
                                                             {"confirmPwd", "123456"}});
    EXPECT_FALSE(duplicate.success());
    EXPECT_EQ(duplicate.errorInfo(), "该邮箱已被注册");
    EXPECT_TRUE(second.signIn("new_user-1@localhost", std::string(32, 'p')).is_object());
}

TEST_F(SandboxTest, PasswordRecoveryRecordsTheMail) {
    ASSERT_TRUE(control().createUser({"lost@example.com", "password1", "丢了"}));
    ApiClient client(port());
    EXPECT_EQ(client.post("/passport/getbackpwd", {{"account", "   "}}).errorInfo(),
              "请输入需要找回密码的登录账号");
    EXPECT_EQ(client.post("/passport/getbackpwd", {{"account", "nobody@example.com"}}).errorInfo(),
              "该邮箱尚未注册");
    auto sent = client.post("/passport/getbackpwd", {{"account", "  lost@example.com \n"}});
    ASSERT_TRUE(sent.success()) << sent.text;
    auto mails = control().outbox("lost@example.com");
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_NE(mails[0].body.find("丢了"), std::string::npos);
    EXPECT_TRUE(control().outbox("nobody@example.com").empty());
}

TEST_F(SandboxTest, DeviceRegistrationNeedsAHexToken) {
    auto client = newSignedInUser("设备");
    EXPECT_TRUE(client->get("/passport/registerDevice", {{"deviceToken", "0AFF12"}}).success());
    EXPECT_FALSE(client->get("/passport/registerDevice", {{"deviceToken", "not hex"}}).success());
    EXPECT_FALSE(client->get("/passport/registerDevice").success());
    EXPECT_TRUE(client->get("/passport/logout", {{"deviceToken", "0AFF12"}}).success());
}

}  // namespace zorlet::sandbox::test
