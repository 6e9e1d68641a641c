#include "app/AppDelegate.h"

#include "app/GuidanceViewController.h"
#include "app/TabBarLayout.h"
#include "app/ZorletTabBarController.h"
#include "model/BaseData.h"
#include "model/HexBytes.h"
#include "model/RecordConverters.h"
#include "net/Constant.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/Calendar.h"
#include "platform/HttpQueue.h"
#include "platform/HttpRequest.h"
#include "platform/LocalNotifications.h"
#include "platform/MainLoop.h"
#include "platform/PushNotifications.h"
#include "platform/RepeatingTimer.h"
#include "platform/UserDefaults.h"
#include "session/DeviceTokenService.h"
#include "session/LoginService.h"
#include "ui/Application.h"
#include "ui/Window.h"

namespace zorlet {

namespace {

AppDelegate* runningDelegate = nullptr;

}  // namespace

AppDelegate::AppDelegate() {
    runningDelegate = this;
    PushNotifications::shared().setHandlers(
        [this](const std::string& token) { didRegisterForRemoteNotificationsWithDeviceToken(token); },
        [this](const std::string& reason) { didFailToRegisterForRemoteNotificationsWithError(reason); },
        [this](const Json& userInfo) { didReceiveRemoteNotification(userInfo); });
    LocalNotifications::shared().setHandler(
        [this](const LocalNotification& notification) { didReceiveLocalNotification(notification); });
}

AppDelegate::~AppDelegate() {
    if (runningDelegate == this) {
        runningDelegate = nullptr;
        PushNotifications::shared().clearHandlers();
        LocalNotifications::shared().setHandler({});
    }
    if (noticeTimer) {
        noticeTimer->invalidate();
    }
}

AppDelegate* AppDelegate::shared() {
    return runningDelegate;
}

std::string AppDelegate::guidanceFlagKey() {
    return std::string(kGuidanceVersion) + "_guidance_used";
}

bool AppDelegate::didFinishLaunchingWithOptions(const LaunchOptions& launchOptions) {
    Analytics::setAppVersion(Constant::appVersion());
    Analytics::startWithAppkey(kAnalyticsAppKey, Analytics::kRealtime, kAnalyticsChannel);
    Analytics::setUpdateCheckUrl(UrlUtils::urlStringWithUri(kUpdateCheckUri));
    Analytics::checkUpdate();

    window = std::make_shared<Window>();
    Application::shared().setStatusBarStyle(StatusBarStyle::BlackOpaque);

    // Every request shares the transport's download cache already; only the time-out and width are set.
    HttpRequest::setDefaultTimeOutSeconds(kLaunchTimeOutSeconds);
    HttpQueue::shared().setMaxConcurrentOperationCount(kMaxConcurrentRequests);

    RecordConverters::registerAll();
    BaseData::getCategories();
    BaseData::getProvinces();
    BaseData::getProfessions();

    LoginService& loginService = LoginService::getInstance();
    loginService.checkLogin();

    std::shared_ptr<ViewController> firstScreen = loginService.loginTurnToViewController();
    if (!UserDefaults::standard().boolForKey(guidanceFlagKey())) {
        firstScreen = std::make_shared<GuidanceViewController>();
    }

    HttpRequest::setDefaultTimeOutSeconds(kRequestTimeOutSeconds);

    if (auto* shell = dynamic_cast<ZorletTabBarController*>(firstScreen.get())) {
        if (launchOptions.localNotification) {
            shell->setSelectedIndex(TabBarLayout::kIdeaTab);
        }
        if (launchOptions.remoteNotification) {
            shell->setSelectedIndex(TabBarLayout::kMessageTab);
        }
    }

    window->setRootViewController(firstScreen);
    window->makeKeyAndVisible();

    PushNotifications::shared().registerForRemoteNotificationTypes(
        PushNotifications::Badge | PushNotifications::Sound | PushNotifications::Alert);

    scheduleWeeklyReminder();
    return true;
}

ZorletTabBarController* AppDelegate::tabShell() const {
    return window ? dynamic_cast<ZorletTabBarController*>(window->rootViewController()) : nullptr;
}

void AppDelegate::didReceiveLocalNotification(const LocalNotification& /*notification*/) {
    if (ZorletTabBarController* shell = tabShell()) {
        shell->setSelectedIndex(TabBarLayout::kIdeaTab);
        Analytics::event("openWeekendNotification");
    }
}

void AppDelegate::didReceiveRemoteNotification(const Json& /*userInfo*/) {
    if (ZorletTabBarController* shell = tabShell()) {
        shell->setSelectedIndex(TabBarLayout::kMessageTab);
        Analytics::event("openNewMessageNotification");
    }
}

void AppDelegate::didRegisterForRemoteNotificationsWithDeviceToken(const std::string& tokenBytes) {
    deviceToken = stringWithHexBytes(tokenBytes);
    DeviceTokenService::sendDeviceToken(deviceToken);
}

void AppDelegate::applicationDidEnterBackground() {
    if (noticeTimer && noticeTimer->isValid()) {
        noticeTimer->invalidate();
    }
}

void AppDelegate::applicationWillEnterForeground() {
    if (ZorletTabBarController* shell = tabShell()) {
        shell->startNotice();
    }
}

SystemTime AppDelegate::weeklyReminderFireDate(SystemTime now, const std::string& zone) {
    DateParts parts = Calendar::partsOf(now, zone);
    parts.hour = 10;
    parts.minute = 0;
    parts.second = 0;
    // Weekday 1 is Sunday, 6 Friday, 7 Saturday: this week's Friday, or next week's on a Saturday.
    parts.day += parts.weekday == 7 ? 6 : 6 - parts.weekday;
    return Calendar::timeOf(parts, zone);
}

void AppDelegate::scheduleWeeklyReminder() {
    LocalNotification reminder;
    reminder.timeZone = LocalNotification::defaultTimeZoneName();
    reminder.fireDate = weeklyReminderFireDate(MainLoop::main().clock().now(), reminder.timeZone);
    reminder.repeatInterval = LocalNotification::RepeatInterval::Week;
    reminder.repeatCalendar = "gregorian";
    reminder.soundName = LocalNotification::kDefaultSoundName;
    reminder.alertBody = kWeeklyReminderText;
    LocalNotifications::shared().scheduleLocalNotification(reminder);
}

}  // namespace zorlet
