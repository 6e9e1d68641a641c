#include "app/WebViewController.h"

#include "app/InterfaceDescription.h"
#include "platform/Analytics.h"

namespace zorlet {

WebViewController::WebViewController(std::string url, std::string title) : url(std::move(url)) {
    if (!title.empty()) {
        setTitle(std::move(title));
    }
}

WebViewController::~WebViewController() {
    if (webView) {
        webView->setDelegate(nullptr);
        webView->stopLoading();
    }
}

void WebViewController::loadView() {
    auto objects = InterfaceDescription::load("WebViewController");
    setView(objects.empty() ? std::make_shared<View>(Rect(0, 0, kScreenWidth, 416)) : objects.front());
}

void WebViewController::viewDidLoad() {
    webView = InterfaceDescription::find<WebView>(view(), "webView");
    loadingView = InterfaceDescription::find<ActivityIndicatorView>(view(), "loadingView");
    if (loadingView) {
        loadingView->setHidesWhenStopped(true);
        loadingView->stopAnimating();
    }
    if (webView) {
        webView->setDelegate(this);
        if (!url.empty()) {
            webView->loadRequest(url);
        }
    }
}

void WebViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void WebViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void WebViewController::webViewDidStartLoad(WebView&) {
    if (loadingView) {
        loadingView->startAnimating();
    }
}

void WebViewController::webViewDidFinishLoad(WebView&) {
    if (loadingView) {
        loadingView->stopAnimating();
    }
}

void WebViewController::webViewDidFailLoad(WebView&, const WebViewError&) {
    if (loadingView) {
        loadingView->stopAnimating();
    }
}

}  // namespace zorlet
