#include "platform/CookieParser.h"
#include "platform/CookieStore.h"
#include "platform/HttpRequest.h"

#include "support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <limits>

namespace zorlet::test {
namespace {

constexpr long long kNow = 1'800'000'000;
constexpr long long kForever = std::numeric_limits<long long>::max();

TEST(CookieRules, HugeOrNegativeMaxAgeSaturatesInsteadOfOverflowing) {
    auto huge = CookieParser::fromSetCookie("a=1; Max-Age=9223372036854775807", "h.example", kNow);
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->expires, kForever);
    auto beyond = CookieParser::fromSetCookie("a=1; Max-Age=99999999999999999999999", "h.example", kNow);
    ASSERT_TRUE(beyond);
    EXPECT_EQ(beyond->expires, kForever);
    auto past = CookieParser::fromSetCookie("a=1; Max-Age=-9223372036854775808", "h.example", kNow);
    ASSERT_TRUE(past);
    ASSERT_TRUE(past->expires);
    EXPECT_LE(*past->expires, kNow);
    auto junk = CookieParser::fromSetCookie("a=1; Max-Age=soon", "h.example", kNow);
    ASSERT_TRUE(junk);
    EXPECT_FALSE(junk->expires);
}

TEST(CookieRules, DomainAttributeMustCoverTheAnsweringHost) {
    auto parent = CookieParser::fromSetCookie("a=1; Domain=.example.com", "api.example.com", kNow);
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent->domain, "example.com");
    EXPECT_TRUE(parent->includeSubdomains);
    auto same = CookieParser::fromSetCookie("a=1; Domain=API.example.com", "api.example.com", kNow);
    ASSERT_TRUE(same);

    EXPECT_FALSE(CookieParser::fromSetCookie("a=1; Domain=evil.example", "api.example.com", kNow));
    EXPECT_FALSE(CookieParser::fromSetCookie("a=1; Domain=xample.com", "api.example.com", kNow));
    EXPECT_FALSE(CookieParser::fromSetCookie("a=1; Domain=deeper.api.example.com", "api.example.com", kNow));
    // A whole top-level domain is no one site.
    EXPECT_FALSE(CookieParser::fromSetCookie("a=1; Domain=com", "api.example.com", kNow));
    // An address is only ever its own domain.
    EXPECT_FALSE(CookieParser::fromSetCookie("a=1; Domain=evil.example", "127.0.0.1", kNow));
    EXPECT_FALSE(CookieParser::fromSetCookie("a=1; Domain=0.0.1", "127.0.0.1", kNow));
    auto address = CookieParser::fromSetCookie("a=1; Domain=127.0.0.1", "127.0.0.1", kNow);
    ASSERT_TRUE(address);
    EXPECT_FALSE(address->includeSubdomains);

    EXPECT_TRUE(CookieParser::appliesToHost(*parent, "api.example.com"));
    EXPECT_FALSE(CookieParser::appliesToHost(*parent, "example.org"));
}

// What the response reports and what the shared engine keeps agree.
TEST(CookieRules, ResponseCookiesAreOnlyThoseTheEngineKeeps) {
    ScriptedServer server;
    server.on("/set", [](const RecordedRequest&, Reply& reply) {
        reply.body = "{}";
        reply.setCookies = {"kept=1; Path=/", "foreign=2; Domain=evil.example; Path=/"};
    });
    CookieStore::shared().clearAll();
    auto request = HttpRequest::create(server.url("/set"));
    request->setUseDownloadCache(false);
    request->startSynchronous();
    auto reported = request->responseCookies();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].name, "kept");
    auto stored = CookieStore::shared().cookies();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].name, "kept");
    CookieStore::shared().clearAll();
}

}  // namespace
}  // namespace zorlet::test
