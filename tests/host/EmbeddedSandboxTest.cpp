#include "HostTestSupport.h"

#include <gtest/gtest.h>
#include <httplib.h>

namespace zorlet::test {
namespace {

TEST(EmbeddedSandboxTest, TestControlAnswersOnlyWithTheSecretOfThisRun) {
    auto& sandbox = sharedSandbox();
    auto secret = sandbox.testControlSecret();
    EXPECT_GE(secret.size(), 16u);
    httplib::Client client("127.0.0.1", sandbox.port());
    auto refused = client.Get("/__sandbox/outbox?account=demo%40zorlet.local");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 403);
    auto answered =
        client.Get("/__sandbox/outbox?account=demo%40zorlet.local", {{"X-Sandbox-Secret", secret}});
    ASSERT_TRUE(answered);
    EXPECT_EQ(answered->status, 200);
    EXPECT_NE(answered->body.find("\"success\":true"), std::string::npos) << answered->body;
}

}  // namespace
}  // namespace zorlet::test
