#include "MyHomeTestSupport.h"

#include "app/InterfaceDescription.h"
#include "profile/PrivacyViewController.h"
#include "ui/Switch.h"

namespace zorlet::test {
namespace {

class PrivacyTest : public MyHomeTestBase {
protected:
    std::shared_ptr<PrivacyViewController> openPrivacy() {
        auto home = std::make_shared<ViewController>();
        show(home);
        auto privacy = std::make_shared<PrivacyViewController>();
        navigation_->pushViewController(privacy, false);
        return privacy;
    }
    Switch& switchAt(PrivacyViewController& privacy, int row) {
        cells_.push_back(privacy.cellForRow(*privacy.tableView, {0, row}));
        auto found =
            InterfaceDescription::find<Switch>(*cells_.back(), "privacySwitch" + std::to_string(row));
        EXPECT_TRUE(found) << row;
        return *found;
    }
    std::vector<TableViewCellPtr> cells_;
};

TEST_F(PrivacyTest, SwitchesShowTheOppositeOfTheHiddenFlags) {
    auto privacy = openPrivacy();
    EXPECT_EQ(privacy->title(), "隐私设置");
    EXPECT_EQ(privacy->numberOfRows(*privacy->tableView, 0), 2);
    EXPECT_FALSE(switchAt(*privacy, PrivacyViewController::PhoneRow).isOn());
    EXPECT_TRUE(switchAt(*privacy, PrivacyViewController::LocationRow).isOn());
    EXPECT_EQ(privacy->cellForRow(*privacy->tableView, {0, 1})->textLabel().text(), "显示我的位置");
    EXPECT_FALSE(privacy->saveButton()->isEnabled());

    signInWith(myHomeJson({{"tpId", 3}}));
    auto bound = openPrivacy();
    EXPECT_EQ(bound->numberOfRows(*bound->tableView, 0), 3);
    EXPECT_EQ(bound->cellForRow(*bound->tableView, {0, 2})->textLabel().text(), "自动同步我想去的");
}

TEST_F(PrivacyTest, SavingSendsAllFlagsAndUpdatesTheHomeOnlyOnSuccess) {
    auto privacy = openPrivacy();
    UserHomePtr records = UserContext::getUserHome();
    // Off and on again: still a change to save, of the original values.
    Switch& phone = switchAt(*privacy, PrivacyViewController::PhoneRow);
    ASSERT_TRUE(UserInput::toggleSwitch(phone));
    ASSERT_TRUE(UserInput::toggleSwitch(phone));
    EXPECT_TRUE(privacy->saveButton()->isEnabled());
    EXPECT_TRUE(navigation_->popAlert());
    ASSERT_TRUE(UserInput::toggleSwitch(switchAt(*privacy, PrivacyViewController::LocationRow)));
    EXPECT_TRUE(privacy->locationSecret);
    EXPECT_FALSE(records->locationSecret);

    // Refused: the error is shown, the switches and the unsaved state stay.
    server_.onJson("/profile/v132/savePrivacy", refusalEnvelope(100001, "隐私设置参数不正确"));
    ASSERT_TRUE(tapRight(*privacy));
    ASSERT_TRUE(waitForAnswer("/profile/v132/savePrivacy")) << [&] {
        std::string seen = lastAlertTitle() + " |";
        for (const auto& request : server_.requests()) {
            seen += " " + request.path;
        }
        return seen;
    }();
    ASSERT_TRUE(waitUntil([&] { return !lastAlertTitle().empty(); }));
    EXPECT_EQ(lastAlertTitle(), "隐私设置参数不正确");
    EXPECT_TRUE(privacy->saveButton()->isEnabled());
    EXPECT_TRUE(navigation_->popAlert());
    EXPECT_FALSE(records->locationSecret);
    auto sent = server_.lastRequestTo("/profile/v132/savePrivacy");
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.param("uid"), "42");
    EXPECT_EQ(sent.param("locationSecret"), "1");
    EXPECT_EQ(sent.param("phoneSecret"), "1");
    EXPECT_EQ(sent.param("synchronizeSecret"), "0");
    AlertRegistry::shared().clear();

    // A transport failure: the generic message, nothing changes.
    server_.onJson("/profile/v132/savePrivacy", "down", 503);
    ASSERT_TRUE(tapRight(*privacy));
    ASSERT_TRUE(waitUntil([&] { return lastAlertTitle() == kGeneric; }));
    EXPECT_TRUE(privacy->saveButton()->isEnabled());
    AlertRegistry::shared().clear();

    // Saved: the home takes the answer; the screen stays, clean.
    server_.onJson("/profile/v132/savePrivacy", okEnvelope(myHomeJson({}, {{"locationSecret", true}})));
    ASSERT_TRUE(tapRight(*privacy));
    ASSERT_TRUE(waitUntil([&] { return !privacy->saveButton()->isEnabled(); }));
    EXPECT_TRUE(records->locationSecret);
    EXPECT_EQ(UserContext::getUserHome(), records);
    EXPECT_FALSE(navigation_->popAlert());
    EXPECT_EQ(top<PrivacyViewController>(), privacy.get());
    ProgressHUD* hud = ProgressHUD::HUDForView(&navigation_->view());
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->labelText(), "保存成功");
    loop().advance(Duration(2500));
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());

    // No network: nothing is sent and no indicator is left behind.
    Reachability::shared().setNetworkAvailable(false);
    std::size_t count = server_.countOf("/profile/v132/savePrivacy");
    privacy->save();
    ASSERT_NE(AlertRegistry::shared().topAlert(), nullptr);
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "网络不存在");
    EXPECT_EQ(server_.countOf("/profile/v132/savePrivacy"), count);
    loop().advance(Duration(1000));
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view()), nullptr);
}

TEST_F(PrivacyTest, AnHttp401OnSavingSignsOut) {
    auto privacy = openPrivacy();
    UserHomePtr records = UserContext::getUserHome();
    ASSERT_TRUE(UserInput::toggleSwitch(switchAt(*privacy, PrivacyViewController::LocationRow)));
    server_.onJson("/profile/v132/savePrivacy", "{}", 401);
    ASSERT_TRUE(tapRight(*privacy));
    ASSERT_TRUE(waitUntil([] { return !UserContext::hasLogin(); }));
    ASSERT_NE(window_->rootViewController(), nullptr);
    EXPECT_EQ(window_->rootViewController()->className(), "WelcomeViewController");
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
    EXPECT_TRUE(waitUntil([&] { return ProgressHUD::HUDForView(&navigation_->view()) == nullptr; }));
    EXPECT_EQ(server_.countOf("/profile/v132/savePrivacy"), 1u);
    EXPECT_FALSE(records->locationSecret);
}

TEST_F(PrivacyTest, LeavingWithUnsavedSwitchesAsksFirst) {
    auto privacy = openPrivacy();
    ASSERT_TRUE(UserInput::toggleSwitch(switchAt(*privacy, PrivacyViewController::PhoneRow)));
    navigation_->popViewController();
    EXPECT_EQ(top<PrivacyViewController>(), privacy.get());
    EXPECT_NE(AlertRegistry::shared().topAlert(), nullptr);
}

}  // namespace
}  // namespace zorlet::test
