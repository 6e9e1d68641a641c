#include "platform/CookieParser.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <strings.h>

#include <charconv>
#include <limits>
#include <sstream>
#include <vector>

namespace zorlet {

namespace {

std::string trim(const std::string& text) {
    auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) {
        return {};
    }
    auto end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) {
        parts.push_back(part);
    }
    if (!text.empty() && text.back() == separator) {
        parts.emplace_back();
    }
    return parts;
}

bool domainMatches(const HttpCookie& cookie, const std::string& host) {
    if (::strcasecmp(cookie.domain.c_str(), host.c_str()) == 0) {
        return true;
    }
    if (!cookie.includeSubdomains || host.size() <= cookie.domain.size()) {
        return false;
    }
    std::string tail = host.substr(host.size() - cookie.domain.size());
    return host[host.size() - cookie.domain.size() - 1] == '.' &&
           ::strcasecmp(tail.c_str(), cookie.domain.c_str()) == 0;
}

bool isAddress(const std::string& host) {
    if (host.find(':') != std::string::npos) {
        return true;  // IPv6
    }
    in_addr address{};
    return ::inet_pton(AF_INET, host.c_str(), &address) == 1;
}

// Whether a Domain attribute may name `domain` for an answer from `host`:
// the host itself or one of its parent domains, never a bare top-level name,
// and for an address only the address itself.
bool domainAttributeAllowed(const std::string& domain, const std::string& host) {
    if (domain.empty() || host.empty()) {
        return false;
    }
    if (::strcasecmp(domain.c_str(), host.c_str()) == 0) {
        return true;
    }
    if (isAddress(host) || domain.find('.') == std::string::npos || host.size() <= domain.size()) {
        return false;
    }
    std::string tail = host.substr(host.size() - domain.size());
    return host[host.size() - domain.size() - 1] == '.' && ::strcasecmp(tail.c_str(), domain.c_str()) == 0;
}

// Seconds from `now` saturated at the ends of the range, so a huge Max-Age
// is "never expires" and a hugely negative one "already expired".
std::optional<long long> expiryAfter(long long now, const std::string& maxAge) {
    if (maxAge.empty()) {
        return std::nullopt;
    }
    std::size_t digitsAt = maxAge[0] == '-' ? 1 : 0;
    if (digitsAt == maxAge.size() || maxAge.find_first_not_of("0123456789", digitsAt) != std::string::npos) {
        return std::nullopt;
    }
    long long seconds = 0;
    auto [end, ec] = std::from_chars(maxAge.data(), maxAge.data() + maxAge.size(), seconds);
    if (ec == std::errc::result_out_of_range) {
        seconds =
            digitsAt == 1 ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
    }
    if (seconds <= 0) {
        return now;
    }
    long long result = 0;
    if (__builtin_add_overflow(now, seconds, &result)) {
        return std::numeric_limits<long long>::max();
    }
    return result;
}

bool pathMatches(const std::string& cookiePath, const std::string& path) {
    if (cookiePath.empty() || cookiePath == "/") {
        return true;
    }
    if (path.compare(0, cookiePath.size(), cookiePath) != 0) {
        return false;
    }
    return path.size() == cookiePath.size() || cookiePath.back() == '/' || path[cookiePath.size()] == '/';
}

}  // namespace

std::optional<HttpCookie> CookieParser::fromSetCookie(const std::string& header,
                                                      const std::string& requestHost, long long nowSeconds) {
    auto attributes = split(header, ';');
    if (attributes.empty()) {
        return std::nullopt;
    }
    auto equals = attributes[0].find('=');
    if (equals == std::string::npos) {
        return std::nullopt;
    }
    HttpCookie cookie;
    cookie.name = trim(attributes[0].substr(0, equals));
    cookie.value = trim(attributes[0].substr(equals + 1));
    if (cookie.name.empty()) {
        return std::nullopt;
    }
    cookie.domain = requestHost;
    bool maxAgeGiven = false;
    for (std::size_t i = 1; i < attributes.size(); ++i) {
        std::string attribute = trim(attributes[i]);
        auto eq = attribute.find('=');
        std::string key = trim(attribute.substr(0, eq));
        std::string value = eq == std::string::npos ? std::string() : trim(attribute.substr(eq + 1));
        if (::strcasecmp(key.c_str(), "domain") == 0 && !value.empty()) {
            if (value.front() == '.') {
                value.erase(0, 1);
            }
            if (!domainAttributeAllowed(value, requestHost)) {
                return std::nullopt;
            }
            // An address stays a host-only cookie; a name covers its subdomains.
            cookie.domain = isAddress(requestHost) ? requestHost : value;
            cookie.includeSubdomains = !isAddress(requestHost);
        } else if (::strcasecmp(key.c_str(), "path") == 0 && !value.empty()) {
            cookie.path = value;
        } else if (::strcasecmp(key.c_str(), "secure") == 0) {
            cookie.secure = true;
        } else if (::strcasecmp(key.c_str(), "httponly") == 0) {
            cookie.httpOnly = true;
        } else if (::strcasecmp(key.c_str(), "max-age") == 0) {
            if (auto expires = expiryAfter(nowSeconds, value)) {
                cookie.expires = expires;
                maxAgeGiven = true;
            }
        } else if (::strcasecmp(key.c_str(), "expires") == 0 && !maxAgeGiven) {
            time_t when = curl_getdate(value.c_str(), nullptr);
            if (when >= 0) {
                cookie.expires = static_cast<long long>(when);
            }
        }
    }
    return cookie;
}

std::optional<HttpCookie> CookieParser::fromNetscapeLine(const std::string& line) {
    auto fields = split(line, '\t');
    if (fields.size() < 7) {
        return std::nullopt;
    }
    HttpCookie cookie;
    std::string domain = fields[0];
    const std::string httpOnlyPrefix = "#HttpOnly_";
    if (domain.rfind(httpOnlyPrefix, 0) == 0) {
        cookie.httpOnly = true;
        domain.erase(0, httpOnlyPrefix.size());
    }
    if (!domain.empty() && domain.front() == '.') {
        domain.erase(0, 1);
    }
    cookie.domain = domain;
    cookie.includeSubdomains = fields[1] == "TRUE";
    cookie.path = fields[2];
    cookie.secure = fields[3] == "TRUE";
    long long expires = 0;
    try {
        expires = std::stoll(fields[4]);
    } catch (...) {
    }
    if (expires > 0) {
        cookie.expires = expires;
    }
    cookie.name = fields[5];
    cookie.value = fields[6];
    return cookie;
}

std::string CookieParser::toNetscapeLine(const HttpCookie& cookie) {
    std::string line;
    if (cookie.httpOnly) {
        line += "#HttpOnly_";
    }
    line += (cookie.includeSubdomains ? "." : "") + cookie.domain;
    line += '\t';
    line += cookie.includeSubdomains ? "TRUE" : "FALSE";
    line += '\t' + (cookie.path.empty() ? std::string("/") : cookie.path);
    line += '\t';
    line += cookie.secure ? "TRUE" : "FALSE";
    line += '\t' + std::to_string(cookie.expires.value_or(0));
    line += '\t' + cookie.name + '\t' + cookie.value;
    return line;
}

bool CookieParser::appliesToHost(const HttpCookie& cookie, const std::string& host) {
    return domainMatches(cookie, host);
}

bool CookieParser::matches(const HttpCookie& cookie, const std::string& host, const std::string& path,
                           bool secure, long long nowSeconds) {
    if (cookie.expires && *cookie.expires <= nowSeconds) {
        return false;
    }
    if (cookie.secure && !secure) {
        return false;
    }
    return domainMatches(cookie, host) && pathMatches(cookie.path, path.empty() ? "/" : path);
}

}  // namespace zorlet
