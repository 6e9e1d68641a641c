#include "AppTestSupport.h"

#include "platform/AtomicFile.h"
#include "platform/KeyedArchive.h"
#include "platform/RepeatingTimer.h"
#include "session/DeviceTokenService.h"

#include <sys/stat.h>

#include <chrono>
#include <optional>
#include <thread>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class LoginServiceTest : public AppTest {
protected:
    LoginService& service() { return LoginService::getInstance(); }

    // A login answer for uid 9 that sets the given cookies.
    void answerLogin(std::vector<std::string> setCookies) {
        server_.on("/passport/v132/login", [setCookies](const RecordedRequest&, Reply& reply) {
            reply.body = homeEnvelope(9);
            reply.setCookies = setCookies;
        });
    }
    static HttpCookie cookie(const std::string& name, const std::string& value, const std::string& domain) {
        HttpCookie c;
        c.name = name;
        c.value = value;
        c.domain = domain;
        return c;
    }
};

TEST_F(LoginServiceTest, LoginSendsTheAccountAndKeepsBothSessionCookiesInAPrivateArchive) {
    answerLogin({"p_token=P1; Path=/", "l_token=L1; Path=/", "other=x; Path=/"});
    LoginResult result = service().useLoginName("zhang@example.com", "pa ss&word");
    EXPECT_TRUE(result.success);
    EXPECT_EQ(result.errorCode, 0);
    EXPECT_FALSE(result.errorInfo);

    auto sent = server_.lastRequestTo("/passport/v132/login");
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.param("account"), "zhang@example.com");
    EXPECT_EQ(sent.param("password"), "pa ss&word");
    EXPECT_EQ(sent.param("remember"), "1");

    EXPECT_EQ(UserContext::getUid(), 9);
    auto tokens = storedTokens();
    ASSERT_TRUE(tokens);
    EXPECT_EQ(tokens->pToken, "P1");
    EXPECT_EQ(tokens->lToken, "L1");
    struct stat info {};
    ASSERT_EQ(::stat(LoginUser::dataFilePath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    // The archive layout other versions read.
    auto fields = KeyedArchive::read(LoginUser::dataFilePath(), "loginUser");
    ASSERT_TRUE(fields);
    EXPECT_EQ(jsonString(*fields, "pTokenField"), "P1");
    EXPECT_EQ(jsonString(*fields, "lTokenField"), "L1");
}

TEST_F(LoginServiceTest, ATokenTheAnswerDoesNotSetKeepsItsOldValue) {
    auto envelope = *parseJson(homeEnvelope(3));
    auto given = std::make_shared<LoginUser>("oldP", "oldL");
    service().loginSuccess(given, envelope, {cookie("l_token", "newL", "127.0.0.1")});
    EXPECT_EQ(storedTokens()->pToken, "oldP");
    EXPECT_EQ(storedTokens()->lToken, "newL");

    // Without a stored user the missing token stays empty, and the set one is still saved.
    std::filesystem::remove(LoginUser::dataFilePath());
    service().loginSuccess(nullptr, envelope, {cookie("l_token", "onlyL", "127.0.0.1")});
    EXPECT_EQ(storedTokens()->pToken, "");
    EXPECT_EQ(storedTokens()->lToken, "onlyL");
}

TEST_F(LoginServiceTest, AnAnswerWithoutSessionCookiesSignsInForThisRunOnly) {
    answerLogin({});
    EXPECT_TRUE(service().useLoginName("a", "b").success);
    EXPECT_EQ(UserContext::getUid(), 9);
    EXPECT_FALSE(std::filesystem::exists(LoginUser::dataFilePath()));
}

TEST_F(LoginServiceTest, RefusalsPassTheServersCodeAndTextThrough) {
    server_.onJson("/passport/v132/login", refusalEnvelope(1003, "密码错误"));
    LoginResult refused = service().useLoginName("a", "wrong");
    EXPECT_FALSE(refused.success);
    EXPECT_EQ(refused.errorCode, 1003);
    EXPECT_EQ(refused.errorInfo.value_or("(none)"), "密码错误");
    EXPECT_FALSE(UserContext::hasLogin());

    server_.onJson("/passport/v132/login", R"({"success":false,"errorCode":"7","errorInfo":null})");
    LoginResult silent = service().useLoginName("a", "wrong");
    EXPECT_EQ(silent.errorCode, 7);
    EXPECT_FALSE(silent.errorInfo);
}

TEST_F(LoginServiceTest, AMissingNetworkNoticedOnAWorkerIsToldOnTheMainLoop) {
    Reachability::shared().setNetworkAvailable(false);
    LoginResult result;
    // The main loop does not run while the worker asks, so nothing may be built before it does.
    std::thread worker([&] { result = LoginService::getInstance().useLoginName("a@b.cn", "secret"); });
    worker.join();
    EXPECT_FALSE(result.success);
    EXPECT_EQ(AlertRegistry::shared().topAlert(), nullptr);
    loop().runPending();
    ASSERT_NE(AlertRegistry::shared().topAlert(), nullptr);
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "网络不存在");
    EXPECT_EQ(server_.countOf("/passport/v132/login"), 0u);
}

TEST_F(LoginServiceTest, FailedRequestsGiveTheGenericText) {
    HttpRequest::setDefaultTimeOutSeconds(1);
    server_.on("/passport/v132/login", [](const RecordedRequest&, Reply& reply) {
        reply.body = homeEnvelope(1);
        reply.stall = 3s;
    });
    LoginResult stalled = service().useLoginName("a", "b");
    EXPECT_FALSE(stalled.success);
    EXPECT_EQ(stalled.errorCode, 0);
    EXPECT_EQ(stalled.errorInfo.value_or(""), kGeneric);

    for (const char* body : {"<html>busy</html>", R"({"success":true})"}) {
        server_.onJson("/passport/v132/login", body);
        LoginResult broken = service().useLoginName("a", "b");
        EXPECT_FALSE(broken.success) << body;
        EXPECT_EQ(broken.errorInfo.value_or(""), kGeneric) << body;
    }
    server_.onJson("/passport/v132/login", homeEnvelope(1), 502);
    EXPECT_EQ(service().useLoginName("a", "b").errorInfo.value_or(""), kGeneric);
    EXPECT_FALSE(UserContext::hasLogin());
}

TEST_F(LoginServiceTest, WithoutNetworkOnlyTheNetworkAlertSpeaks) {
    Reachability::shared().setNetworkAvailable(false);
    LoginResult byName = service().useLoginName("a", "b");
    EXPECT_FALSE(byName.success);
    EXPECT_FALSE(byName.errorInfo);
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "网络不存在");
    EXPECT_EQ(service().loginWithTpId(6, "code=1").errorInfo.value_or(""), kGeneric);
    EXPECT_EQ(server_.requests().size(), 0u);
}

TEST_F(LoginServiceTest, ExternalLoginPostsTheRedirectQueryUnchanged) {
    server_.on("/passport/v132/tpAccess/6", [](const RecordedRequest&, Reply& reply) {
        reply.body = homeEnvelope(12);
        reply.setCookies = {"p_token=TP; Path=/"};
    });
    EXPECT_TRUE(service().loginWithTpId(6, "code=abc&state=xyz").success);
    auto sent = server_.lastRequestTo("/passport/v132/tpAccess/6");
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.rawQuery, "code=abc&state=xyz");
    EXPECT_EQ(UserContext::getUid(), 12);
    EXPECT_EQ(storedTokens()->pToken, "TP");
}

TEST_F(LoginServiceTest, AuthorizeAndBindReplaceTheHomeButNotTheSession) {
    LoginUser("P", "L").save();
    signIn(5, true, 6, true);
    server_.on("/passport/authorize/v132/expired/access/6", [](const RecordedRequest&, Reply& reply) {
        reply.body = Json{{"success", true},
                          {"result", {{"userView", {{"uid", 5}, {"tpId", 6}, {"tokenExpired", false}}}}}}
                         .dump();
        reply.setCookies = {"p_token=SHOULD-NOT-STICK; Path=/"};
    });
    EXPECT_TRUE(service().authorize(6, "code=1").success);
    EXPECT_FALSE(UserContext::getUser()->tokenExpired);
    EXPECT_EQ(storedTokens()->pToken, "P");

    server_.onJson("/passport/authorize/v132/bind/access/8", refusalEnvelope(2001, "该账号已绑定"));
    LoginResult refused = service().bind(8, "code=2");
    EXPECT_EQ(refused.errorCode, 2001);
    EXPECT_EQ(refused.errorInfo.value_or(""), "该账号已绑定");
    EXPECT_EQ(UserContext::getUid(), 5);
    EXPECT_EQ(server_.lastRequestTo("/passport/authorize/v132/bind/access/8").rawQuery, "code=2");
}

TEST_F(LoginServiceTest, LogoutSendsTheDeviceTokenOnlyWhenThereIsOne) {
    signIn(5);
    service().logout();
    ASSERT_EQ(server_.countOf("/passport/logout"), 1u);
    EXPECT_FALSE(server_.lastRequestTo("/passport/logout").hasParam("deviceToken"));
    EXPECT_FALSE(UserContext::hasLogin());

    AppDelegate app;
    app.deviceToken = "0A1B";
    signIn(5);
    // The server failing does not keep anyone signed in.
    server_.onJson("/passport/logout", "oops", 500);
    service().logout();
    EXPECT_EQ(server_.lastRequestTo("/passport/logout").param("deviceToken"), "0A1B");
    EXPECT_FALSE(UserContext::hasLogin());
}

TEST_F(LoginServiceTest, LogoutFromAWorkerThreadSignsOutOnTheMainLoop) {
    signIn(5);
    LoginUser("P", "L").save();
    bool done = false;
    loop().runInBackground([this] { service().logout(); }, [&] { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done; }));
    EXPECT_EQ(server_.countOf("/passport/logout"), 1u);
    EXPECT_FALSE(UserContext::hasLogin());
    EXPECT_TRUE(storedTokens()->isEmpty());
}

TEST_F(LoginServiceTest, LocalLogoutStopsThePollForgetsTheApiCookiesTheTokensAndTheUser) {
    AppDelegate app;
    int polls = 0;
    app.noticeTimer = RepeatingTimer::scheduledTimer(30s, [&] { ++polls; });
    signIn(5);
    LoginUser("P", "L").save();
    HttpCookie apiCookie = cookie("p_token", "P", "127.0.0.1");
    CookieStore::shared().setCookie(apiCookie);
    HttpCookie elsewhere = cookie("pref", "1", "example.org");
    elsewhere.expires = 4102444800;  // a lasting cookie of another site survives
    CookieStore::shared().setCookie(elsewhere);

    service().localLogout();

    EXPECT_FALSE(app.noticeTimer->isValid());
    advance(60s);
    EXPECT_EQ(polls, 0);
    EXPECT_TRUE(CookieStore::shared().cookiesForURL(server_.url("/passport/v132/login")).empty());
    EXPECT_EQ(CookieStore::shared().cookiesForURL("http://example.org/").size(), 1u);
    ASSERT_TRUE(storedTokens());
    EXPECT_TRUE(storedTokens()->isEmpty());
    EXPECT_FALSE(UserContext::hasLogin());
    EXPECT_EQ(LoginService::getInstance().loginTurnToViewController()->className(), "WelcomeViewController");
}

TEST_F(LoginServiceTest, AnEmptyDeviceTokenIsNotSent) {
    DeviceTokenService::sendDeviceToken("");
    DeviceTokenService::sendDeviceToken("ABCD");
    ASSERT_TRUE(waitUntil([&] { return server_.countOf("/passport/registerDevice") == 1; }));
    EXPECT_EQ(server_.lastRequestTo("/passport/registerDevice").param("deviceToken"), "ABCD");
}

TEST_F(LoginServiceTest, AnUnreadableArchiveReadsAsNoTokens) {
    ASSERT_EQ(AtomicFile::write(LoginUser::dataFilePath(), "{not json"), "");
    EXPECT_FALSE(LoginUser::initFromData());
    EXPECT_FALSE(service().checkLogin());
    EXPECT_EQ(server_.countOf("/passport/v132/login"), 0u);
}

}  // namespace
}  // namespace zorlet::test
