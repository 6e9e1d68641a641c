#include "HostTestSupport.h"

#include "people/PostDetailViewController.h"
#include "people/TaHomeViewController.h"
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

}  // namespace
}  // namespace zorlet::test
