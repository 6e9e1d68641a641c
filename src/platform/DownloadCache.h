#pragma once

#include "platform/HttpTypes.h"

#include <cstddef>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace zorlet {

class HttpRequest;

struct CachedResponse {
    int statusCode = 200;
    HttpHeaders headers;
    std::string body;
};

// The shared download cache for GET responses, shared by whoever uses the
// client next, so it keeps only answers meant for anyone: a response is
// stored only when the server gave it a freshness lifetime (Cache-Control
// max-age, or Expires), did not mark it private or forbid storing it, and
// the request carried no cookies or credentials. A response that varies by
// request headers is served only to a request with the same values. It is
// served only while fresh by the main clock, otherwise the server is asked
// again. Bounded in bytes, least recently used out first.
class DownloadCache {
public:
    static DownloadCache& shared();

    // `requestHeaders` are those the request goes out with, including any
    // Cookie the cookie engine adds.
    std::optional<CachedResponse> freshResponse(const std::string& url, const HttpHeaders& requestHeaders);
    void store(const std::string& url, const HttpHeaders& requestHeaders, int statusCode,
               const HttpHeaders& headers, const std::string& body);
    void clear();
    std::size_t entryCount() const;

    // The request's headers plus the Cookie header the shared cookie engine will add.
    static HttpHeaders headersAsSent(const HttpRequest& request);
    // Seconds the response may be reused, by its headers; none = not storable.
    static std::optional<long long> freshnessLifetime(const HttpHeaders& headers, long long nowSeconds);
    // Lifetimes are capped here, so that adding one to a clock reading cannot overflow.
    static constexpr long long kMaxLifetimeSeconds = 10LL * 365 * 24 * 3600;

private:
    static constexpr std::size_t kCapacityBytes = 16 * 1024 * 1024;

    struct Entry {
        CachedResponse response;
        HttpHeaders varying;      // the request's values of the headers the response varies by
        long long expiresAt = 0;  // seconds since the epoch
        std::list<std::string>::iterator lru;
    };
    void evict();
    // The request's values of the headers named by Vary; nothing for "Vary: *" (never reusable).
    static std::optional<HttpHeaders> varyingHeaders(const HttpHeaders& responseHeaders,
                                                     const HttpHeaders& requestHeaders);

    mutable std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
    std::list<std::string> lru_;
    std::size_t bytes_ = 0;
};

}  // namespace zorlet
