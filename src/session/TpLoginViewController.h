#pragma once

#include "session/LoginResult.h"
#include "ui/ActivityIndicatorView.h"
#include "ui/NavigationBar.h"
#include "ui/ViewController.h"
#include "ui/WebView.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zorlet {

// The service's authorization pages for an external account in a web view,
// always presented modally. When the pages redirect to the "access" path of
// the screen's purpose, the redirect is refused and its query handed to the
// login service: sign in (0), re-authorize an expired token (1), bind (2).
class TpLoginViewController : public ViewController, public WebViewDelegate {
public:
    enum AuthorizeType { kLogin = 0, kAuthorize = 1, kBind = 2 };

    TpLoginViewController(std::int64_t tpId = 0, int authorizeType = kLogin);
    ~TpLoginViewController() override;
    std::string className() const override { return "TpLoginViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    bool webViewShouldStartLoad(WebView&, const std::string& url, WebNavigationType) override;
    void webViewDidStartLoad(WebView&) override;
    void webViewDidFinishLoad(WebView&) override;
    void webViewDidFailLoad(WebView&, const WebViewError&) override;

    void login(const std::string& query);
    void authorize(const std::string& query);
    void bind(const std::string& query);
    void redirect();
    void back();

    // The first page and the intercepted path fragment of an authorization type; empty for an unknown type.
    static std::string firstPage(int authorizeType, std::int64_t tpId);
    static std::string interceptedFragment(int authorizeType);

    std::int64_t tpId = 0;
    int authorizeType = kLogin;
    std::shared_ptr<WebView> webView;
    std::shared_ptr<NavigationBar> navigationBar;
    std::shared_ptr<ActivityIndicatorView> loadingView;

private:
    // Runs `call` off the main loop under the progress indicator, then `onSuccess` or the error alert.
    void runAccountCall(std::function<LoginResult()> call, void (TpLoginViewController::*onSuccess)());

    NavigationItem barItem_;
};

}  // namespace zorlet
