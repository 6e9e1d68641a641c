#pragma once

namespace zorlet::sandbox {

class Routes;

// Another user's home as the signed-in user sees it, and a user's posts.
class UserHomeHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
