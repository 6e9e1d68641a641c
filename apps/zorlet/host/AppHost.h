#pragma once

#include "platform/Clock.h"

#include <memory>

namespace zorlet {

class AppDelegate;
class Window;

// The running client as a front-end sees it: launches the application through
// its delegate (optionally from a clean data folder), and waits until the app
// has finished reacting to an input: no request running or waiting, no work
// on the worker pool, nothing posted to the main loop.
class AppHost {
public:
    AppHost();
    ~AppHost();
    AppHost(const AppHost&) = delete;
    AppHost& operator=(const AppHost&) = delete;

    // Ends a running app first. `clearState` empties the data folder (tokens,
    // user defaults, caches; the log stays) and forgets the session, as a fresh install.
    // `skipGuidance` marks this version's guidance pages as seen before the launch.
    bool launch(bool clearState, bool skipGuidance = false);
    void terminate();
    bool isRunning() const { return delegate_ != nullptr; }

    // The app leaves the screen (the window was minimised or lost the focus)
    // or comes back to it, through the delegate's life-cycle calls. False when
    // the app is not running or already there.
    bool enterBackground();
    bool enterForeground();
    bool isInBackground() const { return inBackground_; }

    AppDelegate* delegate() const { return delegate_.get(); }
    Window* window() const;

    // Runs the loop until the app is idle or `budget` of real time has passed; true when idle.
    bool settle(Duration budget = Duration(20000));
    static bool isIdle();

private:
    void clearState();

    std::unique_ptr<AppDelegate> delegate_;
    bool inBackground_ = false;
};

}  // namespace zorlet
