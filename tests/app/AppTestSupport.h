#pragma once

#include "StandInScreen.h"
#include "app/AppDelegate.h"
#include "app/ScreenFactory.h"
#include "app/TabBarLayout.h"
#include "app/ZorletTabBarController.h"
#include "model/User.h"
#include "model/UserHome.h"
#include "net/Constant.h"
#include "net/HttpRequestDelegate.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/CookieStore.h"
#include "platform/HttpQueue.h"
#include "platform/HttpRequest.h"
#include "platform/LocalNotifications.h"
#include "platform/Reachability.h"
#include "platform/UserDefaults.h"
#include "session/LoginService.h"
#include "session/LoginUser.h"
#include "session/UserContext.h"
#include "ui/AlertRegistry.h"
#include "ui/Application.h"
#include "ui/Window.h"

#include "support/LoopTest.h"
#include "support/ProcessState.h"
#include "support/ScriptedServer.h"

#include <filesystem>
#include <string>

namespace zorlet::test {

constexpr const char* kGeneric = "网络不给力，稍后再试吧";

// A login answer for user `uid`.
inline std::string homeEnvelope(int uid, bool hasGuided = true, int tpId = 0, bool tokenExpired = false) {
    Json user = {{"uid", uid},
                 {"nickname", "用户" + std::to_string(uid)},
                 {"hasGuided", hasGuided ? 1 : 0},
                 {"tpId", tpId},
                 {"tokenExpired", tokenExpired}};
    return Json{{"success", true}, {"result", {{"userView", user}}}}.dump();
}

inline std::string refusalEnvelope(int code, const std::string& info) {
    return Json{{"success", false}, {"errorCode", code}, {"errorInfo", info}}.dump();
}

inline void signIn(int uid, bool hasGuided = true, int tpId = 0, bool tokenExpired = false) {
    auto envelope = parseJson(homeEnvelope(uid, hasGuided, tpId, tokenExpired));
    UserContext::setUserHome(UserHome::convertFromDictionary((*envelope)["result"]));
}

inline std::size_t eventCount(const std::string& eventId) {
    std::size_t count = 0;
    for (const auto& entry : Analytics::loggedEntries()) {
        if (jsonString(entry, "type") == "event" && jsonString(entry, "event") == eventId) {
            ++count;
        }
    }
    return count;
}

// Every app test starts signed out, with no stored tokens, no cookies, the
// guidance already seen, an unknown phone model and a scripted server that
// answers the shell's background calls.
class AppTest : public LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        resetProcessState();
        UrlUtils::setBaseUrl(server_.url());
        LocalNotifications::shared().cancelAllLocalNotifications();
        UserDefaults::standard().setBool(AppDelegate::guidanceFlagKey(), true);
        // The shell is tested on its own: the tabs hold empty screens, not the real lists.
        for (int tab = 0; tab < TabBarLayout::kTabCount; ++tab) {
            std::string name = TabBarLayout::tab(tab).screenClassName;
            ScreenFactory::registerScreen(name, [name](const Json& arguments) {
                return std::make_shared<StandInScreen>(name, jsonString(arguments, "title"));
            });
        }
        HttpRequest::setDefaultTimeOutSeconds(10);
        Constant::setMachineIdentifier("x86_64");
        LoginService::getInstance();  // installs the sign-out on HTTP 401
        server_.onJson("/dialog/notice/nums", R"({"success":true,"result":0})");
        server_.onJson("/passport/registerDevice", R"({"success":true})");
        server_.onJson("/home/v132/updatePhone", R"({"success":true})");
        server_.onJson("/passport/logout", R"({"success":true})");
    }
    void TearDown() override {
        app_.reset();
        HttpQueue::shared().cancelAll();
        loop().runPending();
        resetProcessState();
        HttpRequest::setDefaultTimeOutSeconds(10);
        LoopTest::TearDown();
    }

    AppDelegate& launch(const LaunchOptions& options = {}) {
        app_ = std::make_unique<AppDelegate>();
        EXPECT_TRUE(app_->didFinishLaunchingWithOptions(options));
        return *app_;
    }

    ViewController* root() const {
        return app_ && app_->window ? app_->window->rootViewController() : nullptr;
    }
    std::string rootClass() const { return root() != nullptr ? root()->className() : "(none)"; }

    static std::shared_ptr<LoginUser> storedTokens() { return LoginUser::initFromData(); }

    ScriptedServer server_;
    std::unique_ptr<AppDelegate> app_;
};

}  // namespace zorlet::test
