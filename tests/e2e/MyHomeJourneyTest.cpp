#include "app/CustomNavigationController.h"
#include "app/InterfaceDescription.h"
#include "model/Preference.h"
#include "model/User.h"
#include "model/UserHome.h"
#include "people/TaHomeViewController.h"
#include "profile/EditorListViewController.h"
#include "profile/HomeViewController.h"
#include "profile/PrivacyViewController.h"
#include "profile/UserPreferenceCheckboxViewController.h"
#include "profile/UserPreferenceSettingViewController.h"
#include "sandbox/TestControl.h"
#include "session/LoginService.h"
#include "ui/ProgressHUD.h"
#include "ui/Switch.h"
#include "ui/UserInput.h"
#include "widgets/CustomActionSheet.h"

#include "SandboxJourneyTest.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class MyHomeJourneyTest : public SandboxJourneyTest {
protected:
    std::int64_t createUser(const std::string& account, const std::string& nickname, double longitude,
                            double latitude) {
        sandbox::TestUser user;
        user.account = account;
        user.password = "secret123";
        user.nickname = nickname;
        user.cityId = 1;
        user.longitude = longitude;
        user.latitude = latitude;
        return sandbox_->testControl().createUser(user).value_or(0);
    }
    bool signIn(const std::string& account) {
        LoginService::getInstance().localLogout();
        return LoginService::getInstance().useLoginName(account, "secret123").success;
    }
    std::shared_ptr<CustomNavigationController> show(const ViewControllerPtr& screen) {
        navigation_ = std::make_shared<CustomNavigationController>(screen);
        window_->setRootViewController(navigation_);
        window_->makeKeyAndVisible();
        return navigation_;
    }
    template <typename Screen>
    Screen* top() const {
        return dynamic_cast<Screen*>(navigation_->topViewController());
    }
    static bool tapRight(ViewController& screen) {
        auto item = screen.navigationItem().rightBarButtonItem();
        return item && UserInput::tapBarButton(*item);
    }
    static bool confirmSheet() {
        auto* sheet = dynamic_cast<CustomActionSheet*>(AlertRegistry::shared().topSheet());
        return sheet != nullptr && UserInput::tapBarButton(*sheet->doneItem());
    }
    // What `viewer` sees of `uid`'s home: the info line of their home screen.
    std::string infoLineOf(std::int64_t uid) {
        auto home = std::make_shared<TaHomeViewController>();
        home->user = std::make_shared<User>();
        home->user->uid = uid;
        show(home);
        EXPECT_TRUE(waitUntil([&] { return home->userHome != nullptr; }, 20s));
        return home->infoLabel->text();
    }

    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(MyHomeJourneyTest, AnswersShowOnMyHomeAndAHiddenPositionHidesTheDistance) {
    std::int64_t me = createUser("me@zorlet.local", "主人", 116.400, 39.900);
    ASSERT_GT(me, 0);
    ASSERT_GT(createUser("viewer@zorlet.local", "路人", 116.410, 39.910), 0);

    // Before: another user sees how far away I am.
    ASSERT_TRUE(signIn("viewer@zorlet.local"));
    EXPECT_NE(infoLineOf(me).find("km"), std::string::npos);

    // My home, refreshed from the service.
    ASSERT_TRUE(signIn("me@zorlet.local"));
    auto home = std::make_shared<HomeViewController>();
    show(home);
    home->pullRefreshHeaderDidTriggerRefresh(*home->refreshHeaderView);
    ASSERT_TRUE(waitUntil([&] { return !home->reloading; }, 20s));
    ASSERT_TRUE(home->lastUpdateDate.has_value());
    UserHomePtr records = UserContext::getUserHome();
    ASSERT_EQ(records->preferences.size(), 4u);
    EXPECT_EQ(home->numberOfSections(*home->infoTableView), 4);

    // Edit the questionnaire: a single choice and a multiple choice.
    ASSERT_TRUE(tapRight(*home));
    auto* list = top<EditorListViewController>();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(UserInput::tapRow(*list->tableView, {0, 1}));
    auto* questionnaire = top<UserPreferenceSettingViewController>();
    ASSERT_NE(questionnaire, nullptr);
    ASSERT_TRUE(UserInput::tapRow(*questionnaire->tableView, {0, 1}));
    ASSERT_TRUE(UserInput::pickRow(*questionnaire->picker, 2, 0));
    ASSERT_TRUE(confirmSheet());
    ASSERT_TRUE(UserInput::tapRow(*questionnaire->tableView, {0, 0}));
    auto* boxes = top<UserPreferenceCheckboxViewController>();
    ASSERT_NE(boxes, nullptr);
    ASSERT_TRUE(UserInput::tapRow(*boxes->tableView, {0, 0}));
    ASSERT_TRUE(UserInput::tapRow(*boxes->tableView, {0, 2}));
    ASSERT_TRUE(tapRight(*boxes));
    ASSERT_EQ(top<UserPreferenceSettingViewController>(), questionnaire);
    ASSERT_TRUE(tapRight(*questionnaire));
    ASSERT_TRUE(waitUntil([&] { return !questionnaire->saveButton()->isEnabled(); }, 20s))
        << (AlertRegistry::shared().shownAlertTitles().empty()
                ? ""
                : AlertRegistry::shared().shownAlertTitles().back());
    loop().advance(2500ms);

    // Back on my home, the answers show without a refresh.
    navigation_->popToRootViewController(false);
    EXPECT_EQ(UserContext::getUserHome(), records);
    TableView& table = *home->infoTableView;
    EXPECT_EQ(home->cellForRow(table, {3, 1})->detailTextLabel().text(), "周末白天");
    EXPECT_EQ(home->cellForRow(table, {3, 0})->detailTextLabel().text(), "户外运动、吃美食");

    // Privacy: hide my position.
    auto privacy = std::make_shared<PrivacyViewController>();
    navigation_->pushViewController(privacy, false);
    auto cell = privacy->cellForRow(*privacy->tableView, {0, PrivacyViewController::LocationRow});
    auto location = InterfaceDescription::find<Switch>(*cell, "privacySwitch1");
    ASSERT_TRUE(location);
    ASSERT_TRUE(location->isOn());
    ASSERT_TRUE(UserInput::toggleSwitch(*location));
    ASSERT_TRUE(tapRight(*privacy));
    ASSERT_TRUE(waitUntil([&] { return !privacy->saveButton()->isEnabled(); }, 20s));
    EXPECT_TRUE(records->locationSecret);
    loop().advance(2500ms);

    // After: the other user sees no distance any more.
    ASSERT_TRUE(signIn("viewer@zorlet.local"));
    std::string line = infoLineOf(me);
    EXPECT_EQ(line.find("km"), std::string::npos) << line;
}

}  // namespace
}  // namespace zorlet::test
