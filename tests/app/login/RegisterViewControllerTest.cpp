#include "LoginScreenTest.h"

#include "platform/UnicodeText.h"
#include "session/RegisterViewController.h"

namespace zorlet::test {
namespace {

class RegisterViewControllerTest : public LoginScreenTest {
protected:
    void SetUp() override {
        LoginScreenTest::SetUp();
        screen_ = open<RegisterViewController>("goRegister");
        ASSERT_NE(screen_, nullptr);
    }
    void fill(const std::string& account, const std::string& nickname, const std::string& password,
              const std::string& confirmation) {
        screen_->accountField->setText(account);
        screen_->nicknameField->setText(nickname);
        screen_->passwordField->setText(password);
        screen_->confirmPwdField->setText(confirmation);
    }
    // Taps "完成" and returns the message shown (answering it), or "" when none.
    std::string submit() {
        AlertRegistry::shared().clear();
        UserInput::tapBarButton(*screen_->navigationItem().rightBarButtonItem());
        if (AlertRegistry::shared().topAlert() == nullptr) {
            return {};
        }
        std::string title = topAlertTitle();
        UserInput::answerAlert(0);
        return title;
    }
    std::string submitWith(const std::string& account, const std::string& nickname = "小明",
                           const std::string& password = "secret1", const std::string& confirmation = "") {
        fill(account, nickname, password, confirmation.empty() ? password : confirmation);
        return submit();
    }

    RegisterViewController* screen_ = nullptr;
};

TEST_F(RegisterViewControllerTest, EachCheckInItsOrderNamesItsFieldAndPutsTheCursorThere) {
    EXPECT_EQ(screen_->title(), "帐号注册");
    EXPECT_EQ(screen_->registerFormTableView->numberOfRows(0), 4);
    EXPECT_EQ(screen_->registerFormTableView->cellForRow({0, 2}), screen_->passwordCell.get());

    struct Case {
        const char* account;
        const char* nickname;
        const char* password;
        const char* confirmation;
        const char* message;
        TextField* field;
    };
    TextField* account = screen_->accountField.get();
    TextField* nickname = screen_->nicknameField.get();
    TextField* password = screen_->passwordField.get();
    TextField* confirmation = screen_->confirmPwdField.get();
    // Each case breaks every rule after its own, so only the order can pick the message.
    const Case cases[] = {
        {"", "", "1", "", "请输入正确格式的邮箱", account},
        {"not-an-address", "", "1", "", "请输入正确格式的邮箱", account},
        {"a@b.com", "", "1", "", "昵称不能为空", nickname},
        {"a@b.com", "一二三四五六七八九十壹", "1", "", "昵称不能超过10个字", nickname},
        {"a@b.com", "小明", "12345", "", "密码控制在6~32位之间", password},
        {"a@b.com", "小明", "123456", "", "请输入确认密码", confirmation},
        {"a@b.com", "小明", "123456", "654321", "两次输入的密码不相符", confirmation},
    };
    for (const auto& c : cases) {
        fill(c.account, c.nickname, c.password, c.confirmation);
        EXPECT_EQ(submit(), c.message) << c.message;
        EXPECT_EQ(Keyboard::shared().firstResponder(), c.field) << c.message;
    }
    EXPECT_EQ(server_.countOf("/passport/v132/register"), 0u);
}

TEST_F(RegisterViewControllerTest, TheAddressCheckFollowsThePattern) {
    for (const char* good :
         {"a@localhost", "first.last@mail.example.com", "u_1-x@a-b.cn", "_@-", "A9@B9.C9"}) {
        EXPECT_TRUE(UnicodeText::isEmail(good)) << good;
    }
    for (const char* bad : {"a.@b.com", "a@b.com.", ".a@b.com", "a@@b.com", "a@.b", "a b@c.com",
                            "张三@例子.cn", "a@b..com", "a+b@c.com", "@b.com", "a@"}) {
        EXPECT_FALSE(UnicodeText::isEmail(bad)) << bad;
    }
    // Through the screen as well: a domain without a dot is accepted.
    EXPECT_NE(submitWith("someone@intranet"), "请输入正确格式的邮箱");
    EXPECT_EQ(submitWith("someone.@example.com"), "请输入正确格式的邮箱");
    EXPECT_EQ(submitWith("someone@example.com."), "请输入正确格式的邮箱");
}

TEST_F(RegisterViewControllerTest, NicknameAndPasswordLimitsAreInclusive) {
    server_.onJson("/passport/v132/register", refusalEnvelope(3, "测试到此为止"));
    auto passes = [&](const std::string& nickname, const std::string& password) {
        std::string message = submitWith("a@b.com", nickname, password);
        // Passing every check sends the request; its refusal is what comes back.
        if (message.empty()) {
            waitForAlertOr([] { return false; });
            message = topAlertTitle();
            UserInput::answerAlert(0);
        }
        return message == "测试到此为止";
    };
    EXPECT_TRUE(passes("一二三四五六七八九十", "secret1"));
    EXPECT_FALSE(passes("一二三四五六七八九十壹", "secret1"));
    EXPECT_TRUE(passes("abcdefghijklmnopqrst", "secret1"));
    EXPECT_FALSE(passes("abcdefghijklmnopqrstu", "secret1"));
    EXPECT_TRUE(passes("小明", std::string(6, 'x')));
    EXPECT_TRUE(passes("小明", std::string(32, 'x')));
    EXPECT_FALSE(passes("小明", std::string(5, 'x')));
    EXPECT_FALSE(passes("小明", std::string(33, 'x')));
}

TEST_F(RegisterViewControllerTest, DoneMovesThroughTheFieldsAndSubmitsFromTheLast) {
    ASSERT_TRUE(UserInput::tap(*screen_->accountField));
    UserInput::typeText("a@b.com");
    UserInput::pressReturn();
    EXPECT_EQ(Keyboard::shared().firstResponder(), screen_->nicknameField.get());
    UserInput::typeText("小明");
    UserInput::pressReturn();
    EXPECT_EQ(Keyboard::shared().firstResponder(), screen_->passwordField.get());
    UserInput::typeText("secret1");
    UserInput::pressReturn();
    EXPECT_EQ(Keyboard::shared().firstResponder(), screen_->confirmPwdField.get());
    UserInput::typeText("secret2");
    UserInput::pressReturn();
    EXPECT_EQ(topAlertTitle(), "两次输入的密码不相符");

    Keyboard::shared().setCurrentInputMode("emoji");
    UserInput::typeText("x");
    EXPECT_EQ(screen_->confirmPwdField->text(), "secret2");
}

TEST_F(RegisterViewControllerTest, ASuccessfulRegistrationSignsInAndReplacesTheRoot) {
    server_.on("/passport/v132/register", [](const RecordedRequest&, Reply& reply) {
        reply.body = homeEnvelope(21, false);
        reply.setCookies = {"p_token=P21; Path=/", "l_token=L21; Path=/"};
    });
    std::size_t registrations = eventCount("localRegister");
    std::string message = submitWith("new@example.com", "新人", "pass word", "pass word");
    EXPECT_EQ(message, "");
    auto* hud = ProgressHUD::HUDForView(&screen_->navigationController()->view());
    ASSERT_NE(hud, nullptr);
    EXPECT_TRUE(hud->dimBackground());
    ASSERT_TRUE(waitUntil([&] { return windowRootClass() == "CustomNavigationController"; }));

    auto sent = server_.lastRequestTo("/passport/v132/register");
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.param("account"), "new@example.com");
    EXPECT_EQ(sent.param("nickname"), "新人");
    EXPECT_EQ(sent.param("pwd"), "pass word");
    EXPECT_EQ(sent.param("confirmPwd"), "pass word");
    EXPECT_EQ(UserContext::getUid(), 21);
    EXPECT_EQ(storedTokens()->pToken, "P21");
    EXPECT_EQ(eventCount("localRegister"), registrations + 1);
}

TEST_F(RegisterViewControllerTest, RefusalsAndFailuresAreShownAndNothingIsSignedIn) {
    std::size_t registrations = eventCount("localRegister");
    server_.onJson("/passport/v132/register", refusalEnvelope(5, "该邮箱已被注册"));
    submitWith("taken@example.com");
    ASSERT_TRUE(waitForAlertOr([] { return false; }));
    EXPECT_EQ(topAlertTitle(), "该邮箱已被注册");
    UserInput::answerAlert(0);

    // Success without the new home would sign in nobody: treated as a failed request.
    server_.onJson("/passport/v132/register", R"({"success":true,"result":null})");
    submitWith("odd@example.com");
    ASSERT_TRUE(waitForAlertOr([] { return false; }));
    EXPECT_EQ(topAlertTitle(), kGeneric);
    UserInput::answerAlert(0);

    server_.on("/passport/v132/register", [](const RecordedRequest&, Reply& reply) { reply.status = 502; });
    submitWith("down@example.com");
    ASSERT_TRUE(waitForAlertOr([] { return false; }));
    EXPECT_EQ(topAlertTitle(), kGeneric);
    EXPECT_EQ(UserContext::getUid(), 0);
    EXPECT_EQ(windowRootClass(), "WelcomeViewController");
    EXPECT_EQ(eventCount("localRegister"), registrations);
}

}  // namespace
}  // namespace zorlet::test
