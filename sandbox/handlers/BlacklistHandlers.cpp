#include "sandbox/handlers/BlacklistHandlers.h"

#include "sandbox/CallParams.h"
#include "sandbox/Connection.h"
#include "sandbox/Envelope.h"
#include "sandbox/Records.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/UserPages.h"

namespace zorlet::sandbox {

namespace {

constexpr int pageSize = 20;

Reply blacklist(Call& call) {
    auto page = CallParams::page(call);
    if (!page) {
        return Envelope::refuse(ErrorCode::BadParameter, "页码不正确");
    }
    Reply reply;
    call.service.database.read([&](Connection& connection) {
        reply = Envelope::ok(UserPages::page(connection, call.view,
                                             "FROM blacklist JOIN users ON users.uid = blacklist.shield_uid "
                                             "WHERE blacklist.uid = ?1",
                                             "blacklist.created DESC, users.uid DESC", *call.uid, *page,
                                             pageSize));
    });
    return reply;
}

Reply unblock(Call& call) {
    auto target = CallParams::id(call, "shieldUid");
    if (!target) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定要取消屏蔽的用户");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        if (!Records::user(connection, *target)) {
            reply = Envelope::refuse(ErrorCode::NotFound, "该用户不存在");
            return;
        }
        // Unblocking someone who is not blocked changes nothing and is no error.
        connection.prepare("DELETE FROM blacklist WHERE uid = ? AND shield_uid = ?")
            .bind(1, *call.uid)
            .bind(2, *target)
            .run();
        reply = Envelope::ok();
    });
    return reply;
}

}  // namespace

void BlacklistHandlers::install(Routes& routes) {
    routes.api("/home/v133/blacklist/list", Access::SignedIn, blacklist);
    routes.api("/home/v133/blacklist/cancel", Access::SignedIn, unblock);
}

}  // namespace zorlet::sandbox
