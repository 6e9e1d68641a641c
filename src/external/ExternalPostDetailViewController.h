#pragma once

#include "model/ExternalCategory.h"
#include "model/ExternalPost.h"
#include "ui/Button.h"
#include "ui/ViewController.h"
#include "ui/WebView.h"

#include <memory>
#include <string>

namespace zorlet {

// A place's page of the review service in a web view, kept on that page,
// with the button that shares the place as a post.
class ExternalPostDetailViewController : public ViewController, public WebViewDelegate {
public:
    static constexpr const char* kShareTitle = "发布Zorlet 找伴同去";

    ~ExternalPostDetailViewController() override;
    std::string className() const override { return "ExternalPostDetailViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void goBack();
    void sendExternalPost();

    // The review service's mobile page for a place page URL.
    static std::string mobileUrl(const std::string& externalPostUrl);

    // WebViewDelegate
    bool webViewShouldStartLoad(WebView&, const std::string& url, WebNavigationType) override;

    ExternalPostPtr externalPost;
    ExternalCategoryPtr externalCategory;
    std::string realUrl;
    std::shared_ptr<WebView> webView;
    std::shared_ptr<Button> shareButton;
};

}  // namespace zorlet
