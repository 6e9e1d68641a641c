#pragma once

namespace zorlet::sandbox {

class Routes;

// After a post: users suggested to come along, inviting one of them, and
// the invitation text for friends.
class RescueHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
