#include "SandboxFixture.h"

#include "sandbox/Connection.h"

namespace zorlet::sandbox::test {

namespace {

// The path and query of the link in a reset mail, to be opened on this sandbox.
std::string linkIn(const std::string& body) {
    auto start = body.find("/passport/resetpwd?token=");
    if (start == std::string::npos) {
        return {};
    }
    auto end = body.find_first_of(" \n", start);
    return body.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string tokenOf(const std::string& link) {
    return link.substr(link.find('=') + 1);
}

std::string askForLink(ApiClient& client, TestControl& control, const std::string& account) {
    auto sent = client.post("/passport/getbackpwd", {{"account", account}});
    EXPECT_TRUE(sent.success()) << sent.text;
    auto mails = control.outbox(account);
    EXPECT_FALSE(mails.empty());
    return mails.empty() ? std::string() : linkIn(mails.back().body);
}

}  // namespace

TEST_F(SandboxTest, TheResetLinkSetsANewPasswordOnceAndEndsTheOldSessions) {
    ASSERT_TRUE(control().createUser({"lost@example.com", "password1", "丢了"}));
    ApiClient oldDevice(port());
    oldDevice.signIn("lost@example.com", "password1");
    ApiClient browser(port());
    auto link = askForLink(browser, control(), "lost@example.com");
    ASSERT_FALSE(link.empty());
    auto mail = control().outbox("lost@example.com").back();
    EXPECT_EQ(mail.subject, "Zorlet 找回密码");
    EXPECT_NE(mail.body.find("请在24小时内打开下面的链接设置新密码"), std::string::npos);
    EXPECT_NE(mail.body.find("http://127.0.0.1:" + std::to_string(port()) + link), std::string::npos);

    auto page = browser.get(link);
    EXPECT_EQ(page.status, 200) << page.text;
    EXPECT_EQ(page.headers.find("Content-Type")->second, "text/html;charset=UTF-8");
    EXPECT_NE(page.text.find("<form method=\"post\""), std::string::npos) << page.text;
    EXPECT_NE(page.text.find(tokenOf(link)), std::string::npos);

    auto token = tokenOf(link);
    auto refusedAs = [&](const std::string& password, const std::string& confirmation) {
        auto answer = browser.post("/passport/resetpwd",
                                   {{"token", token}, {"pwd", password}, {"confirmPwd", confirmation}});
        EXPECT_EQ(answer.status, 400);
        return answer.text;
    };
    EXPECT_NE(refusedAs("12345", "12345").find("密码控制在6~32位之间"), std::string::npos);
    EXPECT_NE(refusedAs("newpass22", "newpass23").find("两次输入的密码不相符"), std::string::npos);

    auto done = browser.post("/passport/resetpwd",
                             {{"token", token}, {"pwd", "newpass22"}, {"confirmPwd", "newpass22"}});
    EXPECT_EQ(done.status, 200);
    EXPECT_NE(done.text.find("密码已重置"), std::string::npos) << done.text;

    EXPECT_EQ(oldDevice.get("/dialog/notice/nums").status, 401);
    EXPECT_EQ(
        browser.post("/passport/v132/login", {{"account", "lost@example.com"}, {"password", "password1"}})
            .errorInfo(),
        "账号或密码错误");
    EXPECT_TRUE(browser.signIn("lost@example.com", "newpass22").is_object());

    // A link works once.
    EXPECT_EQ(browser.get(link).status, 410);
    auto again = browser.post("/passport/resetpwd",
                              {{"token", token}, {"pwd", "thirdpass"}, {"confirmPwd", "thirdpass"}});
    EXPECT_EQ(again.status, 410);
    EXPECT_NE(again.text.find("链接已失效"), std::string::npos);
}

TEST_F(SandboxTest, ResetLinksExpireAfterADayAndUnknownOnesAreRefused) {
    ASSERT_TRUE(control().createUser({"late@example.com", "password1", "迟到"}));
    ApiClient browser(port());
    auto link = askForLink(browser, control(), "late@example.com");
    ASSERT_FALSE(link.empty());
    {
        auto connection = Connection::open((folder_ / "sandbox.db").string());
        ASSERT_TRUE(connection) << connection.error();
        (*connection)->prepare("UPDATE password_resets SET created = created - 86460").run();
    }
    EXPECT_EQ(browser.get(link).status, 410);
    auto late = browser.post("/passport/resetpwd",
                             {{"token", tokenOf(link)}, {"pwd", "newpass22"}, {"confirmPwd", "newpass22"}});
    EXPECT_EQ(late.status, 410);
    EXPECT_TRUE(browser.signIn("late@example.com", "password1").is_object());

    EXPECT_EQ(browser.get("/passport/resetpwd?token=0123456789abcdef0123456789abcdef").status, 410);
    EXPECT_EQ(browser.get("/passport/resetpwd?token=%3Cscript%3E").status, 410);
    EXPECT_EQ(browser.get("/passport/resetpwd").status, 410);
}

}  // namespace zorlet::sandbox::test
