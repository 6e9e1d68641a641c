#pragma once

namespace zorlet::sandbox {

class Routes;

// The reference lists and the nickname check.
class ReferenceHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
