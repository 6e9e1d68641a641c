#include "sandbox/handlers/AdminHandlers.h"

#include "sandbox/Envelope.h"
#include "sandbox/Passwords.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TestControl.h"
#include "sandbox/TextRules.h"
#include "sandbox/handlers/UpdateHandlers.h"

namespace zorlet::sandbox {

namespace {

bool fromLoopback(const Call& call) {
    const auto& address = call.request.remote_addr;
    return address == "127.0.0.1" || address == "::1" || address == "::ffff:127.0.0.1";
}

// A name that resolves to somewhere else today and to 127.0.0.1 tomorrow must not pass.
bool namesThisService(const Call& call) {
    auto host = call.request.get_header_value("Host");
    auto port = ":" + std::to_string(call.service.port);
    return host == "127.0.0.1" + port || host == "localhost" + port || host == "[::1]" + port;
}

Reply refused(int status, const char* why) {
    Reply reply = Envelope::refuse(ErrorCode::NotAllowed, why);
    reply.status = status;
    return reply;
}

enum class Effect { Reads, Changes };

std::optional<std::int64_t> integerParam(const Call& call, const std::string& name) {
    return TextRules::parseInteger(call.params.text(name).value_or(""));
}

Reply done(bool ok) {
    return ok ? Envelope::ok()
              : Envelope::refuse(ErrorCode::BadParameter, "操作失败：参数不正确或用户不存在");
}

using AdminAction = std::function<Reply(Call&, TestControl&)>;

}  // namespace

void AdminHandlers::install(Routes& routes, TestControl& control) {
    auto install = [&routes, &control](const std::string& path, Effect effect, AdminAction action) {
        routes.api("/__sandbox/" + path, Access::Anyone, [&control, effect, action](Call& call) {
            if (!fromLoopback(call) || !namesThisService(call)) {
                return refused(403, "仅限本机访问");
            }
            const auto& secret = call.service.options.testControlSecret;
            if (secret.empty() ||
                !Passwords::sameSecret(call.request.get_header_value(AdminHandlers::secretHeader), secret)) {
                return refused(403, "测试控制需要正确的密钥");
            }
            if (effect == Effect::Changes && call.request.method != "POST") {
                auto reply = refused(405, "修改数据请使用POST");
                reply.withHeader("Allow", "POST");
                return reply;
            }
            return action(call, control);
        });
    };
    auto admin = [&install](const std::string& path, AdminAction action) {
        install(path, Effect::Changes, std::move(action));
    };
    auto reader = [&install](const std::string& path, AdminAction action) {
        install(path, Effect::Reads, std::move(action));
    };

    admin("users", [](Call& call, TestControl& control) {
        TestUser user;
        user.account = call.params.text("account").value_or("");
        user.password = call.params.text("password").value_or("");
        user.nickname = call.params.text("nickname").value_or("");
        if (auto gender = integerParam(call, "gender")) {
            user.gender = static_cast<int>(*gender);
        }
        user.cityId = integerParam(call, "cityId").value_or(0);
        user.longitude = TextRules::parseNumber(call.params.text("longitude").value_or(""));
        user.latitude = TextRules::parseNumber(call.params.text("latitude").value_or(""));
        user.hasGuided = call.params.text("hasGuided").value_or("1") != "0";
        user.tpId = integerParam(call, "tpId").value_or(0);
        user.tpAccount = call.params.text("tpAccount").value_or("");
        auto uid = control.createUser(user);
        if (!uid) {
            return Envelope::refuse(ErrorCode::AccountTaken, "无法创建用户：账号或昵称已存在，或参数不正确");
        }
        return Envelope::ok({{"uid", *uid}});
    });
    admin("signOut", [](Call& call, TestControl& control) {
        auto uid = integerParam(call, "uid");
        return done(uid && control.signOut(*uid));
    });
    admin("expireAuthorization", [](Call& call, TestControl& control) {
        auto uid = integerParam(call, "uid");
        return done(uid && control.expireAuthorization(*uid));
    });
    admin("unreadNotices", [](Call& call, TestControl& control) {
        auto uid = integerParam(call, "uid");
        auto count = integerParam(call, "count");
        return done(uid && count && control.setUnreadNotices(*uid, *count));
    });
    admin("messages", [](Call& call, TestControl& control) {
        auto from = integerParam(call, "from");
        auto to = integerParam(call, "to");
        auto id = from && to ? control.injectMessage(*from, *to, call.params.text("content").value_or(""))
                             : std::nullopt;
        if (!id) {
            return done(false);
        }
        return Envelope::ok({{"messageId", *id}});
    });
    reader("outbox", [](Call& call, TestControl& control) {
        auto list = nlohmann::json::array();
        for (const auto& mail : control.outbox(call.params.text("account").value_or(""))) {
            list.push_back({{"recipient", mail.recipient}, {"subject", mail.subject}, {"body", mail.body}});
        }
        return Envelope::ok(list);
    });
    reader("reports", [](Call&, TestControl& control) {
        auto list = nlohmann::json::array();
        for (const auto& report : control.reports()) {
            list.push_back({{"id", report.id},
                            {"uid", report.uid},
                            {"reportUid", report.reportUid},
                            {"reportType", report.reportType},
                            {"contentType", report.contentType},
                            {"contentId", report.contentId},
                            {"created", report.created}});
        }
        return Envelope::ok(list);
    });
    admin("reset", [](Call&, TestControl& control) { return done(control.reset()); });
    admin("update", [](Call& call, TestControl&) { return UpdateHandlers::announce(call); });
}

}  // namespace zorlet::sandbox
