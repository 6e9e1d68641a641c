#pragma once

#include "platform/HttpTypes.h"

#include <optional>
#include <string>

namespace zorlet {

// Reads cookies in the two forms the transport meets: a Set-Cookie header
// value (for a response to `requestHost`; refused, as the cookie engine
// refuses it, when its Domain does not cover that host) and a line of libcurl's cookie list
// (the Netscape cookie-file layout), and writes the latter back.
class CookieParser {
public:
    static std::optional<HttpCookie> fromSetCookie(const std::string& header, const std::string& requestHost,
                                                   long long nowSeconds);
    static std::optional<HttpCookie> fromNetscapeLine(const std::string& line);
    static std::string toNetscapeLine(const HttpCookie& cookie);
    // Whether the cookie's domain covers `host` (the host itself, or a parent
    // domain when the cookie is for subdomains too).
    static bool appliesToHost(const HttpCookie& cookie, const std::string& host);
    // Whether a request to host/path over a secure or plain connection carries the cookie.
    static bool matches(const HttpCookie& cookie, const std::string& host, const std::string& path,
                        bool secure, long long nowSeconds);
};

}  // namespace zorlet
