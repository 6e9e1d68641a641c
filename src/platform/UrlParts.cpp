#include "platform/UrlParts.h"

#include <curl/curl.h>

#include <memory>

namespace zorlet {

namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

std::string part(CURLU* url, CURLUPart which) {
    char* value = nullptr;
    if (curl_url_get(url, which, &value, 0) != CURLUE_OK || !value) {
        return {};
    }
    std::string text(value);
    curl_free(value);
    return text;
}

}  // namespace

std::optional<UrlParts> UrlParts::parse(const std::string& url) {
    std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) {
        return std::nullopt;
    }
    UrlParts parts;
    parts.scheme = part(handle.get(), CURLUPART_SCHEME);
    parts.host = part(handle.get(), CURLUPART_HOST);
    std::string port = part(handle.get(), CURLUPART_PORT);
    parts.port = port.empty() ? 0 : std::atoi(port.c_str());
    parts.path = part(handle.get(), CURLUPART_PATH);
    if (parts.path.empty()) {
        parts.path.assign(1, '/');
    }
    parts.query = part(handle.get(), CURLUPART_QUERY);
    parts.fragment = part(handle.get(), CURLUPART_FRAGMENT);
    if (!parts.host.empty() && parts.host.front() == '[' && parts.host.back() == ']') {
        parts.host = parts.host.substr(1, parts.host.size() - 2);
    }
    return parts;
}

std::string UrlParts::resolve(const std::string& base, const std::string& reference) {
    std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, base.c_str(), 0) != CURLUE_OK ||
        curl_url_set(handle.get(), CURLUPART_URL, reference.c_str(), 0) != CURLUE_OK) {
        return reference;
    }
    return part(handle.get(), CURLUPART_URL);
}

}  // namespace zorlet
