#pragma once

#include "platform/HttpRequest.h"
#include "platform/Result.h"

#include <curl/curl.h>

#include <string>

namespace zorlet {

// One libcurl transfer for one request: builds the easy handle from the
// request (method, headers, form or multipart body, time-out, shared cookies,
// gzip) and gathers the answer. Used by synchronous starts and by the engine.
class HttpExchange {
public:
    // Takes `handle` (a spare one, reset) when given, else makes its own.
    explicit HttpExchange(HttpRequestPtr request, CURL* handle = nullptr);
    ~HttpExchange();
    HttpExchange(const HttpExchange&) = delete;
    HttpExchange& operator=(const HttpExchange&) = delete;

    CURL* handle() const { return handle_; }
    const HttpRequestPtr& request() const { return request_; }
    // A failure when the request cannot be sent at all.
    Status prepare();
    // Hands the outcome of the transfer to the request.
    void finish(CURLcode code);
    // Gives the easy handle up, reset to its defaults, for another exchange.
    CURL* releaseHandle();

    // Responses larger than this are refused rather than held in memory.
    static constexpr std::size_t kMaxBodyBytes = 64 * 1024 * 1024;

private:
    static size_t onBody(char* data, size_t size, size_t count, void* self);
    static size_t onHeader(char* data, size_t size, size_t count, void* self);
    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    HttpRequestPtr request_;
    CURL* handle_ = nullptr;
    curl_slist* headerList_ = nullptr;
    curl_mime* mime_ = nullptr;
    std::string formBody_;
    std::string body_;
    HttpHeaders headers_;
    HttpHeaders sentHeaders_;  // what the download cache judges the answer by
    bool tooLarge_ = false;
    char errorDetail_[CURL_ERROR_SIZE] = {};
};

}  // namespace zorlet
