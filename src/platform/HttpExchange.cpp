#include "platform/HttpExchange.h"

#include "platform/CookieStore.h"
#include "platform/DownloadCache.h"
#include "platform/Log.h"
#include "platform/UrlEncoding.h"

#include <strings.h>

#include <cstdlib>
#include <string_view>
#include <utility>

namespace zorlet {

namespace {

HttpErrorKind errorKind(CURLcode code) {
    switch (code) {
        case CURLE_OPERATION_TIMEDOUT:
            return HttpErrorKind::TimedOut;
        case CURLE_ABORTED_BY_CALLBACK:
            return HttpErrorKind::Cancelled;
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
            return HttpErrorKind::Invalid;
        default:
            return HttpErrorKind::ConnectionFailure;
    }
}

}  // namespace

HttpExchange::HttpExchange(HttpRequestPtr request, CURL* handle)
    : request_(std::move(request)), handle_(handle ? handle : curl_easy_init()) {}

HttpExchange::~HttpExchange() {
    if (handle_) {
        curl_easy_cleanup(handle_);
    }
    if (mime_) {
        curl_mime_free(mime_);
    }
    if (headerList_) {
        curl_slist_free_all(headerList_);
    }
}

CURL* HttpExchange::releaseHandle() {
    CURL* handle = std::exchange(handle_, nullptr);
    if (handle) {
        // libcurl 7.88's reset drops the list of cookie files without freeing
        // it; emptying it first frees it (the shared cookies stay).
        curl_easy_setopt(handle, CURLOPT_COOKIEFILE, static_cast<char*>(nullptr));
        // A reset handle keeps its share; prepare() names the share every time.
        curl_easy_reset(handle);
    }
    return handle;
}

Status HttpExchange::prepare() {
    if (!handle_) {
        return Failure{"cannot create a transfer"};
    }
    const HttpRequest& r = *request_;
    CURL* h = handle_;
    curl_easy_setopt(h, CURLOPT_URL, r.url().c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    // gzip is the one encoding the service uses. "" (every encoding libcurl
    // knows) rebuilt that list for every request and let a server pick
    // brotli for its pages.
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "gzip");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Zorlet/" ZORLET_VERSION);
    long timeoutMs = static_cast<long>(r.timeOutSeconds() * 1000);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, timeoutMs);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &HttpExchange::onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &HttpExchange::onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &HttpExchange::onProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(h, CURLOPT_PRIVATE, this);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorDetail_);
    static const bool verbose = std::getenv("ZORLET_CURL_VERBOSE") != nullptr;
    if (verbose) {
        curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);
    }
    if (r.requestMethod() == "GET" && !r.isForm() && r.useDownloadCache()) {
        sentHeaders_ = DownloadCache::headersAsSent(r);
    }
    if (r.useCookiePersistence()) {
        curl_easy_setopt(h, CURLOPT_SHARE, static_cast<CURLSH*>(CookieStore::shared().shareHandle()));
        curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");
    } else {
        // A reused handle would otherwise still send the shared cookies.
        curl_easy_setopt(h, CURLOPT_SHARE, static_cast<CURLSH*>(nullptr));
    }

    bool bodyHasOwnType = false;
    if (r.isForm()) {
        if (!r.fileParts().empty()) {
            mime_ = curl_mime_init(h);
            for (const auto& [key, value] : r.postValues()) {
                curl_mimepart* part = curl_mime_addpart(mime_);
                curl_mime_name(part, key.c_str());
                curl_mime_data(part, value.data(), value.size());
            }
            for (const auto& file : r.fileParts()) {
                curl_mimepart* part = curl_mime_addpart(mime_);
                curl_mime_name(part, file.key.c_str());
                curl_mime_data(part, file.data.data(), file.data.size());
                curl_mime_filename(part, file.fileName.c_str());
                curl_mime_type(
                    part, file.contentType.empty() ? "application/octet-stream" : file.contentType.c_str());
            }
            curl_easy_setopt(h, CURLOPT_MIMEPOST, mime_);
            bodyHasOwnType = true;
        } else {
            for (const auto& [key, value] : r.postValues()) {
                if (!formBody_.empty()) {
                    formBody_ += '&';
                }
                formBody_ += formEncode(key) + '=' + formEncode(value);
            }
            curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(formBody_.size()));
            curl_easy_setopt(h, CURLOPT_POSTFIELDS, formBody_.c_str());
            if (!r.postValues().empty()) {
                headerList_ = curl_slist_append(
                    headerList_, "Content-Type: application/x-www-form-urlencoded; charset=utf-8");
                bodyHasOwnType = true;
            }
        }
    }

    for (const auto& [name, value] : r.requestHeaders()) {
        if (bodyHasOwnType && ::strcasecmp(name.c_str(), "Content-Type") == 0) {
            continue;
        }
        headerList_ = curl_slist_append(headerList_, (name + ": " + value).c_str());
    }
    if (r.isForm()) {
        // Servers that never answer "100 Continue" would otherwise stall every large upload for a second.
        headerList_ = curl_slist_append(headerList_, "Expect:");
    }
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headerList_);
    return {};
}

size_t HttpExchange::onBody(char* data, size_t size, size_t count, void* self) {
    auto* exchange = static_cast<HttpExchange*>(self);
    size_t bytes = size * count;
    if (exchange->tooLarge_) {
        return 0;
    }
    if (exchange->body_.size() + bytes > kMaxBodyBytes) {
        exchange->tooLarge_ = true;
        // The transfer fails now; holding what came so far would only keep the memory taken.
        std::string().swap(exchange->body_);
        return 0;
    }
    exchange->body_.append(data, bytes);
    return bytes;
}

size_t HttpExchange::onHeader(char* data, size_t size, size_t count, void* self) {
    auto* exchange = static_cast<HttpExchange*>(self);
    size_t bytes = size * count;
    std::string_view line(data, bytes);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ')) {
        line.remove_suffix(1);
    }
    if (line.substr(0, 5) == "HTTP/") {
        // A new status line (after "100 Continue"): only the final answer's headers count.
        exchange->headers_.clear();
        return bytes;
    }
    auto colon = line.find(':');
    if (colon != std::string_view::npos) {
        std::string_view value = line.substr(colon + 1);
        auto start = value.find_first_not_of(" \t");
        value = start == std::string_view::npos ? std::string_view() : value.substr(start);
        exchange->headers_.emplace(std::string(line.substr(0, colon)), std::string(value));
    }
    return bytes;
}

int HttpExchange::onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<HttpExchange*>(self)->request_->isCancelled() ? 1 : 0;
}

void HttpExchange::finish(CURLcode code) {
    long status = 0;
    curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &status);
    std::optional<HttpError> error;
    if (request_->isCancelled()) {
        error = HttpError{HttpErrorKind::Cancelled, "The request was cancelled"};
    } else if (tooLarge_) {
        error = HttpError{HttpErrorKind::ConnectionFailure, "The response is too large"};
        std::string().swap(body_);
    } else if (code != CURLE_OK) {
        error = HttpError{errorKind(code), curl_easy_strerror(code)};
        // The screens show a generic message; the log keeps libcurl's own account of what broke.
        log().warn("{} {} failed: {} ({})", request_->requestMethod(), request_->url(), error->message,
                   errorDetail_[0] ? errorDetail_ : "no detail");
    } else if (status == 401) {
        error = HttpError{HttpErrorKind::HttpStatus, "Authentication needed (HTTP 401)"};
    }
    if (!error && request_->requestMethod() == "GET" && !request_->isForm() && request_->useDownloadCache()) {
        DownloadCache::shared().store(request_->url(), sentHeaders_, static_cast<int>(status), headers_,
                                      body_);
    }
    request_->complete(static_cast<int>(status), std::move(body_), std::move(headers_), std::move(error));
}

}  // namespace zorlet
