#include "HostTestSupport.h"

#include "people/PostDetailViewController.h"
#include "people/TaHomeViewController.h"
#include "sandbox/SandboxServer.h"
#include "sandbox/TestControl.h"
#include "session/UserContext.h"
#include "ui/AlertRegistry.h"

#include <algorithm>

namespace zorlet::test {
namespace {

// The people flows of flows/ that CI runs against the in-process sandbox.
class PeopleFlowsTest : public HostTest {};

TEST_F(PeopleFlowsTest, APostIsAnsweredAndItsAuthorFollowedInvitedAndBlocked) {
    auto result = runFlowFile(sourceFolder() / "flows/post-detail.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "post-detail.png"));
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "ta-home.png"));
    const auto& titles = AlertRegistry::shared().shownAlertTitles();
    EXPECT_NE(
        std::find_if(titles.begin(), titles.end(),
                     [](const std::string& title) { return title.find("加入黑名单") != std::string::npos; }),
        titles.end());
}

TEST_F(PeopleFlowsTest, AnInvitationAfterPostingUnblockingFeedbackAndSigningOut) {
    // The flow expects the blacklist to hold only the user it blocks itself.
    auto& control = sharedSandbox().server().testControl();
    ASSERT_TRUE(control.reset());
    auto result = runFlowFile(sourceFolder() / "flows/relations.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "rescue-users.png"));
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "blacklist.png"));

    auto demo = control.uidOf(EmbeddedSandbox::demoAccount());
    ASSERT_TRUE(demo);
    bool invited = false;
    bool feedback = false;
    for (const auto& message : control.messagesFrom(*demo)) {
        invited = invited || message.content.find("今晚一起去听音乐会") != std::string::npos;
        feedback = feedback || (message.toUid == 2 && message.content == "希望周末的活动再多一些");
    }
    EXPECT_TRUE(invited);
    EXPECT_TRUE(feedback);
    EXPECT_FALSE(UserContext::hasLogin());
}

}  // namespace
}  // namespace zorlet::test
