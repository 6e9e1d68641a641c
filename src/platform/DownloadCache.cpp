#include "platform/DownloadCache.h"

#include "platform/CookieStore.h"
#include "platform/HttpRequest.h"
#include "platform/MainLoop.h"

#include <curl/curl.h>
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <vector>

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

// Every value of a header, in order, as one text.
std::string joinedValues(const HttpHeaders& headers, const std::string& name) {
    std::string joined;
    auto [begin, end] = headers.equal_range(name);
    for (auto it = begin; it != end; ++it) {
        if (!joined.empty()) {
            joined += ", ";
        }
        joined += it->second;
    }
    return joined;
}

// The trimmed items of a comma-separated header value.
std::vector<std::string> listItems(const std::string& value) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t comma = value.find(',', start);
        std::string item =
            value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        auto first = item.find_first_not_of(" \t");
        if (first != std::string::npos) {
            items.push_back(item.substr(first, item.find_last_not_of(" \t") - first + 1));
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return items;
}

// Delta-seconds, saturated at the longest lifetime kept; nothing when not a number.
std::optional<long long> seconds(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range || value > DownloadCache::kMaxLifetimeSeconds) {
        return DownloadCache::kMaxLifetimeSeconds;
    }
    return value;
}

}  // namespace

DownloadCache& DownloadCache::shared() {
    static DownloadCache* cache = new DownloadCache();
    return *cache;
}

std::optional<long long> DownloadCache::freshnessLifetime(const HttpHeaders& headers, long long now) {
    std::optional<long long> maxAge;
    for (const auto& directive : listItems(header(headers, "Cache-Control"))) {
        std::string name = lowercase(directive.substr(0, directive.find('=')));
        if (name == "no-store" || name == "no-cache" || name == "private") {
            return std::nullopt;
        }
        if (name == "max-age" && directive.size() > 8) {
            maxAge = seconds(directive.substr(8));
        }
    }
    if (maxAge) {
        return *maxAge > 0 ? maxAge : std::nullopt;
    }
    std::string expires = header(headers, "Expires");
    if (!expires.empty()) {
        time_t expiresAt = curl_getdate(expires.c_str(), nullptr);
        std::string date = header(headers, "Date");
        time_t dateAt = date.empty() ? -1 : curl_getdate(date.c_str(), nullptr);
        long long base = dateAt >= 0 ? static_cast<long long>(dateAt) : now;
        if (expiresAt > base) {
            return std::min(static_cast<long long>(expiresAt) - base, kMaxLifetimeSeconds);
        }
    }
    return std::nullopt;
}

HttpHeaders DownloadCache::headersAsSent(const HttpRequest& request) {
    HttpHeaders headers = request.requestHeaders();
    if (request.useCookiePersistence()) {
        std::string cookies;
        for (const auto& cookie : CookieStore::shared().cookiesForURL(request.url())) {
            cookies += (cookies.empty() ? "" : "; ") + cookie.name + "=" + cookie.value;
        }
        if (!cookies.empty()) {
            headers.emplace("Cookie", cookies);
        }
    }
    return headers;
}

std::optional<HttpHeaders> DownloadCache::varyingHeaders(const HttpHeaders& responseHeaders,
                                                         const HttpHeaders& requestHeaders) {
    HttpHeaders varying;
    auto [begin, end] = responseHeaders.equal_range("Vary");
    for (auto it = begin; it != end; ++it) {
        for (const auto& name : listItems(it->second)) {
            if (name == "*") {
                return std::nullopt;
            }
            varying.erase(name);
            varying.emplace(name, joinedValues(requestHeaders, name));
        }
    }
    return varying;
}

std::optional<CachedResponse> DownloadCache::freshResponse(const std::string& url,
                                                           const HttpHeaders& requestHeaders) {
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
    for (const auto& [name, value] : it->second.varying) {
        if (joinedValues(requestHeaders, name) != value) {
            return std::nullopt;
        }
    }
    lru_.splice(lru_.begin(), lru_, it->second.lru);
    return it->second.response;
}

void DownloadCache::store(const std::string& url, const HttpHeaders& requestHeaders, int statusCode,
                          const HttpHeaders& headers, const std::string& body) {
    if (statusCode != 200 || requestHeaders.count("Cookie") > 0 ||
        requestHeaders.count("Authorization") > 0) {
        return;
    }
    long long now = nowSeconds();
    auto lifetime = freshnessLifetime(headers, now);
    auto varying = varyingHeaders(headers, requestHeaders);
    if (!lifetime || !varying || body.size() > kCapacityBytes / 4) {
        return;
    }
    std::lock_guard lock(mutex_);
    if (auto it = entries_.find(url); it != entries_.end()) {
        bytes_ -= it->second.response.body.size();
        lru_.erase(it->second.lru);
        entries_.erase(it);
    }
    lru_.push_front(url);
    long long expiresAt = 0;
    if (__builtin_add_overflow(now, *lifetime, &expiresAt)) {
        expiresAt = std::numeric_limits<long long>::max();
    }
    entries_[url] =
        Entry{CachedResponse{statusCode, headers, body}, std::move(*varying), expiresAt, lru_.begin()};
    bytes_ += body.size();
    evict();
}

void DownloadCache::evict() {
    while (bytes_ > kCapacityBytes && !lru_.empty()) {
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

}  // namespace zorlet
