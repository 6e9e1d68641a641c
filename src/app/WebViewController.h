#pragma once

#include "ui/ActivityIndicatorView.h"
#include "ui/ViewController.h"
#include "ui/WebView.h"

#include <memory>
#include <string>

namespace zorlet {

// A plain web page in the app (a post's link, a user's social page), with a
// loading wheel while a page loads.
class WebViewController : public ViewController, public WebViewDelegate {
public:
    explicit WebViewController(std::string url = {}, std::string title = {});
    ~WebViewController() override;
    std::string className() const override { return "WebViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void webViewDidStartLoad(WebView&) override;
    void webViewDidFinishLoad(WebView&) override;
    void webViewDidFailLoad(WebView&, const WebViewError&) override;

    std::string url;
    std::shared_ptr<WebView> webView;
    std::shared_ptr<ActivityIndicatorView> loadingView;
};

}  // namespace zorlet
