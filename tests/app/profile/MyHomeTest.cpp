#include "MyHomeTestSupport.h"

#include "app/ConfigViewController.h"
#include "model/Preference.h"
#include "people/InterestUserViewController.h"
#include "people/InviteInputViewController.h"
#include "people/UserPostViewController.h"
#include "profile/EditorListViewController.h"
#include "profile/ProfileSettingViewController.h"
#include "profile/UserPreferenceSettingViewController.h"
#include "session/AuthorizeBindViewController.h"
#include "session/AuthorizeExpiredViewController.h"
#include "ui/MailComposeViewController.h"
#include "ui/MessageComposeViewController.h"

namespace zorlet::test {
namespace {

class MyHomeTest : public MyHomeTestBase {
protected:
    std::shared_ptr<HomeViewController> openHome() {
        auto home = std::make_shared<HomeViewController>();
        show(home);
        return home;
    }
    std::string detail(HomeViewController& home, int section, int row) {
        return home.cellForRow(*home.infoTableView, {section, row})->detailTextLabel().text();
    }
    std::string text(HomeViewController& home, int section, int row) {
        return home.cellForRow(*home.infoTableView, {section, row})->textLabel().text();
    }
    // Pulls the table and waits until the refresh has ended one way or the other.
    bool pull(HomeViewController& home) {
        home.pullRefreshHeaderDidTriggerRefresh(*home.refreshHeaderView);
        return waitUntil([&] { return !home.reloading; });
    }
};

TEST_F(MyHomeTest, ShowsTheSignedInUsersRecords) {
    auto home = openHome();
    EXPECT_EQ(home->title(), "阿明");
    EXPECT_EQ(home->postListButton->title(), "3");
    EXPECT_NE(home->infoLabel->text().find("双鱼座 程序员"), std::string::npos);
    EXPECT_TRUE(home->logoVerifyLabel->isHidden());
    TableView& table = *home->infoTableView;
    EXPECT_EQ(home->numberOfSections(table), 4);
    EXPECT_EQ(text(*home, 0, 0), "我的关注 (2)");
    EXPECT_EQ(text(*home, 0, 1), "我的粉丝 (0)");
    EXPECT_EQ(detail(*home, 1, 0), "喜欢爬山");
    EXPECT_EQ(detail(*home, 1, 1), "北京");
    EXPECT_EQ(detail(*home, 2, 0), "未绑定");
    EXPECT_EQ(home->cellForRow(table, {2, 0})->detailTextLabel().textColor(), Color::redColor());
    EXPECT_EQ(detail(*home, 2, 1), "2012.12.07");
    EXPECT_EQ(text(*home, 3, 3), "问题4");
    EXPECT_EQ(detail(*home, 3, 3), "还没有填写");
    EXPECT_EQ(home->heightForRow(table, {0, 0}), 45);

    // Five questions make a last section of one; an empty self-description invites one in a short row.
    Json home5 = myHomeJson({{"feature", ""}, {"logoVerifyState", 3}, {"tpId", 6}, {"tpName", "weibo"}});
    home5["preferenceViews"].push_back(myQuestion(5, 1, Json::array({2}), "选项2"));
    signInWith(home5);
    home->showUserInfo();
    EXPECT_FALSE(home->logoVerifyLabel->isHidden());
    EXPECT_EQ(home->numberOfSections(table), 5);
    EXPECT_EQ(home->numberOfRows(table, 4), 1);
    EXPECT_EQ(detail(*home, 4, 0), "选项2");
    EXPECT_EQ(home->heightForRow(table, {4, 0}), 45);
    EXPECT_GT(home->heightForRow(table, {3, 0}), 45);
    EXPECT_EQ(detail(*home, 1, 0), HomeViewController::kFeaturePlaceholder);
    EXPECT_EQ(home->heightForRow(table, {1, 0}), 58);
    EXPECT_EQ(detail(*home, 2, 0), "已绑定：新浪微博");

    Json none = myHomeJson();
    none["preferenceViews"] = Json::array();
    signInWith(none);
    EXPECT_EQ(home->numberOfSections(table), 3);
}

TEST_F(MyHomeTest, RefreshUpdatesTheSameRecordsInPlace) {
    auto home = openHome();
    UserHomePtr records = UserContext::getUserHome();
    UserPtr user = UserContext::getUser();
    Json fresh = myHomeJson({{"postCount", 7}, {"interestMeCount", 5}, {"feature", "改了简介"}},
                            {{"locationSecret", true}});
    fresh["preferenceViews"][1] = myQuestion(2, 1, Json::array({1}), "选项1");
    server_.onJson("/home/v132/refresh", okEnvelope(fresh));
    ASSERT_TRUE(pull(*home));
    EXPECT_EQ(server_.lastRequestTo("/home/v132/refresh").method, "GET");
    EXPECT_EQ(UserContext::getUserHome(), records);
    EXPECT_EQ(UserContext::getUser(), user);
    EXPECT_EQ(user->postCount, 7);
    EXPECT_TRUE(records->locationSecret);
    EXPECT_EQ(home->postListButton->title(), "7");
    EXPECT_EQ(text(*home, 0, 1), "我的粉丝 (5)");
    EXPECT_EQ(detail(*home, 1, 0), "改了简介");
    EXPECT_EQ(detail(*home, 3, 1), "选项1");
    EXPECT_TRUE(home->lastUpdateDate.has_value());
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view()), nullptr);
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
}

TEST_F(MyHomeTest, AFailedRefreshChangesNothingAndLetsTheUserPullAgain) {
    auto home = openHome();
    UserPtr user = UserContext::getUser();

    // Refused: nothing shown, nothing changed.
    server_.onJson("/home/v132/refresh", refusalEnvelope(1, "不行"));
    ASSERT_TRUE(pull(*home));
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
    EXPECT_EQ(user->postCount, 3);
    EXPECT_FALSE(home->lastUpdateDate.has_value());

    // An answer about somebody else never replaces the signed-in user.
    server_.onJson("/home/v132/refresh", okEnvelope(myHomeJson({{"uid", 43}, {"postCount", 9}})));
    ASSERT_TRUE(pull(*home));
    EXPECT_EQ(user->uid, 42);
    EXPECT_EQ(user->postCount, 3);

    // A server fault or a broken body: the generic message.
    server_.onJson("/home/v132/refresh", "oops", 500);
    ASSERT_TRUE(pull(*home));
    EXPECT_EQ(lastAlertTitle(), kGeneric);
    AlertRegistry::shared().clear();
    server_.onJson("/home/v132/refresh", "{not json");
    ASSERT_TRUE(pull(*home));
    EXPECT_EQ(user->postCount, 3);

    // No network: the user is told, nothing is sent, and the header is free again.
    Reachability::shared().setNetworkAvailable(false);
    std::size_t sent = server_.countOf("/home/v132/refresh");
    ASSERT_TRUE(pull(*home));
    EXPECT_EQ(server_.countOf("/home/v132/refresh"), sent);
    EXPECT_FALSE(home->reloading);
    Reachability::shared().setNetworkAvailable(true);
    AlertRegistry::shared().clear();

    // The server no longer knows the session: signed out.
    server_.onJson("/home/v132/refresh", "{}", 401);
    ASSERT_TRUE(pull(*home));
    EXPECT_FALSE(UserContext::hasLogin());
}

TEST_F(MyHomeTest, RowsAndButtonsOpenTheirScreens) {
    auto home = openHome();
    TableView& table = *home->infoTableView;
    // No followers: the row does nothing. Followed users: their list.
    ASSERT_TRUE(UserInput::tapRow(table, {0, 1}));
    EXPECT_EQ(navigation_->viewControllers().size(), 1u);
    ASSERT_TRUE(UserInput::tapRow(table, {0, 0}));
    auto* following = top<InterestUserViewController>();
    ASSERT_NE(following, nullptr);
    EXPECT_TRUE(following->isInterest);
    EXPECT_TRUE(following->hidesBottomBarWhenPushed());
    navigation_->popToRootViewController(false);

    ASSERT_TRUE(UserInput::tap(*home->postListButton));
    auto* posts = top<UserPostViewController>();
    ASSERT_NE(posts, nullptr);
    EXPECT_FALSE(posts->user);
    navigation_->popToRootViewController(false);

    ASSERT_TRUE(UserInput::tapRow(table, {1, 1}));
    EXPECT_NE(top<ProfileSettingViewController>(), nullptr);
    navigation_->popToRootViewController(false);
    ASSERT_TRUE(UserInput::tapRow(table, {2, 0}));
    EXPECT_NE(top<AuthorizeBindViewController>(), nullptr);
    navigation_->popToRootViewController(false);
    ASSERT_TRUE(UserInput::tapRow(table, {2, 1}));
    EXPECT_EQ(navigation_->viewControllers().size(), 1u);
    ASSERT_TRUE(UserInput::tapRow(table, {3, 2}));
    EXPECT_NE(top<UserPreferenceSettingViewController>(), nullptr);
    navigation_->popToRootViewController(false);
    ASSERT_TRUE(tapRight(*home));
    EXPECT_NE(top<EditorListViewController>(), nullptr);
    navigation_->popToRootViewController(false);

    ASSERT_TRUE(UserInput::tap(*home->configButton));
    auto* config = top<ConfigViewController>();
    ASSERT_NE(config, nullptr);
    EXPECT_FALSE(config->hidesBottomBarWhenPushed());
    navigation_->popToRootViewController(false);

    home->logoClick();
    auto* modal = dynamic_cast<NavigationController*>(home->modalViewController());
    ASSERT_NE(modal, nullptr);
    EXPECT_NE(dynamic_cast<ProfileSettingViewController*>(modal->topViewController()), nullptr);
    home->dismissModalViewController(false);

    // Nothing to open without posts; an expired binding opens its renewal; a bound one nothing.
    signInWith(myHomeJson({{"postCount", 0}, {"tpId", 7}, {"tokenExpired", true}}));
    home->showUserInfo();
    ASSERT_TRUE(UserInput::tap(*home->postListButton));
    EXPECT_EQ(navigation_->viewControllers().size(), 1u);
    EXPECT_EQ(detail(*home, 2, 0), "授权已过期");
    ASSERT_TRUE(UserInput::tapRow(table, {2, 0}));
    EXPECT_NE(top<AuthorizeExpiredViewController>(), nullptr);
    navigation_->popToRootViewController(false);
    signInWith(myHomeJson({{"tpId", 7}}));
    ASSERT_TRUE(UserInput::tapRow(table, {2, 0}));
    EXPECT_EQ(navigation_->viewControllers().size(), 1u);
}

TEST_F(MyHomeTest, InvitingFriendsByMailSmsOrThePlatform) {
    auto home = openHome();
    ASSERT_TRUE(tapLeft(*home));
    ActionSheet* sheet = AlertRegistry::shared().topSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->title(), "邀请好友");
    EXPECT_EQ(sheet->buttonTitle(0), "通过邮件邀请");
    EXPECT_EQ(sheet->buttonTitle(1), "通过短信邀请");
    ASSERT_TRUE(UserInput::answerSheet(1));
    auto* sms = dynamic_cast<MessageComposeViewController*>(home->modalViewController());
    ASSERT_NE(sms, nullptr);
    EXPECT_EQ(sms->body(), std::string(HomeViewController::kInviteSmsText) + UrlUtils::webBaseUrl());
    home->messageComposeViewController(*sms, ComposeResult::Failed);
    EXPECT_EQ(home->modalViewController(), nullptr);
    EXPECT_EQ(lastAlertTitle(), "短信发送失败");
    AlertRegistry::shared().clear();

    ASSERT_TRUE(tapLeft(*home));
    ASSERT_TRUE(UserInput::answerSheet(0));
    auto* mail = dynamic_cast<MailComposeViewController*>(home->modalViewController());
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->subject(), "发现一个不错的社区，蛮有新意的");
    EXPECT_TRUE(mail->isBodyHTML());
    EXPECT_NE(mail->messageBody().find(">去看看</a>"), std::string::npos);
    home->mailComposeController(*mail, ComposeResult::Sent);
    EXPECT_EQ(home->modalViewController(), nullptr);

    MessageComposeViewController::setCanSendText(false);
    MailComposeViewController::setCanSendMail(false);
    home->displaySMSComposerSheet();
    EXPECT_EQ(lastAlertTitle(), "设备没有短信功能");
    home->displayMailPicker();
    EXPECT_EQ(lastAlertTitle(), "用户没有设置邮件账户");
    EXPECT_EQ(home->modalViewController(), nullptr);
    AlertRegistry::shared().clear();

    // A bound account invites through its platform first.
    signInWith(myHomeJson({{"tpId", 6}, {"tpName", "weibo"}}));
    ASSERT_TRUE(tapLeft(*home));
    sheet = AlertRegistry::shared().topSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->buttonTitle(0), "通过新浪微博邀请");
    EXPECT_EQ(home->shareToSmsButtonIdex, 2);
    ASSERT_TRUE(UserInput::answerSheet(0));
    auto* modal = dynamic_cast<NavigationController*>(home->modalViewController());
    ASSERT_NE(modal, nullptr);
    auto* invite = dynamic_cast<InviteInputViewController*>(modal->topViewController());
    ASSERT_NE(invite, nullptr);
    EXPECT_EQ(invite->navTitle, "通过新浪微博邀请");
}

}  // namespace
}  // namespace zorlet::test
