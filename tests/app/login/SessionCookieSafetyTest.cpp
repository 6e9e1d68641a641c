#include "../AppTestSupport.h"

#include "platform/DownloadCache.h"
#include "platform/KeyedArchive.h"

namespace zorlet::test {
namespace {

class SessionCookieSafetyTest : public AppTest {
protected:
    LoginService& service() { return LoginService::getInstance(); }

    void answerLogin(std::vector<std::string> setCookies) {
        server_.on("/passport/v132/login", [setCookies](const RecordedRequest&, Reply& reply) {
            reply.body = homeEnvelope(9);
            reply.setCookies = setCookies;
        });
    }
};

// Tokens are opaque to the client: bytes that are not UTF-8 must neither
// bring the client down nor come back changed at the next launch.
TEST_F(SessionCookieSafetyTest, TokensThatAreNotUtf8AreKeptByteForByte) {
    const std::string pToken =
        "\xFF\xFE"
        "ab\x80";
    const std::string lToken = "L\xC3";
    answerLogin({"p_token=" + pToken + "; Path=/", "l_token=" + lToken + "; Path=/"});
    ASSERT_TRUE(service().useLoginName("a", "b").success);
    auto stored = storedTokens();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->pToken, pToken);
    EXPECT_EQ(stored->lToken, lToken);

    // The next launch presents exactly those bytes.
    CookieStore::shared().clearAll();
    UserContext::logout();
    ASSERT_TRUE(service().checkLogin());
    std::string sent = server_.lastRequestTo("/passport/v132/login").header("Cookie");
    EXPECT_NE(sent.find("p_token=" + pToken), std::string::npos) << sent;
    EXPECT_NE(sent.find("l_token=" + lToken), std::string::npos) << sent;
}

TEST_F(SessionCookieSafetyTest, ArchivesWrittenByEarlierVersionsStillRead) {
    ASSERT_TRUE(KeyedArchive::write(LoginUser::dataFilePath(), "loginUser",
                                    Json{{"pTokenField", "P"}, {"lTokenField", "L"}}));
    auto stored = storedTokens();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->pToken, "P");
    EXPECT_EQ(stored->lToken, "L");
}

// A Set-Cookie naming another site's domain is refused by the cookie engine;
// the session must not adopt it either.
TEST_F(SessionCookieSafetyTest, SessionCookiesForAnotherDomainAreIgnored) {
    answerLogin({"p_token=evil; Domain=evil.example; Path=/", "l_token=good; Path=/",
                 "l_token=sub; Domain=api.127.0.0.1; Path=/"});
    ASSERT_TRUE(service().useLoginName("a", "b").success);
    auto login = HttpRequest::createForm(server_.url("/passport/v132/login"));
    login->startSynchronous();
    for (const auto& cookie : login->responseCookies()) {
        EXPECT_EQ(cookie.domain, "127.0.0.1") << cookie.name << " for " << cookie.domain;
    }
    auto stored = storedTokens();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->pToken, "");
    EXPECT_EQ(stored->lToken, "good");

    // Cookies handed in directly are held to the same rule.
    HttpCookie foreign;
    foreign.name = "p_token";
    foreign.value = "foreign";
    foreign.domain = "evil.example";
    service().loginSuccess(nullptr, *parseJson(homeEnvelope(9)), {foreign});
    EXPECT_EQ(storedTokens()->pToken, "");
}

TEST_F(SessionCookieSafetyTest, SigningOutForgetsCachedAnswers) {
    DownloadCache::shared().clear();
    server_.on("/public", [](const RecordedRequest&, Reply& reply) {
        reply.body = "{}";
        reply.headers = {{"Cache-Control", "max-age=600"}};
    });
    auto request = HttpRequest::create(server_.url("/public"));
    request->setUseCookiePersistence(false);
    request->startSynchronous();
    ASSERT_EQ(DownloadCache::shared().entryCount(), 1u);
    service().localLogout();
    EXPECT_EQ(DownloadCache::shared().entryCount(), 0u);
}

}  // namespace
}  // namespace zorlet::test
