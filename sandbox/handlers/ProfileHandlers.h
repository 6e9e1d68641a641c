#pragma once

namespace zorlet::sandbox {

class Routes;

// Saving the profile and completing the first-use guide.
class ProfileHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
