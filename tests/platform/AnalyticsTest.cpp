#include "platform/Analytics.h"

#include "support/LoopTest.h"
#include "support/ScriptedServer.h"

#include <filesystem>
#include <optional>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class AnalyticsTest : public LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        std::filesystem::remove(Analytics::logFilePath());
        Analytics::setAppVersion("1.2.0");
        Analytics::setUpdateCheckUrl({});
    }
    void TearDown() override {
        Analytics::setUpdateCheckUrl({});
        LoopTest::TearDown();
    }
    static Json check() {
        std::optional<Json> answer;
        Analytics::checkUpdate([&](const Json& result) { answer = result; });
        EXPECT_FALSE(answer) << "answered before the loop ran";
        EXPECT_TRUE(waitUntil([&] { return answer.has_value(); }));
        return answer.value_or(Json());
    }
    static void expectNoUpdate(const Json& answer) {
        EXPECT_EQ(answer, (Json{{"update", false}, {"version", "1.2.0"}, {"update_log", ""}, {"path", ""}}));
    }
};

TEST_F(AnalyticsTest, StartEventsAndPageViewsAreAppendedAsJsonLines) {
    Analytics::startWithAppkey("key-1", Analytics::kRealtime, "App Store");
    Analytics::event("sendPost");
    Analytics::event("interestUser", {{"uid", 15}});
    Analytics::beginLogPageView("IdeaViewController");
    advance(2500ms);
    Analytics::endLogPageView("IdeaViewController");
    Analytics::endLogPageView("NeverOpened");

    auto entries = Analytics::loggedEntries();
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0]["type"], "start");
    EXPECT_EQ(entries[0]["channel"], "App Store");
    EXPECT_EQ(entries[0]["policy"], 0);
    EXPECT_EQ(entries[0]["version"], "1.2.0");
    EXPECT_EQ(entries[1]["event"], "sendPost");
    EXPECT_FALSE(entries[1].contains("attributes"));
    EXPECT_EQ(entries[2]["attributes"]["uid"], 15);
    EXPECT_EQ(entries[3]["type"], "pageBegin");
    EXPECT_EQ(entries[4]["type"], "pageEnd");
    EXPECT_EQ(entries[4]["durationMs"], 2500);
    EXPECT_FALSE(entries[5].contains("durationMs"));
    for (const auto& entry : entries) {
        EXPECT_EQ(entry["appKey"], "key-1");
        EXPECT_TRUE(entry["time"].is_number());
    }
}

TEST_F(AnalyticsTest, WithoutAnUpdateServiceTheAnswerIsNoUpdate) {
    expectNoUpdate(check());
}

TEST_F(AnalyticsTest, TheUpdateAnswerComesFromTheServerWhenItServesOne) {
    ScriptedServer server;
    Analytics::setUpdateCheckUrl(server.url("/app/checkUpdate"));

    server.onJson(
        "/app/checkUpdate",
        R"({"update":true,"version":"1.3.0","update_log":"修复问题","path":"https://example.org/app"})");
    Json answer = check();
    EXPECT_EQ(answer["update"], true);
    EXPECT_EQ(answer["version"], "1.3.0");
    EXPECT_EQ(answer["update_log"], "修复问题");
    EXPECT_EQ(answer["path"], "https://example.org/app");
    EXPECT_EQ(server.lastRequestTo("/app/checkUpdate").param("version"), "1.2.0");

    // Wrapped in the service's envelope.
    server.onJson("/app/checkUpdate", R"({"success":true,"result":{"update":1,"version":"2.0","path":"p"}})");
    answer = check();
    EXPECT_EQ(answer["update"], true);
    EXPECT_EQ(answer["version"], "2.0");
    EXPECT_EQ(answer["update_log"], "");

    for (const char* body : {R"({"update":false,"version":"9"})", "not json", "[]"}) {
        server.onJson("/app/checkUpdate", body);
        expectNoUpdate(check());
    }
    server.onJson("/app/checkUpdate", R"({"update":true})", 500);
    expectNoUpdate(check());
    Analytics::setUpdateCheckUrl("http://127.0.0.1:1/nothing-here");
    expectNoUpdate(check());

    std::size_t logged = 0;
    for (const auto& entry : Analytics::loggedEntries()) {
        logged += entry["type"] == "updateCheck";
    }
    EXPECT_EQ(logged, 7u);
}

}  // namespace
}  // namespace zorlet::test
