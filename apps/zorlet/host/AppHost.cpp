#include "host/AppHost.h"

#include "app/AppDelegate.h"
#include "platform/CookieStore.h"
#include "platform/DataFolder.h"
#include "platform/DownloadCache.h"
#include "platform/HttpEngine.h"
#include "platform/HttpQueue.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/UserDefaults.h"
#include "session/UserContext.h"
#include "ui/AlertRegistry.h"
#include "ui/Animator.h"
#include "ui/ImagePickerController.h"
#include "ui/Keyboard.h"
#include "ui/Window.h"

#include <uv.h>

#include <chrono>
#include <system_error>

namespace zorlet {

namespace {

// A short quiet spell after the app went idle catches work that starts a moment
// later (a task posted from a worker, a request started by a completion).
constexpr Duration kQuietSpell{25};
constexpr const char* kLogFolder = "Logs";

}  // namespace

AppHost::AppHost() = default;

AppHost::~AppHost() {
    terminate();
}

Window* AppHost::window() const {
    return delegate_ ? delegate_->window.get() : nullptr;
}

bool AppHost::launch(bool clearState, bool skipGuidance) {
    terminate();
    if (clearState) {
        this->clearState();
    }
    if (skipGuidance) {
        UserDefaults::standard().setBool(AppDelegate::guidanceFlagKey(), true);
        UserDefaults::standard().synchronize();
    }
    inBackground_ = false;
    log().info("launching the app{}", clearState ? " from a clean state" : "");
    delegate_ = std::make_unique<AppDelegate>();
    bool launched = delegate_->didFinishLaunchingWithOptions();
    settle();
    return launched;
}

bool AppHost::enterBackground() {
    if (!delegate_ || inBackground_) {
        return false;
    }
    inBackground_ = true;
    log().info("the app goes to the background");
    delegate_->applicationWillResignActive();
    delegate_->applicationDidEnterBackground();
    return true;
}

bool AppHost::enterForeground() {
    if (!delegate_ || !inBackground_) {
        return false;
    }
    inBackground_ = false;
    log().info("the app comes back to the foreground");
    delegate_->applicationWillEnterForeground();
    delegate_->applicationDidBecomeActive();
    return true;
}

void AppHost::terminate() {
    if (!delegate_) {
        return;
    }
    HttpQueue::shared().cancelAll();
    ImagePickerController::reset();
    inBackground_ = false;
    Keyboard::shared().reset();
    AlertRegistry::shared().clear();
    delegate_.reset();
    Animator::shared().reset();
    MainLoop::main().cancelAll();
    MainLoop::main().runPending();
    // A process that ends forgets what it held in memory; the next launch restores from the files.
    UserContext::logout();
    CookieStore::shared().clearAll();
}

void AppHost::clearState() {
    DataFolder& folder = DataFolder::shared();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder.root(), error)) {
        if (entry.path().filename() == kLogFolder) {
            continue;
        }
        std::filesystem::remove_all(entry.path(), error);
        if (error) {
            log().warn("could not remove {}: {}", entry.path().string(), error.message());
        }
    }
    UserDefaults::standard().reload(folder.file("Preferences/defaults.json"));
    DownloadCache::shared().clear();
    UserContext::logout();
    CookieStore::shared().clearAll();
}

bool AppHost::isIdle() {
    HttpQueue& queue = HttpQueue::shared();
    // Work on the worker pool (a sign-in run off the main thread) is an active libuv request until its
    // completion has run on the loop. Requests of a screen's own queue run in the engine too.
    return queue.runningCount() == 0 && queue.waitingCount() == 0 &&
           HttpEngine::shared().activeCount() == 0 && MainLoop::main().uvLoop()->active_reqs.count == 0;
}

bool AppHost::settle(Duration budget) {
    MainLoop& loop = MainLoop::main();
    auto deadline = std::chrono::steady_clock::now() + budget;
    while (std::chrono::steady_clock::now() < deadline) {
        loop.runPending();
        auto left = std::chrono::duration_cast<Duration>(deadline - std::chrono::steady_clock::now());
        if (!isIdle() && !loop.runUntil(isIdle, std::max(left, Duration(1)))) {
            break;
        }
        // Idle now; stay idle through a quiet spell (a worker's completion, a request started late).
        loop.runUntil([] { return !isIdle(); }, kQuietSpell);
        if (isIdle()) {
            loop.runPending();
            return isIdle();
        }
    }
    log().warn("the app did not become idle within {} ms", budget.count());
    return false;
}

}  // namespace zorlet
