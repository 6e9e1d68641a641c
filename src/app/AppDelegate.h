#pragma once

#include "app/LaunchOptions.h"
#include "platform/Clock.h"
#include "platform/Json.h"
#include "platform/LocalNotification.h"

#include <memory>
#include <string>

namespace zorlet {

class RepeatingTimer;
class Window;
class ZorletTabBarController;

// The application's delegate: runs the launch sequence (transport set-up,
// reference data, session restore, first screen), receives the life-cycle
// and notification events, and schedules the weekly reminder. Other parts of
// the app reach the running one through `shared()`.
class AppDelegate {
public:
    AppDelegate();
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // The delegate of the running application, or null before one exists.
    static AppDelegate* shared();

    bool didFinishLaunchingWithOptions(const LaunchOptions& launchOptions = {});
    void didReceiveLocalNotification(const LocalNotification& notification);
    void didReceiveRemoteNotification(const Json& userInfo);
    void didRegisterForRemoteNotificationsWithDeviceToken(const std::string& tokenBytes);
    void didFailToRegisterForRemoteNotificationsWithError(const std::string& /*reason*/) {}
    void applicationWillResignActive() {}
    void applicationDidEnterBackground();
    void applicationWillEnterForeground();
    void applicationDidBecomeActive() {}

    void scheduleWeeklyReminder();
    // Friday of `now`'s week at 10:00 (the next Friday on a Saturday), in `zone`.
    static SystemTime weeklyReminderFireDate(SystemTime now, const std::string& zone = {});

    // The window's root when it is the tab shell, else null.
    ZorletTabBarController* tabShell() const;

    // The guidance pages set it when the user has gone through them for this version.
    static std::string guidanceFlagKey();

    std::shared_ptr<Window> window;
    std::shared_ptr<RepeatingTimer> noticeTimer;
    // Upper-case hexadecimal; empty until the system gives a token in this run.
    std::string deviceToken;

    static constexpr double kLaunchTimeOutSeconds = 10;
    static constexpr double kRequestTimeOutSeconds = 60;
    static constexpr int kMaxConcurrentRequests = 20;
    static constexpr const char* kGuidanceVersion = "1.2.0";
    static constexpr const char* kAnalyticsAppKey = "51a5c7f856240b3f2e00a7c1";
    static constexpr const char* kAnalyticsChannel = "App Store";
    static constexpr const char* kUpdateCheckUri = "app/checkUpdate";
    static constexpr const char* kWeeklyReminderText =
        "快到周末了，想好去哪玩了么？来看看本周都有哪些Zorlet好主意吧！";
};

}  // namespace zorlet
