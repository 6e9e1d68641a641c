#include "sandbox/handlers/NoticeHandlers.h"

#include "sandbox/Dialogs.h"
#include "sandbox/Envelope.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"

namespace zorlet::sandbox {

void NoticeHandlers::install(Routes& routes) {
    routes.api("/dialog/notice/nums", Access::SignedIn, [](Call& call) {
        std::int64_t count = 0;
        call.service.database.read([&](Connection& connection) {
            auto query = connection.prepare("SELECT unread_notices FROM users WHERE uid = ?");
            query.bind(1, *call.uid);
            if (query.step()) {
                count = query.integer(0);
            }
            // Unread messages are counted where they are, so reading them clears the badge.
            count += Dialogs::unreadCount(connection, *call.uid);
        });
        return Envelope::ok(count);
    });
}

}  // namespace zorlet::sandbox
