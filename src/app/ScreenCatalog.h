#pragma once

namespace zorlet {

// The app's screens that the shell makes by name: the tab roots and the
// screens the shell opens without including their headers.
class ScreenCatalog {
public:
    // Called once, by ScreenFactory, before any other registration.
    static void registerAll();
};

}  // namespace zorlet
