#include "platform/DownloadCache.h"

#include "platform/MainLoop.h"

#include <curl/curl.h>
#include <strings.h>

#include <cctype>

namespace zorlet {

namespace {

long long nowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(MainLoop::main().clock().now().time_since_epoch())
        .count();
}

std::string lowercase(std::string text) {
    for (auto& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string header(const HttpHeaders& headers, const std::string& name) {
    auto it = headers.find(name);
    return it == headers.end() ? std::string() : it->second;
}

}  // namespace

DownloadCache& DownloadCache::shared() {
    static DownloadCache* cache = new DownloadCache();
    return *cache;
}

std::optional<long long> DownloadCache::freshnessLifetime(const HttpHeaders& headers, long long now) {
    std::string control = lowercase(header(headers, "Cache-Control"));
    if (control.find("no-store") != std::string::npos || control.find("no-cache") != std::string::npos) {
        return std::nullopt;
    }
    auto maxAge = control.find("max-age=");
    if (maxAge != std::string::npos) {
        long long seconds = std::atoll(control.c_str() + maxAge + 8);
        return seconds > 0 ? std::optional<long long>(seconds) : std::nullopt;
    }
    std::string expires = header(headers, "Expires");
    if (!expires.empty()) {
        time_t expiresAt = curl_getdate(expires.c_str(), nullptr);
        std::string date = header(headers, "Date");
        time_t dateAt = date.empty() ? -1 : curl_getdate(date.c_str(), nullptr);
        long long base = dateAt >= 0 ? static_cast<long long>(dateAt) : now;
        if (expiresAt > base) {
            return static_cast<long long>(expiresAt) - base;
        }
    }
    return std::nullopt;
}

std::optional<CachedResponse> DownloadCache::freshResponse(const std::string& url) {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(url);
    if (it == entries_.end()) {
        return std::nullopt;
    }
    if (it->second.expiresAt <= nowSeconds()) {
        bytes_ -= it->second.response.body.size();
        lru_.erase(it->second.lru);
        entries_.erase(it);
        return std::nullopt;
    }
    lru_.splice(lru_.begin(), lru_, it->second.lru);
    return it->second.response;
}

void DownloadCache::store(const std::string& url, int statusCode, const HttpHeaders& headers,
                          const std::string& body) {
    if (statusCode != 200) {
        return;
    }
    long long now = nowSeconds();
    auto lifetime = freshnessLifetime(headers, now);
    if (!lifetime || body.size() > capacity_ / 4) {
        return;
    }
    std::lock_guard lock(mutex_);
    if (auto it = entries_.find(url); it != entries_.end()) {
        bytes_ -= it->second.response.body.size();
        lru_.erase(it->second.lru);
        entries_.erase(it);
    }
    lru_.push_front(url);
    entries_[url] = Entry{CachedResponse{statusCode, headers, body}, now + *lifetime, lru_.begin()};
    bytes_ += body.size();
    evict();
}

void DownloadCache::evict() {
    while (bytes_ > capacity_ && !lru_.empty()) {
        auto it = entries_.find(lru_.back());
        bytes_ -= it->second.response.body.size();
        entries_.erase(it);
        lru_.pop_back();
    }
}

void DownloadCache::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
    lru_.clear();
    bytes_ = 0;
}

std::size_t DownloadCache::entryCount() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

void DownloadCache::setCapacityBytes(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    capacity_ = bytes;
    evict();
}

}  // namespace zorlet
