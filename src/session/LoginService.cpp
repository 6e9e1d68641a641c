#include "session/LoginService.h"

#include "app/AppDelegate.h"
#include "app/CustomNavigationController.h"
#include "app/TabBarLayout.h"
#include "app/WelcomeViewController.h"
#include "app/ZorletTabBarController.h"
#include "model/UserHome.h"
#include "net/HttpRequestDelegate.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/CookieParser.h"
#include "platform/CookieStore.h"
#include "platform/DownloadCache.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/RepeatingTimer.h"
#include "profile/GuideSettingViewController.h"
#include "session/DeviceTokenService.h"
#include "session/LoginUser.h"
#include "session/UserContext.h"
#include "ui/Application.h"
#include "ui/Window.h"

#include <future>

namespace zorlet {

namespace {

std::string currentDeviceToken() {
    AppDelegate* app = AppDelegate::shared();
    return app != nullptr ? app->deviceToken : std::string();
}

std::string formatTpUri(const char* prefix, std::int64_t tpId, const std::string& query) {
    return prefix + std::to_string(tpId) + "?" + query;
}

}  // namespace

LoginService& LoginService::getInstance() {
    // A function-local static is created exactly once, under the runtime's lock.
    static LoginService service;
    return service;
}

LoginService::LoginService() {
    HttpRequestDelegate::setSessionRejectedHandler([] { getInstance().sessionRejected(); });
}

std::optional<Json> LoginService::runSynchronous(const HttpRequestPtr& request) {
    request->setUseDownloadCache(false);
    request->startSynchronous();
    if (request->error() || request->responseStatusCode() != 200) {
        return std::nullopt;
    }
    auto envelope = parseJson(request->responseString());
    if (!envelope || !envelope->is_object()) {
        log().warn("{} answered with something other than an envelope", request->url());
        return std::nullopt;
    }
    return envelope;
}

LoginResult LoginService::refusal(const Json& envelope) {
    std::optional<std::string> info;
    if (envelope.contains("errorInfo") && envelope["errorInfo"].is_string()) {
        info = envelope["errorInfo"].get<std::string>();
    }
    return LoginResult::failure(jsonInt(envelope, "errorCode"), std::move(info));
}

const Json* LoginService::homeFromEnvelope(const Json& envelope, std::string_view answer) {
    auto result = envelope.find("result");
    if (result == envelope.end() || !result->is_object()) {
        log().warn("{} without the signed-in home", answer);
        return nullptr;
    }
    return &*result;
}

LoginResult LoginService::loginWithRequest(const HttpRequestPtr& request) {
    auto envelope = runSynchronous(request);
    if (!envelope) {
        return LoginResult::networkFailure();
    }
    if (!jsonBool(*envelope, "success")) {
        return refusal(*envelope);
    }
    if (homeFromEnvelope(*envelope, "a login answer") == nullptr) {
        // Signing in as nobody would strand the user on an empty shell.
        return LoginResult::networkFailure();
    }
    loginSuccess(nullptr, *envelope, request->responseCookies());
    return LoginResult::successLoginResult();
}

LoginResult LoginService::useLoginName(const std::string& name, const std::string& password) {
    Json params = {{"account", name}, {"password", password}, {"remember", 1}};
    auto request = HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri(kLoginUri), params);
    if (!request) {
        // The network alert has told the user already.
        return LoginResult::failure(0, std::nullopt);
    }
    return loginWithRequest(request);
}

LoginResult LoginService::loginWithTpId(std::int64_t tpId, const std::string& query) {
    auto request = HttpRequestSender::postRequestWithUrl(
        UrlUtils::urlStringWithUri(formatTpUri("passport/v132/tpAccess/", tpId, query)));
    if (!request) {
        return LoginResult::networkFailure();
    }
    return loginWithRequest(request);
}

LoginResult LoginService::authorize(std::int64_t tpId, const std::string& query) {
    return doAuthorize(tpId, UrlUtils::urlStringWithUri(
                                 formatTpUri("passport/authorize/v132/expired/access/", tpId, query)));
}

LoginResult LoginService::bind(std::int64_t tpId, const std::string& query) {
    return doAuthorize(
        tpId, UrlUtils::urlStringWithUri(formatTpUri("passport/authorize/v132/bind/access/", tpId, query)));
}

LoginResult LoginService::doAuthorize(std::int64_t /*tpId*/, const std::string& url) {
    auto request = HttpRequestSender::postRequestWithUrl(url);
    if (!request) {
        return LoginResult::networkFailure();
    }
    auto envelope = runSynchronous(request);
    if (!envelope) {
        return LoginResult::networkFailure();
    }
    if (!jsonBool(*envelope, "success")) {
        return refusal(*envelope);
    }
    const Json* home = homeFromEnvelope(*envelope, "an authorization answer");
    if (home == nullptr) {
        return LoginResult::networkFailure();
    }
    // The sign-in screens call this on a worker; the signed-in home belongs to the main loop.
    MainLoop::main().runOnLoopAndWait(
        [home] { UserContext::setUserHome(UserHome::convertFromDictionary(*home)); });
    return LoginResult::successLoginResult();
}

bool LoginService::checkLogin() {
    auto loginUser = LoginUser::initFromData();
    if (!loginUser || loginUser->isEmpty()) {
        return false;
    }
    std::string url = UrlUtils::urlStringWithUri(kLoginUri);
    auto request = HttpRequestSender::backgroundPostRequestWithUrl(url);
    if (!request) {
        return false;
    }
    for (const auto& [name, value] :
         {std::pair{"p_token", loginUser->pToken}, {"l_token", loginUser->lToken}}) {
        if (value.empty()) {
            continue;
        }
        HttpCookie cookie;
        cookie.name = name;
        cookie.value = value;
        cookie.domain = UrlUtils::apiHost();
        cookie.path = "/";
        CookieStore::shared().setCookie(cookie);
    }
    auto envelope = runSynchronous(request);
    if (!envelope) {
        // No answer is no verdict: the next launch tries the same tokens again.
        return false;
    }
    if (!jsonBool(*envelope, "success")) {
        localLogout();
        return false;
    }
    if (homeFromEnvelope(*envelope, "a session check answer") == nullptr) {
        return false;
    }
    loginSuccess(loginUser, *envelope, request->responseCookies());
    return true;
}

void LoginService::loginSuccess(std::shared_ptr<LoginUser> loginUser, const Json& envelope,
                                const std::vector<HttpCookie>& cookies) {
    if (!MainLoop::main().isLoopThread()) {
        // Sign-in runs on a worker behind the progress indicator; the session state lives on the main loop.
        MainLoop::main().runOnLoopAndWait([&] { loginSuccess(std::move(loginUser), envelope, cookies); });
        return;
    }
    if (!loginUser) {
        loginUser = std::make_shared<LoginUser>();
    }
    const std::string apiHost = UrlUtils::apiHost();
    for (const auto& cookie : cookies) {
        // Only the API host's own session counts; a cookie for another domain is not this session.
        if (!CookieParser::appliesToHost(cookie, apiHost)) {
            continue;
        }
        if (cookie.name == "p_token") {
            loginUser->pToken = cookie.value;
        } else if (cookie.name == "l_token") {
            loginUser->lToken = cookie.value;
        }
    }
    UserContext::setUserHome(UserHome::convertFromDictionary(jsonObject(envelope, "result")));
    if (!loginUser->isEmpty()) {
        loginUser->save();
    }
    DeviceTokenService::sendDeviceToken(currentDeviceToken());
}

void LoginService::logout() {
    auto& loop = MainLoop::main();
    if (!loop.isLoopThread()) {
        // The settings screen signs out from a worker; the session state lives on the main loop.
        std::promise<std::string> token;
        auto tokenReady = token.get_future();
        loop.post([&token] { token.set_value(currentDeviceToken()); });
        std::string deviceToken = tokenReady.get();
        Json params = deviceToken.empty() ? Json::object() : Json{{"deviceToken", deviceToken}};
        if (auto request = HttpRequestSender::backgroundGetRequestWithUrl(
                UrlUtils::urlStringWithUri("passport/logout"), params)) {
            request->setUseDownloadCache(false);
            request->startSynchronous();
        }
        std::promise<void> done;
        loop.post([this, &done] {
            localLogout();
            done.set_value();
        });
        done.get_future().wait();
        return;
    }
    std::string deviceToken = currentDeviceToken();
    Json params = deviceToken.empty() ? Json::object() : Json{{"deviceToken", deviceToken}};
    if (auto request =
            HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("passport/logout"), params)) {
        request->setUseDownloadCache(false);
        request->startSynchronous();
    }
    localLogout();
}

void LoginService::localLogout() {
    if (AppDelegate* app = AppDelegate::shared();
        app != nullptr && app->noticeTimer && app->noticeTimer->isValid()) {
        app->noticeTimer->invalidate();
    }
    CookieStore::shared().deleteCookiesForURL(UrlUtils::urlStringWithUri(kLoginUri));
    CookieStore::shared().clearSessionCookies();
    // Cached answers may have been fetched for this user; the next one must not see them.
    DownloadCache::shared().clear();
    LoginUser::reset();
    UserContext::logout();
}

std::shared_ptr<ViewController> LoginService::loginTurnToViewController() {
    if (!UserContext::hasLogin()) {
        return std::make_shared<WelcomeViewController>();
    }
    if (UserContext::hasCompleteGuide()) {
        return TabBarLayout::load();
    }
    return std::make_shared<CustomNavigationController>(std::make_shared<GuideSettingViewController>());
}

void LoginService::sessionRejected() {
    localLogout();
    AppDelegate* app = AppDelegate::shared();
    Window* window = app != nullptr && app->window ? app->window.get() : Application::shared().keyWindow();
    if (window == nullptr) {
        return;
    }
    window->setRootViewController(loginTurnToViewController());
    window->makeKeyAndVisible();
}

}  // namespace zorlet
