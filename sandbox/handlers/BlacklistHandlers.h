#pragma once

namespace zorlet::sandbox {

class Routes;

// The signed-in user's blacklist: who they blocked, and unblocking.
class BlacklistHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
