#include "sandbox/handlers/ExternalAccountHandlers.h"

#include "platform/UnicodeText.h"
#include "sandbox/Accounts.h"
#include "sandbox/Envelope.h"
#include "sandbox/HtmlPage.h"
#include "sandbox/Passwords.h"
#include "sandbox/Records.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TextRules.h"

#include <cctype>

namespace zorlet::sandbox {

namespace {

// An authorization code is good for one use within ten minutes.
constexpr std::int64_t grantLifetime = 10 * 60;

enum class Purpose { Login, Expired, Bind };

struct Flow {
    Purpose purpose;
    const char* key;          // stored with the grant
    const char* pagePath;     // the first page, "%d" for the provider
    const char* landingPath;  // where the provider sends the browser back; the client intercepts it
    const char* heading;
};

const Flow flows[] = {
    {Purpose::Login, "login", "/passport/tpLogin/", "/passport/web/access", "登录Zorlet"},
    {Purpose::Expired, "expired", "/passport/authorize/expired/", "/passport/authorize/access",
     "重新授权Zorlet"},
    {Purpose::Bind, "bind", "/passport/authorize/bind/", "/passport/authorize/bindAccess",
     "绑定到Zorlet账号"},
};

const Flow& flowOf(Purpose purpose) {
    return flows[static_cast<int>(purpose)];
}

const char* providerTitle(std::int64_t tpId) {
    switch (tpId) {
        case 6:
            return "新浪微博";
        case 7:
            return "豆瓣社区";
        case 8:
            return "QQ";
        default:
            return nullptr;
    }
}

std::optional<std::int64_t> providerOf(const Call& call) {
    auto id = TextRules::parseInteger(call.pathPart(1));
    if (!id || !providerTitle(*id)) {
        return std::nullopt;
    }
    return id;
}

bool isExternalAccountName(const std::string& name) {
    if (name.empty() || name.size() > 30) {
        return false;
    }
    for (char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.' && c != '-') {
            return false;
        }
    }
    return true;
}

Reply authorizationPage(Call& call, Purpose purpose) {
    auto tpId = providerOf(call);
    if (!tpId) {
        return HtmlPage::reply(404, "不支持的平台", "<p>不支持的第三方平台</p>");
    }
    const auto& flow = flowOf(purpose);
    // Renewing an authorization should name the account already bound, when the browser is signed in.
    auto account = Views::providerName(*tpId) + "_" + Passwords::randomHex(4);
    if (purpose == Purpose::Expired && call.uid) {
        call.service.database.read([&](Connection& connection) {
            auto user = Records::user(connection, *call.uid);
            if (user && user->tpId == *tpId && !user->tpAccount.empty()) {
                account = user->tpAccount;
            }
        });
    }
    auto title = std::string("使用") + providerTitle(*tpId) + flow.heading;
    auto action = flow.pagePath + std::to_string(*tpId) + "/authorize";
    auto escapedAccount = TextRules::htmlEscape(account);
    auto body = "<h1>" + TextRules::htmlEscape(title) + "</h1>\n" + "<p>这是Zorlet沙盒里模拟的" +
                providerTitle(*tpId) + "授权页。点“授权”即同意Zorlet使用这个账号。</p>\n" +
                "<form method=\"get\" action=\"" + action + "\">\n" +
                "<label>账号 <input name=\"account\" value=\"" + escapedAccount + "\"></label>\n" +
                "<button type=\"submit\">授权</button>\n</form>\n" + "<p><a id=\"authorize\" href=\"" +
                action + "?account=" + escapedAccount + "\">授权</a></p>";
    return HtmlPage::reply(200, title, body);
}

Reply authorize(Call& call, Purpose purpose) {
    auto tpId = providerOf(call);
    if (!tpId) {
        return HtmlPage::reply(404, "不支持的平台", "<p>不支持的第三方平台</p>");
    }
    auto account = UnicodeText::trimmed(call.params.text("account").value_or(""));
    if (!isExternalAccountName(account)) {
        return HtmlPage::reply(400, "账号格式不正确",
                               "<p>账号只能由1到30个字母、数字、下划线、点或连字符组成。</p>");
    }
    auto code = Passwords::randomHex(16);
    call.service.database.write([&](Connection& connection) {
        connection
            .prepare(
                "INSERT INTO external_grants (code, tp_id, purpose, external_account, created) "
                "VALUES (?, ?, ?, ?, ?)")
            .bind(1, code)
            .bind(2, *tpId)
            .bind(3, flowOf(purpose).key)
            .bind(4, account)
            .bind(5, call.view.now)
            .run();
    });
    auto location =
        call.view.baseUrl + flowOf(purpose).landingPath + "?code=" + code + "&tp=" + std::to_string(*tpId);
    auto reply = HtmlPage::reply(302, "正在返回Zorlet",
                                 "<p><a href=\"" + TextRules::htmlEscape(location) + "\">返回Zorlet</a></p>");
    reply.withHeader("Location", location);
    return reply;
}

Reply landing(Call&) {
    return HtmlPage::reply(200, "授权完成", "<p>授权完成，请回到Zorlet继续。</p>");
}

// Takes the one-time grant named by the query; the external account name, or nothing.
std::optional<std::string> redeem(Connection& connection, const Call& call, std::int64_t tpId,
                                  Purpose purpose) {
    auto code = call.params.text("code").value_or("");
    if (code.size() != 32 || !TextRules::isHex(code)) {
        return std::nullopt;
    }
    auto query = connection.prepare(
        "SELECT external_account FROM external_grants WHERE code = ? AND tp_id = ? AND purpose = ? AND used "
        "= 0 "
        "AND created >= ?");
    query.bind(1, code).bind(2, tpId).bind(3, flowOf(purpose).key).bind(4, call.view.now - grantLifetime);
    if (!query.step()) {
        return std::nullopt;
    }
    auto account = query.text(0);
    connection.prepare("UPDATE external_grants SET used = 1 WHERE code = ?").bind(1, code).run();
    return account;
}

Reply homeOf(Connection& connection, const Call& call, std::int64_t uid) {
    auto user = Records::user(connection, uid);
    return user ? Envelope::ok(Views::home(connection, *user, call.view)) : Envelope::unauthorized();
}

const char* const grantRefused = "授权失败，请重新授权";

Reply loginAccess(Call& call) {
    auto tpId = providerOf(call);
    if (!tpId) {
        return Envelope::refuse(ErrorCode::BadParameter, "不支持的第三方平台");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto account = redeem(connection, call, *tpId, Purpose::Login);
        if (!account) {
            reply = Envelope::refuse(ErrorCode::AuthorizationFailed, grantRefused);
            return;
        }
        auto user = Records::userByExternal(connection, *tpId, *account);
        std::int64_t uid = 0;
        if (user) {
            uid = user->uid;
            connection.prepare("UPDATE users SET token_expired = 0 WHERE uid = ?").bind(1, uid).run();
        } else {
            NewUser created;
            created.nickname = Accounts::unusedNickname(connection, *account);
            created.tpId = *tpId;
            created.tpAccount = *account;
            uid = Accounts::create(connection, created);
        }
        reply = Accounts::signIn(connection, call.service.sessions, uid, call.view, true);
    });
    return reply;
}

Reply expiredAccess(Call& call) {
    auto tpId = providerOf(call);
    if (!tpId) {
        return Envelope::refuse(ErrorCode::BadParameter, "不支持的第三方平台");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto user = Records::user(connection, *call.uid);
        if (!user) {
            reply = Envelope::unauthorized();
            return;
        }
        if (user->tpId != *tpId) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "当前账号没有绑定这个平台的账号");
            return;
        }
        auto account = redeem(connection, call, *tpId, Purpose::Expired);
        if (!account) {
            reply = Envelope::refuse(ErrorCode::AuthorizationFailed, grantRefused);
            return;
        }
        if (*account != user->tpAccount) {
            reply = Envelope::refuse(ErrorCode::AuthorizationFailed, "请使用已绑定的账号授权");
            return;
        }
        connection.prepare("UPDATE users SET token_expired = 0 WHERE uid = ?").bind(1, user->uid).run();
        reply = homeOf(connection, call, user->uid);
    });
    return reply;
}

Reply bindAccess(Call& call) {
    auto tpId = providerOf(call);
    if (!tpId) {
        return Envelope::refuse(ErrorCode::BadParameter, "不支持的第三方平台");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto user = Records::user(connection, *call.uid);
        if (!user) {
            reply = Envelope::unauthorized();
            return;
        }
        if (user->tpId > 0) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "当前账号已经绑定了第三方账号");
            return;
        }
        auto account = redeem(connection, call, *tpId, Purpose::Bind);
        if (!account) {
            reply = Envelope::refuse(ErrorCode::AuthorizationFailed, grantRefused);
            return;
        }
        if (Records::userByExternal(connection, *tpId, *account)) {
            reply = Envelope::refuse(ErrorCode::AccountTaken, "这个账号已经绑定了其他Zorlet账号");
            return;
        }
        connection.prepare("UPDATE users SET tp_id = ?, tp_account = ?, token_expired = 0 WHERE uid = ?")
            .bind(1, *tpId)
            .bind(2, *account)
            .bind(3, user->uid)
            .run();
        reply = homeOf(connection, call, user->uid);
    });
    return reply;
}

}  // namespace

void ExternalAccountHandlers::install(Routes& routes) {
    for (const auto& flow : flows) {
        auto purpose = flow.purpose;
        auto base = std::string(flow.pagePath);
        routes.page(base + R"((\d+))", [purpose](Call& call) { return authorizationPage(call, purpose); });
        routes.page(base + R"((\d+)/authorize)", [purpose](Call& call) { return authorize(call, purpose); });
        routes.page(flow.landingPath, landing);
    }
    routes.api(R"(/passport/v132/tpAccess/(\d+))", Access::Anyone, loginAccess);
    routes.api(R"(/passport/authorize/v132/expired/access/(\d+))", Access::SignedIn, expiredAccess);
    routes.api(R"(/passport/authorize/v132/bind/access/(\d+))", Access::SignedIn, bindAccess);
}

}  // namespace zorlet::sandbox
