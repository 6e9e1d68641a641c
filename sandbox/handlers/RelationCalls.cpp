#include "sandbox/handlers/RelationCalls.h"

#include "sandbox/CallParams.h"
#include "sandbox/Envelope.h"
#include "sandbox/Records.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/UserPages.h"

namespace zorlet::sandbox {

namespace {

constexpr int pageSize = 20;

}  // namespace

Reply RelationCalls::changeWith(Call& call, const std::string& param, const std::string& verb, Self self,
                                const Change& change) {
    auto target = CallParams::id(call, param);
    if (!target) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定要" + verb + "的用户");
    }
    if (self == Self::Refused && *target == *call.uid) {
        return Envelope::refuse(ErrorCode::NotAllowed, "不能" + verb + "自己");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto other = Records::user(connection, *target);
        if (!other) {
            reply = Envelope::refuse(ErrorCode::NotFound, "该用户不存在");
            return;
        }
        reply = change(connection, *other);
    });
    return reply;
}

Reply RelationCalls::userPage(Call& call, const std::string& source, const std::string& order) {
    auto page = CallParams::page(call);
    if (!page) {
        return Envelope::refuse(ErrorCode::BadParameter, "页码不正确");
    }
    Reply reply;
    call.service.database.read([&](Connection& connection) {
        reply =
            Envelope::ok(UserPages::page(connection, call.view, source, order, *call.uid, *page, pageSize));
    });
    return reply;
}

}  // namespace zorlet::sandbox
