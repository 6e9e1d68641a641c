#pragma once

#include "platform/HttpTypes.h"

#include <cstddef>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace zorlet {

struct CachedResponse {
    int statusCode = 200;
    HttpHeaders headers;
    std::string body;
};

// The shared download cache for GET responses. A response is stored only when
// the server gave it a freshness lifetime (Cache-Control max-age, or Expires)
// and did not forbid storing it; it is served only while fresh by the main
// clock, otherwise the server is asked again. Bounded in bytes, least recently
// used out first.
class DownloadCache {
public:
    static DownloadCache& shared();

    std::optional<CachedResponse> freshResponse(const std::string& url);
    void store(const std::string& url, int statusCode, const HttpHeaders& headers, const std::string& body);
    void clear();
    std::size_t entryCount() const;
    void setCapacityBytes(std::size_t bytes);

    // Seconds the response may be reused, by its headers; none = not storable.
    static std::optional<long long> freshnessLifetime(const HttpHeaders& headers, long long nowSeconds);

private:
    struct Entry {
        CachedResponse response;
        long long expiresAt = 0;  // seconds since the epoch
        std::list<std::string>::iterator lru;
    };
    void evict();

    mutable std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
    std::list<std::string> lru_;
    std::size_t bytes_ = 0;
    std::size_t capacity_ = 16 * 1024 * 1024;
};

}  // namespace zorlet
