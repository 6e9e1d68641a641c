#include "sandbox/handlers/BlacklistHandlers.h"

#include "sandbox/Connection.h"
#include "sandbox/Envelope.h"
#include "sandbox/Routes.h"
#include "sandbox/UserRecord.h"
#include "sandbox/handlers/RelationCalls.h"

namespace zorlet::sandbox {

namespace {

Reply blacklist(Call& call) {
    return RelationCalls::userPage(call,
                                   "FROM blacklist JOIN users ON users.uid = blacklist.shield_uid "
                                   "WHERE blacklist.uid = ?1",
                                   "blacklist.created DESC, users.uid DESC");
}

Reply unblock(Call& call) {
    return RelationCalls::changeWith(
        call, "shieldUid", "取消屏蔽", RelationCalls::Self::Allowed,
        [&](Connection& connection, const UserRecord& other) {
            // Unblocking someone who is not blocked changes nothing and is no error.
            connection.prepare("DELETE FROM blacklist WHERE uid = ? AND shield_uid = ?")
                .bind(1, *call.uid)
                .bind(2, other.uid)
                .run();
            return Envelope::ok();
        });
}

}  // namespace

void BlacklistHandlers::install(Routes& routes) {
    routes.api("/home/v133/blacklist/list", Access::SignedIn, blacklist);
    routes.api("/home/v133/blacklist/cancel", Access::SignedIn, unblock);
}

}  // namespace zorlet::sandbox
