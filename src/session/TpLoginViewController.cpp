#include "session/TpLoginViewController.h"

#include "app/InterfaceDescription.h"
#include "app/LocalizedStrings.h"
#include "app/ScreenActions.h"
#include "model/EmptyText.h"
#include "net/CheckNetwork.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/UrlParts.h"
#include "platform/WeakSelf.h"
#include "session/LoginRedirect.h"
#include "session/LoginService.h"
#include "ui/ProgressHUD.h"

namespace zorlet {

TpLoginViewController::TpLoginViewController(std::int64_t tpId, int authorizeType)
    : tpId(tpId), authorizeType(authorizeType) {}

TpLoginViewController::~TpLoginViewController() {
    if (webView) {
        webView->setDelegate(nullptr);
        webView->stopLoading();
    }
}

std::string TpLoginViewController::firstPage(int authorizeType, std::int64_t tpId) {
    switch (authorizeType) {
        case kLogin:
            return "passport/tpLogin/" + std::to_string(tpId);
        case kAuthorize:
            return "passport/authorize/expired/" + std::to_string(tpId);
        case kBind:
            return "passport/authorize/bind/" + std::to_string(tpId);
        default:
            return {};
    }
}

std::string TpLoginViewController::interceptedFragment(int authorizeType) {
    switch (authorizeType) {
        case kLogin:
            return "/web/access";
        case kAuthorize:
            return "/authorize/access";
        case kBind:
            return "/authorize/bindAccess";
        default:
            return {};
    }
}

void TpLoginViewController::loadView() {
    auto objects = InterfaceDescription::load("TpLoginViewController");
    setView(objects.empty() ? std::make_shared<View>(Rect(0, 0, kScreenWidth, 460)) : objects.front());
}

void TpLoginViewController::viewDidLoad() {
    View& root = view();
    navigationBar = InterfaceDescription::find<NavigationBar>(root, "navigationBar");
    if (!navigationBar) {
        // The bar is a toolkit piece of its own; the description only keeps its place.
        navigationBar = std::make_shared<NavigationBar>();
        navigationBar->setId("navigationBar");
        if (View* slot = InterfaceDescription::viewWithId(root, "navigationBarSlot")) {
            navigationBar->setFrame(slot->frame());
        } else {
            navigationBar->setFrame(Rect(0, 0, root.frame().width(), NavigationBar::kHeight));
        }
        root.addSubview(navigationBar);
    }
    barItem_.setTitle(LocalizedStrings::localizedString("tpLogin.%d.title", tpId));
    barItem_.setLeftBarButtonItem(ScreenActions::barItem("返回", BarButtonItem::Style::Bordered, "back", this,
                                                         &TpLoginViewController::back));
    navigationBar->show(barItem_, "", nullptr);

    webView = InterfaceDescription::find<WebView>(root, "webView");
    loadingView = InterfaceDescription::find<ActivityIndicatorView>(root, "loadingView");
    if (loadingView) {
        loadingView->setHidesWhenStopped(true);
        loadingView->stopAnimating();
    }
    if (!webView) {
        return;
    }
    webView->setDelegate(this);
    std::string page = firstPage(authorizeType, tpId);
    if (!page.empty()) {
        webView->loadRequest(UrlUtils::urlStringWithUri(page));
    }
}

void TpLoginViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void TpLoginViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
    if (webView) {
        webView->stopLoading();
    }
}

bool TpLoginViewController::webViewShouldStartLoad(WebView&, const std::string& url, WebNavigationType) {
    std::string fragment = interceptedFragment(authorizeType);
    auto parts = UrlParts::parse(url);
    if (fragment.empty() || !parts || parts->path.empty()) {
        return true;
    }
    if (parts->path.find(fragment) == std::string::npos) {
        return true;
    }
    if (loadingView) {
        loadingView->stopAnimating();
    }
    // The provider's answer goes on to the service exactly as the page produced it.
    std::string query;
    if (auto mark = url.find('?'); mark != std::string::npos) {
        query = url.substr(mark + 1);
        if (auto hash = query.find('#'); hash != std::string::npos) {
            query.erase(hash);
        }
    }
    switch (authorizeType) {
        case kLogin:
            login(query);
            break;
        case kAuthorize:
            authorize(query);
            break;
        default:
            bind(query);
            break;
    }
    return false;
}

void TpLoginViewController::webViewDidStartLoad(WebView&) {
    if (loadingView) {
        loadingView->setHidden(false);
        loadingView->startAnimating();
    }
}

void TpLoginViewController::webViewDidFinishLoad(WebView&) {
    if (loadingView) {
        loadingView->stopAnimating();
    }
}

void TpLoginViewController::webViewDidFailLoad(WebView&, const WebViewError&) {
    // A failed load is over too; a wheel spinning on forever would promise a page that never comes.
    if (loadingView) {
        loadingView->stopAnimating();
    }
}

void TpLoginViewController::login(const std::string& query) {
    std::int64_t id = tpId;
    runAccountCall([id, query] { return LoginService::getInstance().loginWithTpId(id, query); },
                   &TpLoginViewController::redirect);
}

void TpLoginViewController::authorize(const std::string& query) {
    std::int64_t id = tpId;
    runAccountCall([id, query] { return LoginService::getInstance().authorize(id, query); },
                   &TpLoginViewController::back);
}

void TpLoginViewController::bind(const std::string& query) {
    std::int64_t id = tpId;
    runAccountCall([id, query] { return LoginService::getInstance().bind(id, query); },
                   &TpLoginViewController::back);
}

void TpLoginViewController::runAccountCall(std::function<LoginResult()> call,
                                           void (TpLoginViewController::*onSuccess)()) {
    // The network alert belongs on the main loop, so the missing network is told here, not by the worker.
    if (!CheckNetwork::isExistenceNetwork()) {
        MessageShow::error(LoginResult::kNetworkErrorText, &view());
        return;
    }
    auto hud = ProgressHUD::showHUDAddedTo(&view(), true);
    hud->setDimBackground(true);
    hud->setRemoveFromSuperViewOnHide(true);
    auto result = std::make_shared<LoginResult>();
    auto weak = weakSelf(this);
    hud->showWhileExecuting([result, call = std::move(call)] { *result = call(); },
                            [weak, result, onSuccess] {
                                auto self = weak.lock();
                                if (!self) {
                                    return;
                                }
                                if (result->success) {
                                    ((*self).*onSuccess)();
                                } else {
                                    MessageShow::error(isNotEmpty(result->errorInfo)
                                                           ? *result->errorInfo
                                                           : std::string(LoginResult::kNetworkErrorText),
                                                       &self->view());
                                }
                            },
                            true);
}

void TpLoginViewController::redirect() {
    LoginRedirect::redirect(&view());
}

void TpLoginViewController::back() {
    auto self = shared_from_this();
    dismissModalViewController(true);
}

}  // namespace zorlet
