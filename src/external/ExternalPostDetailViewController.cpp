#include "external/ExternalPostDetailViewController.h"

#include "app/CustomNavigationController.h"
#include "external/SendExternalPostViewController.h"
#include "platform/Analytics.h"
#include "platform/WeakSelf.h"
#include "ui/BarButtonItem.h"
#include "ui/ImageAsset.h"
#include "ui/NavigationController.h"

namespace zorlet {

ExternalPostDetailViewController::~ExternalPostDetailViewController() {
    if (webView) {
        webView->setDelegate(nullptr);
        webView->stopLoading();
    }
}

std::string ExternalPostDetailViewController::mobileUrl(const std::string& externalPostUrl) {
    std::string url = externalPostUrl;
    for (std::size_t at = url.find("www"); at != std::string::npos; at = url.find("www", at + 1)) {
        url.replace(at, 3, "m");
    }
    return url;
}

void ExternalPostDetailViewController::viewDidLoad() {
    setTitle(externalPost ? externalPost->name : std::string());
    view().setId("ExternalPostDetailViewController");
    auto weak = weakSelf(this);

    auto back = Button::create();
    back->setId("goBack");
    back->setFrame(Rect(0, 0, 50, 30));
    back->setTitle("返回");
    back->setBackgroundImage(ImageAsset::named("top_nav_btn_back"));
    back->addTarget(TouchUpInside, [weak](Control&) {
        if (auto self = weak.lock()) {
            self->goBack();
        }
    });
    auto backItem = std::make_shared<BarButtonItem>(back);
    backItem->setId("goBackItem");
    navigationItem().setLeftBarButtonItem(backItem);

    Rect bounds = view().bounds();
    webView = std::make_shared<WebView>(bounds);
    webView->setId("webView");
    webView->setAutoresizingMask(View::FlexibleWidth | View::FlexibleHeight);
    webView->setDelegate(this);
    view().addSubview(webView);

    shareButton = Button::create();
    shareButton->setId("sharePlaceButton");
    shareButton->setFrame(Rect(20, bounds.height() - 50, 280, 40));
    shareButton->setAutoresizingMask(View::FlexibleTopMargin);
    shareButton->setBackgroundImage(ImageAsset::named("big_btn"));
    shareButton->setTitle(kShareTitle);
    shareButton->setTitleFont(Font::boldSystemFont(16));
    shareButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto self = weak.lock()) {
            self->sendExternalPost();
        }
    });
    view().addSubview(shareButton);

    realUrl = mobileUrl(externalPost ? externalPost->externalPostUrl : std::string());
    if (!realUrl.empty()) {
        webView->loadRequest(realUrl);
    }
}

void ExternalPostDetailViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void ExternalPostDetailViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

bool ExternalPostDetailViewController::webViewShouldStartLoad(WebView&, const std::string& url,
                                                              WebNavigationType) {
    // Only the place's own page and what lies under it: the user stays on the place.
    return !realUrl.empty() && url.find(realUrl) != std::string::npos;
}

void ExternalPostDetailViewController::goBack() {
    if (webView && webView->canGoBack()) {
        webView->goBack();
        return;
    }
    if (auto* custom = dynamic_cast<CustomNavigationController*>(navigationController())) {
        custom->popViewController();
    } else if (NavigationController* navigation = navigationController()) {
        navigation->popViewController(true);
    }
}

void ExternalPostDetailViewController::sendExternalPost() {
    NavigationController* navigation = navigationController();
    if (navigation == nullptr || !externalPost) {
        return;
    }
    auto share = std::make_shared<SendExternalPostViewController>();
    share->externalPost = externalPost;
    share->realUrl = realUrl;
    navigation->pushViewController(share, true);
}

}  // namespace zorlet
