#include "sandbox/handlers/AccountHandlers.h"

#include "platform/UnicodeText.h"
#include "sandbox/Accounts.h"
#include "sandbox/Envelope.h"
#include "sandbox/LoginThrottle.h"
#include "sandbox/PasswordResets.h"
#include "sandbox/Passwords.h"
#include "sandbox/Records.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TextRules.h"

#include <ctime>

namespace zorlet::sandbox {

namespace {

constexpr const char* sessionEnded = "登录已失效，请重新登录";
constexpr const char* wrongCredentials = "账号或密码错误";

bool isEmpty(const std::optional<std::string>& text) {
    return !text || text->empty();
}

Reply login(Call& call) {
    auto account = call.params.text("account");
    auto password = call.params.text("password");
    if (!account && !password) {
        // The session check: cookies only. A refusal here is an answer (200), not a 401,
        // so the client forgets the stored tokens.
        if (!call.uid) {
            return Envelope::refuse(ErrorCode::NotSignedIn, sessionEnded);
        }
        Reply reply;
        call.service.database.read([&](Connection& connection) {
            // The session was live a moment ago; the user may have been removed since.
            auto user = Records::user(connection, *call.uid);
            reply = user ? Envelope::ok(Views::home(connection, *user, call.view))
                         : Envelope::refuse(ErrorCode::NotSignedIn, sessionEnded);
        });
        return reply;
    }
    if (isEmpty(account) || isEmpty(password)) {
        return Envelope::refuse(ErrorCode::BadParameter, "请输入登录账号和密码");
    }
    auto name = UnicodeText::trimmed(*account);
    auto remember = call.params.text("remember").value_or("");
    const auto& address = call.request.remote_addr;
    // Refused before the hash is computed: each costs 64 MiB and most of a CPU for a moment.
    switch (call.service.logins.check(name, address, call.view.now)) {
        case LoginThrottle::Verdict::AccountLocked:
            return Envelope::refuse(ErrorCode::TooManyAttempts, "密码错误次数过多，请15分钟后再试");
        case LoginThrottle::Verdict::AddressLocked:
            return Envelope::refuse(ErrorCode::TooManyAttempts, "登录尝试过于频繁，请15分钟后再试");
        case LoginThrottle::Verdict::Allowed:
            break;
    }
    std::optional<UserRecord> user;
    std::string storedHash;
    call.service.database.read([&](Connection& connection) {
        user = Records::userByAccount(connection, name);
        if (user) {
            auto query = connection.prepare("SELECT IFNULL(password_hash, '') FROM users WHERE uid = ?");
            query.bind(1, user->uid);
            if (query.step()) {
                storedHash = query.text(0);
            }
        }
    });
    if (!user || !Passwords::verify(storedHash, *password)) {
        call.service.logins.failed(name, address, call.view.now);
        return Envelope::refuse(ErrorCode::WrongCredentials, wrongCredentials);
    }
    call.service.logins.succeeded(name);
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        // Checked again in this transaction: the account may have gone while the hash was computed.
        if (!Records::user(connection, user->uid)) {
            reply = Envelope::refuse(ErrorCode::WrongCredentials, wrongCredentials);
            return;
        }
        reply = Accounts::signIn(connection, call.service.sessions, user->uid, call.view,
                                 remember == "1" || remember == "true");
    });
    return reply;
}

Reply registerAccount(Call& call) {
    auto account = UnicodeText::trimmed(call.params.text("account").value_or(""));
    auto nickname = UnicodeText::trimmed(call.params.text("nickname").value_or(""));
    auto password = call.params.text("pwd").value_or("");
    auto confirmation = call.params.text("confirmPwd").value_or("");
    if (account.empty() || !UnicodeText::isEmail(account)) {
        return Envelope::refuse(ErrorCode::BadParameter, "请输入正确格式的邮箱");
    }
    if (nickname.empty()) {
        return Envelope::refuse(ErrorCode::BadParameter, "昵称不能为空");
    }
    if (UnicodeText::chineseLength(nickname) > 20) {
        return Envelope::refuse(ErrorCode::BadParameter, "昵称不能超过10个字");
    }
    auto passwordLength = static_cast<std::int64_t>(UnicodeText::utf16Length(password));
    if (passwordLength < 6 || passwordLength > 32) {
        return Envelope::refuse(ErrorCode::BadParameter, "密码控制在6~32位之间");
    }
    if (confirmation.empty()) {
        return Envelope::refuse(ErrorCode::BadParameter, "请输入确认密码");
    }
    if (confirmation != password) {
        return Envelope::refuse(ErrorCode::BadParameter, "两次输入的密码不相符");
    }

    // Hash before taking the write lock: it is the slow part.
    auto hash = Passwords::hash(password, call.service.options.passwordCost);
    if (!hash) {
        return Envelope::serverFault();
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        if (Records::userByAccount(connection, account)) {
            reply = Envelope::refuse(ErrorCode::AccountTaken, "该邮箱已被注册");
            return;
        }
        if (Records::nicknameTaken(connection, nickname, 0)) {
            reply = Envelope::refuse(ErrorCode::NicknameTaken, "该昵称已被使用，换一个吧");
            return;
        }
        NewUser user;
        user.account = account;
        user.passwordHash = *hash;
        user.nickname = nickname;
        auto uid = Accounts::create(connection, user);
        reply = Accounts::signIn(connection, call.service.sessions, uid, call.view, true);
    });
    return reply;
}

Reply getbackPassword(Call& call) {
    auto account = UnicodeText::trimmed(call.params.text("account").value_or(""));
    if (account.empty()) {
        return Envelope::refuse(ErrorCode::BadParameter, "请输入需要找回密码的登录账号");
    }
    if (!UnicodeText::isEmail(account)) {
        return Envelope::refuse(ErrorCode::BadParameter, "请输入正确格式的邮箱");
    }
    Reply reply = Envelope::ok();
    call.service.database.write([&](Connection& connection) {
        auto user = Records::userByAccount(connection, account);
        if (!user) {
            reply = Envelope::refuse(ErrorCode::UnknownAccount, "该邮箱尚未注册");
            return;
        }
        auto body =
            "你好，" + user->nickname + "：\n\n" + "我们收到了找回账号 " + user->account +
            " 密码的请求。请在24小时内打开下面的链接设置新密码：\n" + call.view.baseUrl +
            "/passport/resetpwd?token=" + PasswordResets::issue(connection, user->uid, call.view.now) +
            "\n\n如果这不是你本人的操作，请忽略这封邮件。\n\nZorlet";
        connection.prepare("INSERT INTO outbox (recipient, subject, body, created) VALUES (?, ?, ?, ?)")
            .bind(1, user->account)
            .bind(2, "Zorlet 找回密码")
            .bind(3, body)
            .bind(4, static_cast<std::int64_t>(std::time(nullptr)))
            .run();
    });
    return reply;
}

Reply logout(Call& call) {
    auto deviceToken = call.params.text("deviceToken");
    if (call.uid && deviceToken && !deviceToken->empty()) {
        call.service.database.write([&](Connection& connection) {
            connection.prepare("DELETE FROM devices WHERE token = ? AND uid = ?")
                .bind(1, *deviceToken)
                .bind(2, *call.uid)
                .run();
        });
    }
    call.service.sessions.revoke(call.request);
    auto reply = Envelope::ok();
    reply.withHeader("Set-Cookie", Sessions::expiredCookie("p_token"));
    reply.withHeader("Set-Cookie", Sessions::expiredCookie("l_token"));
    return reply;
}

Reply registerDevice(Call& call) {
    auto token = call.params.text("deviceToken").value_or("");
    if (token.empty() || token.size() > 200 || !TextRules::isHex(token)) {
        return Envelope::refuse(ErrorCode::BadParameter, "设备标识格式不正确");
    }
    call.service.database.write([&](Connection& connection) {
        connection
            .prepare(
                "INSERT INTO devices (token, uid, updated) VALUES (?, ?, ?) "
                "ON CONFLICT(token) DO UPDATE SET uid = excluded.uid, updated = excluded.updated")
            .bind(1, token)
            .bind(2, *call.uid)
            .bind(3, call.view.now)
            .run();
    });
    return Envelope::ok();
}

}  // namespace

void AccountHandlers::install(Routes& routes) {
    routes.api("/passport/v132/login", Access::Anyone, login);
    routes.api("/passport/v132/register", Access::Anyone, registerAccount);
    routes.api("/passport/getbackpwd", Access::Anyone, getbackPassword);
    routes.api("/passport/logout", Access::Anyone, logout);
    routes.api("/passport/registerDevice", Access::SignedIn, registerDevice);
}

}  // namespace zorlet::sandbox
