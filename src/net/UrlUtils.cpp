#include "net/UrlUtils.h"

#include "platform/Reachability.h"

#include <mutex>

namespace zorlet {

namespace {

struct Configuration {
    std::mutex mutex;
    std::string baseUrl = "http://127.0.0.1:8080";
    std::string webBaseUrl;
};

Configuration& configuration() {
    static Configuration* instance = new Configuration();
    return *instance;
}

std::string withoutTrailingSlash(std::string url) {
    while (!url.empty() && url.back() == '/') {
        url.pop_back();
    }
    return url;
}

}  // namespace

std::string UrlUtils::urlStringWithUri(const std::string& uri) {
    return baseUrl() + "/" + uri;
}

void UrlUtils::setBaseUrl(std::string baseUrl) {
    auto& c = configuration();
    std::lock_guard lock(c.mutex);
    c.baseUrl = withoutTrailingSlash(std::move(baseUrl));
}

std::string UrlUtils::baseUrl() {
    auto& c = configuration();
    std::lock_guard lock(c.mutex);
    return c.baseUrl;
}

std::string UrlUtils::apiHost() {
    return Reachability::hostOfURL(baseUrl());
}

void UrlUtils::setWebBaseUrl(std::string webBaseUrl) {
    auto& c = configuration();
    std::lock_guard lock(c.mutex);
    c.webBaseUrl = withoutTrailingSlash(std::move(webBaseUrl));
}

std::string UrlUtils::webBaseUrl() {
    auto& c = configuration();
    std::lock_guard lock(c.mutex);
    return c.webBaseUrl.empty() ? c.baseUrl : c.webBaseUrl;
}

}  // namespace zorlet
