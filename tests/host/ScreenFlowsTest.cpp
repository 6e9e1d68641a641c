#include "HostTestSupport.h"

#include "app/ZorletTabBarController.h"
#include "model/User.h"
#include "session/UserContext.h"
#include "ui/AlertRegistry.h"
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

}  // namespace
}  // namespace zorlet::test
