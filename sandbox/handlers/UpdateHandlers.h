#pragma once

namespace zorlet::sandbox {

class Routes;

// The client's update check, answered with what the operator set: no new
// version until one is announced through the admin endpoint "update".
class UpdateHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
