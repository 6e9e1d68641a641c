#pragma once

namespace zorlet {

// The app's screens that the shell makes by name. Each screen area adds its
// own line here when its screen exists; until then the shell shows a
// placeholder under the same name.
class ScreenCatalog {
public:
    // Called once, by ScreenFactory, before any other registration.
    static void registerAll();
};

}  // namespace zorlet
