#include "LoginScreenTest.h"

#include "session/GetbackPwdViewController.h"
#include "session/LoginViewController.h"
#include "session/TpLoginViewController.h"

namespace zorlet::test {
namespace {

class LoginViewControllerTest : public LoginScreenTest {
protected:
    LoginViewController* openLogin() { return open<LoginViewController>("goLogin"); }
    void tapLogin(LoginViewController& login) { ASSERT_TRUE(tapButton(login, "login")); }
};

TEST_F(LoginViewControllerTest, TheFormHasItsTwoFieldsInRowsAndEveryPieceItsAutomationId) {
    LoginViewController* login = openLogin();
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(login->title(), "帐号登录");
    ASSERT_TRUE(login->loginFormTableView);
    EXPECT_EQ(login->loginFormTableView->numberOfRows(0), 2);
    EXPECT_EQ(login->loginFormTableView->rectForRow({0, 1}).height(), 45);
    ASSERT_TRUE(login->nameField && login->pwdField);
    EXPECT_TRUE(login->nameField->isDescendantOf(login->loginFormTableView->cellForRow({0, 0})));
    EXPECT_TRUE(login->pwdField->isDescendantOf(login->loginFormTableView->cellForRow({0, 1})));
    EXPECT_TRUE(login->pwdField->isSecureTextEntry());
    for (const char* id : {"login", "getbackPwd", "sinaLogin", "qqLogin", "dbLogin"}) {
        EXPECT_TRUE(find<View>(*login, id)) << id;
    }
    EXPECT_EQ(login->navigationItem().rightBarButtonItem()->title(), "完成");
}

TEST_F(LoginViewControllerTest, AnEmptyNameOrPasswordIsRefusedWithoutARequest) {
    server_.onJson("/passport/v132/login", homeEnvelope(9));
    LoginViewController* login = openLogin();
    ASSERT_NE(login, nullptr);
    for (auto [name, password] : {std::pair{"", ""}, {"zhang@example.com", ""}, {"", "secret1"}}) {
        login->nameField->setText(name);
        login->pwdField->setText(password);
        tapLogin(*login);
        EXPECT_EQ(topAlertTitle(), LoginViewController::kEmptyInputMessage) << name << "/" << password;
        EXPECT_EQ(AlertRegistry::shared().topAlert()->buttonTitle(0), "关闭");
        UserInput::answerAlert(0);
    }
    EXPECT_EQ(server_.countOf("/passport/v132/login"), 0u);
}

TEST_F(LoginViewControllerTest, TypingMovesFromNameToPasswordAndDoneSignsInToTheTabShell) {
    server_.onJson("/passport/v132/login", homeEnvelope(9));
    LoginViewController* login = openLogin();
    ASSERT_NE(login, nullptr);
    typeInto(*login->nameField, "zhang@example.com");
    ASSERT_TRUE(UserInput::pressReturn());
    EXPECT_EQ(Keyboard::shared().firstResponder(), login->pwdField.get());
    ASSERT_TRUE(UserInput::typeText("pa ss"));
    ASSERT_TRUE(UserInput::pressReturn());
    // The keyboard goes down and the work runs under a dimmed indicator on the window.
    EXPECT_FALSE(Keyboard::shared().isShown());
    auto* hud = ProgressHUD::HUDForView(window_.get());
    ASSERT_NE(hud, nullptr);
    EXPECT_TRUE(hud->dimBackground());

    ASSERT_TRUE(waitUntil([&] { return windowRootClass() == "ZorletTabBarController"; }));
    auto sent = server_.lastRequestTo("/passport/v132/login");
    EXPECT_EQ(sent.param("account"), "zhang@example.com");
    EXPECT_EQ(sent.param("password"), "pa ss");
    EXPECT_EQ(UserContext::getUid(), 9);
    // The signed-out stack is gone with the old root.
    EXPECT_EQ(window_->topViewController(), window_->rootViewController());
    EXPECT_EQ(ProgressHUD::HUDForView(window_.get()), nullptr);
}

TEST_F(LoginViewControllerTest, AUserWithoutACompletedGuideLandsOnTheGuideScreen) {
    server_.onJson("/passport/v132/login", homeEnvelope(4, false));
    LoginViewController* login = openLogin();
    ASSERT_NE(login, nullptr);
    login->nameField->setText("new@example.com");
    login->pwdField->setText("secret1");
    ASSERT_TRUE(UserInput::tapBarButton(*login->navigationItem().rightBarButtonItem()));
    ASSERT_TRUE(waitUntil([&] { return windowRootClass() == "CustomNavigationController"; }));
    auto* navigation = dynamic_cast<NavigationController*>(window_->rootViewController());
    ASSERT_NE(navigation, nullptr);
    EXPECT_EQ(navigation->topViewController()->className(), "GuideSettingViewController");
}

TEST_F(LoginViewControllerTest, ARefusalIsShownAndTheScreenStays) {
    server_.onJson("/passport/v132/login", refusalEnvelope(101, "帐号或密码错误"));
    LoginViewController* login = openLogin();
    ASSERT_NE(login, nullptr);
    login->nameField->setText("zhang@example.com");
    login->pwdField->setText("wrong1");
    tapLogin(*login);
    ASSERT_TRUE(waitForAlertOr([] { return false; }));
    EXPECT_EQ(topAlertTitle(), "帐号或密码错误");
    EXPECT_EQ(windowRootClass(), "WelcomeViewController");
    EXPECT_EQ(UserContext::getUid(), 0);

    // A dead server gives the generic text.
    UserInput::answerAlert(0);
    server_.on("/passport/v132/login", [](const RecordedRequest&, Reply& reply) { reply.status = 500; });
    tapLogin(*login);
    ASSERT_TRUE(waitForAlertOr([] { return false; }));
    EXPECT_EQ(topAlertTitle(), kGeneric);
}

TEST_F(LoginViewControllerTest, WithoutANetworkOnlyTheNetworkAlertShows) {
    LoginViewController* login = openLogin();
    ASSERT_NE(login, nullptr);
    login->nameField->setText("zhang@example.com");
    login->pwdField->setText("secret1");
    Reachability::shared().setNetworkAvailable(false);
    tapLogin(*login);
    loop().runPending();
    EXPECT_EQ(AlertRegistry::shared().shownAlertTitles(), std::vector<std::string>{"网络状态"});
    EXPECT_EQ(server_.countOf("/passport/v132/login"), 0u);
}

TEST_F(LoginViewControllerTest, EmojiInputChangesNothingInEitherField) {
    LoginViewController* login = openLogin();
    ASSERT_NE(login, nullptr);
    typeInto(*login->nameField, "ab");
    Keyboard::shared().setCurrentInputMode("emoji");
    UserInput::typeText("😀");
    UserInput::deleteBackward();
    EXPECT_EQ(login->nameField->text(), "ab");
    typeInto(*login->pwdField, "x");
    EXPECT_EQ(login->pwdField->text(), "");
    Keyboard::shared().setCurrentInputMode("zh-Hans");
    UserInput::typeText("好");
    EXPECT_EQ(login->pwdField->text(), "好");
}

TEST_F(LoginViewControllerTest, ProviderButtonsOpenTheSignInPagesAndBackCloses) {
    server_.on("/passport/tpLogin/8", [](const RecordedRequest&, Reply& reply) {
        reply.contentType = "text/html";
        reply.body = "<html><title>QQ</title></html>";
    });
    LoginViewController* login = openLogin();
    ASSERT_NE(login, nullptr);
    ASSERT_TRUE(tapButton(*login, "qqLogin"));
    auto* web = dynamic_cast<TpLoginViewController*>(window_->topViewController());
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->tpId, 8);
    EXPECT_EQ(web->authorizeType, 0);
    EXPECT_TRUE(web->lastModalTransitionAnimated());
    EXPECT_EQ(web->navigationBar->titleLabel()->text(), "使用QQ帐号登录");
    ASSERT_TRUE(waitUntil([&] { return web->webView->pageTitle() == "QQ"; }));
    EXPECT_FALSE(web->loadingView->isAnimating());

    ASSERT_NE(web->navigationBar->leftButton(), nullptr);
    ASSERT_TRUE(UserInput::tap(*web->navigationBar->leftButton()));
    loop().runPending();
    EXPECT_EQ(window_->topViewController(), login->navigationController());
}

TEST_F(LoginViewControllerTest, BackDismissesTheModalStackAndForgotPasswordIsPushed) {
    LoginViewController* login = openLogin();
    ASSERT_NE(login, nullptr);
    ASSERT_TRUE(tapButton(*login, "getbackPwd"));
    auto* navigation = login->navigationController();
    ASSERT_NE(navigation, nullptr);
    EXPECT_EQ(navigation->topViewController()->className(), "GetbackPwdViewController");
    EXPECT_EQ(navigation->topViewController()->title(), "找回密码");
    navigation->popViewController(false);
    ASSERT_TRUE(UserInput::tapBarButton(*login->navigationItem().leftBarButtonItem()));
    loop().runPending();
    EXPECT_EQ(welcome_->modalViewController(), nullptr);
}

}  // namespace
}  // namespace zorlet::test
