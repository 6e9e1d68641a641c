#include "LoginScreenTest.h"

#include "session/GetbackPwdViewController.h"
#include "session/LoginViewController.h"

namespace zorlet::test {
namespace {

class GetbackPwdViewControllerTest : public LoginScreenTest {
protected:
    void SetUp() override {
        LoginScreenTest::SetUp();
        login_ = open<LoginViewController>("goLogin");
        ASSERT_NE(login_, nullptr);
        ASSERT_TRUE(tapButton(*login_, "getbackPwd"));
        screen_ =
            dynamic_cast<GetbackPwdViewController*>(login_->navigationController()->topViewController());
        ASSERT_NE(screen_, nullptr);
    }
    NavigationController& navigation() { return *login_->navigationController(); }

    LoginViewController* login_ = nullptr;
    GetbackPwdViewController* screen_ = nullptr;
};

TEST_F(GetbackPwdViewControllerTest, TheTrimmedAccountIsSentAndTheUserIsToldWhereToLook) {
    server_.onJson("/passport/getbackpwd", R"({"success":true})");
    auto keep = screen_->shared_from_this();
    screen_->textField->setText(" \t zhang@example.com\n\u3000");
    ASSERT_TRUE(tapButton(*screen_, "getback"));
    auto* hud = ProgressHUD::HUDForView(&navigation().view());
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->labelText(), "发送中...");
    EXPECT_TRUE(hud->dimBackground());
    ASSERT_TRUE(waitForAlertOr([] { return false; }));

    EXPECT_EQ(server_.lastRequestTo("/passport/getbackpwd").param("account"), "zhang@example.com");
    AlertView* alert = AlertRegistry::shared().topAlert();
    EXPECT_EQ(alert->title(), "邮件已发出");
    EXPECT_EQ(alert->message(), "去zhang@example.com收信");
    EXPECT_EQ(alert->buttonTitles(), std::vector<std::string>{"知道了"});
    EXPECT_EQ(navigation().topViewController(), screen_);

    ASSERT_TRUE(UserInput::answerAlert(0));
    EXPECT_EQ(navigation().topViewController(), login_);
    EXPECT_EQ(screen_->textField->text(), "");
}

TEST_F(GetbackPwdViewControllerTest, ABlankAccountIsRefusedHere) {
    screen_->textField->setText("  \n ");
    ASSERT_TRUE(tapButton(*screen_, "getback"));
    AlertView* alert = AlertRegistry::shared().topAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->message(), "请输入需要找回密码的登录账号");
    EXPECT_EQ(alert->buttonTitles(), std::vector<std::string>{"确认"});
    EXPECT_EQ(server_.countOf("/passport/getbackpwd"), 0u);
}

TEST_F(GetbackPwdViewControllerTest, RefusalsShowTheServerTextOrTheGenericOne) {
    screen_->textField->setText("who@example.com");
    for (auto [body, expected] : {std::pair{refusalEnvelope(7, "该帐号不存在"), std::string("该帐号不存在")},
                                  {R"({"success":false,"errorInfo":null})", std::string(kGeneric)},
                                  {R"({"success":"true"})", std::string(kGeneric)}}) {
        server_.onJson("/passport/getbackpwd", body);
        ASSERT_TRUE(tapButton(*screen_, "getback"));
        ASSERT_TRUE(waitForAlertOr([] { return false; }));
        EXPECT_EQ(topAlertTitle(), expected) << body;
        UserInput::answerAlert(0);
        EXPECT_EQ(navigation().topViewController(), screen_);
        EXPECT_EQ(screen_->textField->text(), "who@example.com");
    }
}

TEST_F(GetbackPwdViewControllerTest, AFailedRequestGetsTheStandardTreatment) {
    screen_->textField->setText("who@example.com");
    server_.on("/passport/getbackpwd", [](const RecordedRequest&, Reply& reply) { reply.status = 500; });
    ASSERT_TRUE(tapButton(*screen_, "getback"));
    ASSERT_TRUE(waitForAlertOr([] { return false; }));
    EXPECT_EQ(topAlertTitle(), kGeneric);
}

}  // namespace
}  // namespace zorlet::test
