#include "HostTestSupport.h"

#include "model/Preference.h"
#include "model/UserHome.h"
#include "session/UserContext.h"

#include <algorithm>

namespace zorlet::test {
namespace {

// The own-profile flows of flows/ that CI runs against the in-process sandbox.
class ProfileFlowsTest : public HostTest {};

TEST_F(ProfileFlowsTest, AnAnswerIsSavedShownOnMyHomeAndThePositionHidden) {
    auto result = runFlowFile(sourceFolder() / "flows/my-home.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "my-home.png"));
    EXPECT_TRUE(std::filesystem::exists(screenshots_ / "privacy.png"));
    auto home = UserContext::getUserHome();
    ASSERT_TRUE(home);
    EXPECT_TRUE(std::any_of(
        home->preferences.begin(), home->preferences.end(),
        [](const PreferencePtr& preference) { return preference->displayAnswer == "去鼓浪屿看海"; }));
    EXPECT_TRUE(home->locationSecret);

    // The sandbox is shared with the other flows: show the position again.
    auto restored = runFlow(R"(name: show my position again
---
- tapOn: 隐私设置
- waitForAnimationToEnd
- tapOn: {id: privacySwitch1}
- tapOn: {id: save}
- waitForAnimationToEnd
)");
    ASSERT_TRUE(restored.passed) << restored.message << "\n" << output_.str();
    EXPECT_FALSE(UserContext::getUserHome()->locationSecret);
}

}  // namespace
}  // namespace zorlet::test
