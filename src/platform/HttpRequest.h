#pragma once

#include "platform/HttpTypes.h"

#include <nlohmann/json.hpp>

#include <any>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zorlet {

class HttpQueue;
class HttpRequest;
using HttpRequestPtr = std::shared_ptr<HttpRequest>;

// Delegate style: told when a request finished or failed (on the main loop
// for asynchronous requests). Not owned by the request.
class HttpRequestObserver {
public:
    virtual ~HttpRequestObserver() = default;
    virtual void requestFinished(HttpRequest&) {}
    virtual void requestFailed(HttpRequest&) {}
};

// One HTTP exchange. A plain request is a GET; a form request is a POST whose
// fields become a URL-encoded UTF-8 body, or multipart form data once a file
// part is added. Start it synchronously (blocks the calling thread, any
// thread) or asynchronously on the shared queue (handlers on the main loop).
class HttpRequest : public std::enable_shared_from_this<HttpRequest> {
public:
    using Handler = std::function<void(HttpRequest&)>;

    static HttpRequestPtr create(std::string url);
    static HttpRequestPtr createForm(std::string url);
    ~HttpRequest();

    const std::string& url() const { return url_; }
    const std::string& requestMethod() const { return method_; }
    bool isForm() const { return isForm_; }

    void addRequestHeader(const std::string& name, const std::string& value);
    const HttpHeaders& requestHeaders() const { return requestHeaders_; }

    // Form fields, in the order added; setPostValue replaces an existing key.
    void setPostValue(const std::string& key, const std::string& value);
    const std::vector<std::pair<std::string, std::string>>& postValues() const { return postValues_; }
    void setData(std::string data, std::string fileName, std::string contentType, std::string key);
    const std::vector<HttpFilePart>& fileParts() const { return fileParts_; }

    // Zero means the process-wide default.
    void setTimeOutSeconds(double seconds) { timeOutSeconds_ = seconds; }
    double timeOutSeconds() const;
    static void setDefaultTimeOutSeconds(double seconds);
    static double defaultTimeOutSeconds();

    void setUseCookiePersistence(bool use) { useCookiePersistence_ = use; }
    bool useCookiePersistence() const { return useCookiePersistence_; }
    // GETs go through the shared download cache unless turned off.
    void setUseDownloadCache(bool use) { useDownloadCache_ = use; }
    bool useDownloadCache() const { return useDownloadCache_; }

    void setDelegate(HttpRequestObserver* delegate) { delegate_ = delegate; }
    // Keeps the delegate alive until the request has reported, so a screen
    // that goes away mid-request leaves no dangling delegate behind.
    void setDelegate(std::shared_ptr<HttpRequestObserver> delegate) {
        delegate_ = delegate.get();
        retainedDelegate_ = std::move(delegate);
    }
    HttpRequestObserver* delegate() const { return delegate_; }
    void setCompletionBlock(Handler handler) { completion_ = std::move(handler); }
    void setFailedBlock(Handler handler) { failed_ = std::move(handler); }

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    // What the caller attaches to find its own work again in queue and
    // completion callbacks; values are kept as given (a shared record stays shared).
    using UserInfo = std::map<std::string, std::any>;
    UserInfo& userInfo() { return userInfo_; }
    const UserInfo& userInfo() const { return userInfo_; }
    // The value under `key` when it holds a T, else nullptr.
    template <class T>
    const T* userInfoValue(const std::string& key) const {
        auto it = userInfo_.find(key);
        return it == userInfo_.end() ? nullptr : std::any_cast<T>(&it->second);
    }

    void startSynchronous();
    // On the shared queue; `HttpQueue::add` puts it on another one.
    void startAsynchronous();
    // Stops the exchange; an asynchronous request reports a Cancelled failure.
    void cancel();
    void clearDelegatesAndCancel();

    bool isFinished() const { return finished_; }
    bool isCancelled() const { return cancelled_; }
    int responseStatusCode() const { return statusCode_; }
    const std::string& responseString() const { return responseBody_; }
    const HttpHeaders& responseHeaders() const { return responseHeaders_; }
    std::string responseHeader(const std::string& name) const;
    // Cookies set by this response's Set-Cookie headers.
    std::vector<HttpCookie> responseCookies() const;
    const std::optional<HttpError>& error() const { return error_; }
    bool didUseCachedResponse() const { return usedCache_; }

private:
    friend class HttpEngine;
    friend class HttpQueue;
    friend class HttpExchange;

    explicit HttpRequest(std::string url, bool isForm);
    bool servedFromCache();
    void complete(int status, std::string body, HttpHeaders headers, std::optional<HttpError> error);
    void completeFromCache(int status, std::string body, HttpHeaders headers);
    void notify();

    std::string url_;
    std::string method_;
    bool isForm_ = false;
    HttpHeaders requestHeaders_;
    std::vector<std::pair<std::string, std::string>> postValues_;
    std::vector<HttpFilePart> fileParts_;
    double timeOutSeconds_ = 0;
    bool useCookiePersistence_ = true;
    bool useDownloadCache_ = true;

    HttpRequestObserver* delegate_ = nullptr;
    std::shared_ptr<HttpRequestObserver> retainedDelegate_;
    Handler completion_;
    Handler failed_;
    int tag_ = 0;
    UserInfo userInfo_;
    std::weak_ptr<HttpQueue> queue_;  // the queue holding it, while queued or running

    std::atomic<bool> cancelled_{false};
    bool finished_ = false;
    bool usedCache_ = false;
    int statusCode_ = 0;
    std::string responseBody_;
    HttpHeaders responseHeaders_;
    std::optional<HttpError> error_;
    void* activeHandle_ = nullptr;  // the curl easy handle while running asynchronously
};

}  // namespace zorlet
