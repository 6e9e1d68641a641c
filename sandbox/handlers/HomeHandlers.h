#pragma once

namespace zorlet::sandbox {

class Routes;

// What the client reports about the signed-in user: phone model and position.
class HomeHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
