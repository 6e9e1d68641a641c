#pragma once

#include "platform/HttpRequest.h"
#include "ui/View.h"

#include <string>
#include <vector>

namespace zorlet {

class WebView;

enum class WebNavigationType { LinkClicked, FormSubmitted, BackForward, Reload, FormResubmitted, Other };

struct WebViewError {
    enum class Kind { Network, TimedOut, Cancelled, Interrupted, TooManyRedirects };
    Kind kind = Kind::Network;
    std::string message;
};

class WebViewDelegate {
public:
    virtual ~WebViewDelegate() = default;
    // Asked before every navigation, each HTTP redirect hop included.
    virtual bool webViewShouldStartLoad(WebView&, const std::string& url, WebNavigationType) { return true; }
    virtual void webViewDidStartLoad(WebView&) {}
    virtual void webViewDidFinishLoad(WebView&) {}
    virtual void webViewDidFailLoad(WebView&, const WebViewError&) {}
};

// A web page as a model: it fetches pages over the HTTP transport, follows
// redirects itself (asking the delegate at each hop), and keeps a history.
// It does not lay out HTML; it holds the page's text and title. Must be owned
// by a shared_ptr (answers arrive later on the main loop).
class WebView : public View {
public:
    static constexpr int kMaxRedirects = 10;

    WebView();
    explicit WebView(Rect frame);
    ~WebView() override;
    const char* typeName() const override { return "WebView"; }

    WebViewDelegate* delegate() const { return delegate_; }
    void setDelegate(WebViewDelegate* delegate) { delegate_ = delegate; }

    void loadRequest(const std::string& url);
    // A link followed on the page (front-ends and tests).
    void clickLink(const std::string& url);
    void reload();
    void stopLoading();
    bool canGoBack() const { return !backList_.empty(); }
    void goBack();

    bool isLoading() const { return request_ != nullptr; }
    // The page shown (the last hop of its redirects).
    const std::string& currentUrl() const { return currentUrl_; }
    const std::string& pageContent() const { return content_; }
    const std::string& pageTitle() const { return title_; }
    // Every URL the view asked its delegate about, in order (logs and tests).
    const std::vector<std::string>& requestedUrls() const { return requestedUrls_; }

    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    bool navigate(const std::string& url, WebNavigationType type, bool fromHistory);
    void fetch(const std::string& url, int hops);
    void onAnswer(HttpRequest& request, int hops);
    void onFailure(HttpRequest& request);
    void commit(const std::string& url, std::string body);
    void fail(WebViewError error);

    WebViewDelegate* delegate_ = nullptr;
    HttpRequestPtr request_;
    bool loadFromHistory_ = false;
    std::string currentUrl_;
    std::string content_;
    std::string title_;
    std::vector<std::string> backList_;
    std::vector<std::string> requestedUrls_;
};

}  // namespace zorlet
