#include "SandboxFixture.h"

#include "sandbox/DemoSeed.h"
#include "sandbox/TextRules.h"

#include <chrono>

namespace zorlet::sandbox::test {

TEST(TextRulesTest, ParsesTheNumbersRequestsCarry) {
    EXPECT_EQ(TextRules::parseInteger("+12"), 12);
    EXPECT_FALSE(TextRules::parseInteger("12a"));
    EXPECT_FALSE(TextRules::parseInteger(""));
    EXPECT_TRUE(TextRules::isHex("0aF9"));
    EXPECT_FALSE(TextRules::isHex("0x1"));
}

TEST_F(SandboxTest, BadInputIsRefusedInTheEnvelopeNeverWithA500) {
    ApiClient client(port());
    auto invalid = client.post("/passport/v132/login", {{"account", "\xFF\xFE"}, {"password", "x"}});
    EXPECT_EQ(invalid.status, 200);
    EXPECT_FALSE(invalid.success());
    EXPECT_EQ(invalid.errorInfo(), "提交的内容含有无法识别的字符");
    auto huge = client.post("/passport/v132/register", {{"account", std::string(30000, 'a')}});
    EXPECT_EQ(huge.status, 200);
    EXPECT_EQ(huge.errorInfo(), "提交的内容过长");
    auto unknown = client.get("/no/such/path");
    EXPECT_EQ(unknown.status, 404);
    EXPECT_FALSE(unknown.success());
    // Every answer is the envelope, with the types the client reads.
    for (const auto& answer : {invalid, huge, unknown, client.get("/base/categoryList")}) {
        ASSERT_TRUE(answer.body.is_object()) << answer.text;
        EXPECT_TRUE(answer.body["success"].is_boolean());
        EXPECT_TRUE(answer.body["errorCode"].is_number_integer());
        EXPECT_TRUE(answer.body["errorInfo"].is_string());
    }
}

TEST_F(SandboxTest, TestControlOverHttpAndReset) {
    auto admin = this->admin();
    auto created = admin.post("/__sandbox/users", {{"account", "http@example.com"},
                                                   {"password", "secret99"},
                                                   {"nickname", "接口用户"},
                                                   {"gender", "0"}});
    ASSERT_TRUE(created.success()) << created.text;
    auto uid = created.result()["uid"].get<std::int64_t>();
    EXPECT_FALSE(
        admin.post("/__sandbox/users", {{"account", "http@example.com"}, {"nickname", "又一个"}}).success());

    ApiClient user(port());
    user.signIn("http@example.com", "secret99");
    ASSERT_TRUE(
        admin.post("/__sandbox/unreadNotices", {{"uid", std::to_string(uid)}, {"count", "4"}}).success());
    EXPECT_EQ(user.get("/dialog/notice/nums").result(), 4);
    ASSERT_TRUE(admin.post("/__sandbox/signOut", {{"uid", std::to_string(uid)}}).success());
    EXPECT_EQ(user.get("/dialog/notice/nums").status, 401);
    EXPECT_FALSE(admin.post("/__sandbox/signOut", {{"uid", "abc"}}).success());

    ASSERT_TRUE(admin.post("/__sandbox/reset").success());
    EXPECT_FALSE(control().uidOf("http@example.com"));
}

TEST_F(DemoSandboxTest, ResetPlantsTheDemoAgain) {
    auto demo = control().uidOf(DemoSeed::demoAccount);
    ASSERT_TRUE(demo);
    ASSERT_TRUE(control().createUser({"extra@example.com", "secret99", "多余的人"}));
    ASSERT_TRUE(control().reset());
    EXPECT_FALSE(control().uidOf("extra@example.com"));
    EXPECT_EQ(control().uidOf(DemoSeed::demoAccount), demo);
    ApiClient client(port());
    EXPECT_TRUE(client.signIn(DemoSeed::demoAccount, DemoSeed::demoPassword).is_object());
}

TEST(SandboxStartTest, DemoSeedStartsQuicklyWithRealHashingAndSurvivesARestart) {
    auto folder = std::filesystem::temp_directory_path() / "zorlet-sandbox-start-test";
    std::filesystem::remove_all(folder);
    SandboxOptions options;
    options.databasePath = folder / "demo.db";
    options.seedDemo = true;
    auto began = std::chrono::steady_clock::now();
    auto started = SandboxServer::start(options);
    auto elapsed = std::chrono::steady_clock::now() - began;
    ASSERT_TRUE(started) << started.error();
    auto server = std::move(*started);
    std::printf(
        "sandbox start with the demo seed: %lld ms\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    // Generous: this build carries sanitizers and shares its cores.
    EXPECT_LT(elapsed, std::chrono::seconds(3));
    ApiClient client(server->port());
    auto uid = client.signIn(DemoSeed::demoAccount, DemoSeed::demoPassword)["userView"]["uid"];
    server.reset();

    // A second start on the same file keeps the data and does not seed twice.
    auto restarted = SandboxServer::start(options);
    ASSERT_TRUE(restarted) << restarted.error();
    server = std::move(*restarted);
    ApiClient again(server->port());
    EXPECT_EQ(again.signIn(DemoSeed::demoAccount, DemoSeed::demoPassword)["userView"]["uid"], uid);
    EXPECT_EQ(again.get("/post/v134/userPosts", {{"orderType", "online"}}).result()["pager"]["totalResults"],
              DemoSeed::otherUsers + 1);
    server.reset();
    std::filesystem::remove_all(folder);
}

}  // namespace zorlet::sandbox::test
