#include "ui/WebView.h"

#include "platform/UrlParts.h"
#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

#include <algorithm>
#include <cctype>

namespace zorlet {

namespace {

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string titleOf(const std::string& html) {
    std::string lower = lowercase(html);
    auto open = lower.find("<title");
    if (open == std::string::npos) {
        return {};
    }
    auto start = lower.find('>', open);
    auto end = lower.find("</title>", open);
    if (start == std::string::npos || end == std::string::npos || end < start) {
        return {};
    }
    return html.substr(start + 1, end - start - 1);
}

// The readable text of a page, for drawing: tags dropped, white space folded.
std::string visibleText(const std::string& html) {
    std::string out;
    bool inTag = false;
    bool space = false;
    for (char c : html) {
        if (c == '<') {
            inTag = true;
        } else if (c == '>') {
            inTag = false;
            space = true;
        } else if (!inTag) {
            if (std::isspace(static_cast<unsigned char>(c))) {
                space = true;
            } else {
                if (space && !out.empty()) {
                    out += ' ';
                }
                space = false;
                out += c;
            }
        }
    }
    return out;
}

}  // namespace

WebView::WebView() {
    setBackgroundColor(Color::whiteColor());
}

WebView::WebView(Rect frame) : View(frame) {
    setBackgroundColor(Color::whiteColor());
}

WebView::~WebView() {
    if (request_) {
        request_->clearDelegatesAndCancel();
    }
}

void WebView::loadRequest(const std::string& url) {
    navigate(url, WebNavigationType::Other, false);
}

void WebView::clickLink(const std::string& url) {
    navigate(UrlParts::resolve(currentUrl_, url), WebNavigationType::LinkClicked, false);
}

void WebView::reload() {
    if (!currentUrl_.empty()) {
        navigate(currentUrl_, WebNavigationType::Reload, true);
    }
}

void WebView::goBack() {
    if (!backList_.empty()) {
        navigate(backList_.back(), WebNavigationType::BackForward, true);
    }
}

void WebView::stopLoading() {
    if (request_) {
        HttpRequestPtr request = std::move(request_);
        request->clearDelegatesAndCancel();
    }
}

bool WebView::navigate(const std::string& url, WebNavigationType type, bool fromHistory) {
    requestedUrls_.push_back(url);
    if (delegate_ != nullptr && !delegate_->webViewShouldStartLoad(*this, url, type)) {
        return false;
    }
    stopLoading();
    loadFromHistory_ = fromHistory && type == WebNavigationType::BackForward;
    fetch(url, 0);
    if (delegate_ != nullptr) {
        delegate_->webViewDidStartLoad(*this);
    }
    return true;
}

void WebView::fetch(const std::string& url, int hops) {
    if (!UrlParts::parse(url)) {
        request_.reset();
        fail({WebViewError::Kind::Network, "unsupported URL: " + url});
        return;
    }
    HttpRequestPtr request = HttpRequest::create(url);
    request->setUseDownloadCache(false);
    std::weak_ptr<View> weak = weak_from_this();
    request->setCompletionBlock([this, weak, hops](HttpRequest& answered) {
        if (auto alive = weak.lock(); alive && request_.get() == &answered) {
            auto keep = answered.shared_from_this();  // we drop our reference inside
            onAnswer(answered, hops);
        }
    });
    request->setFailedBlock([this, weak](HttpRequest& answered) {
        if (auto alive = weak.lock(); alive && request_.get() == &answered) {
            auto keep = answered.shared_from_this();
            onFailure(answered);
        }
    });
    request_ = request;
    request->startAsynchronous();
}

void WebView::onAnswer(HttpRequest& request, int hops) {
    int status = request.responseStatusCode();
    std::string location = request.responseHeader("Location");
    if (status >= 300 && status < 400 && !location.empty()) {
        std::string next = UrlParts::resolve(request.url(), location);
        if (hops + 1 > kMaxRedirects) {
            request_.reset();
            fail({WebViewError::Kind::TooManyRedirects, "too many redirects"});
            return;
        }
        requestedUrls_.push_back(next);
        if (delegate_ != nullptr &&
            !delegate_->webViewShouldStartLoad(*this, next, WebNavigationType::Other)) {
            // Refusing a hop ends the load, as a browser reports a policy change.
            request_.reset();
            fail({WebViewError::Kind::Interrupted, "Frame load interrupted"});
            return;
        }
        fetch(next, hops + 1);
        return;
    }
    std::string url = request.url();
    std::string body = request.responseString();
    request_.reset();
    commit(url, std::move(body));
}

void WebView::onFailure(HttpRequest& request) {
    WebViewError error;
    if (const auto& failure = request.error()) {
        error.message = failure->message;
        switch (failure->kind) {
            case HttpErrorKind::TimedOut:
                error.kind = WebViewError::Kind::TimedOut;
                break;
            case HttpErrorKind::Cancelled:
                error.kind = WebViewError::Kind::Cancelled;
                break;
            default:
                error.kind = WebViewError::Kind::Network;
                break;
        }
    }
    request_.reset();
    fail(std::move(error));
}

void WebView::commit(const std::string& url, std::string body) {
    if (loadFromHistory_) {
        if (!backList_.empty()) {
            backList_.pop_back();
        }
    } else if (!currentUrl_.empty() && currentUrl_ != url) {
        backList_.push_back(currentUrl_);
    }
    loadFromHistory_ = false;
    currentUrl_ = url;
    content_ = std::move(body);
    title_ = titleOf(content_);
    if (delegate_ != nullptr) {
        delegate_->webViewDidFinishLoad(*this);
    }
}

void WebView::fail(WebViewError error) {
    loadFromHistory_ = false;
    if (delegate_ != nullptr) {
        delegate_->webViewDidFailLoad(*this, error);
    }
}

void WebView::draw(Painter& painter) const {
    Rect box(8, 8, std::max(0.0, frame().width() - 16), std::max(0.0, frame().height() - 16));
    if (!title_.empty()) {
        painter.drawText(Rect(box.x(), box.y(), box.width(), 24), title_, Font::boldSystemFont(17),
                         Color::blackColor());
        box = box.insetBy({28, 0, 0, 0});
    }
    painter.drawText(box, visibleText(content_), Font::systemFont(14), Color::white(0.2), TextAlignment::Left,
                     LineBreakMode::WordWrap, 0);
}

void WebView::describe(std::string& out) const {
    out += " url=" + ViewTreeDump::quoted(currentUrl_);
    if (!title_.empty()) {
        out += " title=" + ViewTreeDump::quoted(title_);
    }
    if (isLoading()) {
        out += " loading";
    }
}

}  // namespace zorlet
