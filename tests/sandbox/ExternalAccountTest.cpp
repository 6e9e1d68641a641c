#include "SandboxFixture.h"

#include <regex>

namespace zorlet::sandbox::test {

namespace {

// Reads the page's "authorize" link, follows it, and returns the redirect target.
std::string authorizeRedirect(ApiClient& client, const std::string& pagePath,
                              const std::string& account = "") {
    auto page = client.get(pagePath);
    EXPECT_EQ(page.status, 200) << pagePath;
    EXPECT_NE(page.text.find("授权"), std::string::npos);
    std::smatch link;
    if (!std::regex_search(page.text, link,
                           std::regex(R"(<a id="authorize" href="([^"?]+)\?account=([^"]+)\")"))) {
        ADD_FAILURE() << "no authorize link in " << page.text;
        return {};
    }
    auto redirect = client.get(link[1], {{"account", account.empty() ? std::string(link[2]) : account}});
    EXPECT_EQ(redirect.status, 302);
    auto location = redirect.headers.find("Location");
    return location == redirect.headers.end() ? std::string() : location->second;
}

std::string queryOf(const std::string& url) {
    auto mark = url.find('?');
    return mark == std::string::npos ? std::string() : url.substr(mark + 1);
}

}  // namespace

TEST_F(SandboxTest, ExternalLoginRedirectsToTheInterceptedPathAndCreatesAnUnguidedUser) {
    ApiClient client(port());
    auto location = authorizeRedirect(client, "/passport/tpLogin/6", "weibo_fan");
    EXPECT_NE(location.find("/web/access"), std::string::npos) << location;
    auto query = queryOf(location);
    ASSERT_FALSE(query.empty());

    auto first = client.post("/passport/v132/tpAccess/6?" + query);
    ASSERT_TRUE(first.success()) << first.text;
    const auto& user = first.result()["userView"];
    EXPECT_EQ(user["hasGuided"], 0);
    EXPECT_EQ(user["tpId"], 6);
    EXPECT_EQ(user["tpName"], "weibo");
    EXPECT_EQ(user["tokenExpired"], false);
    EXPECT_EQ(client.cookies.size(), 2u);

    // An authorization is good once.
    ApiClient replay(port());
    auto again = replay.post("/passport/v132/tpAccess/6?" + query);
    EXPECT_FALSE(again.success());
    EXPECT_TRUE(replay.cookies.empty());
    // The same provider account later signs in as the same user.
    auto later = authorizeRedirect(replay, "/passport/tpLogin/6", "weibo_fan");
    auto second = replay.post("/passport/v132/tpAccess/6?" + queryOf(later));
    ASSERT_TRUE(second.success());
    EXPECT_EQ(second.result()["userView"]["uid"], user["uid"]);
    // A code made for weibo does not sign in through qq.
    auto crossed = authorizeRedirect(replay, "/passport/tpLogin/6", "weibo_fan");
    EXPECT_FALSE(replay.post("/passport/v132/tpAccess/8?" + queryOf(crossed)).success());
    EXPECT_EQ(client.get("/passport/tpLogin/5").status, 404);
}

TEST_F(SandboxTest, ExpiredAuthorizationIsRenewedThroughItsOwnPages) {
    ApiClient client(port());
    auto location = authorizeRedirect(client, "/passport/tpLogin/7", "douban_reader");
    ASSERT_TRUE(client.post("/passport/v132/tpAccess/7?" + queryOf(location)).success());
    auto uid = client.post("/passport/v132/login").result()["userView"]["uid"].get<std::int64_t>();

    ASSERT_TRUE(control().expireAuthorization(uid));
    EXPECT_EQ(client.post("/passport/v132/login").result()["userView"]["tokenExpired"], true);

    // The page knows the signed-in user's bound account; its redirect is the one the client intercepts.
    auto renew = authorizeRedirect(client, "/passport/authorize/expired/7");
    EXPECT_NE(renew.find("/authorize/access"), std::string::npos) << renew;
    auto renewed = client.post("/passport/authorize/v132/expired/access/7?" + queryOf(renew));
    ASSERT_TRUE(renewed.success()) << renewed.text;
    EXPECT_EQ(renewed.result()["userView"]["tokenExpired"], false);

    // Renewing with some other account is refused.
    ASSERT_TRUE(control().expireAuthorization(uid));
    auto wrong = authorizeRedirect(client, "/passport/authorize/expired/7", "someone_else");
    EXPECT_FALSE(client.post("/passport/authorize/v132/expired/access/7?" + queryOf(wrong)).success());
    ApiClient anonymous(port());
    EXPECT_EQ(anonymous.post("/passport/authorize/v132/expired/access/7?" + queryOf(wrong)).status, 401);
}

TEST_F(SandboxTest, BindingAttachesAProviderAccountOnce) {
    std::int64_t uid = 0;
    auto client = newSignedInUser("绑定者", &uid);
    auto location = authorizeRedirect(*client, "/passport/authorize/bind/8", "qq_12345");
    EXPECT_NE(location.find("/authorize/bindAccess"), std::string::npos) << location;
    auto bound = client->post("/passport/authorize/v132/bind/access/8?" + queryOf(location));
    ASSERT_TRUE(bound.success()) << bound.text;
    EXPECT_EQ(bound.result()["userView"]["tpId"], 8);
    EXPECT_EQ(bound.result()["userView"]["tpName"], "qq");
    EXPECT_NE(bound.result()["socialLink"].get<std::string>().find("qq_12345"), std::string::npos);

    auto second = authorizeRedirect(*client, "/passport/authorize/bind/6", "weibo_x");
    EXPECT_FALSE(client->post("/passport/authorize/v132/bind/access/6?" + queryOf(second)).success());

    // The qq account now signs in as this user.
    ApiClient other(port());
    auto login = authorizeRedirect(other, "/passport/tpLogin/8", "qq_12345");
    auto answer = other.post("/passport/v132/tpAccess/8?" + queryOf(login));
    ASSERT_TRUE(answer.success());
    EXPECT_EQ(answer.result()["userView"]["uid"], uid);
}

}  // namespace zorlet::sandbox::test
