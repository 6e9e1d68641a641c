#include "platform/HttpRequest.h"

#include "platform/CookieParser.h"
#include "platform/DownloadCache.h"
#include "platform/HttpEngine.h"
#include "platform/HttpExchange.h"
#include "platform/HttpQueue.h"
#include "platform/MainLoop.h"
#include "platform/UrlParts.h"

#include <atomic>

namespace zorlet {

namespace {

std::atomic<double> defaultTimeOut{10.0};

}  // namespace

HttpRequest::HttpRequest(std::string url, bool isForm)
    : url_(std::move(url)), method_(isForm ? "POST" : "GET"), isForm_(isForm) {}

HttpRequest::~HttpRequest() = default;

HttpRequestPtr HttpRequest::create(std::string url) {
    return HttpRequestPtr(new HttpRequest(std::move(url), false));
}

HttpRequestPtr HttpRequest::createForm(std::string url) {
    return HttpRequestPtr(new HttpRequest(std::move(url), true));
}

void HttpRequest::addRequestHeader(const std::string& name, const std::string& value) {
    requestHeaders_.erase(name);
    requestHeaders_.emplace(name, value);
}

void HttpRequest::setPostValue(const std::string& key, const std::string& value) {
    for (auto& entry : postValues_) {
        if (entry.first == key) {
            entry.second = value;
            return;
        }
    }
    postValues_.emplace_back(key, value);
}

void HttpRequest::setData(std::string data, std::string fileName, std::string contentType, std::string key) {
    fileParts_.push_back(
        HttpFilePart{std::move(key), std::move(fileName), std::move(contentType), std::move(data)});
}

double HttpRequest::timeOutSeconds() const {
    return timeOutSeconds_ > 0 ? timeOutSeconds_ : defaultTimeOut.load();
}

void HttpRequest::setDefaultTimeOutSeconds(double seconds) {
    if (seconds > 0) {
        defaultTimeOut = seconds;
    }
}

double HttpRequest::defaultTimeOutSeconds() {
    return defaultTimeOut.load();
}

std::string HttpRequest::responseHeader(const std::string& name) const {
    auto it = responseHeaders_.find(name);
    return it == responseHeaders_.end() ? std::string() : it->second;
}

std::vector<HttpCookie> HttpRequest::responseCookies() const {
    std::vector<HttpCookie> cookies;
    auto parts = UrlParts::parse(url_);
    std::string host = parts ? parts->host : std::string();
    long long now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    auto [begin, end] = responseHeaders_.equal_range("Set-Cookie");
    for (auto it = begin; it != end; ++it) {
        if (auto cookie = CookieParser::fromSetCookie(it->second, host, now)) {
            cookies.push_back(std::move(*cookie));
        }
    }
    return cookies;
}

bool HttpRequest::servedFromCache() {
    if (isForm_ || method_ != "GET" || !useDownloadCache_) {
        return false;
    }
    auto cached = DownloadCache::shared().freshResponse(url_, DownloadCache::headersAsSent(*this));
    if (!cached) {
        return false;
    }
    completeFromCache(cached->statusCode, std::move(cached->body), std::move(cached->headers));
    return true;
}

void HttpRequest::startSynchronous() {
    if (servedFromCache()) {
        return;
    }
    HttpExchange exchange(shared_from_this());
    if (auto prepared = exchange.prepare(); !prepared) {
        complete(0, {}, {}, HttpError{HttpErrorKind::Invalid, prepared.error()});
        return;
    }
    exchange.finish(curl_easy_perform(exchange.handle()));
}

void HttpRequest::startAsynchronous() {
    auto self = shared_from_this();
    if (!MainLoop::main().isLoopThread()) {
        MainLoop::main().post([self] { self->startAsynchronous(); });
        return;
    }
    HttpQueue::shared().add(self);
}

void HttpRequest::cancel() {
    if (finished_ || cancelled_.exchange(true)) {
        return;
    }
    if (!MainLoop::main().isLoopThread()) {
        // A synchronous transfer on another thread notices the flag in its progress callback.
        return;
    }
    if (auto queue = queue_.lock()) {
        queue->cancel(*this);
    } else {
        HttpQueue::shared().cancel(*this);
    }
}

void HttpRequest::clearDelegatesAndCancel() {
    delegate_ = nullptr;
    retainedDelegate_.reset();
    completion_ = nullptr;
    failed_ = nullptr;
    cancel();
}

void HttpRequest::complete(int status, std::string body, HttpHeaders headers,
                           std::optional<HttpError> error) {
    statusCode_ = status;
    responseBody_ = std::move(body);
    responseHeaders_ = std::move(headers);
    error_ = std::move(error);
    finished_ = true;
}

void HttpRequest::completeFromCache(int status, std::string body, HttpHeaders headers) {
    usedCache_ = true;
    complete(status, std::move(body), std::move(headers), std::nullopt);
}

void HttpRequest::notify() {
    // Handlers may drop the last outside reference to this request.
    auto self = shared_from_this();
    if (error_) {
        if (failed_) {
            failed_(*this);
        }
        if (delegate_) {
            delegate_->requestFailed(*this);
        }
    } else {
        if (completion_) {
            completion_(*this);
        }
        if (delegate_) {
            delegate_->requestFinished(*this);
        }
    }
    // Handlers often capture the request; break that cycle.
    completion_ = nullptr;
    failed_ = nullptr;
    if (retainedDelegate_) {
        delegate_ = nullptr;
        retainedDelegate_.reset();
    }
}

}  // namespace zorlet
