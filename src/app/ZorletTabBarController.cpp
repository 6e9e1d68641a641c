#include "app/ZorletTabBarController.h"

#include "app/AppDelegate.h"
#include "app/AutoRefreshable.h"
#include "app/TabBarLayout.h"
#include "model/User.h"
#include "net/Constant.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/RepeatingTimer.h"
#include "session/AuthorizeExpiredViewController.h"
#include "session/UserContext.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"

namespace zorlet {

ZorletTabBarController::ZorletTabBarController() {
    setDelegate(this);
    tabBar().setSelectedTintColor(Color::rgb(232, 100, 60));  // the accent of the app's artwork
}

void ZorletTabBarController::viewDidLoad() {
    std::string phoneType = Constant::phoneType();
    if (!phoneType.empty()) {
        if (auto request = HttpRequestSender::backgroundPostRequestWithUrl(
                UrlUtils::urlStringWithUri("home/v132/updatePhone"), {{"phoneType", phoneType}})) {
            request->startAsynchronous();
        }
    }

    auto user = UserContext::getUser();
    if (user && user->tpId > 0 && user->tokenExpired && !viewControllers().empty()) {
        if (auto* navigation = dynamic_cast<NavigationController*>(viewControllers().front().get())) {
            auto screen = std::make_shared<AuthorizeExpiredViewController>(user->tpId);
            screen->setHidesBottomBarWhenPushed(true);
            navigation->pushViewController(screen, true);
        }
    }

    startNotice();
}

void ZorletTabBarController::viewWillAppear(bool animated) {
    TabBarController::viewWillAppear(animated);
    Application::shared().setStatusBarHidden(false);
}

void ZorletTabBarController::startNotice() {
    doNotice();
    AppDelegate* app = AppDelegate::shared();
    if (app == nullptr || (app->noticeTimer && app->noticeTimer->isValid())) {
        return;
    }
    std::weak_ptr<ViewController> weak = weak_from_this();
    app->noticeTimer = RepeatingTimer::scheduledTimer(kNoticeInterval, [weak] {
        if (auto self = weak.lock()) {
            static_cast<ZorletTabBarController&>(*self).doNotice();
        } else if (AppDelegate* current = AppDelegate::shared(); current != nullptr && current->tabShell()) {
            // The shell that started the timer was replaced; the badge lives on the one shown now.
            current->tabShell()->doNotice();
        }
    });
}

void ZorletTabBarController::doNotice() {
    if (static_cast<int>(viewControllers().size()) <= TabBarLayout::kMessageTab) {
        return;
    }
    auto request =
        HttpRequestSender::backgroundGetRequestWithUrl(UrlUtils::urlStringWithUri("dialog/notice/nums"));
    if (!request) {
        return;
    }
    request->setTimeOutSeconds(kNoticeTimeOutSeconds);
    std::weak_ptr<ViewController> weak = weak_from_this();
    request->setCompletionBlock([weak](HttpRequest& finished) {
        auto self = weak.lock();
        auto envelope = parseJson(finished.responseString());
        if (!self || !envelope || !envelope->is_object() || !jsonBool(*envelope, "success")) {
            return;
        }
        showNoticeCount(static_cast<ZorletTabBarController&>(*self), jsonInt(*envelope, "result"));
    });
    // A poll that fails says nothing; the next one tries again.
    request->setFailedBlock([](HttpRequest&) {});
    request->startAsynchronous();
}

void ZorletTabBarController::showNoticeCount(ZorletTabBarController& shell, std::int64_t count) {
    const auto& controllers = shell.viewControllers();
    if (static_cast<int>(controllers.size()) <= TabBarLayout::kMessageTab) {
        return;
    }
    TabBarItem& item = controllers[TabBarLayout::kMessageTab]->tabBarItem();
    item.setBadgeValue(count > 0 ? std::to_string(count) : std::string());
}

void ZorletTabBarController::tabBar(TabBar& /*tabBar*/, TabBarItem& item) {
    const auto& controllers = viewControllers();
    int index = -1;
    for (std::size_t i = 0; i < controllers.size(); ++i) {
        if (&controllers[i]->tabBarItem() == &item) {
            index = static_cast<int>(i);
        }
    }
    if (index < 0) {
        return;
    }
    if (index == selectedIndex()) {
        ViewController* tab = controllers[static_cast<std::size_t>(index)].get();
        auto* navigation = dynamic_cast<NavigationController*>(tab);
        ViewController* top = navigation != nullptr ? navigation->topViewController() : tab;
        if (auto* refreshable = dynamic_cast<AutoRefreshable*>(top)) {
            refreshable->autoRefresh();
        }
    }
    if (index == TabBarLayout::kMessageTab) {
        Analytics::event("enterDialog");
    } else if (index == TabBarLayout::kIdeaTab) {
        Analytics::event("enterIdeaList");
    }
}

bool ZorletTabBarController::shouldSelectViewController(TabBarController& /*controller*/,
                                                        ViewController& target) {
    // Told before the selection changes, as a tab bar tells its delegate, so a
    // tap on the tab already shown can be recognised.
    tabBar(TabBarController::tabBar(), target.tabBarItem());
    return true;
}

}  // namespace zorlet
