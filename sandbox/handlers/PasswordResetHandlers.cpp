#include "sandbox/handlers/PasswordResetHandlers.h"

#include "platform/UnicodeText.h"
#include "sandbox/Envelope.h"
#include "sandbox/HtmlPage.h"
#include "sandbox/LoginThrottle.h"
#include "sandbox/PasswordResets.h"
#include "sandbox/Passwords.h"
#include "sandbox/Records.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TextRules.h"

namespace zorlet::sandbox {

namespace {

constexpr const char* path = "/passport/resetpwd";

Reply invalidLink() {
    return HtmlPage::reply(410, "链接已失效",
                           "<h1>链接已失效</h1>\n<p>这个找回密码的链接已经用过或超过了24小时，"
                           "请回到Zorlet重新找回密码。</p>");
}

Reply form(int status, const std::string& token, const std::string& account, const std::string& problem) {
    std::string body = "<h1>设置新密码</h1>\n<p>为账号 " + TextRules::htmlEscape(account) +
                       " 设置新的登录密码（6~32位）。</p>\n";
    if (!problem.empty()) {
        body += "<p role=\"alert\"><strong>" + TextRules::htmlEscape(problem) + "</strong></p>\n";
    }
    body += std::string("<form method=\"post\" action=\"") + path +
            "\">\n"
            "<input type=\"hidden\" name=\"token\" value=\"" +
            TextRules::htmlEscape(token) +
            "\">\n"
            "<p><label>新密码 <input type=\"password\" name=\"pwd\" autocomplete=\"new-password\" required>"
            "</label></p>\n"
            "<p><label>确认密码 <input type=\"password\" name=\"confirmPwd\" autocomplete=\"new-password\" "
            "required></label></p>\n"
            "<p><button type=\"submit\">保存新密码</button></p>\n</form>";
    return HtmlPage::reply(status, "设置新密码", body);
}

// The account a token may reset, or nothing when the link is no longer good.
std::optional<UserRecord> holderOf(Call& call, const std::string& token) {
    std::optional<UserRecord> user;
    call.service.database.read([&](Connection& connection) {
        if (auto uid = PasswordResets::holder(connection, token, call.view.now)) {
            user = Records::user(connection, *uid);
        }
    });
    return user;
}

Reply showForm(Call& call) {
    auto token = call.params.text("token").value_or("");
    auto user = holderOf(call, token);
    if (!user) {
        return invalidLink();
    }
    return form(200, token, user->account, "");
}

Reply setPassword(Call& call) {
    auto token = call.params.text("token").value_or("");
    auto user = holderOf(call, token);
    if (!user) {
        return invalidLink();
    }
    auto password = call.params.text("pwd").value_or("");
    auto confirmation = call.params.text("confirmPwd").value_or("");
    auto length = static_cast<std::int64_t>(UnicodeText::utf16Length(password));
    if (length < 6 || length > 32) {
        return form(400, token, user->account, "密码控制在6~32位之间");
    }
    if (confirmation.empty()) {
        return form(400, token, user->account, "请输入确认密码");
    }
    if (confirmation != password) {
        return form(400, token, user->account, "两次输入的密码不相符");
    }

    // Hash before taking the write lock: it is the slow part.
    auto hash = Passwords::hash(password, call.service.options.passwordCost);
    if (!hash) {
        return HtmlPage::reply(500, "出错了", "<p>服务器出错了，请稍后再试。</p>");
    }
    bool changed = false;
    call.service.database.write([&](Connection& connection) {
        // The link may have been used meanwhile, or the account removed.
        auto uid = PasswordResets::holder(connection, token, call.view.now);
        if (!uid || *uid != user->uid) {
            return;
        }
        connection.prepare("UPDATE users SET password_hash = ? WHERE uid = ?")
            .bind(1, *hash)
            .bind(2, *uid)
            .run();
        // Whoever knew the old password must not stay signed in.
        call.service.sessions.revokeAll(connection, *uid);
        PasswordResets::closeAll(connection, *uid);
        changed = true;
    });
    if (!changed) {
        return invalidLink();
    }
    call.service.logins.succeeded(user->account);
    return HtmlPage::reply(200, "密码已重置",
                           "<h1>密码已重置</h1>\n<p>密码已重置，请回到Zorlet用新密码登录。"
                           "其他设备上的登录已经退出。</p>");
}

}  // namespace

void PasswordResetHandlers::install(Routes& routes) {
    routes.page(path, showForm);
    routes.form(path, setPassword);
}

}  // namespace zorlet::sandbox
