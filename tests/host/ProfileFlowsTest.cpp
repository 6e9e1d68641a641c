#include "HostTestSupport.h"

#include "sandbox/SandboxServer.h"
#include "sandbox/TestControl.h"
#include "session/UserContext.h"

namespace zorlet::test {
namespace {

// The own-profile flows of flows/ that CI runs against the in-process sandbox.
class ProfileFlowsTest : public HostTest {};

TEST_F(ProfileFlowsTest, AnAnswerIsSavedShownOnMyHomeAndThePositionHiddenFromOthers) {
    auto& control = sharedSandbox().server().testControl();
    ASSERT_TRUE(control.reset());
    auto demo = control.uidOf(EmbeddedSandbox::demoAccount());
    ASSERT_TRUE(demo);
    // The other user reaches the demo account's home through its post.
    ASSERT_TRUE(control.createPost(*demo, {.purpose = "去鼓浪屿", .content = "有人一起去鼓浪屿看海吗"}));

    auto result = runFlowFile(sourceFolder() / "flows/my-home.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "my-home.png"));
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "privacy.png"));
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "position-hidden.png"));
    // The flow ends signed in as the other user.
    EXPECT_NE(UserContext::getUid(), *demo);

    // The sandbox is shared with the other flows: back to the demo data as planted.
    EXPECT_TRUE(control.reset());
}

}  // namespace
}  // namespace zorlet::test
