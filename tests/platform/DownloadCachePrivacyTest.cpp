#include "platform/CookieStore.h"
#include "platform/DownloadCache.h"
#include "platform/HttpRequest.h"
#include "platform/MainLoop.h"

#include "support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <limits>

namespace zorlet::test {
namespace {

// The download cache is shared by whoever signs in next: an answer meant for
// one user must never be handed to another.
class DownloadCachePrivacyTest : public ::testing::Test {
protected:
    void SetUp() override {
        CookieStore::shared().clearAll();
        DownloadCache::shared().clear();
    }
    void TearDown() override {
        CookieStore::shared().clearAll();
        DownloadCache::shared().clear();
    }

    // Answers with a running number and the given headers.
    void serve(const std::string& path, std::vector<std::pair<std::string, std::string>> headers) {
        server_.on(path, [this, headers](const RecordedRequest&, Reply& reply) {
            reply.body = std::to_string(++served_);
            reply.headers = headers;
        });
    }
    std::string get(const std::string& path, const HttpHeaders& extra = {}) {
        auto request = HttpRequest::create(server_.url(path));
        for (const auto& [name, value] : extra) {
            request->addRequestHeader(name, value);
        }
        request->startSynchronous();
        return request->responseString();
    }

    ScriptedServer server_;
    int served_ = 0;
};

TEST_F(DownloadCachePrivacyTest, PrivateAndNoStoreAnswersAreNotKept) {
    serve("/private", {{"Cache-Control", "private, max-age=600"}});
    serve("/nostore", {{"Cache-Control", "max-age=600, no-store"}});
    EXPECT_NE(get("/private"), get("/private"));
    EXPECT_NE(get("/nostore"), get("/nostore"));
    EXPECT_EQ(DownloadCache::shared().entryCount(), 0u);
}

TEST_F(DownloadCachePrivacyTest, AnswersToRequestsCarryingCookiesAreNotKept) {
    serve("/me", {{"Cache-Control", "max-age=600"}});
    HttpCookie session;
    session.name = "p_token";
    session.value = "userA";
    session.domain = "127.0.0.1";
    CookieStore::shared().setCookie(session);
    std::string first = get("/me");
    CookieStore::shared().clearAll();
    std::string second = get("/me");
    EXPECT_NE(first, second);
    EXPECT_EQ(server_.countOf("/me"), 2u);

    // An explicit Cookie or Authorization header counts the same.
    DownloadCache::shared().clear();
    serve("/auth", {{"Cache-Control", "max-age=600"}});
    get("/auth", {{"Authorization", "Bearer a"}});
    get("/auth", {{"Cookie", "x=1"}});
    EXPECT_EQ(DownloadCache::shared().entryCount(), 0u);
}

TEST_F(DownloadCachePrivacyTest, VaryKeepsAnswersApartByTheNamedRequestHeaders) {
    serve("/lang", {{"Cache-Control", "max-age=600"}, {"Vary", "Accept-Language"}});
    std::string zh = get("/lang", {{"Accept-Language", "zh"}});
    EXPECT_EQ(get("/lang", {{"Accept-Language", "zh"}}), zh);
    std::string en = get("/lang", {{"Accept-Language", "en"}});
    EXPECT_NE(en, zh);
    EXPECT_EQ(server_.countOf("/lang"), 2u);

    serve("/star", {{"Cache-Control", "max-age=600"}, {"Vary", "*"}});
    EXPECT_NE(get("/star"), get("/star"));
}

TEST_F(DownloadCachePrivacyTest, HugeLifetimesSaturate) {
    HttpHeaders huge{{"Cache-Control", "max-age=99999999999999999999999"}};
    auto lifetime = DownloadCache::freshnessLifetime(huge, 0);
    ASSERT_TRUE(lifetime);
    EXPECT_GT(*lifetime, 0);
    // Stored at the latest possible moment, it still reads as fresh rather than wrapping round.
    serve("/forever", {{"Cache-Control", "max-age=9223372036854775807"}});
    std::string first = get("/forever");
    EXPECT_EQ(get("/forever"), first);
}

}  // namespace
}  // namespace zorlet::test
