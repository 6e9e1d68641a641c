#include "HostTestSupport.h"

#include "host/ScreenQuery.h"
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
    auto& control = sharedSandbox().server().testControl();
    ASSERT_TRUE(control.reset());

    auto result = runFlowFile(sourceFolder() / "flows/post-detail.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    // The author the flow answered (a comment reaches them as a message) was then blocked:
    // the refreshed feed no longer shows them.
    auto demo = control.uidOf(EmbeddedSandbox::demoAccount());
    ASSERT_TRUE(demo);
    std::optional<std::int64_t> author;
    for (const auto& message : control.messagesFrom(*demo)) {
        if (message.content.ends_with("一起去吧，我也想去")) {
            author = message.toUid;
        }
    }
    ASSERT_TRUE(author);
    auto nickname = control.nicknameOf(*author);
    ASSERT_TRUE(nickname);
    ASSERT_NE(app_.window(), nullptr);
    ScreenQuery screen(*app_.window());
    EXPECT_FALSE(screen.findId("UserListCell").empty());
    EXPECT_TRUE(screen.findText(*nickname).empty()) << *nickname;
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "feed-after-block.png"));
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
