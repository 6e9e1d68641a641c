#include "HostTestSupport.h"

#include "app/ZorletTabBarController.h"
#include "host/ScreenQuery.h"
#include "model/User.h"
#include "session/UserContext.h"
#include "ui/AlertRegistry.h"
#include "ui/Application.h"
#include "ui/TableView.h"
#include "ui/TableViewCell.h"
#include "ui/Window.h"

#include <algorithm>

namespace zorlet::test {
namespace {

// The flows of flows/ that CI runs, each against the in-process sandbox.
class ScreenFlowsTest : public HostTest {
protected:
    bool atTabShell() const {
        return app_.window() && dynamic_cast<ZorletTabBarController*>(app_.window()->rootViewController());
    }
    bool alertWasShown(const std::string& title) const {
        const auto& titles = AlertRegistry::shared().shownAlertTitles();
        return std::find(titles.begin(), titles.end(), title) != titles.end();
    }
};

TEST_F(ScreenFlowsTest, TheDemoAccountSignsInAndReachesTheTabShell) {
    auto result = runFlowFile(sourceFolder() / "flows/sign-in-demo.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    EXPECT_TRUE(atTabShell());
    EXPECT_TRUE(UserContext::hasLogin());
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "sign-in-demo.png"));
}

TEST_F(ScreenFlowsTest, ANewAccountSignsUpThroughTheRegistrationScreen) {
    auto result = runFlowFile(sourceFolder() / "flows/sign-up.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    EXPECT_TRUE(UserContext::hasLogin());
    ASSERT_TRUE(UserContext::getUser());
    EXPECT_EQ(UserContext::getUser()->nickname.rfind("新人", 0), 0u) << UserContext::getUser()->nickname;
}

TEST_F(ScreenFlowsTest, WithoutANetworkTheSignInShowsTheNetworkAlert) {
    auto result = runFlowFile(sourceFolder() / "flows/network-off.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    EXPECT_TRUE(alertWasShown("网络状态"));
    EXPECT_TRUE(atTabShell());  // signed in once the network was back
}

TEST_F(ScreenFlowsTest, ANewAccountCompletesTheGuideAndIsRestoredToTheTabShell) {
    auto result = runFlowFile(sourceFolder() / "flows/profile-guide.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    EXPECT_TRUE(atTabShell());
    EXPECT_TRUE(UserContext::hasCompleteGuide());
    ASSERT_TRUE(UserContext::getUser());
    EXPECT_EQ(UserContext::getUser()->profession, "设计师");
}

TEST_F(ScreenFlowsTest, TheDemoAccountPublishesAPostThatTopsTheNewestList) {
    // The composer is reached through the place categories' composer button.
    auto result = runFlowFile(sourceFolder() / "flows/feed-publish.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();

    // The flow saw the post on screen; it must be the list's first row.
    ScreenQuery query(*app_.window());
    auto matches = query.findText(".+：周末一起去看展览[0-9]+");
    ASSERT_EQ(matches.size(), 1u);
    View* view = matches.front().view;
    while (view != nullptr && dynamic_cast<TableViewCell*>(view) == nullptr) {
        view = view->superview();
    }
    ASSERT_NE(view, nullptr);
    auto* table = dynamic_cast<TableView*>(view->superview());
    ASSERT_NE(table, nullptr);
    auto row = table->indexPathForCell(static_cast<TableViewCell*>(view));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->row, 0);
}

TEST_F(ScreenFlowsTest, TheDemoAccountWantsToGoToAnIdeaInvitesATakerAndOpensTheRoute) {
    auto result = runFlowFile(sourceFolder() / "flows/ideas.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    const auto& opened = Application::shared().openedUrls();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("/maps?saddr=39.920000,116.400000&daddr="), std::string::npos) << opened[0];
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "idea-takers.png"));
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "idea-share-platform.png"));
}

TEST_F(ScreenFlowsTest, AMessageWrittenWithoutANetworkIsKeptAndSentAgain) {
    auto result = runFlowFile(sourceFolder() / "flows/messaging.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    EXPECT_TRUE(alertWasShown("网络状态"));
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "messages-failed.png"));
}

}  // namespace
}  // namespace zorlet::test
