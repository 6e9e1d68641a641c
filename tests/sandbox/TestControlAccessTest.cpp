#include "SandboxFixture.h"

#include "sandbox/Passwords.h"

#include <random>

namespace zorlet::sandbox::test {

namespace {

// A sandbox started the way a user starts it: no test control asked for.
class PlainSandboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        folder_ =
            std::filesystem::temp_directory_path() / ("zorlet-plain-sandbox-" + std::to_string(random()));
        SandboxOptions options;
        options.databasePath = folder_ / "sandbox.db";
        options.passwordCost = Passwords::Cost::Minimum;
        auto started = SandboxServer::start(options);
        ASSERT_TRUE(started) << started.error();
        server_ = std::move(*started);
    }
    void TearDown() override {
        server_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::filesystem::path folder_;
    std::unique_ptr<SandboxServer> server_;
};

}  // namespace

TEST_F(PlainSandboxTest, AdminEndpointsDoNotExistWithoutTestControl) {
    ApiClient browser(server_->port());
    for (const char* path : {"/__sandbox/users", "/__sandbox/reset", "/__sandbox/outbox",
                             "/__sandbox/signOut", "/__sandbox/update"}) {
        EXPECT_EQ(browser.get(path, {{"account", "web@example.com"}, {"nickname", "网页"}}).status, 404)
            << path;
        EXPECT_EQ(browser.post(path, {{"account", "web@example.com"}, {"nickname", "网页"}}).status, 404)
            << path;
    }
    EXPECT_FALSE(server_->testControl().uidOf("web@example.com"));
}

TEST_F(SandboxTest, AdminCallsWithoutTheSecretAreRefused) {
    ApiClient stranger(port());
    auto created = stranger.post("/__sandbox/users", {{"account", "web@example.com"}, {"nickname", "网页"}});
    EXPECT_EQ(created.status, 403);
    EXPECT_FALSE(created.success());
    EXPECT_FALSE(control().uidOf("web@example.com"));
    EXPECT_EQ(stranger.get("/__sandbox/outbox", {{"account", "web@example.com"}}).status, 403);
    EXPECT_EQ(stranger.post("/__sandbox/reset").status, 403);
}

TEST_F(SandboxTest, AdminCallsNeedTheSecretTheLoopbackHostAndPostForChanges) {
    auto admin = this->admin();
    ApiClient guesser(port());
    guesser.headers.emplace("X-Sandbox-Secret", std::string(32, '0'));
    EXPECT_EQ(guesser.post("/__sandbox/users", {{"account", "web@example.com"}, {"nickname", "网页"}}).status,
              403);
    ApiClient almost(port());
    auto secret = server_->testControlSecret();
    ASSERT_GE(secret.size(), 16u);
    almost.headers.emplace("X-Sandbox-Secret", secret.substr(0, secret.size() - 1));
    EXPECT_EQ(almost.post("/__sandbox/reset").status, 403);

    // Changes only by POST: a GET (a link, an image tag) changes nothing.
    auto byGet = admin.get("/__sandbox/users", {{"account", "web@example.com"}, {"nickname", "网页"}});
    EXPECT_EQ(byGet.status, 405);
    EXPECT_EQ(byGet.headers.find("Allow")->second, "POST");
    EXPECT_FALSE(control().uidOf("web@example.com"));
    EXPECT_EQ(admin.get("/__sandbox/reset").status, 405);
    EXPECT_EQ(admin.get("/__sandbox/update", {{"version", "9.9"}}).status, 405);

    // A rebinding page reaches 127.0.0.1 under its own name.
    ApiClient rebound(port());
    rebound.headers = {{"X-Sandbox-Secret", secret}, {"Host", "attacker.example:" + std::to_string(port())}};
    EXPECT_EQ(rebound.post("/__sandbox/users", {{"account", "web@example.com"}, {"nickname", "网页"}}).status,
              403);
    ApiClient otherPort(port());
    otherPort.headers = {{"X-Sandbox-Secret", secret}, {"Host", "127.0.0.1:1"}};
    EXPECT_EQ(otherPort.post("/__sandbox/reset").status, 403);

    // With everything right, changes go through and reads may use GET.
    auto created = admin.post("/__sandbox/users", {{"account", "web@example.com"}, {"nickname", "网页"}});
    ASSERT_TRUE(created.success()) << created.text;
    ApiClient named(port());
    named.headers = {{"X-Sandbox-Secret", secret}, {"Host", "localhost:" + std::to_string(port())}};
    EXPECT_TRUE(named.get("/__sandbox/outbox", {{"account", "web@example.com"}}).success());
    EXPECT_TRUE(admin.post("/__sandbox/update", {{"version", "9.9"}}).success());
    EXPECT_EQ(ApiClient(port()).get("/app/checkUpdate").result()["version"], "9.9");
}

TEST(TestControlOptionsTest, AShortSecretIsRefusedAtStartAndAGivenOneIsUsed) {
    auto folder = std::filesystem::temp_directory_path() / ("zorlet-secret-test-" + Passwords::randomHex(4));
    SandboxOptions options;
    options.databasePath = folder / "sandbox.db";
    options.passwordCost = Passwords::Cost::Minimum;
    options.testControl = true;
    options.testControlSecret = "short";
    auto refused = SandboxServer::start(options);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.error().find("at least 16"), std::string::npos) << refused.error();

    options.testControlSecret = "a-secret-the-caller-chose";
    auto started = SandboxServer::start(options);
    ASSERT_TRUE(started) << started.error();
    auto server = std::move(*started);
    EXPECT_EQ(server->testControlSecret(), "a-secret-the-caller-chose");
    ApiClient caller(server->port());
    caller.headers.emplace("X-Sandbox-Secret", "a-secret-the-caller-chose");
    EXPECT_TRUE(caller.post("/__sandbox/reset").success());
    server.reset();
    std::filesystem::remove_all(folder);
}

}  // namespace zorlet::sandbox::test
