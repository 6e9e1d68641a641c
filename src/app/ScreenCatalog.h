#pragma once

namespace zorlet {

// The app's screens that the shell makes by name: the tab roots.
class ScreenCatalog {
public:
    // Called once, by ScreenFactory, before any other registration.
    static void registerAll();
};

}  // namespace zorlet
